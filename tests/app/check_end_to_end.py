"""Runs the program headless and reads back what it printed and saved:
    check_end_to_end.py <korvyn> scan_print_export | exit_status"""
import csv
import os
import subprocess
import sys
import tempfile

import xlrd

HEADERS = ["Name", "Sig", "Ch", "Type", "Sec", "MAC", "Best sig", "Worst sig", "First seen",
           "Last seen"]
NUMERIC = {1, 2, 6, 7}

program, case = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix="korvyn-e2e-")


def check(condition, message):
    if not condition:
        print("FAIL: " + message, file=sys.stderr)
        sys.exit(1)


def run(*args):
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("QT_QPA_PLATFORM", None)
    return subprocess.run([program, *args], capture_output=True, env=env, timeout=120)


def number(text):
    """The leading number of a list text, as the workbook stores it ("-----" is 0)."""
    try:
        return float(text)
    except ValueError:
        return 0.0


def scan_print_export():
    docs = os.path.join(work, "Documents")
    registry = os.path.join(work, "settings.reg")
    result = run("--headless", "--driver=sim:demo", "--ticks=20", "--print", "--export=xls",
                 "--documents=" + docs, "--registry=" + registry)
    err = result.stderr.decode("utf-8", "replace")
    check(result.returncode == 0, "exit status %d: %s" % (result.returncode, err))

    lines = result.stdout.decode("utf-8").split("\n")
    check(lines[-1] == "", "the output ends with a line break")
    rows = [line.split("\t") for line in lines[:-1]]
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
            if c in NUMERIC:
                check(value == number(text), "row %d col %d: %r vs %r" % (r, c, value, text))
            else:
                check(value == text, "row %d col %d: %r vs %r" % (r, c, value, text))

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


{"scan_print_export": scan_print_export, "exit_status": exit_status}[case]()
print("ok")
