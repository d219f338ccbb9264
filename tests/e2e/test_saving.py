"""The document holds no data: saving it through the frame's commands never replaces the bytes
of a file the user opened."""

import os
import unittest

import harness
from facts import ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, MAIN_TITLE
from look_driver import LookDriver

USER_BYTES = b"the user's 19 bytes"


class SavingTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.notes = os.path.join(self.workdir, "notes.txt")
        with open(self.notes, "wb") as notes:
            notes.write(USER_BYTES)

    def notes_bytes(self):
        with open(self.notes, "rb") as notes:
            return notes.read()

    def start_on_notes(self):
        """Starts the shell on the user's file; returns its driver and the windows up by then."""
        driver = LookDriver(self, args=["notes.txt"])
        self.shell = driver.shell
        driver.report("look", harness.FIRST_LOAD_TIMEOUT)
        harness.wait_window(MAIN_TITLE)
        return driver, set(harness.managed_windows())

    def wait_new_window(self, what, known):
        window = harness.wait_for(what, lambda: next(
            (window for window in harness.managed_windows() if window not in known), None))
        harness.wait_for(f"{what} to be active", lambda: harness.active_window() == window)
        return window

    def test_save_after_opening_a_file_from_the_command_line_leaves_its_bytes(self):
        driver, known = self.start_on_notes()
        # Commands run in order: once the Open dialog is up, Save has run.
        driver.send(f"post {ID_FILE_SAVE}")
        driver.send(f"post {ID_FILE_OPEN}")
        dialog = self.wait_new_window("the open dialog", known)
        self.assertEqual(self.notes_bytes(), USER_BYTES)
        harness.press_keys("Escape")
        harness.wait_for("the open dialog to close",
                         lambda: dialog not in harness.managed_windows())
        self.assertEqual(self.notes_bytes(), USER_BYTES)
        self.assertIsNone(self.shell.popen.poll())

    def test_save_as_onto_the_opened_file_leaves_its_bytes(self):
        driver, known = self.start_on_notes()
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
