#!/usr/bin/env python3
"""icotake as a user runs it: a table of command lines, each with the exit code, the exact lines
on stdout and stderr and the files it must leave. Runs natively, or under Wine when a runner is
given (scripts/wine-run), where paths come back with backslashes and texts in code page 936.

usage: cli_end_to_end.py --icotake PROGRAM --fixtures WRITER --schema SCHEMA [--runner RUNNER]
"""

import argparse
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from json_schema import validate  # noqa: E402

APP_LISTING = [
    "in/app.dll: module, 3 icon groups",
    "  group 1: ICON_MAIN, language 0x0409, 2 images",
    "    32x32, 4-bit, BMP, 744 bytes",
    "    16x16, 4-bit, BMP, 296 bytes",
    "  group 2: #2, languages 0x0000, 0x0407, 1 image",
    "    32x32, 8-bit, BMP, 2216 bytes",
    "  group 3: #5, language 0x0409, 1 image",
    "    256x256, 32-bit, PNG, 45 bytes",
]
USAGE_HINT = "Try 'icotake --help'."
CHINESE = "\u56fe\u6807.dll"  # 图标.dll

# args, exit code, stdout lines, stderr lines, files after the run: path -> image byte counts
# of the icon file (None: must not exist). "before" makes files first.
CASES = [
    dict(name="list one module", args=["list", "in/app.dll"], code=0, out=APP_LISTING, err=[]),
    dict(name="kind from content, not name; a group picked by position",
         args=["list", "in/renamed.txt", "in/control.cpl", "--group", "1"], code=0,
         out=["in/renamed.txt: module, 3 icon groups",
              "  group 1: ICON_MAIN, language 0x0409, 2 images",
              "    32x32, 4-bit, BMP, 744 bytes",
              "    16x16, 4-bit, BMP, 296 bytes",
              "in/control.cpl: module, 1 icon group",
              "  group 1: #1, language 0x0409, 1 image",
              "    48x48, 32-bit, BMP, 9640 bytes"], err=[]),
    dict(name="a language version", args=["list", "in/app.dll", "--lang", "0x0407", "-g", "#2"],
         code=0,
         out=["in/app.dll: module, 3 icon groups",
              "  group 2: #2, languages 0x0000, 0x0407, 1 image",
              "    16x16, 32-bit, BMP, 1128 bytes"], err=[]),
    dict(name="groups without the language", args=["list", "in/app.dll", "--lang", "1031"], code=1,
         out=["in/app.dll: module, 3 icon groups",
              "  group 1: ICON_MAIN, language 0x0409: no group resource in language 0x0407",
              "  group 2: #2, languages 0x0000, 0x0407, 1 image",
              "    16x16, 32-bit, BMP, 1128 bytes",
              "  group 3: #5, language 0x0409: no group resource in language 0x0407"],
         err=["icotake: in/app.dll: group 1 (ICON_MAIN): no group resource in language 0x0407",
              "icotake: in/app.dll: group 3 (#5): no group resource in language 0x0407"]),
    dict(name="an icon file", args=["list", "in/two.ico"], code=0,
         out=["in/two.ico: icon file, 1 icon group",
              "  group 1: 2 images",
              "    32x32, 4-bit, BMP, 744 bytes",
              "    16x16, 4-bit, BMP, 296 bytes"], err=[]),
    dict(name="a group with a missing icon", args=["list", "in/missing-icon.dll"], code=1,
         out=["in/missing-icon.dll: module, 1 icon group",
              "  group 1: #1, language 0x0409: icon #9 missing or outside the file"],
         err=["icotake: in/missing-icon.dll: group 1 (#1): icon #9 missing or outside the file"]),
    dict(name="every reason, in the order given",
         args=["list", "in/truncated.dll", "in/noicons.dll", "in/dos.exe", "in/readme.txt",
               "in/empty.dll", "in/truncated.ico", "in/link.lnk", "nowhere.dll", "in/tree"],
         code=2, out=[],
         err=["icotake: in/truncated.dll: truncated resource directory at offset 0x200",
              "icotake: in/noicons.dll: no icon groups",
              "icotake: in/dos.exe: not a PE module (an MS-DOS or 16-bit program)",
              "icotake: in/readme.txt: not a PE module, icon file or shortcut",
              "icotake: in/empty.dll: not a PE module, icon file or shortcut",
              "icotake: in/truncated.ico: truncated icon directory: 3 entries in 22 bytes",
              "icotake: in/link.lnk: shortcut without a target path, or damaged",
              "icotake: nowhere.dll: no such file",
              "icotake: in/tree: is a folder (-r walks it)"]),
    dict(name="the shorthand", args=["in/app.dll", "-o", "out"], code=0,
         out=["out/1.ico", "out/2.ico", "out/3.ico"], err=[],
         files={"out/1.ico": [744, 296], "out/2.ico": [2216], "out/3.ico": [45]}),
    dict(name="the shorthand into the current folder", args=["in/two.ico"], code=0,
         out=["./1.ico"], err=[], files={"1.ico": [744, 296], "2.ico": None}),
    dict(name="several inputs get subfolders",
         args=["extract", "in/app.dll", "in/two.ico", "-o", "out", "--group", "1"], code=0,
         out=["out/app.dll/1.ico", "out/two.ico/1.ico"], err=[],
         files={"out/app.dll/1.ico": [744, 296], "out/two.ico/1.ico": [744, 296],
                "out/app.dll/2.ico": None}),
    dict(name="groups in selector order, by number and by name in any case",
         args=["extract", "in/app.dll", "--group", "#5", "--group", "icon_main", "-o", "out"],
         code=0, out=["out/3.ico", "out/1.ico"], err=[],
         files={"out/3.ico": [45], "out/1.ico": [744, 296], "out/2.ico": None}),
    dict(name="a selector that picks nothing, and a language",
         args=["extract", "in/app.dll", "--group", "4", "--group", "#2", "--lang", "0x0407",
               "-o", "out"], code=1,
         out=["out/2.ico"], err=["icotake: in/app.dll: no group 4"],
         files={"out/2.ico": [1128]}),
    dict(name="a walk passes over files without icons",
         args=["extract", "-r", "in/tree", "-o", "out"], code=0,
         out=["out/two.ico/1.ico", "out/app.dll/1.ico", "out/app.dll/2.ico", "out/app.dll/3.ico",
              "out/app.dll-2/1.ico"], err=[],
         files={"out/two.ico/1.ico": [744, 296], "out/app.dll/2.ico": [2216],
                "out/app.dll-2/1.ico": [9640], "out/noicons.dll": None, "out/readme.txt": None}),
    dict(name="a walk that finds nothing", args=["extract", "-r", "in/plain", "-o", "out"],
         code=2, out=[], err=["icotake: in/plain: no file in the folder holds icon groups"],
         files={"out": None}),
    dict(name="some inputs fail", args=["extract", "in/app.dll", "in/readme.txt", "-o", "out"],
         code=1, out=["out/app.dll/1.ico", "out/app.dll/2.ico", "out/app.dll/3.ico"],
         err=["icotake: in/readme.txt: not a PE module, icon file or shortcut"],
         files={"out/readme.txt": None}),
    dict(name="an existing file is replaced whole", before={"out/1.ico": b"old" * 1000},
         args=["extract", "in/two.ico", "-o", "out"], code=0, out=["out/1.ico"], err=[],
         files={"out/1.ico": [744, 296]}),
    dict(name="the output is a file", before={"out": b"a file"},
         args=["extract", "in/two.ico", "-o", "out"], code=2, out=[],
         err=["icotake: out: is a file, not a folder"]),
    dict(name="a file name in Chinese", args=["list", "in/" + CHINESE, "--group", "3"], code=0,
         out=["in/" + CHINESE + ": module, 3 icon groups",
              "  group 3: #5, language 0x0409, 1 image",
              "    256x256, 32-bit, PNG, 45 bytes"], err=[]),
    dict(name="extract from a file name in Chinese",
         args=["extract", "in/" + CHINESE, "in/two.ico", "-g", "1", "-o", "out"], code=0,
         out=["out/" + CHINESE + "/1.ico", "out/two.ico/1.ico"], err=[],
         files={"out/" + CHINESE + "/1.ico": [744, 296]}),
    dict(name="no input", args=["extract"], code=64, out=[],
         err=["icotake: no input file", USAGE_HINT]),
    dict(name="an unknown option", args=["in/app.dll", "--bogus"], code=64, out=[],
         err=["icotake: unknown option --bogus", USAGE_HINT]),
    dict(name="a bad language", args=["list", "in/app.dll", "--lang", "german"], code=64, out=[],
         err=["icotake: bad language german (1033 or 0x0409)", USAGE_HINT]),
    dict(name="-o with list", args=["list", "in/app.dll", "-o", "out"], code=64, out=[],
         err=["icotake: -o belongs to extract, not list", USAGE_HINT], files={"out": None}),
]


