#!/usr/bin/python3
"""Side-by-side benchmark: icotake and the extract button's passes against the peers and the floor.

Every repeat runs every case on every corpus file once, in a rotating order, so that the load of
a noisy machine falls on all cases alike; the figures are medians with min and max. Wall time
suffers most from other work on the machine; CPU time (user + system of the process and its
children) less; callgrind's instruction counts not at all, so decisions go by those.

  bench/run.py [--repeats N] [--files a.dll,b.exe] [--out DIR] [--no-wine] [--no-callgrind]
               [--no-memory] [--per-group-peers]

Builds expected: build/native (bench/icotake_floor, bench/icotake_driver_bench, cli/icotake) and,
for the Wine cases, build/mingw-x64 (the same as .exe). Outputs go to --out (tmpfs by default:
on ext4 a file replaced by rename or truncation is flushed at once, which measures the disk).
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MODULES = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
CORPUS = ["shell32.dll", "comdlg32.dll", "notepad.exe", "kernel32.dll", "mshtml.dll"]
NATIVE = os.path.join(ROOT, "build/native")
MINGW = os.path.join(ROOT, "build/mingw-x64")
PEERS = os.path.join(ROOT, "bench/peers.py")
PYTHON = "/usr/bin/python3"  # Debian's, which has pefile and icoextract
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64"


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def wine_env():
    env = dict(os.environ)
    env.update(WINEPREFIX=os.path.join(ROOT, "build/wineprefix"), LC_ALL="zh_CN.UTF-8",
               WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d")
    return env


class Case:
    """One program doing one job; family 'all' writes every group, 'button' the 100 passes."""

    def __init__(self, name, family, argv, wine=False, ours=False, floor=False):
        self.name, self.family, self.argv = name, family, argv
        self.wine, self.ours, self.floor = wine, ours, floor


def cases_for(module, out, args):
    floor = f"{NATIVE}/bench/icotake_floor"
    cases = [
        Case("floor", "all", lambda d: [floor, module, d], floor=True),
        Case("icotake", "all", lambda d: [f"{NATIVE}/cli/icotake", module, "-o", d], ours=True),
        Case("wrestool -x -t14", "all", lambda d: ["wrestool", "-x", "-t14", "-o", d, module]),
        Case("icoextract (library)", "all", lambda d: [PYTHON, PEERS, "icoextract", module, d]),
        Case("pefile", "all", lambda d: [PYTHON, PEERS, "pefile", module, d]),
        Case("floor, 100 groups", "button", lambda d: [floor, module, d, "100"], floor=True),
        Case("driver, 100 passes", "button",
             lambda d: [f"{NATIVE}/bench/icotake_driver_bench", module, d], ours=True),
        Case("module backend only, 100 passes", "button",
             lambda d: [f"{NATIVE}/bench/icotake_driver_bench", "--loader-only", module]),
    ]
    if not args.no_wine:
        cases += [
            Case("icotake.exe (wine64)", "all",
                 lambda d: [WINE, f"{MINGW}/cli/icotake.exe", wine_path(module), "-o",
                            wine_path(d)], wine=True, ours=True),
            Case("driver.exe, 100 passes (wine64)", "button",
                 lambda d: [WINE, f"{MINGW}/bench/icotake_driver_bench.exe", wine_path(module),
                            wine_path(d)], wine=True, ours=True),
            Case("Wine's loader only, 100 passes (wine64)", "button",
                 lambda d: [WINE, f"{MINGW}/bench/icotake_driver_bench.exe", "--loader-only",
                            wine_path(module)], wine=True),
        ]
    return cases


def run_once(argv, env=None):
    """Wall seconds, CPU seconds (user + system, children included), exit code, and the work's
    own wall seconds where the program prints them (icotake_driver_bench: "work_us N")."""
    start = time.perf_counter()
    process = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    output = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.stdout.close()
    found = re.search(rb"work_us (\d+)", output)
    return (wall, usage.ru_utime + usage.ru_stime, os.waitstatus_to_exitcode(status),
            int(found.group(1)) / 1e6 if found else None)


def fresh(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def same_files(a, b):
    names = sorted(os.listdir(a))
    if names != sorted(os.listdir(b)):
        return False
    for name in names:
        with open(os.path.join(a, name), "rb") as x, open(os.path.join(b, name), "rb") as y:
            if x.read() != y.read():
                return False
    return True


def callgrind(argv):
    target = "/tmp/icotake-bench.callgrind"
    result = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={target}"]
                            + argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    os.unlink(target)
    found = re.search(r"Collected : (\d+)", result.stderr)
    return int(found.group(1)) if found else None


def peak_kib(argv, env=None):
    result = subprocess.run(["/usr/bin/time", "-v"] + argv, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True, env=env)
    found = re.search(r"Maximum resident set size \(kbytes\): (\d+)", result.stderr)
    return int(found.group(1)) if found else None


def stats(values):
    return statistics.median(values), min(values), max(values)


def ms(value):
    return f"{value * 1000:.1f}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeats", type=int, default=9)
    parser.add_argument("--files", default=",".join(CORPUS))
    parser.add_argument("--out", default="/dev/shm/icotake-bench")
    parser.add_argument("--no-wine", action="store_true")
    parser.add_argument("--no-callgrind", action="store_true")
    parser.add_argument("--no-memory", action="store_true")
    parser.add_argument("--per-group-peers", action="store_true",
                        help="also wrestool once per group (100 processes), once per file")
    args = parser.parse_args()

    files = [f if f.startswith("/") else os.path.join(MODULES, f) for f in args.files.split(",")]
    env = wine_env()
    started_server = False
    if not args.no_wine:
        # A wineserver that stays up between runs: then a program starts in tens of ms, not seconds.
        subprocess.run([os.path.join(ROOT, "scripts/wine-run"), f"{MINGW}/bench/icotake_driver_bench.exe",
                        "--idle"], env=env, check=True)
        started_server = subprocess.run([WINESERVER, "-p"], env=env).returncode == 0
    idle_argv = [WINE, f"{MINGW}/bench/icotake_driver_bench.exe", "--idle"]

    work = {f: cases_for(f, args.out, args) for f in files}
    wall = {}
    cpu = {}
    failures = []
    largest = {}
    timed_inside = set()
    try:
        # Once untimed: warms the page cache and checks that ours write what the floor writes.
        for f in files:
            for case in work[f]:
                folder = fresh(os.path.join(args.out, case.family + "-" + re.sub(r"\W", "_", case.name)))
                _, _, code, _ = run_once(case.argv(folder), env if case.wine else None)
                # icotake fails on a module without icon groups, where the floor writes nothing.
                if case.ours and code != 0 and (case.family != "all" or largest.get(f)):
                    failures.append(f"{os.path.basename(f)}: {case.name} exited {code}")
                if case.floor and case.family == "all":
                    largest[f] = max([os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder)] or [0])
                if case.ours:
                    reference = os.path.join(args.out, case.family + "-floor" + ("" if case.family == "all" else "__100_groups"))
                    if not same_files(folder, reference):
                        failures.append(f"{os.path.basename(f)}: {case.name} wrote other files than the floor")
        rotation = 0
        for _ in range(args.repeats):
            if not args.no_wine:
                w, c, _, _ = run_once(idle_argv, env)
                wall.setdefault("wine start", []).append(w)
                cpu.setdefault("wine start", []).append(c)
            for f in files:
                cases = work[f]
                rotation += 1
                for i in range(len(cases)):
                    case = cases[(i + rotation) % len(cases)]
                    folder = fresh(os.path.join(args.out, "run"))
                    w, c, _, measured = run_once(case.argv(folder), env if case.wine else None)
                    if case.wine and measured is not None:
                        w = measured  # timed inside the process: Wine's start is left out exactly
                        timed_inside.add((f, case.name))
                    wall.setdefault((f, case.name), []).append(w)
                    cpu.setdefault((f, case.name), []).append(c)

        counts = {}
        if not args.no_callgrind:
            for f in files:
                for case in work[f]:
                    if not case.wine and (case.ours or case.floor):
                        counts[(f, case.name)] = callgrind(case.argv(fresh(os.path.join(args.out, "run"))))
        memory = {}
        if not args.no_memory:
            idle_native = peak_kib([f"{NATIVE}/bench/icotake_driver_bench", "--idle"])
            memory["idle"] = idle_native
            if not args.no_wine:
                memory["wine idle"] = peak_kib(idle_argv, env)
            for f in files:
                for case in work[f]:
                    memory[(f, case.name)] = peak_kib(case.argv(fresh(os.path.join(args.out, "run"))),
                                                      env if case.wine else None)
    finally:
        if started_server:
            subprocess.run([WINESERVER, "-k"], env=env)
        shutil.rmtree(args.out, ignore_errors=True)

    wine_start = statistics.median(wall["wine start"]) if "wine start" in wall else 0.0
    wine_start_cpu = statistics.median(cpu["wine start"]) if "wine start" in cpu else 0.0
    print(f"# icotake benchmark, {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}, "
          f"{args.repeats} interleaved repeats, load average {os.getloadavg()[0]:.1f} "
          f"on {os.cpu_count()} CPUs")
    if wine_start:
        print(f"\nWine's start (icotake_driver_bench.exe --idle, server running): median "
              f"{ms(wine_start)} ms wall, {ms(wine_start_cpu)} ms CPU, taken off the wine64 rows "
              "(their CPU time leaves out the wineserver's).")
    for f in files:
        size = os.path.getsize(f)
        print(f"\n## {os.path.basename(f)} ({size / 1e6:.1f} MB, largest group {largest.get(f, 0)} bytes:"
              f" memory target {(size + 2 * largest.get(f, 0)) // 1024} KiB)\n")
        print("| case | wall ms median (min-max) | CPU ms median (min-max) | x floor (wall / CPU)"
              " | x wrestool (wall / CPU) | instructions | peak RSS KiB (+ over idle) |")
        print("|---|---|---|---|---|---|---|")
        for case in work[f]:
            key = (f, case.name)
            w = stats(wall[key])
            c = stats(cpu[key])
            shift = wine_start if case.wine and key not in timed_inside else 0.0
            cpu_shift = wine_start_cpu if case.wine else 0.0
            floor_key = (f, "floor" if case.family == "all" else "floor, 100 groups")
            fw, fc = statistics.median(wall[floor_key]), statistics.median(cpu[floor_key])
            rw, rc = (statistics.median(wall[(f, "wrestool -x -t14")]),
                      statistics.median(cpu[(f, "wrestool -x -t14")]))
            cell = f"{ms(w[0] - shift)} ({ms(w[1] - shift)}-{ms(w[2] - shift)})"
            if key in timed_inside:
                cell += ", timed inside"
            elif case.wine:
                cell += ", less Wine's start"
            cpu_cell = f"{ms(c[0] - cpu_shift)} ({ms(c[1] - cpu_shift)}-{ms(c[2] - cpu_shift)})"
            ratios = f"{(w[0] - shift) / fw:.1f} / {(c[0] - cpu_shift) / fc:.1f}"
            ratios_w = f"{(w[0] - shift) / rw:.2f} / {(c[0] - cpu_shift) / rc:.2f}"
            instructions = counts.get(key)
            rss = memory.get(key) if not args.no_memory else None
            if rss:
                base = memory.get("wine idle" if case.wine else "idle") or 0
                rss = f"{rss} (+{rss - base})"
            print(f"| {case.name} | {cell} | {cpu_cell} | {ratios} | {ratios_w} | "
                  f"{f'{instructions / 1e6:.1f} M' if instructions else '-'} | {rss or '-'} |")
    if not args.no_memory:
        print(f"\nPeak RSS of a program that does nothing: {memory['idle']} KiB natively"
              + (f", {memory['wine idle']} KiB under wine64." if "wine idle" in memory else "."))
    if failures:
        print("\nFAILED CHECKS:\n" + "\n".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
