#!/usr/bin/env python3
"""Start-up and navigations of vintrel against a bare Qt WebEngine program, read from the screen
and from the page itself, in interleaved rounds, in the conditions users have.

Two programs show the same start page maximised on a virtual screen, each from a working
directory of its own: vintrel and the bare engine with its storage and cache in ./cache (the
floor: the shell keeps its cache there too, and lets local pages reach the network as the floor
does). Both run with a session bus and with Qt's default graphics back end (OpenGL), and again
with the software one (QT_QUICK_BACKEND=software), on two start pages: a copy of the example's
request.html, and the same page loading a style sheet, a script, a fetch and images from a
loopback server during its load.

The screen probe (screen_probe.cpp) starts each program and reads, without the DevTools protocol:
exec -> first window mapped, exec -> first paint at the probe point, exec -> load painted (the
page paints a marker once its load event has run), the page's own navigation start -> load
event, the CPU time of the process tree until then, and its PSS then and 3 s later. The page then
makes five navigations between two local pages; each reports its own navigation start -> load
event to the loopback server. Rounds rotate the programs' order; the report gives, per back end
and start page, medians with min-max and the per-round ratio of vintrel to the floor, with the
number of rounds behind each figure.

    startup_bench.py --probe build/startup_probe --vintrel build/vintrel \\
                     --baseline build/startup_baseline [--rounds 10] [--software | --opengl]
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
import harness  # noqa: E402  (the virtual display and program environment of the e2e tests)
from loopback_server import LoopbackServer, Reply  # noqa: E402
from session_bus import start_session_bus  # noqa: E402

DESKTOP = "00FF00"
MARKER = "12AB34"
DONE = "AB3412"
SHELL = "vintrel"
FLOOR = "floor"
NAVIGATIONS = 5
NAVIGATION_PAGES = ("page-a.html", "page-b.html")
# The probe reads the memory 3 s after the marker is painted; the page waits longer than that
# before it navigates on (the probe fails the round if it did not).
NAVIGATE_AFTER_MS = 4500
# A probe run ends by itself within its own time-outs; this bounds a probe that hangs.
PROBE_TIMEOUT_S = 240
BACK_ENDS = {"OpenGL (Qt's default)": None, "software": "software"}
START_PAGES = ("example", "loopback")
FIGURES = (("mapped", "exec -> window mapped", "ms"),
           ("first_paint", "exec -> first paint", "ms"),
           ("load_painted", "exec -> load painted", "ms"),
           ("navigation_to_load", "start page: nav -> load", "ms"),
           *((f"navigation{n}", f"navigation {n}: nav -> load", "ms")
             for n in range(1, NAVIGATIONS + 1)),
           ("cpu", "CPU time until load", "ms"),
           ("pss_load", "PSS at load", "MiB"),
           ("pss_later", "PSS 3 s after load", "MiB"))

LOOPBACK_HEAD = ('<link rel="stylesheet" href="{url}/app.css">'
                 '<script src="{url}/app.js"></script>')
LOOPBACK_SECTION = ('<section class="card wide"><h2>From the server</h2><p id="served"></p>'
                    + "".join(f'<img src="{{url}}/image-{n}.svg" alt="" width="64" height="64">'
                              for n in range(1, 5)) + "</section>")
LOOPBACK_SCRIPT = b"""
fetch(document.currentScript.src.replace("app.js", "data.json"))
  .then(reply => reply.json())
  .then(data => { document.getElementById("served").textContent = data.items.join(", "); });
