#!/usr/bin/env python3
"""How many small, realistic faults the tests notice. Each fault below is put into the
product's source on its own, the build folder is rebuilt (only the programs the chosen
tests run; ccache brings the restored files back), and the tests that can reach it run;
a fault is caught when one of them fails, or when they do not finish in time. The source
is restored after each fault. At the end: "caught N of M" and the surviving faults.

    tests/mutation/mutate.py BUILD_DIR [--all] [--list] [FAULT_NAME...]

BUILD_DIR is a configured build of this source tree (scripts/build.sh BUILD_DIR), kept
apart from the folder you work in: every fault relinks its programs. Without names the
standard list runs (about 30 minutes on a loaded two-core machine, under nice -n 19);
--all adds the extra faults, --list prints the names. A fault runs the suites of its area
(game, library, the stand-in's raster, text, windows and print; see the regexes below),
never the real-window, Windows, soak, fuzz, sanitizer-probe and install ones.
"""
import json
import os
import pathlib
import subprocess
import sys
import time
from itertools import zip_longest

SOURCE = pathlib.Path(__file__).resolve().parents[2]
# The tests a fault in the game or in the library can reach; the real-window and Windows
# runs, the soak, the fuzz smoke run, the sanitizer probes and the package builds are
# left out for their length (or because no product fault can reach them).
GAME = "^(Game|Scripts|Random|Zarn)"
# Every suite that draws through the library, or runs a program built on it.
LIBRARY = ("^(Window|DescribeFont|KeyTable|RecordQueue|Timing|Drawing|Decoding|HostileFiles|Images|Pictures|"
           "Color|TextTest|WindowPrint|PrintCalls|Script|Settings|Runner|Scripts|Game|Library|LibTest|LibDeathTest|Printing|"
           "PageGeometry|Print\\.)")
# The stand-in's figures, regions, blits and DIBs: its own tests, the goldens, and the
# library's pictures.
RASTER = ("^(Arc|Bezier|Blit|Calls|Dib|Ellipse|FastPaths|LargeFigures|Line|Mix|Polygon|QuadrantPath|Rectangle|"
          "Region|RoundRect|SpanSets|Stretch|Conformance|Scenes|ObjectsTest|Drawing|Images|Pictures|Scripts|Library|LibTest)")
# Text: the font suites, the goldens, and the library's text.
TEXT = ("^(DrawText|FaceChoice|FontMetrics|GdiReference|GlyphCache|TextCalls|TextExtent|Windows1252|Conformance|"
        "Scenes|TextTest|DescribeFont|Drawing|Library|LibTest)")
# Windows, the message queue and input routing: the stand-in's and the library's window suites.
USER = ("^(InputTest|ObjectsTest|QueueTest|WindowTest|WindowDeathTest|WindowRegistry|KeyTable|RecordQueue|Timing|"
        "Script|Settings|Runner|Scripts|Drawing|Library|LibTest|LibDeathTest)")
