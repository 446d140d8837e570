#!/usr/bin/env python3
"""Plays Quen's Zarn, the Windows build, under Wine on the X display of a Wine session:
the window appears with its title; a click on a water cell turns it blue and a click on a
ship cell turns it red on a screenshot; ESC and the click that ends the turn leave the
loop, and a last click after the closing prompt ends the program with status 0.

  zarn_e2e.py GAME_DIR WINDOW_PROBE_EXE ZARN_FLEET

The fleet is hidden, so it is worked out from the clock: the game seeds its generator with
the second it starts in, which lies between the seconds before the launch and after its
window appeared; ZARN_FLEET (the game's own placement code, built for Linux) gives the
fleet of each of those seconds. A cell that is a ship in every candidate fleet is a ship
for sure; when there is none, a cell on which the candidates disagree is fired at first
and its colour tells which candidates remain.
"""
import os
import struct
import subprocess
import sys
import time

TITLE = "Quen's Zarn"
BLUE = (0, 0, 255)
RED = (255, 0, 0)
BLACK = (0, 0, 0)


def fail(message, game=None):
    print(f"FAIL: {message}")
    if game is not None and game.poll() is None:
        game.kill()
    sys.exit(1)


def screenshot():
    """The root window as (width, height, pixel function) from xwd's dump."""
    data = subprocess.run(["xwd", "-root", "-silent"], check=True, capture_output=True).stdout
    header = struct.unpack(">25I", data[:100])
    header_size, _, _, _, width, height = header[:6]
    byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
    masks = header[14:17]
    ncolors = header[19]
    pixels = data[header_size + 12 * ncolors:]
    if bits_per_pixel not in (24, 32):
        fail(f"screenshot with {bits_per_pixel} bits a pixel")
    size = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = [shift(m) for m in masks]

    def pixel(x, y):
        at = y * bytes_per_line + x * size
        value = int.from_bytes(pixels[at:at + size], order)
        return tuple((value & m) >> s for m, s in zip(masks, shifts))

    return width, height, pixel


def wine(*args, **kwargs):
    return subprocess.run(["wine", *args], capture_output=True, text=True, **kwargs)


def fleets(zarn_fleet, seeds):
    out = subprocess.run([zarn_fleet, *map(str, seeds)], check=True, capture_output=True,
                         text=True).stdout.split("\n")
    result = {}
    for i, seed in enumerate(seeds):
        rows = out[i * 21 + 1:i * 21 + 21]
        result[seed] = {(c, r) for r, row in enumerate(rows) for c, ch in enumerate(row) if ch == "#"}
    return result


class Game:
    def __init__(self, game_dir, probe):
        self.game_dir = game_dir
        self.probe = probe
        self.out_path = os.path.join(game_dir, "e2e-console.txt")
        self.out = open(self.out_path, "w")
        self.before = int(time.time())
        self.process = subprocess.Popen(["wine", "zarn.exe"], cwd=game_dir, stdout=self.out,
                                        stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        self.origin = None

    def wait_for_window(self):
        deadline = time.time() + 60
        while time.time() < deadline:
            if self.process.poll() is not None:
                fail(f"the game ended with status {self.process.returncode} before its window "
                     f"appeared: {self.console()}")
            found = wine(self.probe, TITLE)
            if found.returncode == 0:
                x, y, w, h = map(int, found.stdout.split())
                self.origin = (x, y)
                self.after = int(time.time())
                return w, h
            time.sleep(0.2)
        fail(f"no window titled {TITLE!r} appeared", self.process)

    def console(self):
        with open(self.out_path, encoding="latin-1") as f:
            return f.read()

    def screen_pixel(self, x, y):
        _, _, pixel = screenshot()
        return pixel(self.origin[0] + x, self.origin[1] + y)

    def click(self, x, y):
        sx, sy = self.origin[0] + x, self.origin[1] + y
        subprocess.run(["xdotool", "mousemove", "--sync", str(sx), str(sy)], check=True)
        subprocess.run(["xdotool", "click", "1"], check=True)

    def wait_until(self, what, test, seconds=30):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if self.process.poll() is not None:
                fail(f"the game ended with status {self.process.returncode} while waiting for "
                     f"{what}: {self.console()}")
            if test():
                return
            time.sleep(0.2)
        fail(f"timed out waiting for {what}", self.process)


def cell_centre(cell):
    c, r = cell
    return 20 * c + 15, 20 * r + 15


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    game_dir, probe, zarn_fleet = sys.argv[1:]
    if not os.path.exists(os.path.join(game_dir, "logo.jpg")):
        fail(f"the game's pictures are not in {game_dir}")

    game = Game(game_dir, probe)
    width, height = game.wait_for_window()
    print(f"window {TITLE!r}: client area {width} x {height} at {game.origin}")
    named = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"], capture_output=True)
    if named.returncode != 0:
        fail("the X server knows no window by the game's title", game.process)

    # The turn loop has begun once the status line is drawn (its first item is black text).
    def status_line_drawn():
        _, _, pixel = screenshot()
        ox, oy = game.origin
        return any(pixel(ox + x, oy + y) == BLACK for x in range(9, 150, 2) for y in range(552, 570))

    game.wait_until("the status line", status_line_drawn)
    grid = [(c, r) for c in range(20) for r in range(20)]
    for cell in grid[::37]:
        if game.screen_pixel(*cell_centre(cell)) != BLACK:
            fail(f"cell {cell} does not show as unfired water", game.process)

    candidates = fleets(zarn_fleet, range(game.before, game.after + 1))
    fired = set()

    def fire(cell):
        x, y = cell_centre(cell)
        game.click(x, y)
        fired.add(cell)
        game.wait_until(f"cell {cell} to be painted",
                        lambda: game.screen_pixel(x, y) in (BLUE, RED))
        return game.screen_pixel(x, y)

    while True:
        ships = set.intersection(*candidates.values()) - fired
        if ships:
            break
        # Fire where the candidates disagree most evenly; the colour keeps the right ones.
        split = min((c for c in grid if c not in fired),
                    key=lambda c: abs(2 * sum(c in f for f in candidates.values()) - len(candidates)))
        colour = fire(split)
        candidates = {s: f for s, f in candidates.items() if (split in f) == (colour == RED)}
        if not candidates:
            fail(f"no fleet of seconds {game.before}..{game.after} explains the colour of {split}",
                 game.process)
    water = sorted(set(grid) - set.union(*candidates.values()) - fired)
    print(f"fleet of second {sorted(candidates)}: firing at water {water[0]} and ship {min(ships)}")

    colour = fire(water[0])
    if colour != BLUE:
        fail(f"the water cell {water[0]} turned {colour}, not blue", game.process)
    colour = fire(min(ships))
    if colour != RED:
        fail(f"the ship cell {min(ships)} turned {colour}, not red", game.process)

    # ESC is read at the start of the turn after the next click; that click lands off the grid.
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    time.sleep(0.3)
    game.click(800, 450)
    game.wait_until("the closing prompt",
                    lambda: "Click mouse in the graphics window to finish execution." in game.console())
    game.click(800, 450)
    try:
        status = game.process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        fail("the last click did not end the game", game.process)
    if status != 0:
        fail(f"the game ended with status {status}: {game.console()}")
    print("ok: water blue, ship red, ESC and a last click end the game with status 0")


if __name__ == "__main__":
    main()
