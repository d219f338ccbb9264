#!/usr/bin/env python3
"""Start-up of vintrel against a bare Qt WebEngine program, read from the screen, interleaved.

Three programs show the same start page (a copy of the example's request.html that paints a
marker colour once its load event has run) maximised on a virtual screen, each from a working
directory of its own: vintrel, the bare engine with an in-memory profile, and the bare engine
with its storage and cache in ./cache (the fair floor: the shell keeps its cache there). The
screen probe (screen_probe.cpp) starts each program and reads, without the DevTools protocol:
exec -> first window mapped, exec -> first paint at the probe point, exec -> the marker on screen
(load painted), the page's own navigation start -> load event, the CPU time of the process tree
until then, and its PSS then and 3 s later. Rounds rotate the programs' order; the report gives
medians with min-max and, per round, the ratio of vintrel to the persistent floor.

    startup_bench.py --probe build/startup_probe --vintrel build/vintrel \
                     --baseline build/startup_baseline [--rounds 10]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import harness  # noqa: E402  (the virtual display of the end-to-end tests)

DESKTOP = "00FF00"
MARKER = "12AB34"
FLOOR = "bare engine, ./cache"
SHELL = "vintrel"
FIGURES = (("mapped", "exec -> window mapped", "ms"),
           ("first_paint", "exec -> first paint", "ms"),
           ("load_painted", "exec -> load painted", "ms"),
           ("navigation_to_load", "navigation -> load (page)", "ms"),
           ("cpu", "CPU time until load", "ms"),
           ("pss_load", "PSS at load", "MiB"),
           ("pss_later", "PSS 3 s after load", "MiB"))


def prepare_workdir(root, name):
    """A copy of the example app in a working directory of its own."""
    workdir = os.path.join(root, name)
    shutil.copytree(os.path.join(REPO, "example"), workdir,
                    ignore=shutil.ignore_patterns("cache", "debug"))
    return workdir


def add_load_marker(workdir):
    """Makes the start page paint the marker (and its load time) once its load event has run."""
    with open(os.path.join(HERE, "marker.js")) as source:
        script = source.read().replace("%MARKER%", MARKER)
    page = os.path.join(workdir, "request.html")
    with open(page) as original:
        html = original.read()
    with open(page, "w") as patched:
        patched.write(html.replace("</body>", f"<script>{script}</script></body>"))


def measure_once(probe, command, workdir, env):
    width, height = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
    done = subprocess.run(
        [probe, "--at", f"{width // 2},{height * 3 // 8}",
         "--value-at", f"{width // 2},{height * 15 // 16}",
         "--desktop", DESKTOP, "--marker", MARKER, "--", *command],
        cwd=workdir, env=env, capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        raise RuntimeError(f"{command[0]}: {done.stderr.strip()}")
    return {key: float(value) for key, value in
            (field.split("=") for field in done.stdout.split())}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--probe", required=True)
    parser.add_argument("--vintrel", required=True)
    parser.add_argument("--baseline", required=True)
    parser.add_argument("--rounds", type=int, default=10)
    args = parser.parse_args()
    baseline = os.path.abspath(args.baseline)
    programs = {SHELL: [os.path.abspath(args.vintrel)],
                "bare engine, memory": [baseline],
                FLOOR: [baseline, "--persistent"]}

    root = tempfile.mkdtemp(prefix="vintrel-startup-")
    display = harness.VirtualDisplay()
    try:
        display.start()
        harness.run_tool("xsetroot", "-solid", f"#{DESKTOP}")
        runtime_dir = os.path.join(root, "runtime")
        os.makedirs(runtime_dir, mode=0o700)
        env = {key: value for key, value in os.environ.items()
               if not key.startswith(("QTWEBENGINE_", "QT_"))}
        env.update(HOME=root, XDG_RUNTIME_DIR=runtime_dir, QT_QUICK_BACKEND="software",
                   QTWEBENGINE_DISABLE_SANDBOX="1")  # the bare engine needs it as root
        workdirs = {name: prepare_workdir(root, f"program{index}")
                    for index, name in enumerate(programs)}
        for workdir in workdirs.values():
            add_load_marker(workdir)
        probe = os.path.abspath(args.probe)
        for name, command in programs.items():  # warm-up: file caches, fonts, ./cache
            measure_once(probe, command, workdirs[name], env)
        rounds = []
        names = list(programs)
        for index in range(args.rounds):
            order = names[index % len(names):] + names[:index % len(names)]
            rounds.append({name: measure_once(probe, programs[name], workdirs[name], env)
                           for name in order})
        report(rounds, names)
    finally:
        display.stop()
        shutil.rmtree(root, ignore_errors=True)


def spread(values):
    return f"{statistics.median(values):7.1f} ({min(values):.0f}-{max(values):.0f})"


def report(rounds, names):
    print(f"start-up read from the screen, {len(rounds)} interleaved rounds after one warm-up: "
          "median (min-max)")
    print(f"  {'':28s}" + "".join(f"{name:>24s}" for name in names))
    for key, label, unit in FIGURES:
        cells = "".join(f"{spread([r[name][key] for r in rounds]):>24s}" for name in names)
        print(f"  {label + ' [' + unit + ']':28s}{cells}")
    print(f"paired ratios {SHELL} / {FLOOR}, per round: median (min-max)")
    for key, label, _ in FIGURES:
        ratios = [r[SHELL][key] / r[FLOOR][key] for r in rounds if r[FLOOR][key] > 0]
        if ratios:
            print(f"  {label:28s} {statistics.median(ratios):.3f} "
                  f"({min(ratios):.3f}-{max(ratios):.3f})")


if __name__ == "__main__":
    main()
