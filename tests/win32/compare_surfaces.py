#!/usr/bin/env python3
"""Holds the surfaces the Windows build drew (real GDI) to those the stand-in drew, scene by
scene: every pixel outside the text boxes the scenes noted must be equal, and so must every
value the scenes read back. Glyphs differ between the two font engines and are counted only.

  compare_surfaces.py STANDIN_DIR NATIVE_DIR DIFF_DIR

The native window's client area can be a few pixels smaller than the drawing size (its
frame takes them); the part both show is compared. For a scene that differs, DIFF_DIR gets
<scene>-diff.ppm: equal pixels dimmed, differing ones red (native darker) or green.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from ppm2png import read_ppm  # noqa: E402  (the one PPM reader the project has)


def read_log(path):
    values, boxes = [], []
    with open(path, encoding="utf-8", newline=None) as f:
        for line in f.read().splitlines():
            if line.startswith("textbox "):
                boxes.append(tuple(int(v) for v in line.split()[1:5]))
            elif line:
                values.append(line)
    return values, boxes


def in_boxes(x, y, boxes):
    return any(bx <= x < bx + bw and by <= y < by + bh for bx, by, bw, bh in boxes)


def compare_scene(name, standin_dir, native_dir, diff_dir):
    problems = []
    sw, sh, spix = read_ppm(os.path.join(standin_dir, name + ".ppm"))
    nw, nh, npix = read_ppm(os.path.join(native_dir, name + ".ppm"))
    svalues, sboxes = read_log(os.path.join(standin_dir, name + ".txt"))
    nvalues, nboxes = read_log(os.path.join(native_dir, name + ".txt"))
    boxes = sboxes + nboxes

    if svalues != nvalues:
        for i in range(max(len(svalues), len(nvalues))):
            s = svalues[i] if i < len(svalues) else "(none)"
            n = nvalues[i] if i < len(nvalues) else "(none)"
            if s != n:
                problems.append(f"value differs: stand-in '{s}', Windows '{n}'")

    width, height = min(sw, nw), min(sh, nh)
    differing = 0
    in_text = 0
    first = None
    diff = bytearray(width * height * 3)
    for y in range(height):
        for x in range(width):
            si = (y * sw + x) * 3
            ni = (y * nw + x) * 3
            s = spix[si:si + 3]
            n = npix[ni:ni + 3]
            di = (y * width + x) * 3
            if s == n:
                grey = (s[0] + s[1] + s[2]) // 12 + 96
                diff[di:di + 3] = bytes((grey, grey, grey))
                continue
            diff[di:di + 3] = b"\xff\x00\x00" if sum(n) < sum(s) else b"\x00\xd0\x00"
            if in_boxes(x, y, boxes):
                in_text += 1
                continue
            differing += 1
            if first is None:
                first = (x, y, tuple(s), tuple(n))
    if differing:
        x, y, s, n = first
        problems.append(f"{differing} pixels differ outside text; first at ({x}, {y}): "
                        f"stand-in {s}, Windows {n}")
    if problems or in_text:
        os.makedirs(diff_dir, exist_ok=True)
        with open(os.path.join(diff_dir, name + "-diff.ppm"), "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (width, height) + bytes(diff))
    note = f"{width} x {height} compared (stand-in {sw} x {sh})"
    if in_text:
        note += f", {in_text} glyph pixels differ inside text boxes"
    return problems, note


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    standin_dir, native_dir, diff_dir = sys.argv[1:]
    scenes = sorted(f[:-4] for f in os.listdir(standin_dir) if f.endswith(".ppm"))
    native = sorted(f[:-4] for f in os.listdir(native_dir) if f.endswith(".ppm"))
    failed = False
    if not scenes:
        print("no scenes from the stand-in")
        failed = True
    if scenes != native:
        print(f"scenes differ: stand-in {scenes}, Windows {native}")
        failed = True
    for name in scenes:
        if name not in native:
            continue
        problems, note = compare_scene(name, standin_dir, native_dir, diff_dir)
        print(f"{'FAIL' if problems else 'ok  '} {name}: {note}")
        for p in problems:
            print(f"       {p}")
        failed = failed or bool(problems)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
