#!/usr/bin/env python3
"""Plays Quen's Zarn, the Windows build, under Wine on the X display of a Wine session,
as tests/zarn/zarn_play.py describes; the window's place on the screen comes from a small
Windows program asked through Wine.

  zarn_e2e.py GAME_DIR WINDOW_PROBE_EXE ZARN_FLEET
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "zarn"))
import zarn_play  # noqa: E402
from zarn_play import TITLE, fail  # noqa: E402


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    game_dir, probe, zarn_fleet = sys.argv[1:]
    if not os.path.exists(os.path.join(game_dir, "logo.jpg")):
        fail(f"the game's pictures are not in {game_dir}")

    def find_window():
        found = subprocess.run(["wine", probe, TITLE], capture_output=True, text=True,
                               timeout=zarn_play.TOOL_SECONDS)
        return tuple(map(int, found.stdout.split())) if found.returncode == 0 else None

    game = zarn_play.Game(["wine", "zarn.exe"], game_dir, find_window,
                          os.path.join(game_dir, "e2e-console.txt"))
    width, height = game.wait_for_window()
    print(f"window {TITLE!r}: client area {width} x {height} at {game.origin}")
    named = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"], capture_output=True,
                           timeout=zarn_play.TOOL_SECONDS)
    if named.returncode != 0:
        fail("the X server knows no window by the game's title", game.process)
    zarn_play.play(game, zarn_fleet)


if __name__ == "__main__":
    main()
