#!/usr/bin/env python3
"""A user's program against Quillgraph, as the README says to build it: the build installed
into a scratch prefix, the starter project copied out of the repository and built with the
CMake package (shared and static), with pkg-config, and with add_subdirectory of this
checkout; each run headless with a script of one click, and its pictures checked.

  install_test.py BUILD_DIR SOURCE_DIR WORK_DIR
"""
import os
import shutil
import subprocess
import sys

import starter_check
from starter_check import fail, run


def needed_libraries(program):
    dynamic = run(["readelf", "-d", program])
    return [line.split("[")[1].rstrip("]") for line in dynamic.splitlines() if "(NEEDED)" in line]


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    build, source, work = (os.path.abspath(a) for a in sys.argv[1:])
    prefix = os.path.join(work, "prefix")
    shutil.rmtree(prefix, ignore_errors=True)
    run(["cmake", "--install", build, "--prefix", prefix])

    # What a program may include: the header, what it includes, and nothing else.
    headers = sorted(os.path.relpath(os.path.join(d, f), prefix)
                     for d, _, files in os.walk(os.path.join(prefix, "include")) for f in files)
    expected = ["include/quillgraph/colors.def", "include/quillgraph/graphics.h",
                "include/quillgraph/standin/win32.h", "include/quillgraph/win32api.h"]
    if headers != expected:
        fail(f"installed headers {headers}, expected {expected}")

    starter = os.path.join(work, "starter")
    shutil.rmtree(starter, ignore_errors=True)
    shutil.copytree(os.path.join(source, "templates", "starter"), starter)
    programs = {}
    for name, options in (("cmake-shared", [f"-DCMAKE_PREFIX_PATH={prefix}"]),
                          ("cmake-static", [f"-DCMAKE_PREFIX_PATH={prefix}", "-DQUILLGRAPH_STATIC=ON"]),
                          ("add-subdirectory", [f"-DQUILLGRAPH_SOURCE={source}"])):
        folder = os.path.join(work, name)
        # Kept between runs: the checkout's library then builds again only when it changed.
        if name != "add-subdirectory":
            shutil.rmtree(folder, ignore_errors=True)
        run(["cmake", "-S", starter, "-B", folder, "-DCMAKE_BUILD_TYPE=Release", *options])
        run(["cmake", "--build", folder, "-j", os.environ.get("QG_JOBS", "2")])
        programs[name] = os.path.join(folder, "hello")

    pc_dir = os.path.join(prefix, "lib", "pkgconfig")
    env = dict(os.environ, PKG_CONFIG_PATH=pc_dir)
    flags = run(["pkg-config", "--cflags", "--libs", "quillgraph"], env=env).split()
    folder = os.path.join(work, "pkg-config")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    programs["pkg-config"] = os.path.join(folder, "hello")
    run(["g++", os.path.join(starter, "main.cpp"), "-o", programs["pkg-config"], *flags])

    # The shared builds use the installed library; the static ones carry their own.
    for name, shared in (("cmake-shared", True), ("pkg-config", True), ("cmake-static", False),
                         ("add-subdirectory", False)):
        linked = "libquillgraph.so.0" in needed_libraries(programs[name])
        if linked != shared:
            fail(f"{name}: libquillgraph.so.0 {'not ' if shared else ''}among the libraries it needs")

    pictures = {}
    for name, program in programs.items():
        folder = os.path.dirname(program)
        with open(os.path.join(folder, "inputs.txt"), "w") as f:
            f.write(starter_check.SCRIPT)
        env = dict(os.environ, QUILLGRAPH_BACKEND="headless", QUILLGRAPH_SCRIPT="inputs.txt",
                   QUILLGRAPH_SCREENSHOT="end.png", LD_LIBRARY_PATH=os.path.join(prefix, "lib"))
        env.pop("DISPLAY", None)
        done = subprocess.run([program], cwd=folder, env=env, capture_output=True, text=True,
                              stdin=subprocess.DEVNULL, timeout=60)
        if done.returncode != 0 or "finish execution" not in done.stdout:
            fail(f"{name}: the headless run ended with {done.returncode}:\n{done.stdout}{done.stderr}")
        before = starter_check.read(os.path.join(folder, "before.png"))
        after = starter_check.read(os.path.join(folder, "end.png"))
        wrong = starter_check.problems(before, after)
        if wrong:
            fail(f"{name}: " + "; ".join(wrong))
        pictures[name] = after
    first = next(iter(pictures))
    for name, picture in pictures.items():
        if picture != pictures[first]:
            fail(f"{name} drew another picture than {first}")
    print(f"ok: the starter built and ran headless the same way with {', '.join(programs)}")


if __name__ == "__main__":
    main()
