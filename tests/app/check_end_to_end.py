"""Runs the program headless and reads back what it printed and saved:
    check_end_to_end.py <korvyn> <case: one of the functions at the end>"""
import os
import resource
import signal
import stat
import subprocess
import sys
import tempfile
import time

import xlrd

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from korvyn_check import HEADERS, NUMERIC, check, headless_env


program, case = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix="korvyn-e2e-")


def run(*args, env=None, preexec_fn=None):
    return subprocess.run([program, *args], capture_output=True, env=env or headless_env(),
                          timeout=60, preexec_fn=preexec_fn)


SCAN = b"korvyn-scan 1\nadapter wlan0 wireless\nscan\nbss 00:0a:1b:2c:3d:4e -60 6 1 1 \"x\"\nend\n"


def workbook_value(column, text):
    """Numbers in the numeric columns ("-----" is 0), but for a 6 GHz channel ("6G37")."""
    if column not in NUMERIC or text.startswith("6G"):
        return text
    try:
        return float(text)
    except ValueError:
        return 0.0


def printed_rows(result):
    lines = result.stdout.decode("utf-8").split("\n")
    check(lines[-1] == "", "the output ends with a line break")
    return [line.split("\t") for line in lines[:-1]]


def scan_print_export():
    docs = os.path.join(work, "Documents")
    registry = os.path.join(work, "settings.reg")
    result = run("--headless", "--driver=sim:demo", "--ticks=20", "--print", "--export=xls",
                 "--documents=" + docs, "--registry=" + registry)
    err = result.stderr.decode("utf-8", "replace")
    check(result.returncode == 0, "exit status %d: %s" % (result.returncode, err))
    rows = printed_rows(result)
    check(rows[0] == HEADERS and len(rows) > 5, "header %r, %d stations" % (rows[0], len(rows)))
    files = os.listdir(docs)
    check(len(files) == 1 and files[0].startswith("Korvyn ") and files[0].endswith(".xls") and
          "Saved As: " in err and files[0] in err, "one export, its notice: %r %s" % (files, err))
    book = xlrd.open_workbook(os.path.join(docs, files[0]))
    check(book.sheet_names() == ["WI-FI"], "sheets %r" % book.sheet_names())
    sheet = book.sheet_by_index(0)
    check(sheet.nrows == len(rows) and sheet.row_values(0) == HEADERS, "%d rows" % sheet.nrows)
    for r in range(1, len(rows)):
        for c in range(10):
            value = sheet.cell_value(r, c)
            check(value == workbook_value(c, rows[r][c]), "row %d col %d: %r" % (r, c, value))
    secs = {r[4] for r in rows[1:]}
    check({"WPA2", "WPA3", "OWE", "Open"} <= secs, "kinds of security in the demo: %r" % secs)
    check(any(r[2].startswith("6G") for r in rows[1:]), "6 GHz channels in the demo")
    with open(registry, encoding="utf-8") as f:
        saved = f.read()
    check('"Adapter"="wlan0"' in saved and '"Refresh"=dword:00000002' in saved and
          "saveas" not in saved, "settings saved, the export format left alone: " + saved)


# A network of every kind of security and band, its Sec in English and Italian, and its Ch.
KINDS = [
    ('2412000 1 0 "open"', "Open", "Aperta", "1"),
    ('1 1 1 "old flag"', "WEP", "WEP Protetta", "1"),
    ('2437000 1 1 "wep" sec=wep', "WEP", "WEP Protetta", "6"),
    ('2462000 1 1 "wpa" sec=wpa width=20 center=2462000', "WPA", "WPA", "11"),
    ('5180000 1 1 "wpa2" sec=wpa2 width=80 center=5210000', "WPA2", "WPA2", "36"),
    ('5745000 1 1 "wpa3" sec=wpa3 width=160 center=5815000', "WPA3", "WPA3", "149"),
    ('5975000 1 1 "wpa2/3" sec=wpa2/3 width=80 center=5985000', "WPA2/3", "WPA2/3", "6G5"),
    ('6135000 1 1 "owe" sec=owe width=320 center=6105000', "OWE", "OWE", "6G37"),
    ('7115000 1 1 "wpa2-e" sec=wpa2-e', "WPA2-E", "WPA2-E", "6G233"),
    ('5935000 1 1 "wpa3-e" sec=wpa3-e', "WPA3-E", "WPA3-E", "6G2"),
    ('2484000 1 20 "wpa2-e by value"', "WPA2-E", "WPA2-E", "14"),
    ('5825000 0 1 "peer wpa-e" sec=wpa-e', "WPA-E", "WPA-E", "165"),
    ('9999999 1 1 "" sec=wpa2/3-e', "WPA2/3-E", "WPA2/3-E", "--"),
]


