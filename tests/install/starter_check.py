"""What the starter project (templates/starter) must have drawn, run headless with
SCRIPT: before the click its disc, rim and text and nothing at the click; afterwards a red
dot with a navy rim where the click was. Shared by the Linux and Windows starter tests."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import pngfile  # noqa: E402

SCRIPT = "screenshot before.png\nclick 300 60\n"
PROMPT = "Click mouse in the graphics window to finish execution."
CLICK = (300, 60)
WHITE, GOLD, NAVY, RED = (255, 255, 255), (255, 215, 0), (0, 0, 128), (255, 0, 0)

# (x, y, colour before the click, colour after it)
EXPECTED = [
    (5, 5, WHITE, WHITE),          # the window's background
    (200, 120, GOLD, GOLD),        # the disc's centre
    (200, 61, NAVY, NAVY),         # its 3-pixel rim, inside the circle's box
    (200, 182, WHITE, WHITE),      # just below the box
    (300, 60, WHITE, RED),         # the click: the dot's centre
    (300, 51, WHITE, NAVY),        # and its rim
]


def fail(message):
    print(f"FAIL: {message}", flush=True)
    sys.exit(1)


def run(command, **kw):
    done = subprocess.run(command, capture_output=True, text=True, **kw)
    if done.returncode != 0:
        fail(f"{' '.join(command)} ended with {done.returncode}:\n{done.stdout}{done.stderr}")
    return done.stdout


def problems(before, after):
    """What differs from the expected pixels, as lines; empty when all is well."""
    out = []
    for name, (width, height, rows), which in (("before", before, 2), ("after", after, 3)):
        if (width, height) != (400, 300):
            out.append(f"the {name} picture is {width} x {height}, not 400 x 300")
            continue
        for point in EXPECTED:
            x, y = point[0], point[1]
            if rows[y][x] != point[which]:
                out.append(f"{name} the click, ({x}, {y}) is {rows[y][x]}, not {point[which]}")
        # Text was drawn in the pen's colour somewhere in its line.
        if not any(rows[y][x] == NAVY for y in range(220, 245) for x in range(130, 280)):
            out.append(f"{name} the click, no text in the pen's colour below the disc")
    return out


def read(path):
    return pngfile.read(path)
