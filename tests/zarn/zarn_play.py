"""Plays a running Quen's Zarn on an X display with xdotool, for the game's end-to-end tests
on Linux (zarn_xvfb.py) and, for the Windows build, under Wine (tests/win32/zarn_e2e.py).

A click on a water cell must turn it blue and a click on a ship cell red on a screenshot;
ESC and the click that ends the turn leave the loop, and a last click after the closing
prompt ends the program with status 0.

The fleet is hidden, so it is worked out from the clock: the game seeds its generator with
the second it starts in, which lies between the seconds before the launch and after its
window appeared; zarn_fleet (the game's own placement code, built for Linux) gives the
fleet of each of those seconds. A cell that is a ship in every candidate fleet is a ship
for sure; when there is none, a cell on which the candidates disagree is fired at first
and its colour tells which candidates remain.
"""
import struct
import subprocess
import sys
import time

TITLE = "Quen's Zarn"
PROMPT = "Click mouse in the graphics window to finish execution."
BLUE = (0, 0, 255)
RED = (255, 0, 0)
BLACK = (0, 0, 0)
# No xdotool or xwd call may hold the test up for good.
TOOL_SECONDS = 20


def fail(message, process=None):
    print(f"FAIL: {message}", flush=True)
    if process is not None and process.poll() is None:
        process.kill()
    sys.exit(1)


def tool(*command):
    """Runs an X tool to completion; its standard output."""
    return subprocess.run(command, check=True, capture_output=True, timeout=TOOL_SECONDS).stdout


def screenshot():
    """The root window as (width, height, pixel function) from xwd's dump."""
    data = tool("xwd", "-root", "-silent")
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


def fleets(zarn_fleet, seeds):
    """The ship cells, as (column, row) sets, of the fleet placed at each second."""
    out = subprocess.run([zarn_fleet, *map(str, seeds)], check=True, capture_output=True,
                         text=True, timeout=TOOL_SECONDS).stdout.split("\n")
    result = {}
    for i, seed in enumerate(seeds):
        rows = out[i * 21 + 1:i * 21 + 21]
        result[seed] = {(c, r) for r, row in enumerate(rows) for c, ch in enumerate(row) if ch == "#"}
    return result


class Game:
    """One run of the game: its process, its console and its client area on the screen.
    find_window() answers (x, y, width, height) of the client area once the titled window
    shows, or None; the console is read from the files the output goes to."""

    def __init__(self, command, cwd, find_window, out_path, err_path=None, env=None):
        self.find_window = find_window
        self.out_path = out_path
        self.err_path = err_path
        out = open(out_path, "w")
        err = open(err_path, "w") if err_path else subprocess.STDOUT
        self.before = int(time.time())
        self.process = subprocess.Popen(command, cwd=cwd, stdout=out, stderr=err,
                                        stdin=subprocess.DEVNULL, env=env)
        out.close()
        if err_path:
            err.close()
        self.origin = None
        self.after = None

    def wait_for_window(self, seconds=60):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if self.process.poll() is not None:
                fail(f"the game ended with status {self.process.returncode} before its window "
                     f"appeared: {self.console()}")
            found = self.find_window()
            if found:
                x, y, w, h = found
                self.origin = (x, y)
                self.after = int(time.time())
                return w, h
            time.sleep(0.2)
        fail(f"no window titled {TITLE!r} appeared", self.process)

    def console(self):
        text = ""
        for path in filter(None, (self.out_path, self.err_path)):
            with open(path, encoding="latin-1") as f:
                text += f.read()
        return text

    def screen_pixel(self, x, y):
        _, _, pixel = screenshot()
        return pixel(self.origin[0] + x, self.origin[1] + y)

    def click(self, x, y):
        sx, sy = self.origin[0] + x, self.origin[1] + y
        tool("xdotool", "mousemove", "--sync", str(sx), str(sy))
        tool("xdotool", "click", "1")

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

    def wait_for_exit(self, what, seconds=30):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            fail(f"{what} did not end the game", self.process)


def cell_centre(cell):
    c, r = cell
    return 20 * c + 15, 20 * r + 15


def play(game, zarn_fleet):
    """From the window's appearance to the end: water blue, ship red, ESC, a last click."""
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
    tool("xdotool", "key", "Escape")
    time.sleep(0.3)
    game.click(800, 450)
    game.wait_until("the closing prompt", lambda: PROMPT in game.console())
    game.click(800, 450)
    status = game.wait_for_exit("the last click")
    if status != 0:
        fail(f"the game ended with status {status}: {game.console()}")
    print("ok: water blue, ship red, ESC and a last click end the game with status 0")
