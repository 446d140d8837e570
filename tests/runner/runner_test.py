#!/usr/bin/env python3
"""The runner with a program that never waits for input: a pause runs by the program's
(virtual) clock, and the screenshot and key after it go in when it is over, between two
frames; a pause while the program waits moves the virtual clock on; a shifted character
arrives as typed; each window leaves its own picture; once the script is over the waiting
window is closed, which ends the program normally.

  runner_test.py PACED_PROGRAM
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import pngfile  # noqa: E402

SCRIPT = """# the animation: ten frames of 100 ms, then a picture and Escape between two frames
pause 1000
screenshot frames.png
key Escape
# the second window waits for a key: five seconds pass on the program's clock first
pause 5000
key A
"""


def fail(message):
    print(f"FAIL: {message}", flush=True)
    sys.exit(1)


def colour(path):
    width, height, rows = pngfile.read(path)
    return width, height, rows[height // 2][width // 2]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    program = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "inputs.txt"), "w") as f:
            f.write(SCRIPT)
        env = dict(os.environ, QUILLGRAPH_BACKEND="headless", QUILLGRAPH_CLOCK="virtual",
                   QUILLGRAPH_SCRIPT="inputs.txt", QUILLGRAPH_SCREENSHOT="end.png")
        env.pop("DISPLAY", None)
        try:
            done = subprocess.run([program], cwd=work, env=env, capture_output=True, text=True,
                                  stdin=subprocess.DEVNULL, timeout=60)
        except subprocess.TimeoutExpired:
            fail("the program did not end: a pause or the end of the script was never reached")
        if done.returncode != 0 or done.stdout != "frames done\nkey A after 5000 ms\n":
            fail(f"status {done.returncode}, output {done.stdout!r}, errors {done.stderr!r}")
        if "the script of inputs is over: closing the window" not in done.stderr:
            fail(f"the end of the script was not reported: {done.stderr!r}")
        # The pause began at the first frame's 100 ms rest and ended at the eleventh's.
        expected = {"frames.png": (100, 50, (10, 0, 0)), "end.png": (100, 50, (10, 0, 0)),
                    "end-2.png": (60, 40, (0, 255, 0))}
        for name, want in expected.items():
            path = os.path.join(work, name)
            if not os.path.exists(path):
                fail(f"no picture {name}: {sorted(os.listdir(work))}")
            if colour(path) != want:
                fail(f"{name}: {colour(path)}, expected {want}")
    print("ok: pauses by the clock drive an animation; each window left its picture")


if __name__ == "__main__":
    main()
