"""The document holds no data: saving it through the frame's commands never replaces the bytes
of a file the user opened."""

import os
import unittest

import harness
from test_dialog_lifetimes import CAPTION, window_origin
from test_look import LookDriver

MAIN_TITLE = "^lumerock$"
USER_BYTES = b"the user's 19 bytes"
ID_FILE_SAVE_AS = 0xE104


class SavingTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.notes = os.path.join(self.workdir, "notes.txt")
        with open(self.notes, "wb") as notes:
            notes.write(USER_BYTES)

    def notes_bytes(self):
        with open(self.notes, "rb") as notes:
            return notes.read()

    def wait_new_window(self, what, known):
        window = harness.wait_for(what, lambda: next(
            (window for window in harness.managed_windows() if window not in known), None))
        harness.wait_for(f"{what} to be active", lambda: harness.active_window() == window)
        return window

    def test_ctrl_s_after_opening_a_file_from_the_command_line_leaves_its_bytes(self):
        self.start_shell(args=["notes.txt"])
        self.open_page("/request.html")
        main_window = harness.wait_window(MAIN_TITLE)
        x, y = window_origin(main_window)
        harness.run_tool("xdotool", "mousemove", str(x + CAPTION[0]), str(y + CAPTION[1]),
                         "click", "1")
        known = set(harness.managed_windows())
        # The frame takes keys in order: once the Open dialog of Ctrl+O is up, Ctrl+S has run.
        harness.press_keys("ctrl+s", "ctrl+o")
        dialog = self.wait_new_window("the open dialog", known)
        self.assertEqual(self.notes_bytes(), USER_BYTES)
        harness.press_keys("Escape")
        harness.wait_for("the open dialog to close",
                         lambda: dialog not in harness.managed_windows())
        self.assertEqual(self.notes_bytes(), USER_BYTES)
        self.assertIsNone(self.shell.popen.poll())

    def test_save_as_onto_the_opened_file_leaves_its_bytes(self):
        driver = LookDriver(self, args=["notes.txt"])
        self.shell = driver.shell
        driver.report("look", harness.FIRST_LOAD_TIMEOUT)
        harness.wait_window(MAIN_TITLE)
        known = set(harness.managed_windows())
        driver.send(f"post {ID_FILE_SAVE_AS}")
        dialog = self.wait_new_window("the save dialog", known)
        harness.press_keys("Return")  # the name offered: the opened file's own
        question = self.wait_new_window("the question whether to replace it", known | {dialog})
        harness.press_keys("y")
        harness.wait_for("the dialogs to close", lambda: not (
            {dialog, question} & set(harness.managed_windows())))
        self.assertEqual(self.notes_bytes(), USER_BYTES)
        self.assertIsNone(self.shell.popen.poll())


if __name__ == "__main__":
    unittest.main()
