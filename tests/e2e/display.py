"""The virtual display the end-to-end tests run on: Xvfb with openbox, window look-ups through
the X tools, and screen pixels from xwd dumps."""

import os
import re
import struct
import subprocess

from processes import stop_process
from waits import EVENT_TIMEOUT, FIRST_LOAD_TIMEOUT, wait_for

SCREEN_WIDTH, SCREEN_HEIGHT = 1920, 1080
ROOT_COLOUR = "00FF00"  # the desktop colour tests set: it shows through a cut corner


def run_tool(*args, check=True):
    """Runs an X tool on the current display and returns its standard output."""
    done = subprocess.run(args, capture_output=True, text=True, timeout=EVENT_TIMEOUT)
    if check and done.returncode != 0:
        raise subprocess.CalledProcessError(done.returncode, args, done.stdout, done.stderr)
    return done.stdout


class VirtualDisplay:
    """Xvfb on a display it picks itself (-displayfd), with openbox as window manager (its
    configuration file may be given)."""

    def __init__(self, window_manager_config=None, size=(SCREEN_WIDTH, SCREEN_HEIGHT)):
        self._processes = []
        self.name = None
        self._window_manager_config = window_manager_config
        self.width, self.height = size

    def start(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._processes.append(xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as display_number:
            number = display_number.readline().strip()  # written once Xvfb accepts clients
        if not number.isdigit():
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"
        os.environ["DISPLAY"] = self.name
        config = (["--config-file", self._window_manager_config]
                  if self._window_manager_config else [])
        self._processes.append(subprocess.Popen(["openbox", "--sm-disable", *config],
                                                stdout=subprocess.DEVNULL,
                                                stderr=subprocess.DEVNULL))
        wait_for("the window manager", self._window_manager_ready)
        # A known pointer place: Xvfb starts it in the middle of the screen, over the page.
        run_tool("xdotool", "mousemove", "0", str(self.height - 1))

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


def stacking_order():
    """The window manager's client windows, bottom to top."""
    output = run_tool("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
    return [int(window, 16) for window in re.findall(r"0x[0-9a-fA-F]+", output)]


def active_window():
    output = run_tool("xdotool", "getactivewindow", check=False).strip()
    return int(output) if output.isdigit() else None


def bring_back(window):
    """Asks the window manager to bring a minimised window back, and waits until it is on the
    screen and no longer iconic: its geometry does not tell, as a minimised window keeps it."""
    run_tool("wmctrl", "-i", "-a", hex(window))

    def back():
        states = run_tool("xprop", "-id", str(window), "WM_STATE", "_NET_WM_STATE")
        return ("window state: Normal" in states and "_NET_WM_STATE_HIDDEN" not in states
                and "IsViewable" in run_tool("xwininfo", "-id", str(window)))
    wait_for("the window back on the screen", back)


def close_window(window):
    """Asks the window manager to close the window, as its close button would."""
    run_tool("wmctrl", "-i", "-c", hex(window))


def press_keys(*keys):
    run_tool("xdotool", "key", *keys)


def close_enough(colour, expected, tolerance=6):
    """Whether two 'RRGGBB' colours differ by at most tolerance in each channel."""
    return all(abs(int(colour[i:i + 2], 16) - int(expected[i:i + 2], 16)) <= tolerance
               for i in (0, 2, 4))


def open_context_menu(spot, background, shot_dir):
    """Right-clicks at spot, over a plain background of that colour once it shows there, and
    waits for the menu that opens below and right of the click; returns the menu's height in
    pixels, read down its left edge from one dump."""
    x, y = spot[0] + 4, spot[1] + 4  # inside the menu once it is up
    wait_for(f"#{background} at the menu's place",
             lambda: screen_pixel(x, y, shot_dir) == background)
    run_tool("xdotool", "mousemove", *map(str, spot), "click", "3")
    screen = wait_for("the menu", lambda: (lambda dump: dump.pixel(x, y) != background and dump)(
        ScreenDump(shot_dir)))
    bottom = y
    while bottom < screen.height and screen.pixel(x, bottom) != background:
        bottom += 1
    return bottom - y


def screen_pixel(x, y, shot_dir):
    """Colour of one screen pixel as 'RRGGBB', read from an xwd dump of the root window."""
    return screen_pixels([(x, y)], shot_dir)[0]


def screen_pixels(points, shot_dir):
    """Colours of several screen pixels ('RRGGBB' each), all from one xwd dump."""
    dump = ScreenDump(shot_dir)
    return [dump.pixel(x, y) for x, y in points]


class ScreenDump:
    """One xwd dump of the root window, read pixel by pixel."""

    def __init__(self, shot_dir):
        path = os.path.join(shot_dir, "screen.xwd")
        with open(path, "wb") as dump:
            subprocess.run(["xwd", "-root", "-silent"], stdout=dump, check=True,
                           timeout=EVENT_TIMEOUT)
        with open(path, "rb") as dump:
            self._data = dump.read()
        fields = struct.unpack(">25I", self._data[:100])
        self.width, self.height = fields[4], fields[5]
        header_size, byte_order, bits_per_pixel, self._bytes_per_line = (fields[0], fields[7],
                                                                         fields[11], fields[12])
        self._masks, colour_count = fields[14:17], fields[19]
        if bits_per_pixel not in (24, 32):
            raise ValueError(f"unexpected xwd depth {bits_per_pixel}")
        # 24-bit dumps (once a client installs a colormap) pack 3 bytes a pixel in padded rows.
        self._pixel_size = bits_per_pixel // 8
        self._start = header_size + colour_count * 12
        self._order = "little" if byte_order == 0 else "big"

    def pixel(self, x, y):
        """'RRGGBB' of one pixel."""
        offset = self._start + y * self._bytes_per_line + x * self._pixel_size
        value = int.from_bytes(self._data[offset:offset + self._pixel_size], self._order)
        return "".join(f"{(value & mask) >> ((mask & -mask).bit_length() - 1):02X}"
                       for mask in self._masks)
