"""Many starts in a row, each ended another way: every one must end with exit status 0 and leave
no engine sub-process behind, whatever was open or going on when the window closed."""

import os
import signal
import socket
import subprocess
import unittest

import harness
from facts import (DEVTOOLS_TITLE, FRAME_POPUP_TITLE, ICON_SPOT, MAIN_TITLE, POPUP_TITLE,
                   button_centre)

W, H = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
PAGE_SPOT = (W // 2, 300)  # page text, with room for the menu below it
CLEAR_OF_CAPTION = 200  # the top of a window moved out of the way of the caption's buttons
STARTS = int(os.environ.get("VINTREL_CLOSE_STORM_STARTS", "30"))


class CloseStormTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        # A host that takes connections and never answers: a page from it stays loading.
        self.silent_server = socket.socket()
        self.addCleanup(self.silent_server.close)
        self.silent_server.bind(("127.0.0.1", 0))
        self.silent_server.listen(16)
        self.silent_server.settimeout(0.05)

    # --- what is open or going on when the window closes

    def nothing_more(self, page):
        pass

    def open_popup(self, page):
        page.evaluate("window.open('popup.html', 'storm-popup', 'width=560,height=420') !== null",
                      userGesture=True)
        self.wait_until_opened(POPUP_TITLE)

    def open_popup_of_popup(self, page):
        self.open_popup(page)
        popup = self.open_page("/popup.html", harness.EVENT_TIMEOUT)
        popup.evaluate("window.open('frame.html', 'storm-second', 'width=400,height=300') !== null",
                       userGesture=True)
        self.wait_until_opened(FRAME_POPUP_TITLE)

    def open_devtools(self, page):
        open(os.path.join(self.workdir, "debug"), "w").close()
        self.open_menu_at(PAGE_SPOT, button=3)
        harness.press_keys("s")  # the access key of "&Show DevTools"
        self.wait_until_opened(DEVTOOLS_TITLE)

    def wait_until_opened(self, title):
        """Waits for a new window to be shown, then moves it below the main window's caption: the
        windows the shell opens stay above the main window, and one over the caption would take
        the click meant for it."""
        window = harness.wait_window(title, harness.EVENT_TIMEOUT)
        harness.wait_for(f"{title} to take the focus", lambda: harness.active_window() == window)
        harness.run_tool("wmctrl", "-i", "-r", hex(window), "-e",
                         f"0,{W // 4},{CLEAR_OF_CAPTION},-1,-1")
        harness.wait_for(f"{title} to move below the caption",
                         lambda: harness.window_geometry(window)[1] >= CLEAR_OF_CAPTION)
        self.moved_clear.add(window)

    def start_a_load_that_never_ends(self, page):
        port = self.silent_server.getsockname()[1]
        page.evaluate(f"location.href = 'http://127.0.0.1:{port}/never'; true")
        harness.wait_for("the page to ask for its document", self.take_silent_connection)

    def take_silent_connection(self):
        """Takes a connection to the silent host and keeps it open, unanswered."""
        try:
            connection, _ = self.silent_server.accept()
        except socket.timeout:
            return False
        self.addCleanup(connection.close)
        return True

    def resize(self, page):
        harness.run_tool("wmctrl", "-i", "-r", hex(self.window), "-b", "remove,maximized_vert,"
                         "maximized_horz")
        harness.run_tool("wmctrl", "-i", "-r", hex(self.window), "-e", "0,100,100,1200,800")
        harness.wait_for("the window to be resized",
                         lambda: harness.window_geometry(self.window)[2:] == (1200, 800))
        self.window_origin = harness.window_geometry(self.window)[:2]

    # --- ways to close

    def raise_main_window(self):
        """Other windows may cover the caption: bring the main window to the top first."""
        harness.wait_for("the main window to be active", self.activate_main_window)

    def activate_main_window(self):
        # Asked again while not active: a window that has just opened may take the focus after
        # the first request. Active is not enough: the window manager may focus the window
        # before it raises it, and a click meanwhile lands on the window still above.
        # The windows the shell opened stay above it, moved clear of its caption.
        order = harness.stacking_order()
        if (harness.active_window() == self.window and self.window in order and
                set(order[order.index(self.window) + 1:]) <= self.moved_clear):
            return True
        harness.run_tool("wmctrl", "-i", "-a", hex(self.window))
        return False

    def click_close_button(self):
        self.raise_main_window()
        x, y = self.window_origin
        width = harness.window_geometry(self.window)[2]
        close_x, close_y = button_centre("Close", width)
        harness.run_tool("xdotool", "mousemove", str(x + close_x), str(y + close_y), "click", "1")

    def choose_close_from_system_menu(self):
        self.raise_main_window()
        x, y = self.window_origin
        icon = (x + ICON_SPOT[0], y + ICON_SPOT[1])
        self.open_menu_at(icon, button=1)
        harness.press_keys("c")  # the access key of "&Close"

    def close_by_window_manager(self):
        harness.close_window(self.window)

    def send_sigterm(self):
        os.kill(self.shell.popen.pid, signal.SIGTERM)

    def open_menu_at(self, point, button):
        """Clicks at point and waits for the menu: it covers the spot below and right of it."""
        inside = (point[0] + 40, point[1] + 30)
        before = harness.screen_pixel(*inside, self.root)
        harness.run_tool("xdotool", "mousemove", *map(str, point), "click", str(button))
        harness.wait_for("the menu", lambda: harness.screen_pixel(*inside, self.root) != before)

    # --- the storm

    def one_start(self, prepare, close):
        shell = self.start_shell()
        try:
            self.start_and_close(prepare, close)
        finally:
            shell.stop()  # a failed start leaves nothing behind for the next one
        marker = os.path.join(self.workdir, "debug")
        if os.path.exists(marker):
            os.remove(marker)

    def start_and_close(self, prepare, close):
        page = self.open_page("/request.html")
        self.window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the window to be maximised",
                         lambda: harness.window_geometry(self.window) == (0, 0, W, H))
        self.window_origin = (0, 0)
        self.moved_clear = set()
        prepare(page)
        engine = self.shell.engine_processes()
        self.assertTrue(engine, "the engine runs no sub-process")
        close()
        try:
            status = self.shell.popen.wait(harness.EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.fail("still running after it was closed")
        self.assertEqual(status, 0)
        harness.wait_for("every engine sub-process to end",
                         lambda: not any(harness.alive(pid) for pid in engine))
        self.assertEqual(harness.managed_windows(), {})

    def test_every_start_ends_cleanly_whichever_way_it_is_closed(self):
        closes = (self.click_close_button, self.choose_close_from_system_menu,
                  self.close_by_window_manager, self.send_sigterm)
        situations = (self.nothing_more, self.open_popup, self.open_popup_of_popup,
                      self.open_devtools, self.start_a_load_that_never_ends, self.resize)
        # Every close with every situation once (24 pairs), then the first ones again.
        pairs = [(situation, close) for situation in situations for close in closes]
        for number in range(STARTS):
            situation, close = pairs[number % len(pairs)]
            with self.subTest(start=number + 1, situation=situation.__name__,
                              close=close.__name__):
                self.one_start(situation, close)


if __name__ == "__main__":
    unittest.main()
