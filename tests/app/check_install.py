"""Installs the build into a fresh prefix and checks what a desktop and a packager find
there (the program stripped, the icon at every size, the AppStream description valid):
    check_install.py <cmake> <build dir>"""
import configparser
import os
import re
import shutil
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
version = subprocess.run([program, "--version"], capture_output=True)
check(version.returncode == 0 and version.stdout.startswith(b"korvyn "), "installed --version")

entry = configparser.ConfigParser(interpolation=None)
entry.read(os.path.join(prefix, "share", "applications", "korvyn.desktop"))
desktop = entry["Desktop Entry"]
check((desktop.get("type"), desktop.get("name"), desktop.get("exec"), desktop.get("icon")) ==
      ("Application", "Korvyn", "korvyn", "korvyn"), "desktop entry %r" % dict(desktop))

# No debugging information and no symbol table in the installed program.
sections = subprocess.run(["readelf", "-S", "-W", program], capture_output=True, text=True).stdout
unstripped = sorted(set(re.findall(r"\s(\.debug_\w+|\.symtab)\s", sections)))
check(".text" in sections and not unstripped, "installed program not stripped: %r" % unstripped)

for size in (16, 24, 32, 48, 64, 128, 256, 512):
    with open(os.path.join(prefix, "share/icons/hicolor/%dx%d/apps/korvyn.png" % (size, size)),
              "rb") as f:
        head = f.read(26)
    check(head[:8] == b"\x89PNG\r\n\x1a\n" and
          struct.unpack(">IIBB", head[16:26]) == (size, size, 8, 6), "%d px RGBA PNG icon" % size)

metainfo = os.path.join(prefix, "share", "metainfo", "org.korvyn.korvyn.metainfo.xml")
valid = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo], capture_output=True)
check(valid.returncode == 0, "appstreamcli validate: %r" % valid.stdout)
with open(metainfo, encoding="utf-8") as f:
    releases = re.findall(r'<release version="([^"]+)"', f.read())
check(releases and version.stdout.decode().split()[1] == releases[0],
      "the newest release %r is the program's version %r" % (releases[:1], version.stdout))

with open(os.path.join(prefix, "share", "man", "man1", "korvyn.1"), encoding="utf-8") as f:
    check(".SH OPTIONS" in f.read(), "the manual page is installed")
shutil.rmtree(prefix)
print("ok")
