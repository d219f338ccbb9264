"""A popup stays above the window that opened it: a click that raises the opener leaves the popup
on top of it, for a popup of the main window and for a popup of a popup."""

import unittest

import harness
from facts import FRAME_POPUP_TITLE, MAIN_TITLE, POPUP_TITLE


def point_inside_but_not_under(window, covering):
    """A point near the bottom right of window that covering does not hide: a click there goes
    to window."""
    x, y, width, height = harness.window_geometry(window)
    point = (x + width - 10, y + height - 10)
    cx, cy, cwidth, cheight = harness.window_geometry(covering)
    if cx <= point[0] < cx + cwidth and cy <= point[1] < cy + cheight:
        raise AssertionError(f"window {covering:#x} hides the bottom right of {window:#x}")
    return point


class PopupStackingTest(harness.ShellTestCase):

    def open_popup(self, opener_page, url, title, size):
        opener_page.evaluate(f"window.open('{url}', '_blank', 'width={size[0]},height={size[1]}')"
                             " !== null", userGesture=True)
        window = harness.wait_window(title, harness.EVENT_TIMEOUT)
        return window, self.open_page("/" + url, harness.EVENT_TIMEOUT)

    def test_a_popup_stays_above_the_window_that_opened_it(self):
        self.start_shell()
        page = self.open_page("/request.html")
        main_window = harness.wait_window(MAIN_TITLE)
        first_window, first_page = self.open_popup(page, "popup.html", POPUP_TITLE, (560, 420))
        second_window, _ = self.open_popup(first_page, "frame.html", FRAME_POPUP_TITLE,
                                              (400, 300))

        cases = (("main window", main_window, first_window),
                 ("popup", first_window, second_window))
        for what, opener, popup in cases:
            with self.subTest(opener=what):
                x, y = point_inside_but_not_under(opener, popup)
                harness.run_tool("xdotool", "mousemove", str(x), str(y), "click", "1")
                harness.wait_for(f"the {what} to become active",
                                 lambda opener=opener: harness.active_window() == opener,
                                 harness.EVENT_TIMEOUT)
                order = harness.stacking_order()
                self.assertGreater(order.index(popup), order.index(opener))

if __name__ == "__main__":
    unittest.main()