PRINT = "^(Cups|PageGeometry|PdfPage|PrintCalls|WindowPrint|Printing|Print\\.)"
SKIPPED = "Soak|Xvfb|RealWindow|Win32|Sanitizers|Fuzz|Install"
FAULT_SECONDS = 300
TEST_SECONDS = 60

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
    # The library: drawing state, shapes, text, images, buffering, read-back, input, print,
    # the window's life.
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
    ("arc end point's sine added", "graphics/drawing/shapes.cpp", "Pinned(cy - offset(b, std::sin(end)))",
     "Pinned(cy + offset(b, std::sin(end)))", LIBRARY),
    ("arc end points rounded", "graphics/drawing/shapes.cpp", "static_cast<int64_t>(std::trunc(product))",
     "static_cast<int64_t>(std::round(product))", LIBRARY),
    ("arc centre rounded up", "graphics/drawing/shapes.cpp", "const int64_t cx = (int64_t{x1} + x2) / 2;",
     "const int64_t cx = (int64_t{x1} + x2 + 1) / 2;", LIBRARY),
    ("line error text", "graphics/drawing/shapes.cpp", "Failed to draw in DrawLine!",
     "Failed to draw line in DrawLine!", LIBRARY),
    ("frame style fills", "graphics/drawing/state.cpp",
     "brshSaved = static_cast<HBRUSH>(SelectObject(dcActive, GetStockObject(NULL_BRUSH)));",
     "brshSaved = static_cast<HBRUSH>(SelectObject(dcActive, brshObject));", LIBRARY),
    ("face name cut one short", "graphics/drawing/state.cpp", "std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);",
     "std::strncpy(description.lfFaceName, face, LF_FACESIZE - 2);", LIBRARY),
    ("text drawn opaque", "graphics/drawing/text.cpp", "SetBkMode(dcActive, TRANSPARENT)",
     "SetBkMode(dcActive, OPAQUE)", LIBRARY),
    ("text leaves the current position", "graphics/drawing/text.cpp", "SetTextAlign(dcActive, TA_UPDATECP)",
     "SetTextAlign(dcActive, TA_NOUPDATECP)", LIBRARY),
    ("real number format", "graphics/drawing/text.cpp", '"%f", value);\n    DrawString', '"%g", value);\n    DrawString',
     LIBRARY),
    ("read-back hit test inclusive", "graphics/drawing/readback.cpp", "x < iWindowWidth && y < iWindowHeight",
     "x <= iWindowWidth && y < iWindowHeight", LIBRARY),
    ("printed picture's top from the window", "graphics/drawing/print.cpp",
     "const int top = Halved(printableHeight - printedHeight);",
     "const int top = Halved(printableHeight - height);", LIBRARY),
    ("printed height rounded", "graphics/drawing/print.cpp",
     "static_cast<double>(printableWidth) * height / width)",
     "static_cast<double>(printableWidth) * height / width + 0.5)", LIBRARY),
    ("refusal text", "graphics/drawing/print.cpp", '"Your printer does not support bitblts.  Sorry"',
     '"Your printer does not support bitblts. Sorry"', LIBRARY),
    ("image drawn stretched when one size is given", "graphics/images/draw.cpp", "if (width == -1 || height == -1)",
     "if (width == -1 && height == -1)", LIBRARY),
    ("buffer cleared one short", "graphics/window/buffering.cpp", "return size == INT_MIN ? INT_MIN : size - 1;",
     "return size == INT_MIN ? INT_MIN : size - 2;", LIBRARY),
    ("empty click queue gives 0", "graphics/window/input.cpp", "        x = -1;\n        y = -1;\n        return CLICK_NONE;",
     "        x = 0;\n        y = 0;\n        return CLICK_NONE;", LIBRARY),
    ("function keys counted from 0", "graphics/window/pump.cpp", "virtualKey - (VK_F1 - 1)", "virtualKey - VK_F1",
     LIBRARY),
    ("click position sign-extended", "graphics/window/pump.cpp", "int PositionY(LPARAM lParam) { return HIWORD(lParam); }",
     "int PositionY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }", LIBRARY),
    ("record queue keeps its tail", "graphics/window/queue.cpp", "    tail = record;\n}", "    if (!tail)\n        tail = record;\n}",
     LIBRARY),
    ("interval elapses a tick early", "graphics/window/timing.cpp", "static_cast<DWORD>(now - last) < ms",
     "static_cast<DWORD>(now - last) + 1 < ms", LIBRARY),
    ("outer height one more", "graphics/window/lifecycle.cpp", "GetSystemMetrics(SM_CYEDGE) - 1);",
     "GetSystemMetrics(SM_CYEDGE));", LIBRARY),
    ("first font size", "graphics/window/lifecycle.cpp", "SetFont(10, 0, FAMILY_SWISS, nullptr);",
     "SetFont(12, 0, FAMILY_SWISS, nullptr);", LIBRARY),
    # The stand-in: raster rules, regions, blits, stretches, text, the message queue,
    # input routing, print.
    ("span clip bottom inclusive", "standin/gdi/raster/spans.cpp", "y < clip_.top || y >= clip_.bottom",
     "y < clip_.top || y > clip_.bottom", RASTER),
    ("region hit test inclusive", "standin/gdi/raster/spans.cpp", "if (x >= it->x0 && x < it->x1) return true;",
     "if (x >= it->x0 && x <= it->x1) return true;", RASTER),
    ("span subtraction skips touching spans", "standin/gdi/raster/spans.cpp",
     "other.spans_[j].x1 <= s.x0", "other.spans_[j].x1 < s.x0", RASTER),
    ("rounded region's box one wider", "standin/gdi/raster/region.cpp",
     "int64_t l = std::min(l_, r_), r = std::max(l_, r_) - 1;", "int64_t l = std::min(l_, r_), r = std::max(l_, r_);",
     RASTER),
    ("inside-frame right edge rounding", "standin/gdi/raster/shapes.cpp", "box.right -= (w - 1) / 2;",
     "box.right -= w / 2;", RASTER),
    ("wide outline's interior rounding", "standin/gdi/raster/shapes.cpp", "Box inner{box.left + (w + 1) / 2",
     "Box inner{box.left + w / 2", RASTER),
    ("small rounded corners drawn square", "standin/gdi/raster/shapes.cpp", "if (ew <= 2 || eh <= 2) return DrawRectangle",
     "if (ew < 2 || eh < 2) return DrawRectangle", RASTER),
    ("line minor step rounding", "standin/gdi/raster/line.cpp", "CeilDiv(2 * i * dn - adm, 2 * static_cast<i128>(adm))",
     "CeilDiv(2 * i * dn + adm, 2 * static_cast<i128>(adm))", RASTER),
    ("unclipped line test inclusive", "standin/gdi/raster/line.cpp", "std::max(p0.x, p1.x) < clip.right",
     "std::max(p0.x, p1.x) <= clip.right", RASTER),
    ("line run end off by one", "standin/gdi/raster/line.cpp", "static_cast<int32_t>(std::max(m0, m1) + 1));",
     "static_cast<int32_t>(std::max(m0, m1)));", RASTER),
    ("winding fill starts at the wrong crossing", "standin/gdi/raster/polyfill.cpp",
     "if (before == 0 && winding != 0) start = xs[i].x;", "if (winding != 0) start = xs[i].x;", RASTER),
    ("overlapping blit copies the wrong way", "standin/gdi/raster/blit.cpp", "if (&dst == &src && dy > sy)",
     "if (&dst == &src && dy < sy)", RASTER),
    ("DIB rows aligned to bytes", "standin/gdi/raster/blit.cpp", "* bitCount + 31) / 32) * 4",
     "* bitCount + 7) / 8)", RASTER),
    ("bottom-up DIB row off by one", "standin/gdi/raster/blit.cpp", "const int64_t row = topDown ? k : h - 1 - k;",
     "const int64_t row = topDown ? k : h - k;", RASTER),
    ("DIB red and blue swapped", "standin/gdi/raster/blit.cpp",
     "static_cast<Pixel>(p[0]) | (static_cast<Pixel>(p[1]) << 8) | (static_cast<Pixel>(p[2]) << 16)",
     "static_cast<Pixel>(p[2]) | (static_cast<Pixel>(p[1]) << 8) | (static_cast<Pixel>(p[0]) << 16)", RASTER),
    ("enlarging stretch picks the pixel rounded", "standin/gdi/raster/stretch.cpp",
     "first = last = static_cast<int64_t>((S * (2 * static_cast<i128>(d) + 1) - 1) / (2 * D));",
     "first = last = static_cast<int64_t>((S * (2 * static_cast<i128>(d) + 1)) / (2 * D));", RASTER),
    ("equal sizes stretch as shrinking", "standin/gdi/raster/stretch.cpp", "const bool enlarging = ad >= as;",
     "const bool enlarging = ad > as;", RASTER),
    ("mix table off by one", "standin/gdi/raster/writer.cpp", "const unsigned table = static_cast<unsigned>(rop2 - 1);",
     "const unsigned table = static_cast<unsigned>(rop2);", RASTER),
    ("column write one short", "standin/gdi/raster/writer.cpp", "y1 = std::min<int64_t>(y1, s.height);",
     "y1 = std::min<int64_t>(y1, s.height - 1);", RASTER),
    ("region box bottom one short", "standin/gdi/regions.cpp", "box.bottom = std::max<LONG>(box.bottom, s.y + 1);",
     "box.bottom = std::max<LONG>(box.bottom, s.y);", RASTER),
    ("inverted region drawn with the pen", "standin/gdi/regions.cpp", "Paint(*dc, rgn->region, raster::MixFor(R2_NOT, 0));",
     "Paint(*dc, rgn->region, raster::MixFor(R2_XORPEN, 0));", RASTER),
    ("monochrome tie goes to white", "standin/gdi/drawstate.cpp", "return toWhite < toBlack ? 0xFFFFFFu : 0u;",
     "return toWhite <= toBlack ? 0xFFFFFFu : 0u;", RASTER),
    ("centred text rounding", "standin/gdi/text.cpp", "case TA_CENTER: left -= width / 2; break;",
     "case TA_CENTER: left -= (width + 1) / 2; break;", TEXT),
    ("empty text fails", "standin/gdi/text.cpp", "if (c == 0) return TRUE;", "if (c == 0) return FALSE;", TEXT),
    ("SetBkMode answers the new mode", "standin/gdi/text.cpp", "    dc->bkMode = mode;\n    return previous;",
     "    dc->bkMode = mode;\n    return mode;", TEXT),
    ("italic slant constant", "standin/font/instance.cpp", "kSlant{1 << 16, (1 << 16) >> 2, 0, 1 << 16}",
     "kSlant{1 << 16, (1 << 16) >> 3, 0, 1 << 16}", TEXT),
    ("glyph box rounding", "standin/font/instance.cpp",
     "return Box{box.xMin & -64, box.yMin & -64, (box.xMax + 63) & -64, (box.yMax + 63) & -64};",
     "return Box{box.xMin & -64, box.yMin & -64, (box.xMax + 32) & -64, (box.yMax + 63) & -64};", TEXT),
    ("key-up lParam without its previous-state bit", "standin/user/queue.cpp", "lp |= (1u << 30) | (1u << 31);",
     "lp |= 1u << 31;", USER),
    ("input hit test inclusive", "standin/user/queue.cpp", "e.x < source->ClientWidth() && e.y < source->ClientHeight()",
     "e.x <= source->ClientWidth() && e.y < source->ClientHeight()", USER),
    ("message filter excludes its last message", "standin/user/queue.cpp", "(message >= min && message <= max)",
     "(message >= min && message < max)", USER),
    ("F10 is no system key", "standin/user/queue.cpp", "bool sys = alt || e.virtualKey == VK_F10;", "bool sys = alt;",
     USER),
    ("control letters counted from 0", "standin/user/keyboard.cpp", "return static_cast<unsigned>(vk - 'A' + 1);",
     "return static_cast<unsigned>(vk - 'A');", USER),
    ("return key's characters swapped", "standin/user/keyboard.cpp", "return mods.control ? 10 : 13;",
     "return mods.control ? 13 : 10;", USER),
    ("caption height metric", "standin/user/window.cpp", "    case SM_CYMENU:\n        return 19;",
     "    case SM_CYMENU:\n        return 20;", USER),
    ("window frame's caption", "standin/user/window.cpp", "f.top = 19;", "f.top = 18;", USER),
    ("device millimetres truncated", "standin/gdi/devcaps.cpp", "pixels * 25.4 / dpi + 0.5)", "pixels * 25.4 / dpi)",
     PRINT),
    ("printable edge rounded down", "standin/print/page_geometry.cpp", "(int64_t{hmm} * dpi + kHmmPerInch - 1) / kHmmPerInch",
     "(int64_t{hmm} * dpi) / kHmmPerInch", PRINT),
    ("saved PDFs numbered from 0", "standin/print/printer_dc.cpp", "for (int n = 1; n < 100000; ++n)",
     "for (int n = 0; n < 100000; ++n)", PRINT),
    ("dialog's paper line in centimetres", "standin/print/print_calls.cpp", "g.media.width / 100.0, g.media.length / 100.0",
     "g.media.width / 1000.0, g.media.length / 100.0", PRINT),
    ("print dialog takes a short record", "standin/print/print_calls.cpp", "pPD->lStructSize != sizeof(PRINTDLGA)",
     "pPD->lStructSize < sizeof(PRINTDLGA)", PRINT),
    ("clock in tenths of milliseconds", "standin/kernel/kernel.cpp", "static_cast<uint64_t>(now.tv_nsec) / 1000000u",
     "static_cast<uint64_t>(now.tv_nsec) / 100000u", USER),
]