"""
IMAGE = (b'<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64">'
         b'<circle cx="32" cy="32" r="28" fill="#2f80ed"/></svg>')


class RoundFailed(Exception):
    pass


def loopback_routes():
    routes = {"/app.css": Reply(b"#served { font-weight: bold; }", "text/css"),
              "/app.js": Reply(LOOPBACK_SCRIPT, "text/javascript"),
              "/data.json": Reply(b'{"items": ["one", "two", "three"]}', "application/json"),
              "/report": Reply(b"", "text/plain")}
    routes.update({f"/image-{n}.svg": Reply(IMAGE, "image/svg+xml") for n in range(1, 5)})
    return routes


def filled(template_name, **values):
    with open(os.path.join(HERE, template_name)) as template:
        text = template.read()
    for name, value in values.items():
        text = text.replace(f"%{name}%", str(value))
    return text


def prepare_workdir(root, name, start_page, server):
    """A copy of the example app whose start page paints the load marker, the navigation pages
    beside it, and, for the loopback start page, the requests to the server."""
    workdir = os.path.join(root, name)
    shutil.copytree(os.path.join(REPO, "example"), workdir,
                    ignore=shutil.ignore_patterns("cache", "debug"))
    marker = filled("marker.js", MARKER=MARKER, FIRST_PAGE=NAVIGATION_PAGES[0],
                    NAVIGATE_AFTER_MS=NAVIGATE_AFTER_MS)
    page = os.path.join(workdir, "request.html")
    with open(page) as original:
        html = original.read().replace("</body>", f"<script>{marker}</script></body>")
    if start_page == "loopback":
        url = server.url("")
        html = html.replace("</head>", LOOPBACK_HEAD.format(url=url) + "</head>")
        html = html.replace("</main>", LOOPBACK_SECTION.format(url=url) + "</main>")
    with open(page, "w") as patched:
        patched.write(html)
    with open(os.path.join(workdir, "navigation.js"), "w") as script:
        script.write(filled("navigation.js", COUNT=NAVIGATIONS, DONE=DONE,
                            REPORT_URL=server.url("/report"), PAGE_A=NAVIGATION_PAGES[0],
                            PAGE_B=NAVIGATION_PAGES[1]))
    for index, name in enumerate(NAVIGATION_PAGES):
        with open(os.path.join(workdir, name), "w") as out:
            out.write(filled("navigation_page.html", TITLE=f"Page {'AB'[index]}"))
    return workdir


def navigation_times(requested):
    """{"navigation<n>": ms} from the pages' reports; a round without all of them failed."""
    times = {}
    for path in requested:
        if path.startswith("/report?"):
            fields = dict(field.split("=", 1) for field in path.split("?", 1)[1].split("&"))
            times[f"navigation{fields['n']}"] = float(fields["ms"])
    missing = [n for n in range(1, NAVIGATIONS + 1) if f"navigation{n}" not in times]
    if missing:
        raise RoundFailed(f"no report from navigation(s) {missing}")
    return times


