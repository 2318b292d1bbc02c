"""A windowed run on a virtual X display, then a second start: the second brings the first
one's window to the front, says so in one line on standard error and ends with status 0.
The window carries the program's icon at the sizes Qt hands the window manager (at zoom 1,
every size of the artwork up to 128 pixels).
    check_second_start.py <korvyn>
Runs itself under xvfb-run; skipped (status 77) where no X server can start."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from korvyn_check import check

SKIP = 77
LINE = b"Korvyn is already running; its window was brought to the front.\n"
ICON_SIZES = [16, 24, 32, 48, 64, 128]

program = sys.argv[1]


def outside():
    """Starts an X server for the checks below, or skips."""
    missing = [tool for tool in ("xvfb-run", "xdotool", "xprop") if not shutil.which(tool)]
    if missing:
        print("skipped: %s not installed (scripts/bootstrap installs them)" % " ".join(missing))
        sys.exit(SKIP)
    started = os.path.join(tempfile.mkdtemp(prefix="korvyn-x-"), "started")
    env = dict(os.environ, KORVYN_X_STARTED=started)
    result = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", sys.executable,
                             __file__, program], env=env, timeout=180)
    if not os.path.exists(started):
        print("skipped: no virtual X server could start")
        sys.exit(SKIP)
    sys.exit(result.returncode)


def inside():
    open(os.environ["KORVYN_X_STARTED"], "w").close()
    env = dict(os.environ, XDG_RUNTIME_DIR=tempfile.mkdtemp(prefix="korvyn-run-"))
    for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    # The X keyboard library hands strndup a buffer without a terminating zero, which is
    # allowed but trips the sanitizer build's strict string checks.
    if "ASAN_OPTIONS" in env:
        env["ASAN_OPTIONS"] += ":strict_string_checks=0"
    args = [program, "--driver=sim:demo", "--zoom=1"]
    first = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        # Its window shows once it holds the one-instance lock.
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                                str(first.pid)], capture_output=True, timeout=60)
        check(found.returncode == 0 and found.stdout.split(), "the first window appeared")
        window = found.stdout.split()[0].decode()

        second = subprocess.run(args, env=env, capture_output=True, timeout=60)
        check(second.returncode == 0 and second.stderr == LINE and first.poll() is None,
              "second start: status %d, %r; the first run goes on" % (second.returncode,
                                                                      second.stderr))

        icon = subprocess.run(["xprop", "-id", window, "_NET_WM_ICON"], capture_output=True,
                              text=True, timeout=30).stdout
        sizes = sorted(int(w) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", icon) if w == h)
        check(sizes == ICON_SIZES, "window icon sizes %r" % sizes)
    finally:
        first.terminate()
        first.wait(timeout=30)
    check(first.returncode == 0, "the first run ends on TERM: %d %r" % (first.returncode,
                                                                       first.stderr.read()))
    print("ok")


if os.environ.get("KORVYN_X_STARTED"):
    inside()
else:
    outside()