# Faults run only with --all or by name: more of the same kinds, for a longer run.
EXTRA = {
    "arc centre rounded up", "face name cut one short", "text leaves the current position",
    "buffer cleared one short", "record queue keeps its tail", "interval elapses a tick early",
    "span subtraction skips touching spans", "wide outline's interior rounding", "unclipped line test inclusive",
    "equal sizes stretch as shrinking", "column write one short", "monochrome tie goes to white",
    "SetBkMode answers the new mode", "glyph box rounding", "F10 is no system key",
    "return key's characters swapped", "window frame's caption", "print dialog takes a short record",
    "clock in tenths of milliseconds",
}


def run(command, cwd, timeout):
    return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def ctest_command(regex):
    command = ["ctest", "-j2", "--timeout", str(TEST_SECONDS), "--stop-on-failure", "-E", SKIPPED]
    return command + (["-R", regex] if regex else [])


def programs_for(build, regex):
    """The build targets whose programs the selected tests run, so that a fault relinks
    only those (not the benchmarks, examples and Windows-comparison tools)."""
    listing = subprocess.run(ctest_command(regex) + ["--show-only=json-v1"], cwd=build, capture_output=True,
                             text=True, check=True)
    known = subprocess.run(["cmake", "--build", ".", "--target", "help"], cwd=build, capture_output=True,
                           text=True).stdout
    targets = {line.split()[1] for line in known.splitlines() if line.startswith("... ")}
    wanted = set()
    for test in json.loads(listing.stdout).get("tests", []):
        for word in test.get("command", []):
            name = os.path.basename(word)
            if name in targets and os.path.isfile(word):
                wanted.add(name)
    return sorted(wanted)


