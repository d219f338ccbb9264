"""A copy of the shell with no Skins folder beside it: every skin image fails to load, and the
shell still opens, works and closes normally."""

import os
import shutil
import subprocess
import unittest

import harness
from facts import APP_VERSION, MAIN_TITLE, PAGE_BACKGROUND, button_centre

W, H = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
# The example's start page background, in a maximised window.
PAGE_PIXEL, PAGE_COLOUR = (40, H - 40), PAGE_BACKGROUND


class MissingSkinTest(harness.ShellTestCase):

    def test_opens_works_and_closes_without_a_skin_folder(self):
        app_dir = os.path.join(self.root, "app")
        os.makedirs(app_dir)
        executable = shutil.copy2(self.executable, app_dir)
        self.assertFalse(os.path.exists(os.path.join(app_dir, "Skins")))

        self.start_shell(executable=executable)
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("window.appVersion"), APP_VERSION)
        window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the main window to fill the screen",
                         lambda: harness.window_geometry(window) == (0, 0, W, H))
        harness.wait_for(f"the page colour #{PAGE_COLOUR}",
                         lambda: harness.screen_pixel(*PAGE_PIXEL, self.root) == PAGE_COLOUR)

        # The buttons draw nothing but still answer the pointer.
        harness.run_tool("xdotool", "mousemove", *map(str, button_centre("Maximize", W)),
                         "click", "1")
        harness.wait_for("the window to be restored",
                         lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" not in
                         harness.window_states(window))
        x, y, width, _ = harness.window_geometry(window)
        close_x, close_y = button_centre("Close", width)
        harness.run_tool("xdotool", "mousemove", str(x + close_x), str(y + close_y), "click", "1")
        try:
            status = self.shell.popen.wait(harness.EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.fail("the shell still runs after its close button was clicked")
        self.assertEqual(status, 0)


if __name__ == "__main__":
    unittest.main()
