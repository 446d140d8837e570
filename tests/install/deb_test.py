#!/usr/bin/env python3
"""The Debian package, made with cpack from the build and looked at without installing it:
its fields, that it depends on Debian's runtime packages (no development ones) for every
library its programs load, its files; then, unpacked into a scratch folder, a program
built against it with pkg-config and the game it carries, each run headless.

  deb_test.py BUILD_DIR SOURCE_DIR WORK_DIR
"""
import glob
import os
import shutil
import subprocess
import sys

import starter_check
from starter_check import fail, run

RUNTIME = ["libsdl2-2.0-0", "libfreetype6", "libfontconfig1", "libjpeg62-turbo", "libpng16-16",
           "libcairo2", "libcups2", "libc6", "libstdc++6", "fonts-liberation"]
FILES = ["./usr/include/quillgraph/graphics.h", "./usr/include/quillgraph/standin/win32.h",
         "./usr/lib/libquillgraph.so.0.1.0", "./usr/lib/libquillgraph.so.0", "./usr/lib/libquillgraph.so",
         "./usr/lib/libquillgraph.a", "./usr/lib/cmake/Quillgraph/QuillgraphConfig.cmake",
         "./usr/lib/pkgconfig/quillgraph.pc", "./usr/games/zarn", "./usr/lib/games/zarn/zarn",
         "./usr/share/games/zarn/logo.jpg", "./usr/share/games/zarn/frame66.jpg",
         "./usr/share/quillgraph/starter/main.cpp"]


def headless(command, folder, script, extra_env=None):
    with open(os.path.join(folder, "inputs.txt"), "w") as f:
        f.write(script)
    env = dict(os.environ, QUILLGRAPH_BACKEND="headless", QUILLGRAPH_CLOCK="virtual",
               QUILLGRAPH_SCRIPT=os.path.join(folder, "inputs.txt"),
               QUILLGRAPH_SCREENSHOT=os.path.join(folder, "end.png"), **(extra_env or {}))
    env.pop("DISPLAY", None)
    return subprocess.run(command, cwd=folder, env=env, capture_output=True, text=True,
                          stdin=subprocess.DEVNULL, timeout=60)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    build, source, work = (os.path.abspath(a) for a in sys.argv[1:])
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    run(["cpack", "-G", "DEB", "-B", work], cwd=build)
    debs = glob.glob(os.path.join(work, "quillgraph_*.deb"))
    if len(debs) != 1:
        fail(f"cpack made {debs}, not one quillgraph_*.deb")
    deb = debs[0]
    arch = run(["dpkg", "--print-architecture"]).strip()
    if os.path.basename(deb) != f"quillgraph_0.1.0_{arch}.deb":
        fail(f"the package is called {os.path.basename(deb)}")

    fields = {k: run(["dpkg-deb", "-f", deb, k]).strip() for k in ("Package", "Architecture", "Depends")}
    if fields["Package"] != "quillgraph" or fields["Architecture"] != arch:
        fail(f"package fields {fields}")
    depends = [d.split("(")[0].strip() for d in fields["Depends"].split(",")]
    for name in RUNTIME:
        if name not in depends:
            fail(f"Depends does not name {name}: {fields['Depends']}")
    for name in depends:
        if name.endswith("-dev"):
            fail(f"Depends names the development package {name}")
        # A runtime package that exists: the build machine has every one of them.
        status = subprocess.run(["dpkg-query", "-W", "-f=${Status}", name], capture_output=True, text=True)
        if "installed" not in status.stdout:
            fail(f"Depends names {name}, which is no package installed here")

    files = run(["dpkg-deb", "-c", deb])
    names = [line.split()[5] for line in files.splitlines()]
    for path in FILES:
        if path not in names:
            fail(f"the package lacks {path}")
    outside = [n for n in names if not n.startswith("./usr/")and n != "./"]
    if outside or any("testhooks" in n for n in names):
        fail(f"the package holds files it should not: {outside or [n for n in names if 'testhooks' in n]}")

    # Unpacked, not installed: pkg-config finds the package's files from where they lie.
    root = os.path.join(work, "root")
    run(["dpkg-deb", "-x", deb, root])
    usr = os.path.join(root, "usr")
    flags = run(["pkg-config", "--cflags", "--libs", "quillgraph"],
                env=dict(os.environ, PKG_CONFIG_PATH=os.path.join(usr, "lib", "pkgconfig"))).split()
    program = os.path.join(work, "hello")
    run(["g++", os.path.join(usr, "share", "quillgraph", "starter", "main.cpp"), "-o", program, *flags])
    done = headless([program], work, starter_check.SCRIPT, {"LD_LIBRARY_PATH": os.path.join(usr, "lib")})
    if done.returncode != 0:
        fail(f"the starter built against the package ended with {done.returncode}: {done.stderr}")
    wrong = starter_check.problems(starter_check.read(os.path.join(work, "before.png")),
                                   starter_check.read(os.path.join(work, "end.png")))
    if wrong:
        fail("the starter built against the package: " + "; ".join(wrong))

    # The game through its launcher, which finds the pictures beside it: ESC, then the
    # click that ends the turn and the one that closes the window.
    game = os.path.join(work, "game")
    os.makedirs(game)
    done = headless([os.path.join(usr, "games", "zarn")], game, "key Escape\nclick 800 450\nclick 800 450\n")
    if done.returncode != 0 or "finish execution" not in done.stdout:
        fail(f"the packaged game ended with {done.returncode}: {done.stdout}{done.stderr}")
    _, _, rows = starter_check.read(os.path.join(game, "end.png"))
    if rows[15][15] != (0, 0, 0) or rows[65][560] == (255, 255, 255):
        fail("the packaged game did not draw its board and logo")
    print(f"ok: {os.path.basename(deb)}: Depends {fields['Depends']}; {len(names)} entries; "
          "a program built against it and its game run headless")


if __name__ == "__main__":
    main()
