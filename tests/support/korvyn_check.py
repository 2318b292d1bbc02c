"""What the scripts' tests share: the list's column headers, the failure report and the
environment of a headless run."""
import os
import sys

HEADERS = ["Name", "Sig", "Ch", "Type", "Sec", "MAC", "Best sig", "Worst sig", "First seen",
           "Last seen"]
NUMERIC = {1, 2, 6, 7}  # the columns the workbook holds as numbers


def check(condition, message):
    if not condition:
        print("FAIL: " + message, file=sys.stderr)
        sys.exit(1)


def headless_env(**extra):
    """The environment without a display, so that the program runs headless."""
    env = dict(os.environ, **extra)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    return env
