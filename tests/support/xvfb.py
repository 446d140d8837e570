"""The one way the tests start a private X server: Xvfb on a free display, which it writes
once it is ready (-displayfd), answering before the test goes on; and the leak
suppressions for system libraries that programs under AddressSanitizer need on a display."""
import contextlib
import os
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def suppress_system_leaks():
    """Leaks inside system libraries (X, fonts) are not ours to fix."""
    suppressions = os.path.join(HERE, "..", "standin", "lsan-system.supp")
    previous = os.environ.get("LSAN_OPTIONS")
    os.environ["LSAN_OPTIONS"] = (f"print_suppressions=0:suppressions={suppressions}"
                                  + (f":{previous}" if previous else ""))


@contextlib.contextmanager
def display(*server_args, size="1280x1024x24"):
    """Sets DISPLAY to a fresh server for the block; raises RuntimeError if none starts."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", size, "-nolisten", "tcp",
                               *server_args], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as reader:
        number = reader.readline().strip()  # empty when Xvfb gave up
    previous = os.environ.get("DISPLAY")
    try:
        if not number:
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = f":{number}"
        # On a loaded machine the first connections can be refused just after it is ready.
        for _ in range(100):
            if subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0:
                break
            time.sleep(0.05)
        yield os.environ["DISPLAY"]
    finally:
        if previous is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = previous
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait()