def measure_once(probe, command, workdir, env, server):
    width, height = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
    server.requested.clear()
    try:
        done = subprocess.run(
            [probe, "--at", f"{width // 2},{height * 3 // 8}",
             "--value-at", f"{width // 2},{height * 15 // 16}",
             "--desktop", DESKTOP, "--marker", MARKER, "--done", DONE, "--", *command],
            cwd=workdir, env=env, capture_output=True, text=True, timeout=PROBE_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        raise RoundFailed(f"the screen probe did not end within {PROBE_TIMEOUT_S} s") from None
    if done.returncode != 0:
        raise RoundFailed(done.stderr.strip() or f"the screen probe ended with {done.returncode}")
    figures = {key: float(value) for key, value in
               (field.split("=") for field in done.stdout.split())}
    figures.update(navigation_times(list(server.requested)))
    return figures


def environments(root, bus_address):
    """The programs' environment per back end: the e2e tests' one, with a live session bus and
    Qt's default back end unless the software one is asked for."""
    env = harness.program_environment(root, os.path.join(root, "home"))
    env.pop("QT_QUICK_BACKEND", None)
    env.update(DBUS_SESSION_BUS_ADDRESS=bus_address,
               QTWEBENGINE_DISABLE_SANDBOX="1")  # the bare engine needs it as root
    return {back_end: dict(env, **({"QT_QUICK_BACKEND": value} if value else {}))
            for back_end, value in BACK_ENDS.items()}


def run_rounds(args, programs, back_ends, root, server, bus_address):
    """{(back end, start page): [{program: figures or None} per round]}; prints each failure."""
    envs = environments(root, bus_address)
    configs = [(back_end, page) for back_end in back_ends for page in START_PAGES]
    workdirs = {(page, name): prepare_workdir(root, f"{page}-{index}", page, server)
                for page in START_PAGES for index, name in enumerate(programs)}
    probe = os.path.abspath(args.probe)
    names = list(programs)
    results = {config: [] for config in configs}
    failures = 0
    for index in range(-1, args.rounds):  # round -1 warms file caches, fonts and ./cache
        order = names[index % len(names):] + names[:index % len(names)]
        label = f"round {index + 1} of {args.rounds}" if index >= 0 else "warm-up"
        for back_end, page in configs:
            measured = {}
            for name in order:
                try:
                    measured[name] = measure_once(probe, programs[name], workdirs[page, name],
                                                  envs[back_end], server)
                except RoundFailed as failure:
                    failures += 1
                    measured[name] = None
                    print(f"{label}, {back_end}, {page} page, {name}: {failure}",
                          file=sys.stderr, flush=True)
            if index >= 0:
                results[back_end, page].append(measured)
        print(f"{label} done", file=sys.stderr, flush=True)
    return results, failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--probe", required=True)
    parser.add_argument("--vintrel", required=True)
    parser.add_argument("--baseline", required=True)
    parser.add_argument("--rounds", type=int, default=10)
    only = parser.add_mutually_exclusive_group()
    only.add_argument("--software", action="store_true",
                      help="only the software back end (QT_QUICK_BACKEND=software)")
    only.add_argument("--opengl", action="store_true", help="only Qt's default back end")
    args = parser.parse_args()
    back_ends = list(BACK_ENDS)
    if args.software or args.opengl:
        back_ends = [back_ends[1] if args.software else back_ends[0]]
    programs = {SHELL: [os.path.abspath(args.vintrel)],
                FLOOR: [os.path.abspath(args.baseline), "--persistent"]}

    root = tempfile.mkdtemp(prefix="vintrel-startup-")
    display = harness.VirtualDisplay()
    bus = None
    try:
        display.start()
        harness.run_tool("xsetroot", "-solid", f"#{DESKTOP}")
        bus, bus_address = start_session_bus()
        load_before = os.getloadavg()
        with LoopbackServer(loopback_routes()) as server:
            results, failures = run_rounds(args, programs, back_ends, root, server, bus_address)
        report(results, load_before, os.getloadavg())
    finally:
        if bus:
            harness.stop_process(bus)
        display.stop()
        shutil.rmtree(root, ignore_errors=True)
    if failures:
        print(f"{failures} measurement(s) failed (above); their rounds are left out of the "
              "figures they lack", file=sys.stderr)
        sys.exit(1)


def spread(values, digits=0):
    if not values:
        return "-"
    return (f"{statistics.median(values):.{digits + 1}f} "
            f"({min(values):.{digits}f}-{max(values):.{digits}f})")


def report(results, load_before, load_after):
    print(f"load average before {load_before[0]:.2f}, after {load_after[0]:.2f}; "
          "median (min-max) over the rounds; ratio: vintrel / floor per round")
    for (back_end, page), rounds in results.items():
        print(f"\n{back_end} back end, {page} start page")
        print(f"  {'':30s}{SHELL:>20s}{FLOOR:>20s}{'ratio':>22s}{'rounds':>8s}")
        for key, label, unit in FIGURES:
            pairs = [(r[SHELL][key], r[FLOOR][key]) for r in rounds
                     if r.get(SHELL) and r.get(FLOOR) and r[FLOOR][key] > 0]
            shell = [shell for shell, _ in pairs]
            floor = [floor for _, floor in pairs]
            ratios = [shell / floor for shell, floor in pairs]
            print(f"  {label + ' [' + unit + ']':30s}{spread(shell):>20s}{spread(floor):>20s}"
                  f"{spread(ratios, 2):>22s}{len(pairs):>8d}")


if __name__ == "__main__":
    main()
