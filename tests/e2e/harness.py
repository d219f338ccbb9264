"""End-to-end harness: a virtual display with a window manager, the shell under test in its own
working directory, waits with deadlines, window look-ups, screen pixels and a DevTools client.

Python standard library only, plus the X tools that scripts/packages.txt installs.
"""

import base64
import contextlib
import json
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.request

SCREEN_WIDTH, SCREEN_HEIGHT = 1920, 1080
FIRST_LOAD_TIMEOUT = 30.0  # first window and page: >10x the slowest start seen with busy cores
EVENT_TIMEOUT = 10.0  # an effect of one action
EXIT_TIMEOUT = 5.0  # process and engine children gone after the main window closes
STOP_TIMEOUT = 5.0  # grace period for a process asked to stop before it is killed


class Deadline(Exception):
    """A condition did not come true in time; the message names the condition."""


def wait_for(what, probe, timeout=EVENT_TIMEOUT, interval=0.05):
    """Polls probe() until it returns something truthy, and returns that; raises Deadline."""
    end = time.monotonic() + timeout
    while True:
        try:
            value = probe()
        except (OSError, DevToolsError, subprocess.CalledProcessError):
            value = None
        if value:
            return value
        if time.monotonic() >= end:
            raise Deadline(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def run_tool(*args, check=True):
    """Runs an X tool on the current display and returns its standard output."""
    done = subprocess.run(args, capture_output=True, text=True, timeout=EVENT_TIMEOUT)
    if check and done.returncode != 0:
        raise subprocess.CalledProcessError(done.returncode, args, done.stdout, done.stderr)
    return done.stdout


def stop_process(process, timeout=STOP_TIMEOUT):
    """SIGTERM, then SIGKILL after the grace period; reaps the process."""
    if process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


# ---------------------------------------------------------------------------------------------
# Virtual display


class VirtualDisplay:
    """Xvfb on a display it picks itself (-displayfd), with openbox as window manager."""

    def __init__(self):
        self._processes = []
        self.name = None

    def start(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._processes.append(xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as display_number:
            number = display_number.readline().strip()  # written once Xvfb accepts clients
        if not number.isdigit():
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"
        os.environ["DISPLAY"] = self.name
        self._processes.append(subprocess.Popen(["openbox", "--sm-disable"],
                                                stdout=subprocess.DEVNULL,
                                                stderr=subprocess.DEVNULL))
        wait_for("the window manager", self._window_manager_ready)
        # A known pointer place: Xvfb starts it in the middle of the screen, over the page.
        run_tool("xdotool", "mousemove", "0", str(SCREEN_HEIGHT - 1))

    @staticmethod
    def _window_manager_ready():
        return "window id" in run_tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)

    def stop(self):
        for process in reversed(self._processes):
            stop_process(process)
        self._processes.clear()


def visible_windows(title_regex):
    """X ids of the viewable windows whose title matches."""
    output = run_tool("xdotool", "search", "--onlyvisible", "--name", title_regex, check=False)
    return [int(line) for line in output.split()]


def wait_window(title_regex, timeout=FIRST_LOAD_TIMEOUT):
    return wait_for(f"a window titled /{title_regex}/",
                    lambda: (visible_windows(title_regex) or [None])[0], timeout)


def managed_windows():
    """The window manager's client list: {X id: title}."""
    windows = {}
    for line in run_tool("wmctrl", "-l").splitlines():
        fields = line.split(None, 3)
        windows[int(fields[0], 16)] = fields[3] if len(fields) > 3 else ""
    return windows


def window_geometry(window):
    """(x, y, width, height) of a window on the screen."""
    info = run_tool("xwininfo", "-id", str(window))
    labels = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
    return tuple(int(re.search(rf"{label}:\s+(-?\d+)", info).group(1)) for label in labels)


def window_states(window):
    """The window's _NET_WM_STATE atoms, as a set of names."""
    output = run_tool("xprop", "-id", str(window), "_NET_WM_STATE")
    return set(re.findall(r"_NET_WM_STATE_\w+", output))


def active_window():
    output = run_tool("xdotool", "getactivewindow", check=False).strip()
    return int(output) if output.isdigit() else None


def close_window(window):
    """Asks the window manager to close the window, as its close button would."""
    run_tool("wmctrl", "-i", "-c", hex(window))


def press_keys(*keys):
    run_tool("xdotool", "key", *keys)


def screen_pixel(x, y, shot_dir):
    """Colour of one screen pixel as 'RRGGBB', read from an xwd dump of the root window."""
    return screen_pixels([(x, y)], shot_dir)[0]


def screen_pixels(points, shot_dir):
    """Colours of several screen pixels ('RRGGBB' each), all from one xwd dump."""
    path = os.path.join(shot_dir, "screen.xwd")
    with open(path, "wb") as dump:
        subprocess.run(["xwd", "-root", "-silent"], stdout=dump, check=True,
                       timeout=EVENT_TIMEOUT)
    with open(path, "rb") as dump:
        data = dump.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, byte_order, bits_per_pixel, bytes_per_line = (fields[0], fields[7], fields[11],
                                                                fields[12])
    masks, colour_count = fields[14:17], fields[19]
    if bits_per_pixel not in (24, 32):
        raise ValueError(f"unexpected xwd depth {bits_per_pixel}")
    # 24-bit dumps (once a client installs a colormap) pack 3 bytes a pixel in padded rows.
    pixel_size = bits_per_pixel // 8
    colours = []
    for x, y in points:
        offset = header_size + colour_count * 12 + y * bytes_per_line + x * pixel_size
        value = int.from_bytes(data[offset:offset + pixel_size],
                               "little" if byte_order == 0 else "big")
        colours.append("".join(f"{(value & mask) >> ((mask & -mask).bit_length() - 1):02X}"
                               for mask in masks))
    return colours


# ---------------------------------------------------------------------------------------------
# DevTools protocol


class DevToolsError(Exception):
    pass


def free_loopback_port():
    with contextlib.closing(socket.socket()) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class DevToolsPage:
    """One page target over its WebSocket: enough of the protocol for Runtime.evaluate."""

    def __init__(self, websocket_url, timeout=EVENT_TIMEOUT):
        match = re.match(r"ws://([^:/]+):(\d+)(/.*)", websocket_url)
        if not match:
            raise DevToolsError(f"unexpected WebSocket address {websocket_url}")
        host, port, path = match.group(1), int(match.group(2)), match.group(3)
        self._socket = socket.create_connection((host, port), timeout=timeout)
        self._buffer = b""
        self._next_id = 0
        self._handshake(host, port, path)

    def close(self):
        self._socket.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _handshake(self, host, port, path):
        key = base64.b64encode(os.urandom(16)).decode()
        self._socket.sendall((f"GET {path} HTTP/1.1\r\nHost: {host}:{port}\r\n"
                              "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                              f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n"
                              ).encode())
        while b"\r\n\r\n" not in self._buffer:
            self._receive_more()
        response, self._buffer = self._buffer.split(b"\r\n\r\n", 1)
        if b" 101 " not in response.split(b"\r\n", 1)[0]:
            raise DevToolsError(f"WebSocket upgrade refused: {response[:200]!r}")

    def _receive_more(self):
        chunk = self._socket.recv(65536)
        if not chunk:
            raise DevToolsError("DevTools connection closed")
        self._buffer += chunk

    def _take(self, count):
        while len(self._buffer) < count:
            self._receive_more()
        taken, self._buffer = self._buffer[:count], self._buffer[count:]
        return taken

    def _send_text(self, text):
        payload = text.encode()
        header = bytes([0x81])  # FIN, text frame
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 1 << 16:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        mask = os.urandom(4)  # clients must mask their frames
        masked = bytes(byte ^ mask[i % 4] for i, byte in enumerate(payload))
        self._socket.sendall(header + mask + masked)

    def _receive_message(self):
        message = b""
        while True:
            first, second = self._take(2)
            length = second & 0x7F
            if length == 126:
                (length,) = struct.unpack(">H", self._take(2))
            elif length == 127:
                (length,) = struct.unpack(">Q", self._take(8))
            payload = self._take(length)
            opcode = first & 0x0F
            if opcode == 0x8:
                raise DevToolsError("DevTools closed the WebSocket")
            if opcode in (0x0, 0x1, 0x2):
                message += payload
                if first & 0x80:
                    return json.loads(message)

    def call(self, method, **params):
        self._next_id += 1
        request_id = self._next_id
        self._send_text(json.dumps({"id": request_id, "method": method, "params": params}))
        while True:
            reply = self._receive_message()
            if reply.get("id") == request_id:
                if "error" in reply:
                    raise DevToolsError(f"{method}: {reply['error']}")
                return reply["result"]

    def evaluate(self, expression, **options):
        """Value of a script expression in the page (promises are awaited); options go to
        Runtime.evaluate as they are (userGesture=True, say)."""
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True, **options)
        if "exceptionDetails" in result:
            raise DevToolsError(f"script failed: {result['exceptionDetails']}")
        return result["result"].get("value")


class DevTools:
    """The engine's DevTools endpoint on a loopback port."""

    def __init__(self, port):
        self.port = port

    def pages(self):
        with urllib.request.urlopen(f"http://127.0.0.1:{self.port}/json/list", timeout=2) as reply:
            return [target for target in json.load(reply) if target.get("type") == "page"]

    def page_with_url(self, url_suffix):
        for target in self.pages():
            if target.get("url", "").endswith(url_suffix):
                return target
        return None

    def wait_page(self, url_suffix, timeout=FIRST_LOAD_TIMEOUT):
        """Opens the page whose URL ends with url_suffix once its document has loaded."""
        target = wait_for(f"a page at *{url_suffix}", lambda: self.page_with_url(url_suffix),
                          timeout)
        page = DevToolsPage(target["webSocketDebuggerUrl"])
        try:
            # The target lists the URL before its document commits; until then the page
            # still holds the empty initial document, which also reads as complete.
            loaded = (f"location.href.endsWith({json.dumps(url_suffix)})"
                      " && document.readyState === 'complete'")
            wait_for(f"*{url_suffix} to finish loading", lambda: page.evaluate(loaded), timeout)
        except Exception:
            page.close()
            raise
        return page


# ---------------------------------------------------------------------------------------------
# Processes


def process_exe(pid):
    try:
        return os.readlink(f"/proc/{pid}/exe")
    except OSError:
        return None


def descendants(pid):
    """Pids of every live process below pid."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                # The command name may hold spaces and parentheses: split after its last ')'.
                parent = int(stat.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        children.setdefault(parent, []).append(int(entry))
    found, pending = [], [pid]
    while pending:
        for child in children.get(pending.pop(), []):
            found.append(child)
            pending.append(child)
    return found


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


# ---------------------------------------------------------------------------------------------
# The shell under test


EXAMPLE_DIR = os.environ.get("VINTREL_EXAMPLE_DIR",
                             os.path.join(os.path.dirname(__file__), "..", "..", "example"))


class ShellProcess:
    """One run of the shell and the engine sub-processes seen below it."""

    def __init__(self, popen):
        self.popen = popen
        self._seen = {}

    def engine_processes(self):
        """The sub-processes now, as {pid: executable}; remembered for stop()."""
        processes = {pid: process_exe(pid) for pid in descendants(self.popen.pid)}
        self._seen.update(processes)
        return processes

    def stop(self):
        """Stops the shell if it still runs, and any sub-process it left behind."""
        if self.popen.poll() is None:
            self.engine_processes()
        stop_process(self.popen)
        for pid, exe in self._seen.items():
            if alive(pid) and process_exe(pid) == exe:  # not a new process under a reused pid
                with contextlib.suppress(OSError):
                    os.kill(pid, signal.SIGKILL)


class ShellTestCase(unittest.TestCase):
    """Each test: a fresh temporary root with its own display, HOME, working directory holding a
    copy of the example pages, and a DevTools port. Everything started is stopped afterwards."""

    def setUp(self):
        self.executable = os.environ.get("VINTREL_EXE")
        if not self.executable or not os.access(self.executable, os.X_OK):
            self.fail("VINTREL_EXE must name the built vintrel executable")
        self.root = tempfile.mkdtemp(prefix="vintrel-e2e-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        self.addCleanup(self._print_shell_log)  # ctest shows it only when the test fails
        self.home = os.path.join(self.root, "home")
        os.makedirs(os.path.join(self.home, "Downloads"))
        self.workdir = os.path.join(self.root, "work")
        shutil.copytree(EXAMPLE_DIR, self.workdir,
                        ignore=shutil.ignore_patterns("cache", "debug"))
        self.display = VirtualDisplay()
        self.addCleanup(self.display.stop)
        self.display.start()
        self.shell = None
        self.devtools = None

    def start_shell(self, extra_env=None, executable=None):
        """Starts the shell with no argument from the working directory; returns its
        ShellProcess, also kept as self.shell."""
        port = free_loopback_port()
        runtime_dir = os.path.join(self.root, "runtime")
        os.makedirs(runtime_dir, mode=0o700, exist_ok=True)
        env = {key: value for key, value in os.environ.items()
               if not key.startswith(("LC_", "QTWEBENGINE_", "QT_"))}
        env.update(HOME=self.home, XDG_RUNTIME_DIR=runtime_dir, LANG="en_US.UTF-8",
                   QT_QUICK_BACKEND="software",
                   QTWEBENGINE_REMOTE_DEBUGGING=f"127.0.0.1:{port}")
        env.update(extra_env or {})
        with open(os.path.join(self.root, "shell.log"), "ab") as log:
            self.shell = ShellProcess(subprocess.Popen(
                [executable or self.executable], cwd=self.workdir, env=env,
                stdin=subprocess.DEVNULL, stdout=log, stderr=log))
        self.addCleanup(self.shell.stop)
        self.devtools = DevTools(port)
        return self.shell

    def open_page(self, url_suffix, timeout=FIRST_LOAD_TIMEOUT):
        page = self.devtools.wait_page(url_suffix, timeout)
        self.addCleanup(page.close)
        return page

    def _print_shell_log(self):
        with contextlib.suppress(OSError), open(os.path.join(self.root, "shell.log"),
                                                errors="replace") as log:
            print(f"--- last lines of the shell's output ---\n{log.read()[-3000:]}",
                  file=sys.stderr)
