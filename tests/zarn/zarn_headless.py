#!/usr/bin/env python3
"""Quen's Zarn as a teacher runs it: no display, the inputs from a script, the pictures as
PNG files, through the QUILLGRAPH_* variables alone. The script fires at all 400 cells in a
fixed shuffled order (the game ends when the 17th ship sinks; one more click closes it),
on the virtual clock so the picture sequences take no time.

The final picture is predicted from the fleet: the game seeds with the second it starts in,
which lies between the seconds before and after the run; for each of those zarn_fleet gives
the fleet and the draws that pick each wreck's last picture. The cells fired are those of
the script up to the one that sinks the last ship: water turns blue, the rest stays black,
and each ship's four cells show its wreck, the same picture for ships that end alike and a
different one where they do not. The victory picture replaces the logo. Some second's
prediction must hold. Then a script with a mistake must stop the game before it starts,
naming the line.

  zarn_headless.py ZARN_EXE GAME_DIR ZARN_FLEET
"""
import os
import random
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import pngfile  # noqa: E402

BLACK, BLUE = (0, 0, 0), (0, 0, 255)
PROMPT = "Click mouse in the graphics window to finish execution."
LOGO = (550, 60, 400, 400)


def fail(message):
    print(f"FAIL: {message}", flush=True)
    sys.exit(1)


def firing_order():
    cells = [(c, r) for r in range(20) for c in range(20)]
    random.Random(15).shuffle(cells)
    return cells


def fleets(zarn_fleet, seconds):
    """Per second: the ships as (column, row, vertical) and the 17 draws."""
    out = subprocess.run([zarn_fleet, "--ships", *map(str, seconds)], check=True, capture_output=True,
                         text=True, timeout=30).stdout.splitlines()
    result, at = {}, 0
    for second in seconds:
        ships = [(int(c), int(r), v == "v") for _, c, r, v in (out[at + 21 + k].split() for k in range(17))]
        draws = list(map(int, out[at + 38].split()[1:]))
        result[second] = (ships, draws)
        at += 39
    return result


def region(rows, x, y, width, height):
    return tuple(tuple(rows[y + j][x:x + width]) for j in range(height))


def ship_cells(ship):
    c, r, vertical = ship
    return [(c, r + m) if vertical else (c + m, r) for m in range(4)]


def mismatches(ships, draws, start, end):
    """What the final picture gets wrong for this fleet; empty when it is as predicted."""
    owner = {cell: i for i, ship in enumerate(ships) for cell in ship_cells(ship)}
    hits, sunk, fired = [0] * 17, [], set()
    for cell in firing_order():
        fired.add(cell)
        if cell in owner:
            hits[owner[cell]] += 1
            if hits[owner[cell]] == 4:
                sunk.append(owner[cell])
                if len(sunk) == 17:
                    break
    # The wreck a ship ends with: by its draw, in the order the ships sank.
    ending = {}
    for k, i in enumerate(sunk):
        wreck = 60 if ships[i][2] else 50
        ending[i] = wreck + (6 if draws[k] <= 2 else 5 if draws[k] <= 4 else 4)

    wrong = []
    for c in range(20):
        for r in range(20):
            if (c, r) in owner:
                continue
            want = BLUE if (c, r) in fired else BLACK
            inside = region(end, 20 * c + 6, 20 * r + 6, 18, 18)
            if any(p != want for row in inside for p in row):
                wrong.append(f"cell {(c, r)} is not all {'blue' if want == BLUE else 'black'}")
    pictures = {}
    for i, ship in enumerate(ships):
        c, r, vertical = ship
        w, h = (20, 80) if vertical else (80, 20)
        picture = region(end, 20 * c + 5, 20 * r + 5, w, h)
        colours = {p for row in picture for p in row}
        if colours <= {BLACK, BLUE}:
            wrong.append(f"ship {i} at {(c, r)} shows no wreck")
        pictures.setdefault(ending[i], []).append((i, picture))
    for frame, group in pictures.items():
        for i, picture in group[1:]:
            if picture != group[0][1]:
                wrong.append(f"ships {group[0][0]} and {i} both end on frame {frame} but look different")
    for a in pictures:
        for b in pictures:
            if a < b and a // 10 == b // 10 and pictures[a][0][1] == pictures[b][0][1]:
                wrong.append(f"frames {a} and {b} look the same")
    if region(end, *LOGO) == region(start, *LOGO):
        wrong.append("the logo was not replaced by the victory picture")
    return wrong


def run(zarn, game_dir, work, script, clock="virtual"):
    path = os.path.join(work, "inputs.txt")
    with open(path, "w") as f:
        f.write(script)
    env = dict(os.environ, QUILLGRAPH_BACKEND="headless", QUILLGRAPH_CLOCK=clock,
               QUILLGRAPH_SCRIPT=path, QUILLGRAPH_SCREENSHOT=os.path.join(work, "end.png"))
    env.pop("DISPLAY", None)
    try:
        return subprocess.run([zarn], cwd=game_dir, env=env, capture_output=True, text=True,
                              errors="replace", stdin=subprocess.DEVNULL, timeout=120)
    except subprocess.TimeoutExpired:
        fail("the game did not end within two minutes")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    zarn, game_dir, zarn_fleet = (os.path.abspath(a) for a in sys.argv[1:])
    with tempfile.TemporaryDirectory() as work:
        start_png = os.path.join(work, "start.png")
        script = f"# the board before the first shot\nscreenshot {start_png}\n"
        script += "".join(f"click {20 * c + 15} {20 * r + 15}\n" for c, r in firing_order())
        script += "click 800 450\n"
        before = int(time.time())
        done = run(zarn, game_dir, work, script)
        after = int(time.time())
        if done.returncode != 0 or PROMPT not in done.stdout:
            fail(f"the game ended with status {done.returncode}: {done.stdout}{done.stderr}")
        _, _, start = pngfile.read(start_png)
        width, height, end = pngfile.read(os.path.join(work, "end.png"))
        if (width, height) != (1000, 600):
            fail(f"the final picture is {width} x {height}, not 1000 x 600")
        if any(p != BLACK for c in range(20) for r in range(20)
               for p in region(start, 20 * c + 6, 20 * r + 6, 18, 18)[5]):
            fail("the first screenshot does not show an untouched board")

        verdicts = {s: mismatches(ships, draws, start, end)
                    for s, (ships, draws) in fleets(zarn_fleet, range(before, after + 1)).items()}
        right = [s for s, wrong in verdicts.items() if not wrong]
        if not right:
            for s, wrong in verdicts.items():
                print(f"second {s}: {len(wrong)} differences: {'; '.join(wrong[:6])}")
            fail(f"no fleet of seconds {before}..{after} predicts the final picture")
        print(f"ok: the final picture is the one predicted from the fleet of second {right[0]}")

        # A mistake on line 3 stops the game before it does anything.
        done = run(zarn, game_dir, work, "click 15 15\n\nclik 35 15\n")
        expected = f"QUILLGRAPH_SCRIPT {os.path.join(work, 'inputs.txt')}:3: unknown command \"clik\""
        if done.returncode != 2 or expected not in done.stderr or done.stdout:
            fail(f"a bad script line: status {done.returncode}, stdout {done.stdout!r}, "
                 f"stderr {done.stderr!r}")
        print(f"ok: a bad line stops the game with status 2: {done.stderr.strip()}")


if __name__ == "__main__":
    main()
