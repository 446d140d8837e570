#!/usr/bin/env python3
"""Checks that compare_surfaces.py fails on what it must catch: a pixel differing outside
the text boxes, a read-back value differing, a scene missing on one side; and that it lets
glyph differences inside the boxes and the native window's narrower client area pass."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))


def write_scene(folder, name, width, height, pixels=None, lines=()):
    os.makedirs(folder, exist_ok=True)
    data = bytearray(b"\xff" * (width * height * 3))
    for (x, y), rgb in (pixels or {}).items():
        data[(y * width + x) * 3:(y * width + x) * 3 + 3] = bytes(rgb)
    with open(os.path.join(folder, name + ".ppm"), "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height) + bytes(data))
    with open(os.path.join(folder, name + ".txt"), "w") as f:
        f.write("".join(line + "\n" for line in lines))


class CompareSurfaces(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.standin = os.path.join(self.dir.name, "standin")
        self.native = os.path.join(self.dir.name, "native")
        self.diff = os.path.join(self.dir.name, "diff")

    def tearDown(self):
        self.dir.cleanup()

    def compare(self):
        run = subprocess.run([sys.executable, os.path.join(HERE, "compare_surfaces.py"),
                              self.standin, self.native, self.diff],
                             capture_output=True, text=True)
        return run.returncode, run.stdout

    def test_equal_surfaces_pass_and_the_narrower_native_area_is_what_counts(self):
        write_scene(self.standin, "a", 12, 10, {(11, 9): (0, 0, 0)}, ["GetColor 1 1 = 1 2 3"])
        write_scene(self.native, "a", 8, 7, {}, ["GetColor 1 1 = 1 2 3"])
        status, out = self.compare()
        self.assertEqual(status, 0, out)
        self.assertIn("8 x 7 compared", out)

    def test_one_pixel_outside_text_fails_and_is_located(self):
        write_scene(self.standin, "a", 12, 10, {(5, 6): (0, 0, 255)})
        write_scene(self.native, "a", 12, 10)
        status, out = self.compare()
        self.assertEqual(status, 1, out)
        self.assertIn("1 pixels differ outside text; first at (5, 6)", out)
        self.assertTrue(os.path.exists(os.path.join(self.diff, "a-diff.ppm")))

    def test_glyph_pixels_inside_a_text_box_only_count(self):
        write_scene(self.standin, "a", 12, 10, {(5, 6): (0, 0, 0)}, ["textbox 4 5 3 3"])
        write_scene(self.native, "a", 12, 10, {(6, 7): (9, 9, 9)}, ["textbox 4 5 3 3"])
        status, out = self.compare()
        self.assertEqual(status, 0, out)
        self.assertIn("2 glyph pixels differ inside text boxes", out)

    def test_a_differing_read_back_value_fails(self):
        write_scene(self.standin, "a", 4, 4, lines=["GetColor 1 1 = 255 255 255"])
        write_scene(self.native, "a", 4, 4, lines=["GetColor 1 1 = 0 0 0"])
        status, out = self.compare()
        self.assertEqual(status, 1, out)
        self.assertIn("value differs", out)

    def test_a_scene_missing_on_one_side_fails(self):
        write_scene(self.standin, "a", 4, 4)
        write_scene(self.standin, "b", 4, 4)
        write_scene(self.native, "a", 4, 4)
        status, out = self.compare()
        self.assertEqual(status, 1, out)
        self.assertIn("scenes differ", out)


if __name__ == "__main__":
    unittest.main()
