"""The shell under a Wayland compositor: Weston's headless back end with its desktop shell. It
starts, loads its page, shows its caption, restores with transparent rounded corners, opens a
popup and exits 0 when its close button is clicked. Restored, it takes its saved size; the
compositor places it, so the position the shell saves is the one it had, not one the toolkit
makes up.

No tool here injects input into Weston, so the pointer comes from the toolkit's own input
injection inside the process (the driver's move and click commands): that checks the shell's
hit-testing and buttons on Wayland, not the compositor's routing of real input, nor its
interactive move and resize."""

import glob
import os
import shutil
import subprocess
import tempfile
import unittest

import harness
import skin_images
from facts import BODY, OUTLINE, SETTINGS, button_centre
from look_driver import LookDriver

SCREEN_WIDTH, SCREEN_HEIGHT = 1600, 1000
POPUP_PAGE = "/popup.html"
TOP_ROWS = 200  # enough screen to hold the panel and the window's caption


class Weston:
    """A headless Weston with its desktop shell, on a socket of its own."""

    def __init__(self, runtime_dir):
        self.runtime_dir = runtime_dir
        self.socket = f"vintrel-test-{os.getpid()}"
        self._process = None

    def start(self, log):
        self._process = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
             f"--width={SCREEN_WIDTH}", f"--height={SCREEN_HEIGHT}", f"--socket={self.socket}",
             "--idle-time=0"],
            env=self.environment(), stdout=log, stderr=log)
        harness.wait_for("the compositor's socket",
                         lambda: os.path.exists(os.path.join(self.runtime_dir, self.socket)),
                         harness.FIRST_LOAD_TIMEOUT)

    def environment(self):
        env = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
        env.update(XDG_RUNTIME_DIR=self.runtime_dir, WAYLAND_DISPLAY=self.socket)
        return env

    def stop(self):
        if self._process:
            harness.stop_process(self._process)

    def screenshot(self, folder, rows):
        """The first rows of the screen, as rows of 'RRGGBB'."""
        for old in glob.glob(os.path.join(folder, "wayland-screenshot-*.png")):
            os.remove(old)
        subprocess.run(["weston-screenshooter"], cwd=folder, env=self.environment(), check=True,
                       timeout=harness.EVENT_TIMEOUT, capture_output=True)
        (path,) = glob.glob(os.path.join(folder, "wayland-screenshot-*.png"))
        _, _, pixels = skin_images.load_png(path, max_rows=rows)
        return [[skin_images.hex_colour(p) for p in row] for row in pixels]


class WestonShellCase(unittest.TestCase):
    """Each test: a Weston of its own and the shell on it, with a home of its own."""

    def setUp(self):
        root = tempfile.mkdtemp(prefix="vintrel-wayland-")
        self.addCleanup(shutil.rmtree, root, ignore_errors=True)
        self.root = root
        self.executable = os.environ.get("VINTREL_EXE", "")
        self.home = os.path.join(root, "home")
        os.makedirs(os.path.join(self.home, "Downloads"))
        self.workdir = os.path.join(root, "work")
        shutil.copytree(harness.EXAMPLE_DIR, self.workdir,
                        ignore=shutil.ignore_patterns("cache", "debug"))
        runtime_dir = os.path.join(root, "runtime")
        os.makedirs(runtime_dir, mode=0o700)
        self.weston = Weston(runtime_dir)
        self.addCleanup(self.weston.stop)
        with open(os.path.join(root, "weston.log"), "ab") as log:
            self.weston.start(log)
        self.write_settings()
        port = harness.free_loopback_port()
        self.driver = LookDriver(self, {
            "WAYLAND_DISPLAY": self.weston.socket, "QT_QPA_PLATFORM": "wayland",
            "QTWEBENGINE_REMOTE_DEBUGGING": f"127.0.0.1:{port}"})
        self.driver.report("look ", harness.FIRST_LOAD_TIMEOUT)
        self.devtools = harness.DevTools(port)

    def write_settings(self):
        """The shell's settings file before it starts: none."""

    def screen(self, rows):
        return self.weston.screenshot(self.root, rows)

    def window_size(self):
        return tuple(int(n) for n in self.driver.send("size").split()[2:])

    def caption_row(self, screen):
        """The first screen row that is mostly the caption's colour: the window's caption."""
        for y, row in enumerate(screen):
            if sum(colour == BODY for colour in row) > len(row) // 2:
                return y
        return None



