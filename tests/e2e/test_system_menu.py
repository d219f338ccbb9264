"""The window's system menu opens as the window system opens it: on a right-click anywhere in the
caption, at the pointer, and on Alt+Space, at the window's top-left corner, also while the page
has the keyboard focus; choosing from it works as from the icon."""

import os
import re
import unittest

import harness
from caption import H, W, CaptionTest, button
from facts import ICON_SPOT

# Openbox binds Alt+Space to its own window menu, which would take the key before the window
# sees it; the window system the shell was made for leaves the key to the window.
OPENBOX_DEFAULT_CONFIG = "/etc/xdg/openbox/rc.xml"
ALT_SPACE_BINDING = re.compile(r'<keybind key="A-space">.*?</keybind>', re.S)
# A point well inside a menu that opens at a given corner, for each way it may open.
INSIDE_MENU_RIGHT, INSIDE_MENU_LEFT = (50, 40), (-50, 40)
RESTORED = (200, 150, 1200, 800)


class SystemMenuTest(CaptionTest):

    def window_manager_config(self):
        with open(OPENBOX_DEFAULT_CONFIG) as default:
            config, count = ALT_SPACE_BINDING.subn("", default.read())
        self.assertEqual(count, 1, "openbox's Alt+Space binding not found")
        path = os.path.join(self.root, "openbox-rc.xml")
        with open(path, "w") as changed:
            changed.write(config)
        return path

    def menu_opens_at(self, corner, action, offset=INSIDE_MENU_RIGHT):
        inside = (corner[0] + offset[0], corner[1] + offset[1])
        before = self.pixel(*inside)
        action()
        harness.wait_for(f"the system menu at {corner}", lambda: self.pixel(*inside) != before)
        return inside, before

    def right_click(self, x, y):
        self.pointer("mousemove", x, y, "click", 3)

    def test_right_click_anywhere_in_the_caption_opens_it_at_the_pointer(self):
        places = {
            "caption background": ((W // 2, 20), INSIDE_MENU_RIGHT),
            "title": ((60, 19), INSIDE_MENU_RIGHT),
            "icon": (ICON_SPOT, INSIDE_MENU_RIGHT),
            # Near the right edge the menu opens leftwards of the pointer.
            "close button": (button("Close"), INSIDE_MENU_LEFT),
        }
        for name, (point, offset) in places.items():
            with self.subTest(name):
                inside, before = self.menu_opens_at(point, lambda: self.right_click(*point),
                                                    offset)
                harness.press_keys("Escape")
                harness.wait_for("the menu to close", lambda: self.pixel(*inside) == before)
        self.assertIsNone(self.shell.popen.poll(), "a right-click on close closed the window")

        # Closing from the menu destroys the window while the right-click is still being handled.
        self.menu_opens_at((W // 2, 20), lambda: self.right_click(W // 2, 20))
        harness.press_keys("c")  # "&Close"
        self.assertEqual(self.wait_exit(), 0)

    def test_alt_space_opens_it_at_the_top_left_while_the_page_has_the_focus(self):
        self.restore()
        harness.run_tool("wmctrl", "-i", "-r", hex(self.window), "-e", "0,%d,%d,%d,%d" % RESTORED)
        harness.wait_for("the window at its test place", lambda: self.geometry() == RESTORED)
        x, y = RESTORED[:2]
        self.click(x + 10, y + 50)  # the page's header, where nothing reacts to a click
        harness.wait_for("the page to have the focus",
                         lambda: self.page.evaluate("document.hasFocus()"))

        self.menu_opens_at((x, y), lambda: harness.press_keys("alt+space"))
        harness.press_keys("x")  # "Ma&ximize"
        harness.wait_for("the window to be maximised",
                         lambda: self.geometry() == (0, 0, W, H))


if __name__ == "__main__":
    unittest.main()
