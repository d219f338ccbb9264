"""What a screen reader sees: a session bus and the accessibility bus of the test's own, the
screen reader switched on as Orca switches it on, and the shell's AT-SPI tree read as a screen
reader reads it (python3-gi with gir1.2-atspi-2.0)."""

import os
import subprocess

from processes import stop_process
from session_bus import start_session_bus
from waits import EVENT_TIMEOUT, wait_for

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
A11Y_BUS = ("org.a11y.Bus", "/org/a11y/bus")


class AccessibilityBus:
    """A session bus with the accessibility bus on it. The harness gives the shell a dead session
    bus on purpose; a test passes environment() to the shell instead."""

    def __init__(self, runtime_dir):
        self._runtime_dir = runtime_dir
        self._processes = []
        self.address = None

    def start(self):
        bus, self.address = start_session_bus()
        self._processes.append(bus)
        self._processes.append(subprocess.Popen(
            [BUS_LAUNCHER, "--launch-immediately"], env=self.environment(),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_for("the accessibility bus", lambda: self._call(
            "org.freedesktop.DBus.Properties.Get", "string:org.a11y.Status",
            "string:IsEnabled").returncode == 0)

    def stop(self):
        for process in reversed(self._processes):
            stop_process(process)
        self._processes.clear()

    def environment(self):
        # No display: the launcher would mark whichever display it found as this bus's.
        env = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
        env.update(DBUS_SESSION_BUS_ADDRESS=self.address, XDG_RUNTIME_DIR=self._runtime_dir)
        return env

    def set_screen_reader(self, enabled):
        """What a screen reader does when it starts: the bus then says an assistive technology is
        on. Switched off, the bus says no assistive technology at all is on: the launcher leaves
        IsEnabled on once the screen reader has turned it on."""
        settings = [("ScreenReaderEnabled", enabled)] + ([] if enabled else [("IsEnabled", False)])
        for name, value in settings:
            done = self._call("org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                              f"string:{name}", f"variant:boolean:{str(value).lower()}")
            if done.returncode != 0:
                raise RuntimeError(f"{name} could not be set: {done.stderr}")

    def _call(self, method, *args):
        return subprocess.run(["dbus-send", "--session", "--print-reply", f"--dest={A11Y_BUS[0]}",
                               A11Y_BUS[1], method, *args], env=self.environment(),
                              capture_output=True, text=True, timeout=EVENT_TIMEOUT)


def atspi(bus):
    """The Atspi module, connected to the given bus. Call it once per process: the library keeps
    the first bus it finds."""
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.address
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi
    return Atspi


def deliver_events():
    """Hands the events that have arrived to the registered listeners."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def application_of(Atspi, pid):
    """The accessible application of a process, or None while it is not on the bus."""
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def walk(node, depth=0, max_depth=None):
    """(depth, node) for the node and everything below it down to max_depth, depth first."""
    yield depth, node
    if max_depth is not None and depth >= max_depth:
        return
    for child in children(node):
        yield from walk(child, depth + 1, max_depth)


def actions(node):
    count = node.get_n_actions() if "Action" in node.get_interfaces() else 0
    return [node.get_action_name(i) for i in range(count)]


def extents(node, Atspi):
    """(x, y, width, height) on the screen."""
    box = node.get_extents(Atspi.CoordType.SCREEN)
    return box.x, box.y, box.width, box.height


def states(node, Atspi):
    state_set = node.get_state_set()
    return {name for name in ("enabled", "showing", "visible", "focusable", "focused")
            if state_set.contains(getattr(Atspi.StateType, name.upper()))}


def dump(node, max_depth=None):
    """The tree as text, one node a line: role, name and actions, indented by depth."""
    return "\n".join(f"{'  ' * depth}[{n.get_role_name()}] {n.get_name()!r} {actions(n)}"
                     for depth, n in walk(node, max_depth=max_depth))
