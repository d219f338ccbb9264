"""Popups are windows of their own: one lives until it or the main window closes, whichever
window opened it."""

import subprocess
import unittest

import harness
from facts import APP_VERSION, FRAME_PAGE_TITLE, FRAME_POPUP_TITLE, MAIN_TITLE, POPUP_TITLE


class PopupLifetimeTest(harness.ShellTestCase):

    def test_closing_a_popup_leaves_the_popup_it_opened_then_the_main_window_ends_all(self):
        self.start_shell()
        page = self.open_page("/request.html")
        main_window = harness.wait_window(MAIN_TITLE)
        page.evaluate("window.open('popup.html', 'first', 'width=560,height=420') !== null",
                      userGesture=True)
        first_window = harness.wait_window(POPUP_TITLE, harness.EVENT_TIMEOUT)
        first = self.open_page("/popup.html", harness.EVENT_TIMEOUT)
        first.evaluate("window.open('frame.html', 'second', 'width=400,height=300') !== null",
                       userGesture=True)
        second_window = harness.wait_window(FRAME_POPUP_TITLE, harness.EVENT_TIMEOUT)
        second = self.open_page("/frame.html", harness.EVENT_TIMEOUT)

        harness.close_window(first_window)
        harness.wait_for("the first popup to close",
                         lambda: first_window not in harness.managed_windows())
        harness.wait_for("the first popup's page to go",
                         lambda: self.devtools.page_with_url("/popup.html") is None)
        self.assertEqual(harness.visible_windows(FRAME_POPUP_TITLE), [second_window])
        self.assertEqual(second.evaluate("document.title"), FRAME_PAGE_TITLE)
        self.assertEqual(second.evaluate("window.appVersion"), APP_VERSION)

        engine = self.shell.engine_processes()
        harness.close_window(main_window)
        try:
            self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
        except subprocess.TimeoutExpired:
            self.fail("still running after the main window closed")
        harness.wait_for("every engine sub-process to end",
                         lambda: not any(harness.alive(pid) for pid in engine))
        self.assertEqual(harness.managed_windows(), {})


if __name__ == "__main__":
    unittest.main()
