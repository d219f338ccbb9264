"""End-to-end harness: the test case that gives each test its own display, home, working
directory and shell, and the helpers tests use, gathered from waits, display, processes and
devtools so that a test imports one module.

Python standard library only, plus the X tools that scripts/packages.txt installs.
"""

import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from devtools import DevTools, DevToolsError, DevToolsPage, free_loopback_port  # noqa: F401
from display import (ROOT_COLOUR, SCREEN_HEIGHT, SCREEN_WIDTH, ScreenDump,  # noqa: F401
                     VirtualDisplay, active_window, bring_back, close_enough, close_window,
                     managed_windows, open_context_menu, press_keys, run_tool, screen_pixel,
                     screen_pixels, stacking_order, visible_windows, wait_window,
                     window_geometry, window_states)
from processes import ShellProcess, alive, descendants, process_exe, stop_process  # noqa: F401
from waits import (EVENT_TIMEOUT, EXIT_TIMEOUT, FIRST_LOAD_TIMEOUT, STOP_TIMEOUT,  # noqa: F401
                   TIMEOUT_SCALE, Deadline, scaled, wait_for)

# Where the user's and the system's settings and caches are kept, when not under the home.
USER_FOLDERS = ("XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                "XDG_STATE_HOME")
EXAMPLE_DIR = os.environ.get("VINTREL_EXAMPLE_DIR",
                             os.path.join(os.path.dirname(__file__), "..", "..", "example"))


def copy_example(workdir):
    """A copy of the example app at workdir, without the caches a run of it may have left."""
    shutil.copytree(EXAMPLE_DIR, workdir, ignore=shutil.ignore_patterns("cache", "debug"))
    return workdir


def program_environment(root, home):
    """The environment every program under test or measurement starts in: a home and runtime
    folder under root, a fixed language, Qt's software renderer and no session bus."""
    runtime_dir = os.path.join(root, "runtime")
    os.makedirs(runtime_dir, mode=0o700, exist_ok=True)
    # The user's own folders would take the program's settings and storage out of the home.
    env = {key: value for key, value in os.environ.items()
           if not key.startswith(("LC_", "QTWEBENGINE_", "QT_")) and key not in USER_FOLDERS}
    # No session bus here, and the program is told so: with no address at all, libdbus
    # forks an autolaunch helper out of the running shell at start-up, and that child,
    # forked beside busy threads, can hang under the sanitizers with the shell waiting on it.
    env.update(HOME=home, XDG_RUNTIME_DIR=runtime_dir, LANG="en_US.UTF-8",
               DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(root, "no-bus"),
               QT_QUICK_BACKEND="software")
    return env


class ShellTestCase(unittest.TestCase):
    """Each test: a fresh temporary root with its own display, HOME, working directory holding a
    copy of the example pages, and a DevTools port. Everything started is stopped afterwards."""

    SCREEN_SIZE = (SCREEN_WIDTH, SCREEN_HEIGHT)  # in device pixels

    def setUp(self):
        self.executable = os.environ.get("VINTREL_EXE")
        if not self.executable or not os.access(self.executable, os.X_OK):
            self.fail("VINTREL_EXE must name the built vintrel executable")
        self.root = tempfile.mkdtemp(prefix="vintrel-e2e-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        self.addCleanup(self._print_shell_log)  # ctest shows it only when the test fails
        self.home = os.path.join(self.root, "home")
        os.makedirs(os.path.join(self.home, "Downloads"))
        self.workdir = copy_example(os.path.join(self.root, "work"))
        self.display = VirtualDisplay(self.window_manager_config(), self.SCREEN_SIZE)
        self.addCleanup(self.display.stop)
        self.display.start()
        self.shell = None
        self.devtools = None

    def window_manager_config(self):
        """A configuration file for openbox, or None for its default."""
        return None

    def start_shell(self, extra_env=None, executable=None, args=()):
        """Starts the shell from the working directory, with no argument unless given; returns
        its ShellProcess, also kept as self.shell."""
        port = free_loopback_port()
        env = program_environment(self.root, self.home)
        env.update(QTWEBENGINE_REMOTE_DEBUGGING=f"127.0.0.1:{port}")
        env.update(extra_env or {})
        with open(os.path.join(self.root, "shell.log"), "ab") as log:
            self.shell = ShellProcess(subprocess.Popen(
                [executable or self.executable, *args], cwd=self.workdir, env=env,
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
