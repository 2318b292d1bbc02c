"""Runs the program headless and reads back what it printed and saved:
    check_end_to_end.py <korvyn> scan_print_export | exit_status | classes_and_bands | odd_files | environment"""
import csv
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


def number(text):
    """The leading number of a list text, as the workbook stores it ("-----" is 0)."""
    try:
        return float(text)
    except ValueError:
        return 0.0


def workbook_value(column, text):
    """What the workbook holds for a list text: numbers in the numeric columns, except a
    channel marked with its band ("6G37"), which stays text."""
    if column in NUMERIC and not text.startswith("6G"):
        return number(text)
    return text


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
    check(rows[0] == HEADERS, "header %r" % rows[0])
    check(len(rows) > 5, "stations listed: %d" % (len(rows) - 1))
    check(all(len(r) == 10 for r in rows), "ten fields in every line")

    files = os.listdir(docs)
    check(len(files) == 1 and files[0].startswith("Korvyn ") and files[0].endswith(".xls"),
          "one workbook in the Documents folder: %r" % files)
    # The notice names the file where it really is, "~" standing for the home folder.
    saved = os.path.join(docs, files[0])
    home = os.environ.get("HOME", "")
    if home and saved.startswith(home.rstrip("/") + "/"):
        saved = "~" + saved[len(home.rstrip("/")):]
    check("Saved As: " + saved in err, "the Saved As notice: " + err)
    book = xlrd.open_workbook(os.path.join(docs, files[0]))
    check(book.sheet_names() == ["WI-FI"], "sheets %r" % book.sheet_names())
    sheet = book.sheet_by_index(0)
    check(sheet.nrows == len(rows), "%d sheet rows, %d printed" % (sheet.nrows, len(rows)))
    check(sheet.row_values(0) == HEADERS, "sheet header %r" % sheet.row_values(0))
    for r in range(1, len(rows)):
        for c, text in enumerate(rows[r]):
            value = sheet.cell_value(r, c)
            check(value == workbook_value(c, text), "row %d col %d: %r vs %r" % (r, c, value, text))
    secs = {r[4] for r in rows[1:]}
    check({"WPA2", "WPA3", "OWE", "Open"} <= secs, "kinds of security in the demo: %r" % secs)
    check(any(r[2].startswith("6G") for r in rows[1:]), "6 GHz channels in the demo")

    with open(registry, encoding="utf-8") as f:
        saved = f.read()
    check('"Adapter"="wlan0"' in saved and '"Refresh"=dword:00000002' in saved,
          "settings saved: " + saved)
    check("saveas" not in saved, "the stored export format is left alone")

    # Again, into a comma-separated file: the same rows.
    result = run("--headless", "--driver=sim:demo", "--ticks=20", "--print", "--export=csv",
                 "--documents=" + docs, "--registry=" + registry)
    check(result.returncode == 0, "csv run: %d" % result.returncode)
    name = [f for f in os.listdir(docs) if f.endswith(".csv")]
    check(len(name) == 1, "one csv file: %r" % name)
    with open(os.path.join(docs, name[0]), encoding="utf-8", newline="") as f:
        table = list(csv.reader(f))
    printed = [line.split("\t") for line in result.stdout.decode("utf-8").split("\n")[:-1]]
    check(table == printed, "csv rows differ from the printed list")


# One network of every kind of security and band, as a scan file gives them.
KINDS_SCAN = """korvyn-scan 1
adapter wlan0 wireless
scan
bss 00:00:00:00:00:01 -41 2412000 1 0 "open"
bss 00:00:00:00:00:02 -42 1 1 1 "old flag"
bss 00:00:00:00:00:03 -43 2437000 1 1 "wep" sec=wep
bss 00:00:00:00:00:04 -44 2462000 1 1 "wpa" sec=wpa width=20 center=2462000
bss 00:00:00:00:00:05 -45 5180000 1 1 "wpa2" sec=wpa2 width=80 center=5210000
bss 00:00:00:00:00:06 -46 5745000 1 1 "wpa3" sec=wpa3 width=160 center=5815000
bss 00:00:00:00:00:07 -47 5975000 1 1 "wpa2/3" sec=wpa2/3 width=80 center=5985000
bss 00:00:00:00:00:08 -48 6135000 1 1 "owe" sec=owe width=320 center=6105000
bss 00:00:00:00:00:09 -49 7115000 1 1 "wpa2-e" sec=wpa2-e
bss 00:00:00:00:00:0a -50 5935000 1 1 "wpa3-e" sec=wpa3-e
bss 00:00:00:00:00:0b -51 2484000 1 20 "wpa2-e by value"
bss 00:00:00:00:00:0c -52 5825000 0 1 "peer wpa-e" sec=wpa-e
bss 00:00:00:00:00:0d -53 9999999 1 1 "" sec=wpa2/3-e
end
"""
# MAC -> (Sec, Ch) in English and in Italian, whose texts for open and WEP differ.
EXPECTED = {
    "00-00-00-00-00-01": ("Open", "1", "Aperta"),
    "00-00-00-00-00-02": ("WEP", "1", "WEP Protetta"),
    "00-00-00-00-00-03": ("WEP", "6", "WEP Protetta"),
    "00-00-00-00-00-04": ("WPA", "11", "WPA"),
    "00-00-00-00-00-05": ("WPA2", "36", "WPA2"),
    "00-00-00-00-00-06": ("WPA3", "149", "WPA3"),
    "00-00-00-00-00-07": ("WPA2/3", "6G5", "WPA2/3"),
    "00-00-00-00-00-08": ("OWE", "6G37", "OWE"),
    "00-00-00-00-00-09": ("WPA2-E", "6G233", "WPA2-E"),
    "00-00-00-00-00-0A": ("WPA3-E", "6G2", "WPA3-E"),
    "00-00-00-00-00-0B": ("WPA2-E", "14", "WPA2-E"),
    "00-00-00-00-00-0C": ("WPA-E", "165", "WPA-E"),
    "00-00-00-00-00-0D": ("WPA2/3-E", "--", "WPA2/3-E"),
}


