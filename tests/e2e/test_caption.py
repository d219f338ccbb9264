"""The skinned caption under a real pointer: its look, its buttons, moving, resizing, the
caption double-click, the system menu and the about page."""

import functools
import http.server
import os
import threading
import unittest

import harness
import skin_images
from caption import H, W, CaptionTest, button
from facts import (ABOUT_PATH, CAPTION_HEIGHT, ICON_SPOT, MIN_HEIGHT, MIN_WIDTH, TITLE_RECT,
                   button_rect)
from harness import close_enough

# The maximised window's close button background, 3 pixels in from its corner, not its glyph.
CLOSE_SPOT = tuple(corner + 3 for corner in button_rect("Close", W)[:2])
MOVE_SLACK = 2  # pixels a moved window may lie off the press offset


class CaptionLookTest(CaptionTest):

    def test_caption_border_title_buttons_and_rounded_corner_come_from_the_skin(self):
        _, ih, background = skin_images.load_png("dialog/DialogBkg.png")
        _, _, close = skin_images.load_bmp("dialog/dlg_close_btn.bmp")
        _, _, minimise = skin_images.load_bmp("dialog/dlg_minimize_button.bmp")
        expected = {
            "caption band": ((W // 2, 20), background[20][52]),
            "caption left end": ((45, 30), background[30][45]),
            "left border": ((1, H // 2), background[CAPTION_HEIGHT + 1][1]),
            "right border": ((W - 2, H // 2), background[CAPTION_HEIGHT + 1][117]),
            "bottom edge": ((W // 2, H - 2), background[ih - 2][CAPTION_HEIGHT + 1]),
            "close button": (button("Close"), close[11][10]),
            "minimise button": (button("Minimize"), minimise[11][10]),
        }
        for name, ((x, y), colour) in expected.items():
            self.assertTrue(close_enough(self.pixel(x, y), skin_images.hex_colour(colour)),
                            f"{name} at ({x}, {y}): {self.pixel(x, y)} is not "
                            f"{skin_images.hex_colour(colour)}")
        left, top, width, height = TITLE_RECT
        title_area = [(x, y) for x in range(left, left + width, 2)
                      for y in range(top, top + height, 2)]
        white = sum(close_enough(colour, "FFFFFF", 40)
                    for colour in harness.screen_pixels(title_area, self.root))
        self.assertGreater(white, 10, "the title is drawn in white after the icon")
        self.assertEqual(self.pixel(0, 0), harness.ROOT_COLOUR, "the corner is cut by the round region")
        self.assertNotEqual(self.pixel(4, 4), harness.ROOT_COLOUR)


class CaptionButtonTest(CaptionTest):

    @staticmethod
    def close_frames():
        """The close button's normal and hover colours at CLOSE_SPOT."""
        _, _, close = skin_images.load_bmp("dialog/dlg_close_btn.bmp")
        return skin_images.hex_colour(close[3][3]), skin_images.hex_colour(close[3][23])

    def test_hover_shows_the_hover_frame_and_leaving_restores_it(self):
        normal, hover = self.close_frames()
        self.assertTrue(close_enough(self.pixel(*CLOSE_SPOT), normal))
        self.pointer("mousemove", *button("Close"))
        harness.wait_for("the hover frame", lambda: close_enough(self.pixel(*CLOSE_SPOT), hover))
        self.pointer("mousemove", W // 2, H // 2)
        harness.wait_for("the normal frame again",
                         lambda: close_enough(self.pixel(*CLOSE_SPOT), normal))

    def test_minimise_maximise_restore_and_close(self):
        self.click(*button("Minimize"))
        harness.wait_for("the window to be minimised",
                         lambda: "_NET_WM_STATE_HIDDEN" in harness.window_states(self.window))
        harness.bring_back(self.window)
        harness.wait_for("the window to come back maximised",
                         lambda: self.geometry() == (0, 0, W, H))
        self.restore()
        self.click(*button("Maximize", self.geometry()))
        harness.wait_for("the window to be maximised again",
                         lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" in harness.window_states(self.window)
                         and self.geometry() == (0, 0, W, H))
        # Maximised for the window manager is not yet maximised for the shell: a click before
        # the shell has laid its caption out anew misses the button it aims at.
        normal, _ = self.close_frames()
        harness.wait_for("the close button painted on the maximised caption",
                         lambda: close_enough(self.pixel(*CLOSE_SPOT), normal))
        self.click(*button("Close"))
        self.assertEqual(self.wait_exit(), 0)

    def test_double_click_on_the_caption_toggles_maximise(self):
        self.pointer("mousemove", W // 2, 20, "click", "--repeat", 2, "--delay", 80, 1)
        harness.wait_for("the window to be restored",
                         lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" not in harness.window_states(self.window))
        x, y, width, _ = self.geometry()
        self.pointer("mousemove", x + width // 2, y + 20, "click", "--repeat", 2, "--delay", 80, 1)
        harness.wait_for("the window to be maximised",
                         lambda: self.geometry() == (0, 0, W, H))

    def test_dragging_the_caption_of_the_maximised_window_leaves_it_in_place(self):
        self.drag((W // 2, 20), (W // 2 - 200, 220))
        # The shell takes pointer events in order: once it shows the hover frame, it has
        # handled the whole drag.
        self.pointer("mousemove", *button("Close"))
        harness.wait_for("the hover frame", lambda: close_enough(self.pixel(*CLOSE_SPOT),
                                                                 self.close_frames()[1]))
        self.assertEqual(self.geometry(), (0, 0, W, H))

    def test_system_menu_from_the_icon_and_its_close(self):
        # The menu opens below and right of the click.
        inside_menu = (ICON_SPOT[0] + 50, ICON_SPOT[1] + 40)
        page_colour = self.pixel(*inside_menu)
        self.click(*ICON_SPOT)
        harness.wait_for("the system menu", lambda: self.pixel(*inside_menu) != page_colour)
        harness.press_keys("c")  # the access key of "&Close"
        self.assertEqual(self.wait_exit(), 0)


class MoveAndResizeTest(CaptionTest):

    def setUp(self):
        super().setUp()
        self.restore()
        # A window smaller than the screen, away from its edges.
        harness.run_tool("wmctrl", "-i", "-r", hex(self.window), "-e", "0,200,150,1200,800")
        harness.wait_for("the window at its test place",
                         lambda: self.geometry() == (200, 150, 1200, 800))

    def test_dragging_the_caption_moves_the_window(self):
        # The window keeps the pressed point under the pointer, the drag threshold included,
        # whether the motion comes in paced steps or all at once.
        for name, pause, move_by in (("paced", 0.03, (-100, 100)), ("all at once", 0, (150, -50))):
            with self.subTest(name):
                x, y, width, height = self.geometry()
                press = (x + 500, y + 20)
                expected = (x + move_by[0], y + move_by[1])
                self.drag(press, (press[0] + move_by[0], press[1] + move_by[1]), pause=pause)
                try:
                    harness.wait_for(f"the window at {expected}",
                                     lambda: all(abs(a - b) <= MOVE_SLACK for a, b in
                                                 zip(self.geometry()[:2], expected)))
                except harness.Deadline:
                    self.fail(f"the window ends at {self.geometry()[:2]}, not {expected}")
                self.assertEqual(self.geometry()[2:], (width, height))

    def test_dragging_a_border_or_corner_resizes_down_to_the_minimum_only(self):
        self.drag((200 + 1200 - 1, 550), (200 + 1400, 550))  # right border, outwards
        harness.wait_for("a wider window", lambda: self.geometry()[2] > 1300)
        # The window manager does the resize and may still be at an earlier step of it, or may
        # have missed the first step, which reached the shell before the window manager took the
        # pointer: the corner dragged next is placed, not read. The shell must have taken the
        # new size too, or it finds no corner where the press lands: the page says so.
        harness.run_tool("wmctrl", "-i", "-r", hex(self.window), "-e", "0,200,150,1400,800")
        harness.wait_for("the window at its wider place",
                         lambda: self.geometry() == (200, 150, 1400, 800) and
                         self.page.evaluate("[outerWidth, outerHeight]") == [1400, 800])
        x, y, width, height = self.geometry()
        self.drag((x + width - 2, y + height - 2), (x + 100, y + 100))  # corner, far inwards
        harness.wait_for("the window to stop at its minimum size",
                         lambda: self.geometry()[2:] == (MIN_WIDTH, MIN_HEIGHT))


class AboutPageTest(CaptionTest):

    def shell_environment(self):
        self.requests = []
        root = os.path.join(self.root, "site", "about")
        os.makedirs(root)
        with open(os.path.join(root, "index.htm"), "w") as page:
            page.write("<html><head><title>About lumerock</title></head><body>about</body></html>")
        requests = self.requests

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                requests.append(self.path)

        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Handler, directory=os.path.dirname(root)))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        return {"VINTREL_ABOUT_HOST": f"127.0.0.1:{server.server_address[1]}"}

    def test_about_button_loads_the_about_page_into_the_browser(self):
        self.click(*button("About"))
        harness.wait_for("the server to see the about request", lambda: ABOUT_PATH in self.requests)
        about = self.open_page(ABOUT_PATH, harness.EVENT_TIMEOUT)
        self.assertEqual(about.evaluate("document.title"), "About lumerock")
        self.assertIsNone(self.devtools.page_with_url("/request.html"), "it replaced the start page")


if __name__ == "__main__":
    unittest.main()
