"""What pages open: popup windows and the save dialog of a download."""

import os
import unittest

import harness
from facts import MAIN_TITLE, POPUP_TITLE

SUGGESTED_NAME = "vintrel-release-notes.txt"  # the download attribute of the example's link
# A spot of plain page background in the maximised main window: a click there focuses the page.
BLANK_PAGE_SPOT = (40, harness.SCREEN_HEIGHT - 40)


class PageWindowsTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.start_shell()
        self.page = self.open_page("/request.html")
        self.main_window = harness.wait_window(MAIN_TITLE)

    def activate_link(self, link_id):
        """Follows a link by keyboard, as a user would: focus the page, the link, press Enter."""
        harness.run_tool("xdotool", "mousemove", *map(str, BLANK_PAGE_SPOT), "click", "1")
        harness.wait_for("the main window to be active",
                         lambda: harness.active_window() == self.main_window)
        self.page.evaluate(f"document.getElementById('{link_id}').focus()")
        harness.wait_for(f"#{link_id} to have the focus",
                         lambda: self.page.evaluate(f"document.activeElement.id === '{link_id}'"
                                                    " && document.hasFocus()"))
        harness.press_keys("Return")

    def test_popup_opens_focused_and_closing_it_leaves_main_window_working(self):
        self.activate_link("popup-link")
        popup_window = harness.wait_window(POPUP_TITLE, harness.EVENT_TIMEOUT)
        self.assertNotEqual(popup_window, self.main_window)
        self.assertEqual(set(harness.managed_windows()), {self.main_window, popup_window})
        popup = self.open_page("/popup.html", harness.EVENT_TIMEOUT)
        harness.wait_for("the popup to get the focus",
                         lambda: harness.active_window() == popup_window and
                         popup.evaluate("document.hasFocus()"))

        harness.close_window(popup_window)
        harness.wait_for("the popup to close", lambda: not harness.visible_windows(POPUP_TITLE))
        harness.wait_for("the popup page to go",
                         lambda: self.devtools.page_with_url("/popup.html") is None)
        self.assertIsNone(self.shell.popen.poll())
        self.assertEqual(harness.visible_windows(MAIN_TITLE), [self.main_window])

        # The main window still takes input and opens windows.
        self.activate_link("popup-link")
        harness.wait_window(POPUP_TITLE, harness.EVENT_TIMEOUT)

    def test_a_popup_takes_the_size_its_page_asks_for_and_closes_from_the_page(self):
        self.page.evaluate("window.open('popup.html', 'sized', 'width=560,height=420') !== null",
                           userGesture=True)
        popup_window = harness.wait_window(POPUP_TITLE, harness.EVENT_TIMEOUT)
        popup = self.open_page("/popup.html", harness.EVENT_TIMEOUT)
        for asked, script in (((560, 420), None), ((500, 300), "resizeTo(500, 300)")):
            with self.subTest(script or "window.open"):
                if script:
                    popup.evaluate(f"{script}; true")
                harness.wait_for(f"the window to be {asked}",
                                 lambda: harness.window_geometry(popup_window)[2:] == asked)
                harness.wait_for(f"the page to be {asked}", lambda: tuple(
                    popup.evaluate("[innerWidth, innerHeight]")) == asked)

        popup.evaluate("window.close(); true")
        harness.wait_for("the popup to close",
                         lambda: popup_window not in harness.managed_windows())
        harness.wait_for("the popup page to go",
                         lambda: self.devtools.page_with_url("/popup.html") is None)
        self.assertIsNone(self.shell.popen.poll())
        self.assertEqual(harness.visible_windows(MAIN_TITLE), [self.main_window])

    def test_download_goes_through_save_dialog_with_suggested_name(self):
        with open(os.path.join(self.workdir, "files", "release-notes.txt"), "rb") as source:
            expected = source.read()
        self.activate_link("download-link")
        dialog = harness.wait_for(
            "the save dialog",
            lambda: next((window for window in harness.managed_windows()
                          if window != self.main_window), None))
        harness.wait_for("the save dialog to be active",
                         lambda: harness.active_window() == dialog)
        # Enter accepts the dialog as offered: the file can only get the suggested name from it.
        harness.press_keys("Return")
        saved = harness.wait_for(f"{SUGGESTED_NAME} to be saved completely",
                                 lambda: self.saved_files(expected))
        self.assertEqual(len(saved), 1, saved)
        harness.wait_for("the save dialog to close",
                         lambda: dialog not in harness.managed_windows())

    def saved_files(self, expected):
        """Paths under the test's root named like the suggested name and holding every byte."""
        found = []
        for folder, _, files in os.walk(self.root):
            if SUGGESTED_NAME in files:
                path = os.path.join(folder, SUGGESTED_NAME)
                with open(path, "rb") as saved:
                    if saved.read() == expected:
                        found.append(path)
        return found


if __name__ == "__main__":
    unittest.main()
