"""Closing the main window ends the shell and every engine sub-process, popups or not."""

import os
import subprocess
import time
import unittest

import harness
from facts import MAIN_TITLE, POPUP_TITLE


class ShutdownTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.start_shell()
        self.page = self.open_page("/request.html")
        self.main_window = harness.wait_window(MAIN_TITLE)

    def close_main_window_and_check_everything_ends(self):
        engine = self.shell.engine_processes()
        self.assertTrue(engine, "the engine runs no sub-process")
        executable = os.path.realpath(self.executable)
        self.assertEqual({pid: executable for pid in engine}, engine,
                         "every engine sub-process runs the shell's own executable")

        closed_at = time.monotonic()
        harness.close_window(self.main_window)
        try:
            status = self.shell.popen.wait(harness.EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.fail(f"still running {harness.EXIT_TIMEOUT:.0f} s after its window closed")
        self.assertEqual(status, 0)
        remaining = harness.EXIT_TIMEOUT - (time.monotonic() - closed_at)
        harness.wait_for("every engine sub-process to end",
                         lambda: not any(harness.alive(pid) for pid in engine),
                         timeout=max(remaining, 0))

    def test_closing_main_window_ends_everything(self):
        self.close_main_window_and_check_everything_ends()

    def test_closing_main_window_with_popup_open_ends_everything(self):
        # A script-opened popup: this test is about closing, not about how popups open.
        self.page.evaluate("window.open('popup.html', 'vintrel-popup', 'width=560,height=420')"
                           " !== null", userGesture=True)
        harness.wait_window(POPUP_TITLE, harness.EVENT_TIMEOUT)
        self.close_main_window_and_check_everything_ends()
        self.assertEqual(harness.visible_windows(POPUP_TITLE), [])


if __name__ == "__main__":
    unittest.main()
