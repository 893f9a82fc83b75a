#!/usr/bin/env python3
"""Holds the icon files that icotake wrote for a module against what wrestool gives.

    compare_with_wrestool.py MODULE FOLDER [COUNT]

FOLDER holds 1.ico, 2.ico, ... for the module's groups in resource-directory order; COUNT (default:
all groups) is how many of them must be there. Images are compared through the icon files'
directory entries (wrestool appends junk after the last image), byte for byte except bytes 20 to
23 of bitmaps, the biSizeImage field that icotake writes as 0. PNG images must be identical.
"""
import os
import struct
import subprocess
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def images(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    result = []
    for i in range(count):
        size, offset = struct.unpack_from("<II", data, 6 + 16 * i + 8)
        result.append(data[offset:offset + size])
    return result


def without_size_image(image):
    if image.startswith(PNG_SIGNATURE) or len(image) < 24:
        return image
    return image[:20] + b"\0\0\0\0" + image[24:]


def groups(module):
    listing = subprocess.run(["wrestool", "-l", "-t14", module], check=True,
                             capture_output=True, text=True).stdout
    seen = []
    for line in listing.splitlines():
        fields = dict(f.split("=", 1) for f in line.split() if f.startswith("--"))
        name = fields["--name"].strip("'")
        if all(name != n for n, _ in seen):  # a group in several languages counts once
            seen.append((name, fields["--language"]))
    return seen


def main():
    module, folder = sys.argv[1], sys.argv[2]
    wanted = groups(module)
    count = int(sys.argv[3]) if len(sys.argv) > 3 else len(wanted)
    count = min(count, len(wanted))
    failures = []
    for n, (name, language) in enumerate(wanted[:count], start=1):
        path = os.path.join(folder, f"{n}.ico")
        if not os.path.exists(path):
            failures.append(f"{n}.ico missing (group {name})")
            continue
        ours = images(open(path, "rb").read())
        theirs = images(subprocess.run(["wrestool", "-x", "-t14", "-n", name, "-L", language, module],
                                       check=True, capture_output=True).stdout)
        if len(ours) != len(theirs):
            failures.append(f"{n}.ico: {len(ours)} images, wrestool {len(theirs)}")
        for i, (a, b) in enumerate(zip(ours, theirs)):
            if a.startswith(PNG_SIGNATURE) and a != b:
                failures.append(f"{n}.ico image {i}: PNG differs")
            elif without_size_image(a) != without_size_image(b):
                failures.append(f"{n}.ico image {i}: bitmap differs")
            elif not a.startswith(PNG_SIGNATURE) and len(a) >= 24 and a[20:24] != b"\0\0\0\0":
                failures.append(f"{n}.ico image {i}: biSizeImage not 0")
    extra = os.path.join(folder, f"{count + 1}.ico")
    if count == len(wanted) and os.path.exists(extra):
        failures.append(f"{count + 1}.ico written, but the module has {count} groups")
    for failure in failures[:20]:
        print(failure)
    print(f"{module}: {count} groups compared, {len(failures)} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
