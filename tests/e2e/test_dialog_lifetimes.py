"""Modal dialogs the shell opens (save, open, print) and its system menu end with whatever ends
under them: a signal, the main window's close or the window they belong to, and the shell goes
on or ends cleanly, with exit status 0."""

import os
import signal
import subprocess
import unittest

import harness
from facts import ICON_SPOT, ID_FILE_OPEN, ID_FILE_PRINT, ID_FILE_SAVE, MAIN_TITLE, POPUP_TITLE
from loopback_server import LoopbackServer, Reply
from look_driver import LookDriver


class DialogLifetimeTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.folder = os.path.join(self.home, "Downloads")
        self.server = LoopbackServer({f"/{name}.bin": Reply(b"x" * 1024, attachment=f"{name}.bin")
                                      for name in ("one", "two")})
        self.server.__enter__()
        self.addCleanup(self.server.__exit__, None, None, None)

    def start(self):
        self.start_shell()
        self.page = self.open_page("/request.html")
        self.main_window = harness.wait_window(MAIN_TITLE)

    def new_window(self, what, known, action):
        """Runs action and returns the one window it makes, once active."""
        action()
        window = harness.wait_for(what, lambda: next(
            (window for window in harness.managed_windows() if window not in known), None))
        harness.wait_for(f"{what} to be active", lambda: harness.active_window() == window)
        return window

    def open_save_dialog(self, page, name):
        known = set(harness.managed_windows())
        return self.new_window(f"the save dialog of {name}", known, lambda: page.evaluate(
            f"location.href = {self.server.url(f'/{name}.bin')!r}"))

    def start_driver(self, args=()):
        """The shell with its command channel (look_driver.cpp), for the frame's commands: the
        keyboard stays in the page, so no key reaches them."""
        port = harness.free_loopback_port()
        driver = LookDriver(self, {"QTWEBENGINE_REMOTE_DEBUGGING": f"127.0.0.1:{port}"}, args)
        self.shell, self.devtools = driver.shell, harness.DevTools(port)
        driver.report("look", harness.FIRST_LOAD_TIMEOUT)
        self.page = self.open_page("/request.html")
        self.main_window = harness.wait_window(MAIN_TITLE)
        return driver

    def open_by_command(self, driver, command, what):
        return self.new_window(what, set(harness.managed_windows()),
                               lambda: driver.send(f"post {command}"))

    def end_and_check_exit(self, ending):
        engine = self.shell.engine_processes()
        if ending == "close":
            harness.close_window(self.main_window)
        else:
            os.kill(self.shell.popen.pid, ending)
        try:
            status = self.shell.popen.wait(harness.EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.fail(f"still running after {ending} with a dialog open")
        self.assertEqual(status, 0, f"exit status after {ending}")
        harness.wait_for("every engine sub-process to end",
                         lambda: not any(harness.alive(pid) for pid in engine))
        self.assertEqual(harness.managed_windows(), {})

    def test_a_signal_or_the_main_windows_close_under_a_save_dialog_ends_with_0(self):
        for ending in (signal.SIGTERM, signal.SIGINT, "close"):
            with self.subTest(ending=str(ending)):
                self.start()
                self.open_save_dialog(self.page, "one")
                self.end_and_check_exit(ending)
                self.assertEqual(os.listdir(self.folder), [], "the download did not go on")

    def test_a_signal_or_the_main_windows_close_under_the_open_and_print_dialogs_ends_with_0(self):
        for command, what in ((ID_FILE_OPEN, "the open dialog"), (ID_FILE_PRINT, "the print dialog")):
            for ending in (signal.SIGTERM, "close"):
                with self.subTest(dialog=what, ending=str(ending)):
                    self.open_by_command(self.start_driver(), command, what)
                    self.end_and_check_exit(ending)

    def test_a_signal_under_the_system_menu_ends_with_0(self):
        for ending in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(ending=str(ending)):
                self.start()
                x, y = window_origin(self.main_window)
                icon = (x + ICON_SPOT[0], y + ICON_SPOT[1])
                inside = (icon[0] + 40, icon[1] + 30)  # covered by the menu once it is up
                before = harness.screen_pixel(*inside, self.root)
                harness.run_tool("xdotool", "mousemove", *map(str, icon), "click", "1")
                harness.wait_for("the system menu",
                                 lambda: harness.screen_pixel(*inside, self.root) != before)
                self.end_and_check_exit(ending)

    def test_the_first_of_two_save_dialogs_ends_with_its_popup_and_the_second_goes_on(self):
        # The engine runs nothing while a download's save dialog is open, so the second save
        # dialog is the document's, asked for through the driver's command channel.
        driver = self.start_driver()
        self.page.evaluate("window.open('popup.html', 'popup', 'width=560,height=420') !== null",
                           userGesture=True)
        popup_window = harness.wait_window(POPUP_TITLE, harness.EVENT_TIMEOUT)
        popup = self.open_page("/popup.html", harness.EVENT_TIMEOUT)
        first = self.open_save_dialog(popup, "one")
        second = self.new_window("the document's save dialog", set(harness.managed_windows()),
                                 lambda: driver.send(f"post {ID_FILE_SAVE}"))

        harness.close_window(popup_window)
        harness.wait_for("the popup and its save dialog to close", lambda: not (
            {popup_window, first} & set(harness.managed_windows())))
        self.assertIn(second, harness.managed_windows(), "the document's dialog stays open")
        harness.run_tool("wmctrl", "-i", "-a", hex(second))
        harness.wait_for("the document's save dialog to be active",
                         lambda: harness.active_window() == second)
        harness.press_keys("Return")
        saved = os.path.join(self.workdir, "lumerock")  # the document's title, as offered
        harness.wait_for("the document's file", lambda: os.path.isfile(saved))
        self.assertEqual(os.path.getsize(saved), 0)
        self.assertEqual(os.listdir(self.folder), [], "the first download ended as cancelled")
        self.end_and_check_exit("close")


def window_origin(window):
    x, y, _, _ = harness.window_geometry(window)
    return x, y


if __name__ == "__main__":
    unittest.main()
