"""A small dense screen: at scale 2 on 1280 x 800 (640 x 400 logical, smaller than the skin's
minimum window) the maximised window fills the screen, its caption buttons are on the screen
pixel for pixel and take the pointer, and a restored window still fits the screen."""

import unittest

import harness
from scaled_caption import AtScaleTwo


class SmallDenseScreenTest(AtScaleTwo, harness.ShellTestCase):
    SCREEN_SIZE = (1280, 800)
    # It reads the page's background beside the border at mid-height, where on a window this
    # small the page's header is; the larger screens run it.
    test_joins_of_the_background_have_no_seams = None

    def test_restored_window_fits_the_screen(self):
        harness.run_tool("wmctrl", "-i", "-r", hex(self.window), "-b",
                         "remove,maximized_vert,maximized_horz")
        harness.wait_for("the window to be restored",
                         lambda: "_NET_WM_STATE_MAXIMIZED_VERT"
                         not in harness.window_states(self.window))
        x, y, width, height = harness.window_geometry(self.window)
        self.assertGreaterEqual(min(x, y), 0)
        self.assertLessEqual(x + width, self.SCREEN_SIZE[0])
        self.assertLessEqual(y + height, self.SCREEN_SIZE[1])


if __name__ == "__main__":
    unittest.main()