def classes_and_bands():
    scan = os.path.join(work, "kinds.scan")
    with open(scan, "w", encoding="utf-8") as f:
        f.write(KINDS_SCAN)
    for lang, column in (("en_US.UTF-8", 0), ("it_IT.UTF-8", 2)):
        docs = os.path.join(work, lang, "Documents")
        registry = os.path.join(work, lang, "settings.reg")
        books = {}
        for export in ("xls", "csv"):
            env_lang = headless_env(LANG=lang, LC_ALL=lang)
            result = run("--headless", "--driver=sim:" + scan, "--ticks=1", "--print",
                         "--export=" + export, "--documents=" + docs, "--registry=" + registry,
                         env=env_lang)
            check(result.returncode == 0, "%s: %s" % (lang, result.stderr.decode()))
            rows = printed_rows(result)
            got = {r[5]: (r[4], r[2]) for r in rows[1:]}
            want = {mac: (v[column], v[1]) for mac, v in EXPECTED.items()}
            check(got == want, "%s: printed %r" % (lang, got))
            name = [f for f in os.listdir(docs) if f.endswith("." + export)]
            check(len(name) == 1, "one %s file: %r" % (export, name))
            books[export] = os.path.join(docs, name[0])
            if export == "xls":
                sheet = xlrd.open_workbook(books[export]).sheet_by_index(0)
                for r, row in enumerate(rows[1:], start=1):
                    for c in (2, 4):
                        check(sheet.cell_value(r, c) == workbook_value(c, row[c]),
                              "workbook row %d col %d: %r" % (r, c, sheet.cell_value(r, c)))
            else:
                with open(books[export], encoding="utf-8", newline="") as f:
                    check(list(csv.reader(f)) == rows, "%s: csv rows differ from the list" % lang)


def exit_status():
    registry = os.path.join(work, "r.reg")
    common = ["--headless", "--driver=sim:empty", "--registry=" + registry]

    for args, status, text in [
            (["--bogus"], 2, "korvyn: unknown option '--bogus' (see --help)\n"),
            (["--ticks=x"], 2, None),
            (["--driver=wifi"], 2, None),
            (["--driver=sim:" + os.path.join(work, "missing.scan")], 2, None)]:
        result = run(*args)
        err = result.stderr.decode()
        check(result.returncode == status, "%r: status %d" % (args, result.returncode))
        check(err.count("\n") == 1 and err.startswith("korvyn: "), "%r: one line: %r" % (args, err))
        if text is not None:
            check(err == text, "%r: %r" % (args, err))
        check(result.stdout == b"", "%r prints nothing" % args)

    result = run("--help")
    check(result.returncode == 0 and b"--screenshot=FILE.png" in result.stdout, "--help")
    result = run("--version")
    check(result.returncode == 0 and result.stdout.startswith(b"korvyn "), "--version")

    # Without a display and without --headless: headless all the same, with a notice.
    result = run("--driver=sim:empty", "--ticks=2", "--registry=" + registry)
    check(result.returncode == 0, "no display: %d" % result.returncode)
    check(b"no display found, running headless" in result.stderr, "notice")

    # A run without Wi-Fi adapters says so and still ends well.
    result = run("--headless", "--driver=sim:none", "--ticks=2", "--print",
                 "--registry=" + registry)
    check(result.returncode == 0, "sim:none: %d" % result.returncode)
    check(b"Could not locate a Wi-Fi Adapter" in result.stderr, "no adapter message")
    check(result.stdout.count(b"\n") == 1, "only the header")

    # An export or a picture that cannot be written: status 1.
    blocker = os.path.join(work, "file")
    open(blocker, "w").close()
    result = run(*common, "--ticks=1", "--export=csv", "--documents=" + blocker)
    check(result.returncode == 1, "unwritable export: %d" % result.returncode)
    result = run(*common, "--ticks=1", "--screenshot=" + os.path.join(blocker, "x.png"))
    check(result.returncode == 1, "unwritable picture: %d" % result.returncode)
    picture = os.path.join(work, "shot.png")
    result = run(*common, "--ticks=1", "--screen=320x240", "--zoom=1", "--screenshot=" + picture)
    check(result.returncode == 0, "picture: %d" % result.returncode)
    with open(picture, "rb") as f:
        head = f.read(24)
    check(head[:8] == b"\x89PNG\r\n\x1a\n", "a PNG file")
    check(int.from_bytes(head[16:20], "big") == 320 and int.from_bytes(head[20:24], "big") == 240,
          "picture size")


