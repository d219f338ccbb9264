"""What the skinned caption shows at any scale (QT_SCALE_FACTOR) on a 2560 x 1600 screen: the
joins of the background pieces at device resolution, and the pointer landing on the buttons
where they are painted; at scale 2, the close glyph from the 2x art and the title at device
resolution. The test_scale_* modules and test_small_screen run it at one scale each."""

import math
import subprocess

import harness
import skin_images
from facts import (BODY, BORDER_WIDTH, CAPTION_HEIGHT, CLOSE_HOVER, MAIN_TITLE, OUTLINE,
                   PAGE_BACKGROUND, TITLE_RECT, button_rect)
from harness import close_enough


class ScaledCaption:
    """Tests for any scale; the subclasses below pick one."""

    SCALE = 1
    SCREEN_SIZE = (2560, 1600)

    def setUp(self):
        super().setUp()
        harness.run_tool("xsetroot", "-solid", f"#{harness.ROOT_COLOUR}")
        self.start_shell({"QT_SCALE_FACTOR": str(self.SCALE)})
        self.page = self.open_page("/request.html")
        self.window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the window to be maximised",
                         lambda: harness.window_geometry(self.window) == (0, 0, *self.SCREEN_SIZE))
        self.width = round(self.SCREEN_SIZE[0] / self.SCALE)  # the window in logical pixels
        self.height = round(self.SCREEN_SIZE[1] / self.SCALE)

    # Logical to device pixels: the nearest device pixel edge, halves rounding up.
    def edge(self, logical):
        return math.floor(logical * self.SCALE + 0.5 + 1e-9)

    def device_rect(self, x, y, width, height):
        """(left, top, right, bottom), right and bottom exclusive."""
        return self.edge(x), self.edge(y), self.edge(x + width), self.edge(y + height)

    def button_rect(self, name):
        return self.device_rect(*button_rect(name, self.width))

    def close_rect(self):
        return self.button_rect("Close")

    def dump(self):
        return harness.ScreenDump(self.root)

    def pointer(self, *actions):
        harness.run_tool("xdotool", *map(str, actions))

    def test_joins_of_the_background_have_no_seams(self):
        # A window of a fractional logical size may reach half a pixel past the screen.
        right = min(self.edge(self.width), self.SCREEN_SIZE[0]) - 1
        bottom = min(self.edge(self.height), self.SCREEN_SIZE[1]) - 1
        border, caption = self.edge(BORDER_WIDTH), self.edge(CAPTION_HEIGHT)
        right_border = self.edge(self.width - BORDER_WIDTH)
        middle_row, middle_column = self.SCREEN_SIZE[1] // 2, self.SCREEN_SIZE[0] // 2
        # The load event comes before the page's first frame reaches the screen.
        harness.wait_for("the page painted beside the left border", lambda: close_enough(
            self.dump().pixel(border, middle_row), PAGE_BACKGROUND))
        screen = self.dump()
        # A caption row below the buttons, across both ends and the stretched band.
        row = self.edge(36)
        colours = [screen.pixel(x, row) for x in range(right + 1)]
        self.assertEqual(colours[0], OUTLINE)
        odd = [x for x in range(border, right_border) if colours[x] != BODY]
        self.assertEqual(odd, [], f"caption row {row} breaks at device columns {odd[:10]}")
        # The borders and the bottom edge, from the window's edge to their join with the page.
        lines = {
            "left border": [screen.pixel(x, middle_row) for x in range(border)],
            "right border": [screen.pixel(x, middle_row) for x in range(right, right_border - 1, -1)],
            "bottom edge": [screen.pixel(middle_column, y)
                            for y in range(bottom, self.edge(self.height - BORDER_WIDTH) - 1, -1)],
        }
        self.assertEqual(lines["left border"][0], OUTLINE)
        for name, line in lines.items():
            self.assertTrue(all(colour in (OUTLINE, BODY) for colour in line), f"{name}: {line}")
            self.assertEqual(line[-1], BODY, f"{name} meets the page with its body colour: {line}")
        for name, x in (("left", border), ("right", right_border - 1)):
            self.assertTrue(close_enough(screen.pixel(x, middle_row), PAGE_BACKGROUND),
                            f"the page meets the {name} border: {screen.pixel(x, middle_row)}")
        # The caption's last row, then the page's first row, down the middle.
        self.assertEqual(screen.pixel(middle_column, caption - 1), BODY)
        first_page_row = screen.pixel(middle_column, caption)
        self.assertNotIn(first_page_row, (BODY, harness.ROOT_COLOUR, "000000"))
        self.assertEqual(first_page_row, screen.pixel(middle_column, caption + 10),
                         "the page's header starts right below the caption")

    def test_hover_and_press_land_where_the_buttons_are_painted(self):
        left, top, right, bottom = self.close_rect()
        middle = (top + bottom) // 2
        spot = (right - 2, top + 2)  # the button's background, away from the glyph
        normal = self.dump().pixel(*spot)
        self.pointer("mousemove", left, middle)  # the button's first device column
        harness.wait_for("the hover frame on the close button's first column",
                         lambda: close_enough(self.dump().pixel(*spot), CLOSE_HOVER))
        self.pointer("mousemove", left - 1, middle)  # the last column before it
        harness.wait_for("the normal frame one device pixel left of the button",
                         lambda: self.dump().pixel(*spot) == normal)

        _, _, minimise_right, _ = self.button_rect("Minimize")
        self.pointer("mousemove", minimise_right - 1, middle, "click", 1)
        harness.wait_for("the window to be minimised by its button's last column",
                         lambda: "_NET_WM_STATE_HIDDEN" in harness.window_states(self.window))
        harness.bring_back(self.window)
        harness.wait_for("the window back, maximised",
                         lambda: harness.window_geometry(self.window) == (0, 0, *self.SCREEN_SIZE))
        self.pointer("mousemove", left, bottom - 1, "click", 1)
        try:
            self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
        except subprocess.TimeoutExpired:
            self.fail("a click on the close button's corner pixel did not close the window")


