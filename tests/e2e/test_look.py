"""The application look on screen: a look command recolours the shell's own pop-up menus and
dialogs, and the next run reads the choice back without applying it."""

import configparser
import os
import re
import time
import unittest

import harness
from facts import ABOUT_DIALOG_TITLE, ICON_SPOT, MAIN_TITLE, SETTINGS
from look_driver import LookDriver

# The system menu opens with its top-left corner at a press on the icon. Inside the menu, in
# the left margin of its third item, clear of the text:
MENU_INSIDE = (ICON_SPOT[0] + 8, ICON_SPOT[1] + 60)
MENU_BORDER = (ICON_SPOT[0], ICON_SPOT[1] + 30)
BLACK_LOOK = 216
DEFAULT_LOOK = 214
DOUBLE_CLICK_TIME = 0.6  # the toolkit's 400 ms, with a margin
# (menu background, menu border, dialog background) of the plain manager and of Office 2007
# black.
PLAIN_COLOURS = ("D4D0C8", "808080", "D4D0C8")
BLACK_COLOURS = ("45474A", "1E1E1E", "535353")


def window_pixel(window, x, y):
    """Colour of a pixel of one window as 'RRGGBB'. Read from the window itself: the dialog
    has a visual of its own, whose pixels a dump of the root window does not hold."""
    dump = harness.run_tool("import", "-window", str(window), "-crop", f"1x1+{x}+{y}",
                            "-depth", "8", "txt:-")
    return re.search(r"#([0-9A-F]{6})", dump).group(1)


class LookOnScreenTest(harness.ShellTestCase):

    last_icon_click = float("-inf")

    def pixel(self, point):
        return harness.screen_pixel(*point, self.root)

    def start_driver(self):
        driver = LookDriver(self)
        look = int(driver.report("look ", harness.FIRST_LOAD_TIMEOUT).split()[1])
        window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the main window to fill the screen",
                         lambda: harness.window_geometry(window) ==
                         (0, 0, harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT))
        return driver, window, look

    def check_system_menu(self, colours):
        """Opens the system menu from the caption icon, checks its colours and closes it."""
        menu_back, menu_border, _ = colours
        # Two presses on the icon within the double-click time make a double-click, which
        # opens no menu.
        time.sleep(max(0.0, self.last_icon_click + DOUBLE_CLICK_TIME - time.monotonic()))
        harness.run_tool("xdotool", "mousemove", *map(str, ICON_SPOT), "click", "1")
        self.last_icon_click = time.monotonic()
        try:
            harness.wait_for(f"a system menu in #{menu_back}",
                             lambda: self.pixel(MENU_INSIDE) == menu_back)
        except harness.Deadline as missing:
            self.fail(f"{missing}; the screen shows #{self.pixel(MENU_INSIDE)} there")
        self.assertEqual(self.pixel(MENU_BORDER), menu_border, "menu border")
        harness.press_keys("Escape")
        harness.wait_for("the system menu to close",
                         lambda: self.pixel(MENU_INSIDE) != menu_back)

    def check_about_dialog(self, driver, colours):
        driver.send("about")
        dialog = harness.wait_for("the About dialog", self.about_dialog)
        _, _, _, height = harness.window_geometry(dialog)
        inside = (4, height - 4)  # bottom-left corner, clear of text and button
        try:
            harness.wait_for(f"the About dialog in #{colours[2]}",
                             lambda: window_pixel(dialog, *inside) == colours[2])
        except harness.Deadline as missing:
            self.fail(f"{missing}; it shows #{window_pixel(dialog, *inside)} at {inside}")
        harness.run_tool("xdotool", "windowactivate", "--sync", str(dialog))
        harness.press_keys("Return")  # its default button, OK
        harness.wait_for("the About dialog to close", lambda: not self.about_dialog())

    @staticmethod
    def about_dialog():
        """The About dialog's X id, or None. Its title is found through the window manager,
        which reads it as UTF-8."""
        return next((window for window, title in harness.managed_windows().items()
                     if title.startswith(ABOUT_DIALOG_TITLE)), None)

    def close(self, driver, window):
        harness.close_window(window)
        self.assertEqual(driver.shell.popen.wait(harness.EXIT_TIMEOUT), 0)

    def stored_look(self):
        settings = configparser.ConfigParser()
        settings.read(os.path.join(self.home, SETTINGS))
        return settings.getint("Workspace", "ApplicationLook", fallback=None)

    def test_look_command_colours_menus_and_dialogs_and_is_read_back(self):
        driver, window, look = self.start_driver()
        self.assertEqual(look, DEFAULT_LOOK)
        self.check_system_menu(PLAIN_COLOURS)  # nothing applied before a look command

        driver.send(f"command {BLACK_LOOK}")
        self.check_system_menu(BLACK_COLOURS)
        self.check_about_dialog(driver, BLACK_COLOURS)
        self.close(driver, window)
        self.assertEqual(self.stored_look(), BLACK_LOOK)

        driver, window, look = self.start_driver()
        self.assertEqual(look, BLACK_LOOK, "the next application object reads the choice")
        self.check_system_menu(PLAIN_COLOURS)  # and waits for a look command to apply it
        self.close(driver, window)


if __name__ == "__main__":
    unittest.main()