def classes_and_bands():
    """Printed in English and in Italian."""
    scan = os.path.join(work, "kinds.scan")
    with open(scan, "w", encoding="utf-8") as f:
        f.write("korvyn-scan 1\nadapter wlan0 wireless\nscan\n")
        for k, kind in enumerate(KINDS, 1):
            f.write("bss 00:00:00:00:00:%02x -%d %s\n" % (k, 40 + k, kind[0]))
        f.write("end\n")
    for lang, column in (("en_US.UTF-8", 1), ("it_IT.UTF-8", 2)):
        result = run("--headless", "--driver=sim:" + scan, "--ticks=1", "--print",
                     "--registry=" + os.path.join(work, lang + ".reg"),
                     env=headless_env(LANG=lang, LC_ALL=lang))
        check(result.returncode == 0, "%s: %s" % (lang, result.stderr.decode()))
        rows = printed_rows(result)
        got = {r[5]: (r[4], r[2]) for r in rows[1:]}
        check(got == {"00-00-00-00-00-%02X" % k: (v[column], v[3]) for k, v in enumerate(KINDS, 1)},
              "%s: printed %r" % (lang, got))


def exit_status():
    registry = os.path.join(work, "r.reg")
    for args, text in [(["--bogus"], "korvyn: unknown option '--bogus' (see --help)\n"),
                       (["--driver=wifi"], None),
                       (["--driver=sim:" + os.path.join(work, "missing.scan")], None)]:
        result = run(*args)
        err = result.stderr.decode()
        check(result.returncode == 2 and err.count("\n") == 1 and err.startswith("korvyn: ") and
              text in (None, err) and result.stdout == b"",
              "%r: status %d, %r" % (args, result.returncode, err))

    result = run("--headless", "--driver=sim:none", "--ticks=2", "--print",
                 "--registry=" + registry)
    check(result.returncode == 0 and b"Could not locate a Wi-Fi Adapter" in result.stderr and
          result.stdout.count(b"\n") == 1, "sim:none: %d %r" % (result.returncode, result.stderr))

    # An export or a picture that cannot be written: status 1.
    common = ["--headless", "--driver=sim:empty", "--registry=" + registry, "--ticks=1"]
    blocker = os.path.join(work, "file")
    open(blocker, "w").close()
    for args in (["--export=csv", "--documents=" + blocker],
                 ["--screenshot=" + os.path.join(blocker, "x.png")]):
        result = run(*common, *args)
        check(result.returncode == 1, "%r: status %d" % (args, result.returncode))
    result = run(*common[:-1], "--duration=0.2")
    check(result.returncode == 0, "a run of 0.2 seconds: %d" % result.returncode)

    # Pictures of what --show names: PNG files of 320 x 240, all different.
    pictures = set()
    for show in ("list", "meter", "options", "channels"):
        picture = os.path.join(work, show + ".png")
        result = run("--headless", "--driver=sim:demo", "--registry=" + registry, "--ticks=3",
                     "--screen=320x240", "--zoom=1", "--show=" + show, "--screenshot=" + picture)
        with open(picture, "rb") as f:
            data = f.read()
        check(result.returncode == 0 and data[:8] == b"\x89PNG\r\n\x1a\n" and
              data[16:24] == (320).to_bytes(4, "big") + (240).to_bytes(4, "big"), show)
        pictures.add(data)
    check(len(pictures) == 4, "the pictures of the list, the meter and the pages differ")