def odd_files():
    """Whatever stands where a file should be, for each file the program reads or writes:
    refused at start with its name and the reason, or used through a link; never waited
    on, never read without end, never replaced."""
    def place(kind, path, content):
        if kind == "pipe":
            os.mkfifo(path)
        elif kind == "folder":
            os.mkdir(path)
        elif kind in ("link", "dangling link"):
            target = path + ".target"
            if kind == "link":
                with open(target, "wb") as f:
                    f.write(content)
            os.symlink(target, path)
        elif kind.startswith("/dev/"):
            os.symlink(kind, path)
        return path

    def settings_saved(path):
        with open(path + ".target", encoding="utf-8") as f:
            return '"Adapter"="wlan0"' in f.read() and os.path.islink(path)

    def scans_recorded(path):
        with open(path + ".target", "rb") as f:
            return f.read().count(b"\nscan\n") >= 2 and os.path.islink(path)

    roles = {
        # role: (option, content of a good file, status when refused, check of a good run)
        "scan file": ("--driver=sim:", SCAN, 2, None),
        "settings": ("--registry=", b"REGEDIT4\n", 0, settings_saved),
        "recording": ("--record=", SCAN, 2, scans_recorded),
    }
    kinds = [("pipe", "a named pipe, not a regular file"), ("folder", "a folder, not a"),
             ("/dev/zero", "a device, not a regular file"), ("/dev/full", "a device, not a"),
             ("link", None), ("dangling link", None)]
    for role, (option, content, refused, good) in roles.items():
        for kind, reason in kinds:
            if kind == "dangling link" and role == "scan file":
                reason = "no such file"
            folder = tempfile.mkdtemp(dir=work)
            path = place(kind, os.path.join(folder, "file"), content)
            args = ["--headless", "--ticks=2", "--registry=" + os.path.join(folder, "r.reg"),
                    "--driver=sim:demo", option + path]
            result = run(*args)
            err = result.stderr.decode("utf-8", "replace")
            what = "%s as %s: " % (kind, role)
            if reason is None:
                check(result.returncode == 0, what + "status %d: %s" % (result.returncode, err))
                check(good is None or good(path), what + "the file behind the link")
                continue
            check(result.returncode == refused, what + "status %d" % result.returncode)
            check(path in err and reason in err, what + err)
            if kind == "pipe":
                check(stat.S_ISFIFO(os.lstat(path).st_mode), what + "the pipe stays")


