"""The skinned caption at scale 2 on a 2560 x 1600 screen: the close glyph from the 2x art pixel
for pixel and the title drawn at device resolution, plus the joins and the pointer of
scaled_caption."""

import unittest

import harness
import skin_images
from scaled_caption import ScaledCaption, close_enough


class ScaleTwoTest(ScaledCaption, harness.ShellTestCase):
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
        title_left, title_top, title_right, title_bottom = self.device_rect(36, 8, 80, 24)
        split_blocks = 0
        for y in range(title_top - title_top % 2, title_bottom, 2):
            for x in range(title_left - title_left % 2, title_right, 2):
                block = {screen.pixel(x + dx, y + dy) for dx in (0, 1) for dy in (0, 1)}
                split_blocks += len(block) > 1
        self.assertGreater(split_blocks, 30, "the title's edges fall between logical pixels")


if __name__ == "__main__":
    unittest.main()
