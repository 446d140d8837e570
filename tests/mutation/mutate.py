#!/usr/bin/env python3
"""How many small, realistic faults the tests notice. Each fault below is put into the
product's source on its own, the build folder is rebuilt, and the tests that should
notice it run; a fault is caught when one of them fails. The source is restored after
each fault, and at the end the caught and surviving faults are listed.

    tests/mutation/mutate.py BUILD_DIR [FAULT_NAME...]

BUILD_DIR is a configured build of this source tree (scripts/build.sh BUILD_DIR).
"""
import pathlib
import subprocess
import sys

SOURCE = pathlib.Path(__file__).resolve().parents[2]
# The tests a fault in the game or in the library can reach; the real-window and Windows
# runs, the soak and the fuzz smoke run are left out for their length.
GAME = "Game|Board|Random|Zarn"
LIBRARY = ""
SKIPPED = "Soak|Xvfb|RealWindow|Win32|Sanitizers|Fuzz|Cups|Dialog"

# name, file, text, replacement, tests
FAULTS = [
    ("volley count range one wider", "game/play.cpp", "2 * shipsSunk + 4, 2 * shipsSunk + 18)",
     "2 * shipsSunk + 4, 2 * shipsSunk + 19)", GAME),
    ("volley count without ships sunk", "game/play.cpp", "RandomInRange(2 * shipsSunk + 4, 2 * shipsSunk + 18)",
     "RandomInRange(4, 18)", GAME),
    ("offset draws swapped", "game/play.cpp", "const int dc = RandomInRange(-2, 2);\n                    const int dr",
     "const int dr = RandomInRange(-2, 2);\n                    const int dc", GAME),
    ("column offset sign flipped", "game/play.cpp", "const int dc = RandomInRange(-2, 2);",
     "const int dc = -RandomInRange(-2, 2);", GAME),
    ("V with no volleys left arms one", "game/play.cpp", "volleysLeft > 0", "volleysLeft >= 0", GAME),
    ("hit test exclusive", "game/play.cpp", "x > cell.right", "x >= cell.right", GAME),
    ("status number moved", "game/play.cpp", "DrawNumber(410, 550", "DrawNumber(400, 550", GAME),
    ("status shots per volley value", "game/play.cpp", "DrawNumber(680, 550, 2 * shipsSunk + 18)",
     "DrawNumber(680, 550, 2 * shipsSunk + 16)", GAME),
    ("status font size", "game/play.cpp", "SetFont(20, FONT_BOLD", "SetFont(18, FONT_BOLD", GAME),
    ("refresh shows debris for the broken hull", "game/play.cpp",
     "ship.finalFrame == wreck + 6 || ship.finalFrame == wreck + 5", "ship.finalFrame == wreck + 6", GAME),
    ("victory picture after ESC too", "game/play.cpp", "if (shipsSunk >= kShipsToWin)\n        DrawPicture",
     "if (shipsSunk >= kShipsToWin || !gameOver)\n        DrawPicture", GAME),
    ("sinking pause", "game/animation.cpp", "kSinkPause = 80", "kSinkPause = 100", GAME),
    ("hit pause", "game/animation.cpp", "kHitPause = 150", "kHitPause = 160", GAME),
    ("tenth sinking picture", "game/animation.cpp", "frames[9] = base + 7;", "frames[9] = base + 8;", GAME),
    ("ending draw to wreck mapping", "game/animation.cpp", "if (ending <= 2)", "if (ending <= 1)", GAME),
    ("volley shots count missiles", "game/shots.cpp", "if (!volleyArmed)\n        ++missilesFired;",
     "++missilesFired;", GAME),
    ("fourth hit sinks before the repaint", "game/shots.cpp",
     "Paint(win);\n        if (ship->hits >= kShipLength) {\n            ++shipsSunk;\n            ship->sunk = true;\n"
     "            // After the repaint, so that the wreck stays on screen over the ship.\n"
     "            ship->PlaySinkAnimation(win);\n        }",
     "if (ship->hits >= kShipLength) {\n            ++shipsSunk;\n            ship->sunk = true;\n"
     "            ship->PlaySinkAnimation(win);\n        }\n        Paint(win);", GAME),
    ("orientation share", "game/board.cpp", "RandomInRange(0, 4) <= 2", "RandomInRange(0, 4) <= 1", GAME),
    ("generator lag", "game/random.cpp", "second = 31;", "second = 30;", GAME),
    ("RandomInRange rejection bound", "game/random.cpp", "} while (r >= n);", "} while (r > n);", GAME),
    ("RandomInRange mask at a power of two", "game/random.cpp", "while (m < n)", "while (m <= n)", GAME),
    ("error line text", "graphics/drawing/state.cpp", "Failed to delete penObject in SetPen!",
     "Failed to delete pen in SetPen!", LIBRARY),
    ("capture span end off by one", "graphics/images/draw.cpp", "std::int64_t{x} + width > iWindowWidth",
     "std::int64_t{x} + width >= iWindowWidth", LIBRARY),
    ("colour rounds instead of truncating", "graphics/images/color.cpp", "std::trunc(value * 255.0)",
     "std::round(value * 255.0)", LIBRARY),
    ("font restored before the text is drawn", "graphics/drawing/text.cpp",
     '    if (TextOutA(dcActive, x, y, text, ByteLength(text)) == 0)\n'
     '        ReportError("Fatal Error: Failed to TextOut in DrawString!");\n    RestoreFontObject();',
     '    RestoreFontObject();\n    if (TextOutA(dcActive, x, y, text, ByteLength(text)) == 0)\n'
     '        ReportError("Fatal Error: Failed to TextOut in DrawString!");', LIBRARY),
    ("JPEG red and blue swapped", "graphics/images/jpeg.cpp", "p[0] = s[2];\n            p[1] = s[1];\n            p[2] = s[0];",
     "p[0] = s[0];\n            p[1] = s[1];\n            p[2] = s[2];", LIBRARY),
]


def run(command, cwd, timeout):
    return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def tests_pass(build, regex):
    if run(["cmake", "--build", ".", "-j2"], build, 3000) != 0:
        return None
    command = ["ctest", "-j2", "--timeout", "240", "--stop-on-failure", "-E", SKIPPED]
    if regex:
        command += ["-R", regex]
    try:
        return run(command, build, 3000) == 0
    except subprocess.TimeoutExpired:
        return False


def main():
    build = pathlib.Path(sys.argv[1]).resolve()
    chosen = [f for f in FAULTS if len(sys.argv) < 3 or f[0] in sys.argv[2:]]
    for tests in {f[4] for f in chosen}:
        if not tests_pass(build, tests):
            sys.exit(f"the tests fail (or do not build) without any fault: {tests or 'all'}")
    caught, survived, stillborn = [], [], []
    for name, file, text, replacement, tests in chosen:
        path = SOURCE / file
        original = path.read_text()
        if original.count(text) != 1:
            sys.exit(f"{name}: the text to change is not once in {file}")
        try:
            path.write_text(original.replace(text, replacement))
            result = tests_pass(build, tests)
        finally:
            path.write_text(original)
        outcome = "does not build" if result is None else "survived" if result else "caught"
        print(f"{outcome:>14}  {name}", flush=True)
        (stillborn if result is None else survived if result else caught).append(name)
    print(f"caught {len(caught)} of {len(caught) + len(survived)}" +
          (f"; {len(stillborn)} did not build" if stillborn else ""))


if __name__ == "__main__":
    main()
