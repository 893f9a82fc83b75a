#!/usr/bin/env bash
# After the Windows tests ran the extract button's procedure on shell32.dll under Wine: the files in
# the prefix's output folder against wrestool, group by group.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${ICOTAKE_WINEPREFIX:-$root/build/wineprefix}
exec python3 "$root/tests/compare_with_wrestool.py" \
  /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll \
  "$prefix/drive_c/Documents and Settings/Administrator/桌面/取出的图标" 100
