"""Installs the build into a fresh prefix and checks what a desktop finds there:
    check_install.py <cmake> <build dir>"""
import configparser
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from korvyn_check import check

cmake, build = sys.argv[1], sys.argv[2]
prefix = tempfile.mkdtemp(prefix="korvyn-install-")


result = subprocess.run([cmake, "--install", build, "--prefix", prefix], capture_output=True)
check(result.returncode == 0, "install: " + result.stderr.decode())

program = os.path.join(prefix, "bin", "korvyn")
check(os.access(program, os.X_OK), "bin/korvyn is executable")
version = subprocess.run([program, "--version"], capture_output=True)
check(version.returncode == 0 and version.stdout.startswith(b"korvyn "), "installed --version")

entry = configparser.ConfigParser(interpolation=None)
entry.optionxform = str
entry.read(os.path.join(prefix, "share", "applications", "korvyn.desktop"))
desktop = entry["Desktop Entry"]
check(desktop.get("Type") == "Application" and desktop.get("Name") == "Korvyn", "entry")
check(desktop.get("Exec") == "korvyn" and desktop.get("Icon") == "korvyn", "Exec and Icon")
check(desktop.get("Categories", "").endswith(";"), "Categories is a list")

for size in (48, 128):
    icon = os.path.join(prefix, "share", "icons", "hicolor", "%dx%d" % (size, size), "apps",
                        "korvyn.png")
    with open(icon, "rb") as f:
        head = f.read(26)
    check(head[:8] == b"\x89PNG\r\n\x1a\n", "%s is a PNG" % icon)
    width, height, depth, colour = struct.unpack(">IIBB", head[16:26])
    check((width, height, depth, colour) == (size, size, 8, 6), "%d px RGBA icon" % size)

with open(os.path.join(prefix, "share", "man", "man1", "korvyn.1"), encoding="utf-8") as f:
    manual = f.read().replace("\\-", "-")
usage = subprocess.run([program, "--help"], capture_output=True).stdout.decode()
options = sorted(set(re.findall(r"^\s+(--[a-z]+)", usage, re.M)))
check(len(options) >= 16, "options in --help: %r" % options)
for option in options:
    check(option in manual, "the manual describes " + option)
print("ok")