def icon_file_images(path):
    """The byte counts of an icon file's images; fails unless the file is complete and tight."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), f"{path}: not an icon file"
    sizes, offset = [], 6 + 16 * count
    for i in range(count):
        size, at = struct.unpack_from("<II", data, 6 + 16 * i + 8)
        assert at == offset, f"{path}: image {i + 1} at {at}, expected {offset}"
        sizes.append(size)
        offset += size
    assert offset == len(data), f"{path}: {len(data)} bytes, directory says {offset}"
    return sizes


def run(command, cwd, wine):
    result = subprocess.run(command, cwd=cwd, capture_output=True, timeout=120)
    encoding = "gbk" if wine else "utf-8"
    def lines(raw):
        text = raw.decode(encoding, errors="replace").replace("\r\n", "\n")
        return [line.replace("\\", "/") for line in text.splitlines()] if wine else text.splitlines()
    return result.returncode, lines(result.stdout), lines(result.stderr), result.stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--icotake", required=True)
    parser.add_argument("--fixtures", required=True)
    parser.add_argument("--schema", required=True)
    parser.add_argument("--runner", default="")
    options = parser.parse_args()
    runner = [options.runner] if options.runner else []
    wine = bool(runner)
    with open(options.schema) as f:
        schema = json.load(f)

    if wine:
        # One wine server for all the runs, which ends by itself 10 s after the last one; where
        # one runs already (scripts/test starts one), that one serves and this call fails.
        subprocess.run(runner + ["cmd", "/c", "exit"], capture_output=True, timeout=300)
        root = os.path.dirname(os.path.dirname(os.path.abspath(options.runner)))
        prefix = os.environ.get("ICOTAKE_WINEPREFIX", os.path.join(root, "build", "wineprefix"))
        # Not captured: the server keeps the pipes it inherits open while it lives.
        subprocess.run(["/usr/lib/wine/wineserver64", "-p10"], env=dict(os.environ, WINEPREFIX=prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    failures = []
    with tempfile.TemporaryDirectory(prefix="icotake-cli-") as scratch:
        fixtures = os.path.join(scratch, "fixtures")
        subprocess.run(runner + [options.fixtures, fixtures], check=True, timeout=120)
        shutil.copy(os.path.join(fixtures, "app.dll"), os.path.join(fixtures, CHINESE))

        for case in CASES:
            work = os.path.join(scratch, "case")
            shutil.rmtree(work, ignore_errors=True)
            os.makedirs(work)
            os.symlink(fixtures, os.path.join(work, "in"))
            for name, data in case.get("before", {}).items():
                os.makedirs(os.path.dirname(os.path.join(work, name)) or work, exist_ok=True)
                with open(os.path.join(work, name), "wb") as f:
                    f.write(data)
            code, out, err, _ = run(runner + [options.icotake] + case["args"], work, wine)
            problems = []
            if code != case["code"]:
                problems.append(f"exit code {code}, expected {case['code']}")
            if out != case["out"]:
                problems.append(f"stdout {out}\n      expected {case['out']}")
            if err != case["err"]:
                problems.append(f"stderr {err}\n      expected {case['err']}")
            for name, images in case.get("files", {}).items():
                path = os.path.join(work, name)
                if images is None:
                    if os.path.exists(path):
                        problems.append(f"{name} exists")
                elif not os.path.isfile(path):
                    problems.append(f"{name} missing")
                else:
                    try:
                        got = icon_file_images(path)
                        if got != images:
                            problems.append(f"{name}: images {got}, expected {images}")
                    except AssertionError as e:
                        problems.append(str(e))
            leftovers = [n for _, _, names in os.walk(work) for n in names if ".icotake-" in n]
            if leftovers:
                problems.append(f"temporary files left: {leftovers}")
            status = "ok" if not problems else "FAILED"
            print(f"{status:6} {case['name']}: icotake {' '.join(case['args'])}")
            for p in problems:
                print(f"    {p}")
            if problems:
                failures.append(case["name"])

        # The JSON listing: its schema, and that it says what the text says.
        code, _, err, raw = run(runner + [options.icotake, "list", "--json", "in/app.dll",
                                          "in/two.ico", "in/readme.txt", "in/missing-icon.dll"],
                                fixtures_parent(fixtures, scratch), wine)
        problems = []
        try:
            document = json.loads(raw.decode("utf-8"))
            problems += validate(document, schema)
            files = {f["path"].replace("\\", "/"): f for f in document["files"]}
            app = files["in/app.dll"]
            if [(g["position"], g["number"], g["name"], g["languages"]) for g in app["groups"]] != [
                    (1, None, "ICON_MAIN", [1033]), (2, 2, None, [0, 1031]), (3, 5, None, [1033])]:
                problems.append(f"app.dll groups: {app['groups']}")
            if app["groups"][2]["images"] != [{"width": 256, "height": 256, "bitCount": 32,
                                               "format": "png", "bytes": 45}]:
                problems.append(f"app.dll group 3 images: {app['groups'][2]['images']}")
            if files["in/two.ico"]["groups"][0]["name"] is not None:
                problems.append("an icon file's group has a name")
            missing = files["in/missing-icon.dll"]["groups"][0]
            if missing.get("error") != "icon #9 missing or outside the file" or missing["images"]:
                problems.append(f"missing-icon.dll: {missing}")
            reasons = [(f["file"].replace("\\", "/"), f["reason"]) for f in document["failures"]]
            if reasons != [("in/readme.txt", "not a PE module, icon file or shortcut"),
                           ("in/missing-icon.dll", "group 1 (#1): icon #9 missing or outside the file")]:
                problems.append(f"failures: {reasons}")
        except (ValueError, KeyError, IndexError) as e:
            problems.append(f"not the document expected: {e!r}")
        if code != 1:
            problems.append(f"exit code {code}, expected 1")
        # A schema that cannot fail proves nothing: a broken document must be caught.
        if not validate({"files": [{"path": "", "kind": "folder", "groupCount": 0, "groups": [],
                                    "extra": 1}]}, schema):
            problems.append("the schema accepts a broken document")
        print(f"{'ok' if not problems else 'FAILED':6} list --json against the schema")
        for p in problems:
            print(f"    {p}")
        if problems:
            failures.append("json")

    print(f"{len(CASES) + 1 - len(failures)} of {len(CASES) + 1} passed")
    return 1 if failures else 0


def fixtures_parent(fixtures, scratch):
    work = os.path.join(scratch, "json")
    os.makedirs(work, exist_ok=True)
    if not os.path.exists(os.path.join(work, "in")):
        os.symlink(fixtures, os.path.join(work, "in"))
    return work


if __name__ == "__main__":
    sys.exit(main())
