#!/usr/bin/env bash
# icotake FILE -o DIR on shell32.dll, natively and as icotake.exe under Wine: all groups, the same
# files from both, and the same images as wrestool gives.
#   check_cli_on_shell32.sh NATIVE_ICOTAKE ICOTAKE_EXE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=$1
windows=$2
module=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll
[ -x "$native" ] || { echo "no native build at $native (build the native preset first)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/native" "$work/windows"

"$native" "$module" -o "$work/native" >"$work/native.out"
"$root/scripts/wine-run" "$windows" "Z:${module//\//\\}" -o "Z:${work//\//\\}\\windows" >"$work/windows.out"

groups=$(wrestool -l -t14 "$module" | sed -n "s/.*--name=\([^ ]*\).*/\1/p" | sort -u | wc -l)
written=$(wc -l <"$work/native.out")
echo "native wrote $written files, Windows build $(wc -l <"$work/windows.out"), module has $groups groups"
[ "$written" -eq "$groups" ] && [ "$(wc -l <"$work/windows.out")" -eq "$groups" ]
[ -f "$work/native/$groups.ico" ] && [ ! -e "$work/native/$((groups + 1)).ico" ]
diff -r "$work/native" "$work/windows"
python3 "$root/tests/compare_with_wrestool.py" "$module" "$work/native"
