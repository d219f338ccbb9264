"""The main window starts maximised and, restored, goes to its saved place: where the window
manager last put the restored window, also when it was maximised again before closing; one off
every screen lands inside the work area, and a missing or corrupt settings file means the default
place, smaller than the screen."""

import os
import unittest

import harness
from facts import MAIN_TITLE, SETTINGS

SCREEN = (0, 0, harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT)
# A window without a saved place gets two thirds of the screen, centred.
DEFAULT_PLACE = (harness.SCREEN_WIDTH // 6, harness.SCREEN_HEIGHT // 6,
                 harness.SCREEN_WIDTH * 2 // 3, harness.SCREEN_HEIGHT * 2 // 3)
MAXIMISED = "_NET_WM_STATE_MAXIMIZED_VERT"


class WindowPlacementTest(harness.ShellTestCase):

    def start_maximised(self):
        self.start_shell()
        self.page = self.open_page("/request.html")
        window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the window to start maximised",
                         lambda: harness.window_geometry(window) == SCREEN)
        return window

    def set_maximised(self, window, maximised):
        harness.run_tool("wmctrl", "-i", "-r", hex(window), "-b",
                         ("add" if maximised else "remove") + ",maximized_vert,maximized_horz")
        harness.wait_for("the window to be " + ("maximised" if maximised else "restored"),
                         lambda: (MAXIMISED in harness.window_states(window)) == maximised)

    def restored_geometry(self, window):
        self.set_maximised(window, False)
        return harness.wait_for("the restored window to settle",
                                lambda: harness.window_geometry(window) != SCREEN and
                                harness.window_geometry(window))

    def close(self, window):
        harness.close_window(window)
        self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)

    def write_settings(self, content):
        path = os.path.join(self.home, SETTINGS)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as settings:
            settings.write(content)

    def move_by_window_manager(self, window, place):
        harness.run_tool("wmctrl", "-i", "-r", hex(window), "-e", "0,%d,%d,%d,%d" % place)
        harness.wait_for("the window manager to move the window",
                         lambda: harness.window_geometry(window) == place)
        # The toolkit keeps only the last of the geometries the X server queues for a window:
        # a move followed at once by a maximise never reaches the shell. The page learns the
        # window's geometry from the shell, once the shell has it.
        harness.wait_for("the shell to see the move", lambda: tuple(self.page.evaluate(
            "[screenX, screenY, outerWidth, outerHeight]")) == place)

    def test_place_given_by_the_window_manager_survives_a_restart(self):
        # The default size at another place, so that a move alone is seen; a move and a resize
        # with the window maximised again before it closes.
        cases = (((100, 120, DEFAULT_PLACE[2], DEFAULT_PLACE[3]), False),
                 ((140, 90, 1000, 700), True))
        for place, maximise_before_closing in cases:
            with self.subTest(place=place, maximise_before_closing=maximise_before_closing):
                try:
                    window = self.start_maximised()
                    self.restored_geometry(window)
                    self.move_by_window_manager(window, place)
                    if maximise_before_closing:
                        self.set_maximised(window, True)
                    self.close(window)
                    window = self.start_maximised()
                    self.assertEqual(self.restored_geometry(window), place)
                    self.close(window)
                finally:
                    self.shell.stop()  # a shell left running would take the next start

    def test_place_off_every_screen_lands_inside_the_work_area(self):
        self.write_settings(b"[Workspace]\nMainWindowRect=@Rect(5000 -4000 1000 700)\n")
        window = self.start_maximised()
        self.assertEqual(self.restored_geometry(window),
                         (harness.SCREEN_WIDTH - 1000, 0, 1000, 700))

    def test_missing_or_corrupt_settings_mean_the_default_place(self):
        for content in (None, b"\x00\xff[Workspace\nMainWindowRect=@Rect(1 2\n",
                        b"[Workspace]\nMainWindowRect=@Rect(10 10 -5 40)\n"):
            with self.subTest(content=content):
                if content is not None:
                    self.write_settings(content)
                window = self.start_maximised()
                self.assertEqual(self.restored_geometry(window), DEFAULT_PLACE)
                self.close(window)
                os.remove(os.path.join(self.home, SETTINGS))


if __name__ == "__main__":
    unittest.main()