class AtScaleTwo(ScaledCaption):
    """The tests for any scale at scale 2, and what only scale 2 shows."""

    SCALE = 2

    def test_close_glyph_and_title_are_drawn_at_twice_the_density(self):
        _, _, dense = skin_images.load_bmp("dialog/dlg_close_btn@2x.bmp")
        _, _, coarse = skin_images.load_bmp("dialog/dlg_close_btn.bmp")
        doubled = [[coarse[y // 2][x // 2] for x in range(40)] for y in range(44)]
        art_differs = sum(dense[y][x] != doubled[y][x] for y in range(44) for x in range(40))
        self.assertGreater(art_differs, 40, "the 2x art is not just the 1x art doubled")

        screen = self.dump()
        left, top, _, _ = self.close_rect()
        shown = [[screen.pixel(left + x, top + y) for x in range(40)] for y in range(44)]
        off_art = [(x, y) for y in range(44) for x in range(40)
                   if not close_enough(shown[y][x], skin_images.hex_colour(dense[y][x]))]
        self.assertEqual(off_art, [], "the close button shows the 2x art pixel for pixel")

        # Drawn at one logical pixel per pixel and doubled, every aligned 2 x 2 block of the
        # title would be one colour.
        title_left, title_top, title_right, title_bottom = self.device_rect(*TITLE_RECT)
        split_blocks = 0
        for y in range(title_top - title_top % 2, title_bottom, 2):
            for x in range(title_left - title_left % 2, title_right, 2):
                block = {screen.pixel(x + dx, y + dy) for dx in (0, 1) for dy in (0, 1)}
                split_blocks += len(block) > 1
        self.assertGreater(split_blocks, 30, "the title's edges fall between logical pixels")