def odd_files():
    """Whatever stands where a file should be: refused with its name and why, or followed."""
    def place(kind, path, content):
        if kind == "pipe":
            os.mkfifo(path)
        elif kind == "folder":
            os.mkdir(path)
        else:
            if kind == "link":
                with open(path + ".target", "wb") as f:
                    f.write(content)
            os.symlink(kind if kind.startswith("/dev/") else path + ".target", path)

    def through_link(path, text, times):
        with open(path + ".target", "rb") as f:
            return f.read().count(text) >= times and os.path.islink(path)

    roles = {  # role: (option, content of a good file, status when refused, check of a good run)
        "scan file": ("--driver=sim:", SCAN, 2, lambda path: True),
        "settings": ("--registry=", b"REGEDIT4\n", 0,
                     lambda path: through_link(path, b'"Adapter"="wlan0"', 1)),
        "recording": ("--record=", SCAN, 2, lambda path: through_link(path, b"\nscan\n", 2)),
    }
    kinds = [("pipe", "a named pipe, not a regular file"), ("folder", "a folder, not a"),
             ("/dev/zero", "a device, not a regular file"), ("link", None), ("dangling link", None)]
    for role, (option, content, refused, good) in roles.items():
        for kind, reason in kinds:
            if kind == "dangling link" and role == "scan file":
                reason = "no such file"
            folder = tempfile.mkdtemp(dir=work)
            path = os.path.join(folder, "file")
            place(kind, path, content)
            result = run("--headless", "--ticks=2", "--registry=" + os.path.join(folder, "r.reg"),
                         "--driver=sim:demo", option + path)
            err = result.stderr.decode("utf-8", "replace")
            what = "%s as %s: status %d, %s" % (kind, role, result.returncode, err)
            if reason is None:
                check(result.returncode == 0 and good(path), what)
            else:
                check(result.returncode == refused and path in err and reason in err, what)
                check(kind != "pipe" or stat.S_ISFIFO(os.lstat(path).st_mode), what + " pipe")


