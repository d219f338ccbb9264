"""The skinned caption at scale 2 on a 2560 x 1600 screen (scaled_caption's AtScaleTwo): the
close glyph from the 2x art pixel for pixel, the title drawn at device resolution, the joins of
the background and the pointer."""

import unittest

import harness
from scaled_caption import AtScaleTwo


class ScaleTwoTest(AtScaleTwo, harness.ShellTestCase):
    pass


if __name__ == "__main__":
    unittest.main()
