"""The skinned caption at scale 1.5 on a 2560 x 1600 screen: the close glyph from the 2x art,
plus the joins and the pointer of scaled_caption."""

import unittest

import harness
import skin_images
from scaled_caption import ScaledCaption


class ScaleOneAndAHalfTest(ScaledCaption, harness.ShellTestCase):
    SCALE = 1.5

    def test_close_glyph_comes_from_the_denser_art(self):
        _, _, dense = skin_images.load_bmp("dialog/dlg_close_btn@2x.bmp")
        _, _, coarse = skin_images.load_bmp("dialog/dlg_close_btn.bmp")
        dense_colours = {skin_images.hex_colour(p) for row in dense for p in row[:40]}
        coarse_colours = {skin_images.hex_colour(p) for row in coarse for p in row[:20]}
        screen = self.dump()
        left, top, right, bottom = self.close_rect()
        shown = [screen.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]
        self.assertEqual([c for c in shown if c not in dense_colours], [])
        # Enlarged from the 1x art, every pixel would have one of its colours.
        self.assertGreater(sum(c not in coarse_colours for c in shown), 0,
                           "shades only the 2x art has")


if __name__ == "__main__":
    unittest.main()