def environment():
    """The surroundings a run may meet."""
    folder = tempfile.mkdtemp(dir=work)
    registry = os.path.join(folder, "r.reg")
    docs = os.path.join(folder, "Documents")
    base = ["--headless", "--driver=sim:demo", "--ticks=2", "--registry=" + registry]

    # Without HOME, or with a Documents link to nothing, the export fails and says why.
    before = os.path.exists("/Documents")
    homeless = {k: v for k, v in headless_env().items()
                if k not in ("HOME", "KORVYN_DOCUMENTS", "XDG_DOCUMENTS_DIR", "XDG_CONFIG_HOME")}
    os.symlink(os.path.join(folder, "gone"), os.path.join(folder, "docs-link"))
    for args, env, reason in (([], homeless, b"HOME is not set"),
                              (["--documents=" + os.path.join(folder, "docs-link")], None,
                               b"link to a folder that does not exist")):
        result = run(*base, "--export=csv", *args, env=env)
        check(result.returncode == 1 and reason in result.stderr and
              os.path.exists("/Documents") == before, "%r: %r" % (reason, result.stderr))

    # A settings file the user made read-only is kept as it is.
    with open(registry, "w") as f:
        f.write("REGEDIT4\n")
    os.chmod(registry, 0o444)
    result = run(*base)
    with open(registry) as f:
        check(result.returncode == 0 and b"settings could not be saved" in result.stderr and
              f.read() == "REGEDIT4\n" and os.stat(registry).st_mode & 0o777 == 0o444,
              "read-only settings unchanged: %r" % result.stderr)
    os.chmod(registry, 0o600)

    # No display, one that cannot be opened, or a Qt platform that is not installed (then
    # without Qt's own complaint): headless, with a notice. Of a list, those that exist are used.
    dead = ":%d" % next(n for n in range(4242, 4342) if not os.path.exists("/tmp/.X11-unix/X%d"
                                                                            % n))
    for platform, display in (("", None), ("", dead), ("bogus", None), ("Bogus:size=2", ":0"),
                              ("bogus;offscreen", None)):
        env = dict(headless_env(), QT_QPA_PLATFORM=platform) if platform else headless_env()
        if display:
            env["DISPLAY"] = display
        result = run("--driver=sim:demo", "--ticks=1", "--print", "--registry=" + registry,
                     env=env)
        notice = b", running headless\n" in result.stderr
        check(result.returncode == 0 and result.stdout.startswith(b"Name\t") and
              notice != ("offscreen" in platform) and
              (not platform or b"qt.qpa" not in result.stderr),
              "QT_QPA_PLATFORM=%s: %d %r" % (platform, result.returncode, result.stderr))

    # A scan file that starts with a byte-order mark.
    bom = os.path.join(folder, "bom.scan")
    with open(bom, "wb") as f:
        f.write(b"\xef\xbb\xbf" + SCAN)
    result = run("--headless", "--driver=sim:" + bom, "--ticks=1", "--print",
                 "--registry=" + registry)
    check(result.returncode == 0 and result.stdout.count(b"\n") == 2, "BOM: %r" % result.stderr)

    # Temporary files of saves that were killed go at the next start, and nothing else.
    os.makedirs(docs)
    dead = subprocess.Popen(["true"])
    dead.wait()
    for name in (".Korvyn 20261206201931.csv.korvyn-%d-abcdef.tmp" % dead.pid, "notes.tmp"):
        open(os.path.join(docs, name), "w").close()
    run(*base, "--documents=" + docs)
    check(os.listdir(docs) == ["notes.tmp"], "Documents after start: %r" % os.listdir(docs))

    # Signals while the run ends in order: status 0 and the settings saved.
    os.remove(registry)
    recording = os.path.join(folder, "signals.scan")
    proc = subprocess.Popen([program, "--headless", "--driver=sim:demo", "--registry=" + registry,
                             "--record=" + recording], env=headless_env(), stderr=subprocess.PIPE)
    deadline = time.time() + 30
    while time.time() < deadline and not (os.path.exists(recording) and
                                          b"\nend\n" in open(recording, "rb").read()):
        time.sleep(0.05)
    while proc.poll() is None and time.time() < deadline:
        proc.send_signal(signal.SIGTERM if proc.pid % 2 else signal.SIGINT)
        time.sleep(0.001)
    proc.communicate(timeout=30)
    check(proc.returncode == 0 and os.path.exists(registry),
          "signals while ending: status %s, settings saved" % proc.returncode)

    # Neither the netlink nor the sound library is needed to start: both are loaded when
    # first used, so a system without them runs the simulated adapter silently.
    needed = subprocess.run(["readelf", "-d", program], capture_output=True, text=True).stdout
    check("NEEDED" in needed and "libnl" not in needed and "libasound" not in needed,
          "libraries loaded at start: %r" % needed)

    # The disk fills up under the recorder: told once, status 1.
    recording = os.path.join(folder, "full.scan")
    result = run(*base[:-2], "--ticks=30", "--registry=" + registry, "--record=" + recording,
                 preexec_fn=lambda: (signal.signal(signal.SIGXFSZ, signal.SIG_IGN),
                                     resource.setrlimit(resource.RLIMIT_FSIZE, (4000, 4000))))
    err = result.stderr.decode()
    check(result.returncode == 1 and err.count("recording to " + recording + " stopped") == 1,
          "full disk: %d %r" % (result.returncode, err))


{"scan_print_export": scan_print_export, "exit_status": exit_status, "odd_files": odd_files,
 "classes_and_bands": classes_and_bands, "environment": environment}[case]()
print("ok")