class WaylandTest(WestonShellCase):

    def test_starts_shows_its_caption_restores_round_opens_a_popup_and_closes(self):
        page = self.devtools.wait_page("/request.html")
        self.addCleanup(page.close)

        screen = harness.wait_for("the caption on the screen",
                                  lambda: (lambda s: s if self.caption_row(s) else None)(
                                      self.screen(TOP_ROWS)))
        caption = self.caption_row(screen)
        self.assertGreater(caption, 0, "maximised below the desktop shell's panel")
        maximised = self.window_size()
        self.assertEqual(maximised[0], SCREEN_WIDTH, "maximised to the screen's width")

        # Restore: the window gets its rounded outline, and the corners show what is behind it.
        self.driver.send("click %d %d" % button_centre("Maximize", maximised[0]))
        restored = harness.wait_for(
            "a restored window", lambda: (lambda s: s if s != maximised else None)(self.window_size()))[0]
        screen = harness.wait_for("the restored window's outline",
                                  lambda: (lambda s: s if self.top_outline(s) else None)(
                                      self.screen(TOP_ROWS)))
        left, top = self.top_outline(screen)
        corner = screen[top][left]
        self.assertNotEqual(corner, "000000", "the cut corner is not black")
        self.assertEqual(screen[top + 10][left], OUTLINE, "the window's left edge")

        # A popup of the page's own, then the close button ends everything.
        page.evaluate("window.open('popup.html', 'vintrel-popup', 'width=560,height=420') !== null",
                      userGesture=True)
        popup = self.devtools.wait_page(POPUP_PAGE, harness.EVENT_TIMEOUT)
        popup.close()
        close = button_centre("Close", restored)
        self.driver.send("move %d %d" % close)
        self.driver.send("click %d %d" % close)
        try:
            self.assertEqual(self.driver.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
        except subprocess.TimeoutExpired:
            self.fail("the shell still runs after its close button was clicked")
        behind = harness.wait_for("the desktop without the window",
                                  lambda: (lambda s: s if self.caption_row(s) is None else None)(
                                      self.screen(top + 1)))
        self.assertEqual(corner, behind[top][left], "the cut corner showed what is behind")

    @staticmethod
    def top_outline(screen):
        """(left, top) of a restored window: the row of its top edge and its left edge's column,
        found from the long run of outline colour along the top edge (inset at the corners)."""
        for y, row in enumerate(screen):
            runs = [x for x in range(len(row) - 200) if row[x] == OUTLINE and
                    row[x + 200] == OUTLINE and (x == 0 or row[x - 1] != OUTLINE)]
            if runs and y + 10 < len(screen):
                below = screen[y + 10]
                start = runs[0]
                left = next((x for x in range(max(0, start - 6), start + 1)
                             if below[x] == OUTLINE), None)
                if left is not None and left < start:
                    return left, y
        return None


class WaylandPlacementTest(WestonShellCase):
    SAVED = (300, 200, 1000, 700)

    def write_settings(self):
        path = os.path.join(self.home, SETTINGS)
        os.makedirs(os.path.dirname(path))
        with open(path, "w") as settings:
            settings.write("[Workspace]\nMainWindowRect=@Rect(%d %d %d %d)\n" % self.SAVED)

    def test_restore_takes_the_saved_size_and_saves_no_position_of_its_own(self):
        page = self.devtools.wait_page("/request.html")
        self.addCleanup(page.close)
        maximised = harness.wait_for("the maximised window",
                                     lambda: (lambda s: s if s[0] == SCREEN_WIDTH else None)(
                                         self.window_size()))
        self.driver.send("click %d %d" % button_centre("Maximize", maximised[0]))
        self.assertEqual(harness.wait_for(
            "a restored window", lambda: (lambda s: s if s != maximised else None)(
                self.window_size())), self.SAVED[2:])
        # Maximised again before closing.
        self.driver.send("click %d %d" % button_centre("Maximize", self.SAVED[2]))
        harness.wait_for("the maximised window", lambda: self.window_size() == maximised)
        page.close()
        close = button_centre("Close", maximised[0])
        self.driver.send("move %d %d" % close)
        self.driver.send("click %d %d" % close)
        self.assertEqual(self.driver.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
        with open(os.path.join(self.home, SETTINGS)) as settings:
            self.assertIn("MainWindowRect=@Rect(%d %d %d %d)" % self.SAVED, settings.read())


if __name__ == "__main__":
    unittest.main()
