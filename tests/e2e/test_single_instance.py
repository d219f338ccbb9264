"""One shell per app: a second launch in the same folder hands its command line to the running
shell and ends, a crashed shell leaves nothing in the way, and different apps run side by side."""

import configparser
import glob
import os
import shutil
import signal
import subprocess
import unittest

import harness
from facts import MAIN_TITLE, POPUP_TITLE, SETTINGS

BLANK_PAGE_SPOT = (40, harness.SCREEN_HEIGHT - 40)


class SingleInstanceTest(harness.ShellTestCase):

    def launch_again(self, *arguments, cwd=None):
        """Runs the shell once more as a user would, to its end; returns its exit code."""
        with open(os.path.join(self.root, "shell.log"), "ab") as log:
            return subprocess.run([self.executable, *arguments], cwd=cwd or self.workdir,
                                  env=harness.program_environment(self.root, self.home),
                                  stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                  timeout=harness.FIRST_LOAD_TIMEOUT).returncode

    def close_and_wait(self, window):
        harness.close_window(window)
        self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)

    def open_popup(self, page, main_window):
        harness.run_tool("xdotool", "mousemove", *map(str, BLANK_PAGE_SPOT), "click", "1")
        harness.wait_for("the main window to be active",
                         lambda: harness.active_window() == main_window)
        page.evaluate("document.getElementById('popup-link').focus()")
        harness.press_keys("Return")
        popup = harness.wait_window(POPUP_TITLE, harness.EVENT_TIMEOUT)
        harness.wait_for("the popup to be active", lambda: harness.active_window() == popup)
        return popup

    def test_second_launch_comes_to_the_first_window_with_page_and_storage_intact(self):
        self.start_shell()
        page = self.open_page("/request.html")
        main_window = harness.wait_window(MAIN_TITLE)
        page.evaluate("localStorage.setItem('one', 'first'); window.untouched = 42")
        self.open_popup(page, main_window)

        self.assertEqual(self.launch_again(), 0)
        harness.wait_for("the first window to become active",
                         lambda: harness.active_window() == main_window)
        self.assertEqual(harness.visible_windows(MAIN_TITLE), [main_window])
        self.assertEqual(page.evaluate("window.untouched"), 42)
#What the second launch's user does now happens in the one window.
        page.evaluate("localStorage.setItem('two', 'second')")
        self.close_and_wait(main_window)

        self.start_shell()
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("[localStorage.getItem('one'), localStorage.getItem('two')]"),
                         ["first", "second"])

    def test_second_launch_naming_a_document_opens_it_in_the_first(self):
        with open(os.path.join(self.workdir, "notes.txt"), "w") as document:
            document.write("notes")
        self.start_shell()
        self.open_page("/request.html")
        main_window = harness.wait_window(MAIN_TITLE)

#Named relative to the second launch's folder, which the first does not share.
        self.assertEqual(self.launch_again("notes.txt"), 0)
        self.assertEqual(harness.visible_windows(MAIN_TITLE), [main_window])
        self.close_and_wait(main_window)
        settings = configparser.ConfigParser(interpolation=None)
        settings.read(os.path.join(self.home, SETTINGS))
        self.assertEqual(settings.get("Recent%20File%20List", "File1"),
                         os.path.join(self.workdir, "notes.txt"))

    def test_killed_shell_does_not_block_the_next_launch(self):
        first = self.start_shell()
        self.open_page("/request.html")
        harness.wait_window(MAIN_TITLE)
        [socket] = glob.glob(os.path.join(self.root, "runtime", "vintrel-*.sock"))
        first.engine_processes()
        first.popen.send_signal(signal.SIGKILL)
        first.popen.wait()
        self.assertTrue(os.path.exists(socket))  # left behind, with the lock file

        self.start_shell()
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("document.readyState"), "complete")
        self.assertEqual(glob.glob(os.path.join(self.root, "runtime", "vintrel-*.sock")), [socket])

    def test_two_launches_at_once_make_one_shell(self):
        env = harness.program_environment(self.root, self.home)
        port = harness.free_loopback_port()
        env.update(QTWEBENGINE_REMOTE_DEBUGGING=f"127.0.0.1:{port}")
        launches = [subprocess.Popen([self.executable], cwd=self.workdir, env=env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL) for _ in range(2)]
        for launch in launches:
            self.addCleanup(harness.ShellProcess(launch).stop)
        main_window = harness.wait_window(MAIN_TITLE)
        ended = harness.wait_for("one launch to end",
                                 lambda: [launch for launch in launches if launch.poll() is not None])
        self.assertEqual([launch.returncode for launch in ended], [0])
        self.assertEqual(harness.visible_windows(MAIN_TITLE), [main_window])

    def test_two_app_folders_run_side_by_side(self):
        other_folder = os.path.join(self.root, "other app")
        shutil.copytree(self.workdir, other_folder)
        self.start_shell()
        first_page = self.open_page("/request.html")
        first_page.evaluate("localStorage.setItem('app', 'first')")
        self.workdir = other_folder
        self.start_shell()
        second_page = self.open_page("/request.html")
        harness.wait_for("two main windows", lambda: len(harness.visible_windows(MAIN_TITLE)) == 2)
        self.assertIsNone(second_page.evaluate("localStorage.getItem('app')"))
        self.assertEqual(first_page.evaluate("localStorage.getItem('app')"), "first")


if __name__ == "__main__":
    unittest.main()
