#!/usr/bin/env python3
"""High-density screens, in private Xvfb servers: asked for with QUILLGRAPH_SCALE=2 on an
ordinary screen, and worked out from a screen of 192 dpi without asking. Either way the
starter's window is twice its drawing size, each drawing pixel shows as a 2 x 2 block of
exactly the pixel the headless run draws, a click inside a block reaches the program as
that drawing pixel, and the program's own picture is the headless one.

  scale_xvfb.py STARTER_PROGRAM
"""
import os
import re
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, ".."))
sys.path.insert(0, os.path.join(here, "..", "zarn"))
sys.path.insert(0, os.path.join(here, "..", "support"))
sys.path.insert(0, os.path.join(here, "..", "install"))
import pngfile  # noqa: E402
import starter_check  # noqa: E402
import xvfb  # noqa: E402
import zarn_play  # noqa: E402
from zarn_play import fail, tool  # noqa: E402

TITLE = "My first Quillgraph program"
WIDTH, HEIGHT = 400, 300


def headless_pictures(program, work):
    with open(os.path.join(work, "inputs.txt"), "w") as f:
        f.write(starter_check.SCRIPT)
    env = dict(os.environ, QUILLGRAPH_BACKEND="headless", QUILLGRAPH_SCRIPT="inputs.txt",
               QUILLGRAPH_SCREENSHOT="end.png")
    env.pop("DISPLAY", None)
    subprocess.run([program], cwd=work, env=env, check=True, capture_output=True, timeout=60)
    return pngfile.read(os.path.join(work, "before.png"))[2], pngfile.read(os.path.join(work, "end.png"))[2]


def geometry():
    found = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"], capture_output=True, text=True,
                           timeout=zarn_play.TOOL_SECONDS)
    ids = found.stdout.split()
    if found.returncode != 0 or not ids:
        return None
    info = tool("xwininfo", "-id", ids[0]).decode()
    if "IsViewable" not in info:
        return None
    field = lambda name: int(re.search(rf"{name}:\s+(-?\d+)", info).group(1))  # noqa: E731
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))


def shows(game, expected, scale):
    """Whether the screen holds `expected` (drawing pixels), each as a scale x scale block."""
    _, _, pixel = zarn_play.screenshot()
    ox, oy = game.origin
    for y in range(HEIGHT):
        for x in range(WIDTH):
            for dy in range(scale):
                for dx in range(scale):
                    if pixel(ox + scale * x + dx, oy + scale * y + dy) != expected[y][x]:
                        return False
    return True


def run_scaled(program, work, extra_env, label, before, after):
    env = dict(os.environ, QUILLGRAPH_SCREENSHOT=os.path.join(work, f"{label}.png"), **extra_env)
    game = zarn_play.Game([program], work, geometry, os.path.join(work, f"{label}.out"),
                          os.path.join(work, f"{label}.err"), env=env)
    try:
        width, height = game.wait_for_window()
        if (width, height) != (2 * WIDTH, 2 * HEIGHT):
            fail(f"{label}: the window is {width} x {height}, not {2 * WIDTH} x {2 * HEIGHT}", game.process)
        # The outer position is scaled like everything else: the client area at (101, 119).
        if game.origin != (202, 238):
            fail(f"{label}: the window's drawing area is at {game.origin}, not (202, 238)", game.process)
        game.wait_until("the picture at scale 2", lambda: shows(game, before, 2))
        # The second of the block's pixels in each direction: floor division gives 300, 60.
        game.click(2 * starter_check.CLICK[0] + 1, 2 * starter_check.CLICK[1] + 1)
        game.wait_until("the dot where the click was", lambda: shows(game, after, 2))
        game.wait_until("the closing prompt", lambda: starter_check.PROMPT in game.console())
        game.click(10, 10)
        status = game.wait_for_exit("the last click")
        if status != 0:
            fail(f"{label}: the program ended with status {status}: {game.console()}")
    finally:
        if game.process.poll() is None:
            game.process.kill()
            game.process.wait()
    if pngfile.read(os.path.join(work, f"{label}.png"))[2] != after:
        fail(f"{label}: the program's own picture differs from the headless run's")
    print(f"ok: {label}: 800 x 600 on the screen, 2 x 2 blocks of the drawing, the click at (300, 60)")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    program = os.path.abspath(sys.argv[1])
    xvfb.suppress_system_leaks()
    with tempfile.TemporaryDirectory() as work:
        before, after = headless_pictures(program, work)
        for label, dpi, extra_env in (("asked", 96, {"QUILLGRAPH_SCALE": "2"}), ("detected", 192, {})):
            with xvfb.display("-dpi", str(dpi)):
                run_scaled(program, work, extra_env, label, before, after)


if __name__ == "__main__":
    main()
