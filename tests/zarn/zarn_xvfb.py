#!/usr/bin/env python3
"""Quen's Zarn as a player meets it on Linux: the real executable with its SDL2 window in a
private Xvfb server, played with xdotool as zarn_play.py describes. Then, started in a
folder without its pictures, it must end with a failure status and say on standard error
which error ended it.

  zarn_xvfb.py ZARN_EXE GAME_DIR ZARN_FLEET
"""
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import xvfb  # noqa: E402
import zarn_play  # noqa: E402
from zarn_play import TITLE, fail

MISSING_PICTURE = "ended by an uncaught error: ERROR_FILE_NOT_FOUND"


def client_area(window):
    """(x, y, width, height) of a mapped window; with no window manager the SDL window is
    the client area itself."""
    info = zarn_play.tool("xwininfo", "-id", window).decode()
    if "IsViewable" not in info:
        return None
    field = lambda name: int(re.search(rf"{name}:\s+(-?\d+)", info).group(1))  # noqa: E731
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
            field("Width"), field("Height"))


def find_titled_window():
    # xdotool's search walks every window and dies with BadWindow when one vanishes under
    # it (SDL makes short-lived helper windows while it starts): the caller asks again.
    found = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"], capture_output=True,
                           text=True, timeout=zarn_play.TOOL_SECONDS)
    ids = found.stdout.split()
    return ids[0] if found.returncode == 0 and ids else None


def play_to_the_end(zarn, game_dir, zarn_fleet, work):
    window = None

    def find_window():
        nonlocal window
        window = find_titled_window()
        return client_area(window) if window else None

    game = zarn_play.Game([zarn], game_dir, find_window, os.path.join(work, "out"),
                          os.path.join(work, "err"))
    try:
        width, height = game.wait_for_window()
        print(f"window {TITLE!r}: client area {width} x {height} at {game.origin}")
        if (width, height) != (1000, 600):
            fail(f"the client area is {width} x {height}, not 1000 x 600", game.process)
        # Without a window manager nothing gives the window the keyboard: ESC must reach it.
        zarn_play.tool("xdotool", "windowfocus", "--sync", window)
        zarn_play.play(game, zarn_fleet)
    finally:
        if game.process.poll() is None:
            game.process.kill()
            game.process.wait()


def missing_picture_ends_the_game(zarn, work):
    empty = os.path.join(work, "empty")
    os.mkdir(empty)
    try:
        run = subprocess.run([zarn], cwd=empty, capture_output=True, text=True, errors="replace",
                             stdin=subprocess.DEVNULL, timeout=60)
    except subprocess.TimeoutExpired:
        fail("without its pictures the game did not end")
    if run.returncode == 0:
        fail(f"without its pictures the game ended with status 0: {run.stdout}{run.stderr}")
    if not any(MISSING_PICTURE in line for line in run.stderr.splitlines()):
        fail(f"without its pictures the game did not say why it ended: {run.stderr!r}")
    print(f"ok: without its pictures the game ends with status {run.returncode}: "
          f"{next(l for l in run.stderr.splitlines() if MISSING_PICTURE in l)}")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    zarn, game_dir, zarn_fleet = (os.path.abspath(a) for a in sys.argv[1:])
    if not os.path.exists(os.path.join(game_dir, "logo.jpg")):
        fail(f"the game's pictures are not in {game_dir}")
    # CTest's timeout sends SIGTERM: leave through the clean-up below.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    xvfb.suppress_system_leaks()
    with xvfb.display(), tempfile.TemporaryDirectory() as work:
        play_to_the_end(zarn, game_dir, zarn_fleet, work)
        missing_picture_ends_the_game(zarn, work)


if __name__ == "__main__":
    main()
