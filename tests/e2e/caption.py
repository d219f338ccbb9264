"""The test case of the caption tests: the shell started on the example, its window maximised on
a screen of the root colour and the page painted, with the pointer and the window at hand."""

import subprocess
import time

import harness
from facts import BORDER_WIDTH, MAIN_TITLE, PAGE_BACKGROUND, button_centre

W, H = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT  # the maximised window fills the screen


def button(name, geometry=(0, 0, W, H)):
    """Screen point of a caption button's centre, in a window with the given geometry."""
    x, y, width, _ = geometry
    centre_x, centre_y = button_centre(name, width)
    return (x + centre_x, y + centre_y)


class CaptionTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        harness.run_tool("xsetroot", "-solid", f"#{harness.ROOT_COLOUR}")
        self.start_shell(self.shell_environment())
        self.page = self.open_page("/request.html")
        self.window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the window to be maximised",
                         lambda: harness.window_geometry(self.window) == (0, 0, W, H))
        # The load event comes before the page's first frame reaches the screen; tests read
        # page pixels as they were before an action.
        harness.wait_for("the page painted beside the left border",
                         lambda: harness.close_enough(self.pixel(BORDER_WIDTH, H // 2),
                                                     PAGE_BACKGROUND))

    def shell_environment(self):
        return {}

    def pixel(self, x, y):
        return harness.screen_pixel(x, y, self.root)

    def geometry(self):
        return harness.window_geometry(self.window)

    def pointer(self, *actions):
        harness.run_tool("xdotool", *map(str, actions))

    def click(self, x, y):
        self.pointer("mousemove", x, y, "click", 1)

    def drag(self, start, end, steps=10, pause=0.03):
        """Presses at start, moves to end in steps with the button held, releases. With no
        pause the steps reach the shell all at once, as a quick flick's motion does."""
        self.pointer("mousemove", *start, "mousedown", 1)
        for i in range(1, steps + 1):
            time.sleep(pause)
            self.pointer("mousemove", start[0] + (end[0] - start[0]) * i // steps,
                         start[1] + (end[1] - start[1]) * i // steps)
        time.sleep(0.1)
        self.pointer("mouseup", 1)

    def restore(self):
        self.click(*button("Maximize", self.geometry()))
        harness.wait_for("the window to be restored",
                         lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" not in
                         harness.window_states(self.window))

    def wait_exit(self):
        try:
            return self.shell.popen.wait(harness.EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.fail("the shell still runs after its window closed")
