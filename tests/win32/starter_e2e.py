#!/usr/bin/env python3
"""A Windows user's first program: this Windows build installed into a scratch prefix
(headers, libquillgraph.a, the libjpeg it needs, the CMake package), the starter project
copied out of the repository and built against it with the same toolchain, then run under
Wine on the X display of a Wine session: its picture on the screen, a click answered with
a dot where it was, a last click ending it with status 0.

  starter_e2e.py BUILD_DIR SOURCE_DIR WORK_DIR TOOLCHAIN_FILE WINDOW_PROBE_EXE
"""
import os
import shutil
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "zarn"))
sys.path.insert(0, os.path.join(here, "..", "install"))
import starter_check  # noqa: E402
import zarn_play  # noqa: E402
from zarn_play import fail  # noqa: E402

TITLE = "My first Quillgraph program"
INSTALLED = ["include/quillgraph/graphics.h", "include/quillgraph/win32api.h", "include/quillgraph/colors.def",
             "lib/libquillgraph.a", "lib/quillgraph/libjpeg.a", "lib/cmake/Quillgraph/QuillgraphConfig.cmake"]


def run(command):
    done = subprocess.run(command, capture_output=True, text=True)
    if done.returncode != 0:
        fail(f"{' '.join(command)} ended with {done.returncode}:\n{done.stdout}{done.stderr}")


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    build, source, work, toolchain, probe = (os.path.abspath(a) for a in sys.argv[1:])
    shutil.rmtree(work, ignore_errors=True)
    prefix = os.path.join(work, "prefix")
    run(["cmake", "--install", build, "--prefix", prefix])
    for path in INSTALLED:
        if not os.path.isfile(os.path.join(prefix, path)):
            fail(f"the Windows package lacks {path}")
    if os.path.exists(os.path.join(prefix, "include", "quillgraph", "standin")):
        fail("the Windows package carries the stand-in's header, which Windows programs never use")

    starter = os.path.join(work, "starter")
    shutil.copytree(os.path.join(source, "templates", "starter"), starter)
    folder = os.path.join(work, "build")
    # Cross-compiling, find_package looks only below the toolchain's root: point it at the
    # package. On Windows itself CMAKE_PREFIX_PATH does, as on Linux.
    run(["cmake", "-S", starter, "-B", folder, f"-DCMAKE_TOOLCHAIN_FILE={toolchain}",
         f"-DQuillgraph_DIR={prefix}/lib/cmake/Quillgraph", "-DCMAKE_BUILD_TYPE=Release"])
    run(["cmake", "--build", folder])

    def find_window():
        found = subprocess.run(["wine", probe, TITLE], capture_output=True, text=True,
                               timeout=zarn_play.TOOL_SECONDS)
        return tuple(map(int, found.stdout.split())) if found.returncode == 0 else None

    game = zarn_play.Game(["wine", "hello.exe"], folder, find_window, os.path.join(work, "console.txt"))
    try:
        game.wait_for_window()

        def matches(which):
            _, _, pixel = zarn_play.screenshot()
            ox, oy = game.origin
            return all(pixel(ox + x, oy + y) == point[which]
                       for point in starter_check.EXPECTED for x, y in [point[:2]])

        game.wait_until("the starter's drawing", lambda: matches(2))
        game.click(*starter_check.CLICK)
        game.wait_until("the dot where the click was", lambda: matches(3))
        game.wait_until("the closing prompt", lambda: starter_check.PROMPT in game.console())
        game.click(10, 10)
        status = game.wait_for_exit("the last click")
        if status != 0:
            fail(f"hello.exe ended with status {status}: {game.console()}")
    finally:
        if game.process.poll() is None:
            game.process.kill()
            game.process.wait()
    print("ok: the starter built against the installed Windows package and ran under Wine")


if __name__ == "__main__":
    main()