def tests_pass(build, regex, targets):
    """True when the tests pass, False when one fails or they run out of time, None when
    the build fails."""
    started = time.monotonic()
    try:
        if run(["cmake", "--build", ".", "-j2", "--target", *targets], build, FAULT_SECONDS) != 0:
            return None
        left = FAULT_SECONDS - (time.monotonic() - started)
        return run(ctest_command(regex), build, max(left, 30)) == 0
    except subprocess.TimeoutExpired:
        return False


def main():
    args = sys.argv[1:]
    if not args:
        sys.exit(__doc__)
    build = pathlib.Path(args[0]).resolve()
    names = [a for a in args[1:] if not a.startswith("--")]
    if "--list" in args:
        for f in FAULTS:
            print(f"{f[0]}{'  (extra)' if f[0] in EXTRA else ''}")
        return
    unknown = set(names) - {f[0] for f in FAULTS}
    if unknown:
        sys.exit(f"no such fault: {', '.join(sorted(unknown))}")
    chosen = [f for f in FAULTS if (f[0] in names) if names] or \
             [f for f in FAULTS if "--all" in args or f[0] not in EXTRA]
    # Areas taken in turn, so that a run cut short still samples all of them.
    areas = {}
    for f in chosen:
        areas.setdefault(f[4], []).append(f)
    chosen = [f for round_ in zip_longest(*areas.values()) for f in round_ if f]
    for name, file, text, _, _ in chosen:
        if (SOURCE / file).read_text().count(text) != 1:
            sys.exit(f"{name}: the text to change is not once in {file}")
    targets = {regex: programs_for(build, regex) for regex in {f[4] for f in chosen}}
    # Once, with every chosen suite: the faults are measured against a passing suite.
    everything = "|".join(sorted(targets)) if "" not in targets else ""
    if not tests_pass(build, everything, sorted({t for ts in targets.values() for t in ts})):
        sys.exit("the tests fail (or do not build) without any fault")
    caught, survived, stillborn = [], [], []
    began = time.monotonic()
    for name, file, text, replacement, regex in chosen:
        path = SOURCE / file
        original = path.read_text()
        try:
            path.write_text(original.replace(text, replacement))
            result = tests_pass(build, regex, targets[regex])
        finally:
            path.write_text(original)
        outcome = "does not build" if result is None else "survived" if result else "caught"
        print(f"{outcome:>14}  {name}  ({file})", flush=True)
        (stillborn if result is None else survived if result else caught).append(name)
    # Put the restored sources' objects back, so the folder matches the tree again.
    run(["cmake", "--build", ".", "-j2", "--target", *sorted({t for ts in targets.values() for t in ts})],
        build, FAULT_SECONDS)
    print(f"caught {len(caught)} of {len(caught) + len(survived)}" +
          (f"; {len(stillborn)} did not build" if stillborn else "") +
          f" ({(time.monotonic() - began) / 60:.0f} minutes)")
    for name in survived:
        print(f"  survived: {name}")
    for name in stillborn:
        print(f"  did not build: {name}")


if __name__ == "__main__":
    main()
