"""Repeated actions on one running shell: each run ends with the shell in the state it started
from and still answering. The counts are small; bench/stress runs the full ones and measures
memory."""

import os
import subprocess
import unittest

import harness
import stress
from facts import (APP_TITLE, APP_VERSION, BORDER_WIDTH, CAPTION_HEIGHT, MAIN_TITLE,
                   POPUP_PAGE_TITLE, button_centre)

W, H = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
POPUPS, RESIZE_STEPS, POINTER_MOVES, FAILING_NAVIGATIONS = 30, 200, 2000, 30
RESIZE_CHECK_EVERY = 20  # steps between two looks at the window and the page
MAXIMISE_BUTTON = button_centre("Maximize", W)
# Once the view has been resized the page is this much wider and taller than the view's client
# area, which is the window less its borders, its caption and the view's edge on each side.
PAGE_OVERHANG, VIEW_EDGE = 20, 2
PAGE_MARGIN = (PAGE_OVERHANG - 2 * BORDER_WIDTH - 2 * VIEW_EDGE,
               PAGE_OVERHANG - CAPTION_HEIGHT - BORDER_WIDTH - 2 * VIEW_EDGE)


class StressTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.start_shell()
        self.page = self.open_page("/request.html")
        self.window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the window to be maximised",
                         lambda: harness.window_geometry(self.window) == (0, 0, W, H))

    def assert_only_the_main_window_and_page(self):
        harness.wait_for("only the main window", lambda: harness.managed_windows() ==
                         {self.window: APP_TITLE})
        harness.wait_for("only the start page",
                         lambda: stress.page_targets(self.devtools) ==
                         ["file://" + os.path.join(self.workdir, "request.html")])
        self.assertEqual(self.page.evaluate("window.appVersion"), APP_VERSION)

    def test_a_page_opens_and_closes_popups(self):
        engine_before = len(self.shell.engine_processes())
        titles = stress.open_and_close_popups(self.page, POPUPS)
        self.assertEqual(titles, [POPUP_PAGE_TITLE] * POPUPS)
        self.assert_only_the_main_window_and_page()
        harness.wait_for("no engine process beyond those before the popups",
                         lambda: len(self.shell.engine_processes()) <= engine_before)

        # Nothing still counts as open: closing the main window ends the shell.
        harness.close_window(self.window)
        try:
            self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
        except subprocess.TimeoutExpired:
            self.fail("the shell still runs after its only window closed")

    def test_resize_steps_keep_the_page_on_the_window(self):
        stress.restore(self.window)
        inner_size = "[window.innerWidth, window.innerHeight]"

        def page_follows(size):
            expected = [size[0] + PAGE_MARGIN[0], size[1] + PAGE_MARGIN[1]]
            harness.wait_for(f"the page at {expected}",
                             lambda: self.page.evaluate(inner_size) == expected)

        stress.resize_steps(self.window, RESIZE_STEPS, page_follows, RESIZE_CHECK_EVERY)
        self.assert_only_the_main_window_and_page()

    def test_pointer_moves_over_the_caption(self):
        stress.caption_pointer_moves(POINTER_MOVES)
        self.assertEqual(harness.window_geometry(self.window), (0, 0, W, H))
        self.assert_only_the_main_window_and_page()
        # The caption still answers: its maximise button restores the window.
        harness.run_tool("xdotool", "mousemove", *map(str, MAXIMISE_BUTTON), "click", "1")
        harness.wait_for("the window to be restored",
                         lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" not in
                         harness.window_states(self.window))

    def test_failing_navigations_show_the_error_page_each_time(self):
        missing_dir = os.path.join(self.workdir, "missing")
        stress.failing_navigations(self.page, FAILING_NAVIGATIONS, harness.free_loopback_port(),
                                   missing_dir)
        start_page = "file://" + os.path.join(self.workdir, "request.html")
        self.page.call("Page.navigate", url=start_page)
        harness.wait_for("the start page again",
                         lambda: self.page.evaluate("location.href") == start_page and
                         self.page.evaluate("document.readyState") == "complete")
        self.assert_only_the_main_window_and_page()


if __name__ == "__main__":
    unittest.main()