def environment():
    """The surroundings a run may meet: no HOME, a settings file made read-only, a display
    that has gone away, a second signal while ending, a Documents link to nothing, a scan
    file with a byte-order mark, leftovers of killed saves, a disk that fills up under
    the recorder, and a system without the netlink or the sound library."""
    def without(*names):
        env = headless_env()
        for name in names:
            env.pop(name, None)
        return env

    folder = tempfile.mkdtemp(dir=work)
    registry = os.path.join(folder, "r.reg")
    docs = os.path.join(folder, "Documents")
    base = ["--headless", "--driver=sim:demo", "--ticks=2", "--registry=" + registry]

    # Without HOME there is no Documents folder: the export fails and says why.
    before = os.path.exists("/Documents")
    result = run(*base, "--export=csv",
                 env=without("HOME", "KORVYN_DOCUMENTS", "XDG_DOCUMENTS_DIR", "XDG_CONFIG_HOME"))
    check(result.returncode == 1 and b"HOME is not set" in result.stderr,
          "no HOME: %d %r" % (result.returncode, result.stderr))
    check(os.path.exists("/Documents") == before, "nothing written to /Documents")

    # A Documents folder that is a link to nothing is named as such.
    os.symlink(os.path.join(folder, "gone"), os.path.join(folder, "docs-link"))
    result = run(*base, "--export=csv", "--documents=" + os.path.join(folder, "docs-link"))
    check(result.returncode == 1 and b"link to a folder that does not exist" in result.stderr,
          "dangling Documents link: %r" % result.stderr)

    # A settings file the user made read-only is kept as it is.
    with open(registry, "w") as f:
        f.write("REGEDIT4\n")
    os.chmod(registry, 0o444)
    result = run(*base)
    check(result.returncode == 0 and b"settings could not be saved" in result.stderr,
          "read-only settings: %r" % result.stderr)
    with open(registry) as f:
        check(f.read() == "REGEDIT4\n" and os.stat(registry).st_mode & 0o777 == 0o444,
              "read-only settings unchanged")
    os.chmod(registry, 0o600)

    # A display that cannot be opened: headless, with a notice.
    env = headless_env()
    env["DISPLAY"] = ":%d" % next(n for n in range(4242, 4342)
                                  if not os.path.exists("/tmp/.X11-unix/X%d" % n))
    result = run("--driver=sim:demo", "--ticks=2", "--print", "--registry=" + registry, env=env)
    check(result.returncode == 0 and b"running headless" in result.stderr and
          result.stdout.startswith(b"Name\t"), "dead display: %d %r" % (result.returncode,
                                                                   result.stderr))

    # A Qt platform that is not installed counts as no display: headless, with the same
    # notice, and without Qt's own complaint. Of a list, the platforms that exist are used.
    for platform, display in (("bogus", None), ("Bogus:size=2", ":0"), ("bogus;offscreen", None)):
        env = dict(headless_env(), QT_QPA_PLATFORM=platform)
        if display:
            env["DISPLAY"] = display
        result = run("--driver=sim:demo", "--ticks=1", "--print", "--registry=" + registry,
                     env=env)
        notice = b"korvyn: no display found, running headless\n" in result.stderr
        check(result.returncode == 0 and result.stdout.startswith(b"Name\t") and
              notice != ("offscreen" in platform) and b"qt.qpa" not in result.stderr,
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
    stale = ".Korvyn 20261206201931.csv.korvyn-%d-abcdef.tmp" % dead.pid
    for name in (stale, "notes.tmp"):
        open(os.path.join(docs, name), "w").close()
    result = run(*base, "--documents=" + docs)
    check(sorted(os.listdir(docs)) == ["notes.tmp"], "Documents after start: %r"
          % os.listdir(docs))

    # Signals while the run ends in order: status 0 and the settings saved.
    os.remove(registry)
    recording = os.path.join(folder, "signals.scan")
    env = headless_env()
    proc = subprocess.Popen([program, "--headless", "--driver=sim:demo", "--registry=" + registry,
                             "--record=" + recording], env=env, stderr=subprocess.PIPE)
    deadline = time.time() + 30
    while time.time() < deadline:
        if os.path.exists(recording):
            with open(recording, "rb") as f:
                if b"\nend\n" in f.read():
                    break
        time.sleep(0.05)
    while proc.poll() is None and time.time() < deadline:
        proc.send_signal(signal.SIGTERM if proc.pid % 2 else signal.SIGINT)
        time.sleep(0.001)
    proc.communicate(timeout=30)
    check(proc.returncode == 0, "signals while ending: status %s" % proc.returncode)
    check(os.path.exists(registry), "settings saved after the signals")

    # Neither the netlink nor the sound library is needed to start: both are loaded when
    # first used, so a system without them runs the simulated adapter silently.
    needed = subprocess.run(["readelf", "-d", program], capture_output=True, text=True).stdout
    check("NEEDED" in needed and "libnl" not in needed and "libasound" not in needed,
          "libraries loaded at start: %r" % needed)

    # The disk fills up under the recorder: told once, status 1, the file replays whole.
    recording = os.path.join(folder, "full.scan")

    def small_disk():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (4000, 4000))

    result = run(*base[:-2], "--ticks=30", "--registry=" + registry, "--record=" + recording,
                 preexec_fn=small_disk)
    err = result.stderr.decode()
    check(result.returncode == 1 and err.count("recording to " + recording + " stopped") == 1,
          "full disk: %d %r" % (result.returncode, err))
    result = run("--headless", "--driver=sim:" + recording, "--ticks=1", "--registry=" + registry)
    check(result.returncode == 0 and b"incomplete" not in result.stderr, "replay: %r" % result.stderr)


{"scan_print_export": scan_print_export, "exit_status": exit_status, "odd_files": odd_files,
 "classes_and_bands": classes_and_bands,
 "environment": environment}[case]()
print("ok")
