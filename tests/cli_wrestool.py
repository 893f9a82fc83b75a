#!/usr/bin/env python3
"""icotake against wrestool (icoutils) on every Wine PE module: `icotake list --json -r` must
find exactly the modules in which `wrestool -l -t14` finds icon groups, with the same groups in
the same order and the same languages; `icotake extract -r` must write every group, each as a
complete icon file whose images have the byte counts of the icon file `wrestool -x` writes for
that group. The listing is also checked against its schema.

usage: cli_wrestool.py --icotake PROGRAM --schema SCHEMA [--runner RUNNER] [--modules DIR]
"""

import argparse
import concurrent.futures
import json
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from json_schema import validate  # noqa: E402

LINE = re.compile(r"^--type=14 --name=(?:'(?P<text>.*)'|(?P<number>\d+)) --language=(?P<language>\d+) ")


def wrestool_groups(path):
    """[(name, [languages])] in wrestool's order; a name is "#n" for a number."""
    result = subprocess.run(["wrestool", "-l", "-t14", path], capture_output=True, text=True,
                            errors="replace", timeout=300)
    groups = []
    for line in result.stdout.splitlines():
        match = LINE.match(line)
        if not match:
            continue
        name = match["text"] if match["text"] is not None else "#" + match["number"]
        if not groups or groups[-1][0] != name:
            groups.append((name, []))
        groups[-1][1].append(int(match["language"]))
    return groups


def icon_file_sizes(path, tight):
    """The byte counts in an icon file's directory. A tight file (ours) must hold exactly its
    header, directory and images, one after another; wrestool's adds bytes at the end."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind) != (0, 1):
        raise ValueError(f"{path}: not an icon file")
    sizes, end = [], 6 + 16 * count
    for i in range(count):
        size, offset = struct.unpack_from("<II", data, 6 + 16 * i + 8)
        if tight and offset != end:
            raise ValueError(f"{path}: image {i + 1} at {offset}, expected {end}")
        sizes.append(size)
        end = max(end, offset + size)
    if end > len(data) or (tight and end != len(data)):
        raise ValueError(f"{path}: {len(data)} bytes, its directory reaches {end}")
    return sizes


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--icotake", required=True)
    parser.add_argument("--schema", required=True)
    parser.add_argument("--runner", default="")
    parser.add_argument("--modules", default="/usr/lib/x86_64-linux-gnu/wine/x86_64-windows")
    options = parser.parse_args()
    runner = [options.runner] if options.runner else []
    folder = options.modules
    problems = []

    names = sorted(n for n in os.listdir(folder) if os.path.isfile(os.path.join(folder, n)))
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        expected = dict(zip(names, pool.map(lambda n: wrestool_groups(os.path.join(folder, n)), names)))
    expected = {name: groups for name, groups in expected.items() if groups}
    print(f"wrestool: {len(expected)} of {len(names)} files hold icon groups, "
          f"{sum(len(g) for g in expected.values())} groups")
    if not expected:
        problems.append("wrestool finds no module with icon groups: nothing would be compared")

    listing = subprocess.run(runner + [options.icotake, "list", "--json", "-r", folder],
                             capture_output=True, timeout=1200)
    if listing.returncode != 0:
        problems.append(f"icotake list exits with {listing.returncode}: "
                        f"{listing.stderr.decode('utf-8', 'replace')[:2000]}")
    document = json.loads(listing.stdout.decode("utf-8"))
    with open(options.schema) as f:
        problems += validate(document, json.load(f))[:20]

    found = {}
    for entry in document["files"]:
        name = re.split(r"[\\/]", entry["path"])[-1]
        found[name] = entry
        for group in entry["groups"]:
            if "error" in group or not group["images"]:
                problems.append(f"{name}: group {group['position']}: {group.get('error', 'no images')}")
    if sorted(found) != sorted(expected):
        problems.append(f"modules with icon groups differ: only icotake "
                        f"{sorted(set(found) - set(expected))}, only wrestool "
                        f"{sorted(set(expected) - set(found))}")
    for name, groups in expected.items():
        if name not in found:
            continue
        ours = [(g["name"] if g["name"] is not None else f"#{g['number']}", g["languages"])
                for g in found[name]["groups"]]
        if ours != groups:
            problems.append(f"{name}: icotake {ours[:5]}..., wrestool {groups[:5]}...")

    with tempfile.TemporaryDirectory(prefix="icotake-wrestool-") as scratch:
        ours_folder = os.path.join(scratch, "icotake")
        extract = subprocess.run(runner + [options.icotake, "extract", "-r", folder, "-o", ours_folder],
                                 capture_output=True, timeout=1200)
        if extract.returncode != 0:
            problems.append(f"icotake extract exits with {extract.returncode}: "
                            f"{extract.stderr.decode('utf-8', 'replace')[:2000]}")
        written = len(extract.stdout.splitlines())
        total = sum(len(g) for g in expected.values())
        if written != total:
            problems.append(f"icotake extract wrote {written} files for {total} groups")
        compared = 0
        for name, groups in expected.items():
            theirs_folder = os.path.join(scratch, "wrestool", name)
            os.makedirs(theirs_folder)
            subprocess.run(["wrestool", "-x", "-t14", os.path.join(folder, name), "-o", theirs_folder],
                           capture_output=True, timeout=300)
            for position, (group, languages) in enumerate(groups, start=1):
                ours = os.path.join(ours_folder, name, f"{position}.ico")
                label = group[1:] if group.startswith("#") else group
                theirs = os.path.join(theirs_folder, f"{name}_14_{label}_{languages[0]}.ico")
                try:
                    if len(languages) == 1 and icon_file_sizes(ours, True) != icon_file_sizes(theirs, False):
                        problems.append(f"{name} group {position} ({group}): images differ from wrestool's")
                    compared += 1
                except (OSError, ValueError, struct.error) as e:
                    problems.append(f"{name} group {position} ({group}): {e}")
        print(f"extracted: {written} files; {compared} compared with wrestool -x")

    for p in problems[:50]:
        print("FAILED", p)
    print("ok" if not problems else f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
