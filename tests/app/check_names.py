"""Network names of every kind, from a replayed scan file through the program's own Save
to both export files, read back by Python's csv module and by xlrd, and to the printed list:
    check_names.py <korvyn>

A name is shown as the list shows it: it ends at its first zero byte, and it is read as
UTF-8 with every byte that is not part of valid UTF-8 taken as the Latin-1 character of
the same value. Nothing else may change on the way, and no name may be taken for a
formula or split a line: every line has ten fields. The printed list carries every control
character (C0, DEL, C1) as "\\xHH", so that no name can send the terminal an escape
sequence. (Names whose length field differs from their bytes are tested with the list page
itself.)"""
import codecs
import csv
import io
import os
import shutil
import subprocess
import sys
import tempfile

import xlrd

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from korvyn_check import HEADERS, check, headless_env

PER_SCAN = 60  # well within the 78 entries one read of the adapter holds


def names():
    """The bytes of every name checked."""
    out = [bytes([b]) for b in range(1, 256)]                       # every byte value alone
    out += [bytes(range(b, min(b + 32, 256))) for b in range(1, 256, 32)]
    out += [b"ab\0cd", b"\0abc", b"", b"\0"]                          # embedded zero bytes
    out += [b"L" * 32, b"short and long"]
    out += [
        b"\xc3", b"\xc3\x28", b"\xe2\x82", b"\xe2\x82\xac", b"\xed\xa0\x80", b"\xc0\xaf",
        b"\xf4\x90\x80\x80", b"\xf0\x9f\x98\x80", b"\xff\xfe", b"\x80abc", b"abc\xe2",
        "\u00e9".encode() * 16, "\u20ac".encode() * 10 + b"ab", "\U0001f600".encode() * 8,
        'say "hi", ok'.encode(), b'""', b",", b"line1\nline2", b"cr\rlf\r\n", b"\n",
        b"=1+1", b"+SUM(A1)", b"-2+3", b"@cmd", b"=cmd|' /C calc'!A0", b"\t=tab", b" ",
        "Caf\u00e9 \"Z\u00f6ld\", \u0421\u0435\u0442\u044c".encode()[:32],
        "\u00e9".encode() * 15 + b"\xc3"]                               # cut inside a character
    return out


# A byte that is not part of valid UTF-8 reads as the Latin-1 character of its value.
codecs.register_error("byte_as_latin1", lambda e: (chr(e.object[e.start]), e.start + 1))


def shown(raw):
    return raw.split(b"\0", 1)[0].decode("utf-8", "byte_as_latin1")


def printed(text):
    """A name as --print writes it."""
    return "".join("\\x%02x" % ord(c) if ord(c) < 0x20 or 0x7f <= ord(c) <= 0x9f else c
                   for c in text)


def scan_file(entries, path):
    """The names as scans of a replayed adapter, station k with MAC 02:4e:00:00:HH:LL."""
    with open(path, "w", encoding="ascii") as f:
        f.write("korvyn-scan 1\nadapter wlan0 wireless\n")
        for first in range(0, len(entries), PER_SCAN):
            f.write("scan\n")
            for k in range(first, min(first + PER_SCAN, len(entries))):
                name = "".join("\\x%02x" % b for b in entries[k])
                f.write('bss 02:4e:00:00:%02x:%02x -50 6 1 0 "%s"\n' % (k >> 8, k & 255, name))
            f.write("end\n")


def export(kind):
    """Runs the program over every scan and saves the list; the saved file and the printed
    list."""
    docs = os.path.join(work, kind)
    result = subprocess.run(
        [program, "--headless", "--driver=sim:" + scans,
         "--ticks=%d" % (len(entries) // PER_SCAN + 2), "--export=" + kind, "--documents=" + docs,
         "--registry=" + os.path.join(work, kind + ".reg"), "--print"],
        capture_output=True, env=headless_env(), timeout=120)
    check(result.returncode == 0, "exit status %d: %s" % (result.returncode, result.stderr))
    files = os.listdir(docs)
    check(len(files) == 1 and files[0].endswith("." + kind), "one export: %r" % files)
    return os.path.join(docs, files[0]), result.stdout.decode("utf-8")


def index_of(mac):
    """Which name a row shows, from its MAC; every name once."""
    parts = mac.split("-")
    check(parts[:4] == ["02", "4E", "00", "00"], "MAC %r" % mac)
    k = int(parts[4] + parts[5], 16)
    check(k not in seen, "name %d twice" % k)
    seen.add(k)
    return k


program = sys.argv[1]
entries = names()
expected = [shown(raw) for raw in entries]
work = tempfile.mkdtemp(prefix="korvyn-names-")
scans = os.path.join(work, "names.scan")
scan_file(entries, scans)

# The comma-separated file: UTF-8, ten fields on every line, every name as shown.
saved, text = export("csv")
with open(saved, "rb") as f:
    rows = list(csv.reader(io.StringIO(f.read().decode("utf-8"), newline="")))
check(rows[0] == HEADERS and len(rows) == len(entries) + 1, "%d lines: %r" % (len(rows), rows[0]))
seen = set()
for line, row in enumerate(rows[1:], 1):
    check(len(row) == 10, "line %d has %d fields: %r" % (line, len(row), row))
    k = index_of(row[5])
    check(row[0] == expected[k], "name %d (%r): %r" % (k, entries[k], row[0]))

# The printed list: the same rows, names escaped, no control byte but tabs and line ends.
lines = text.split("\n")
check(lines[-1] == "" and len(lines) == len(entries) + 2, "%d printed lines" % len(lines))
check(all(c in "\t\n" or printed(c) == c for c in text), "a control character printed")
seen = set()
for line in lines[1:-1]:
    fields = line.split("\t")
    check(len(fields) == 10, "printed line with %d fields: %r" % (len(fields), line))
    k = index_of(fields[5])
    check(fields[0] == printed(expected[k]), "printed name %d: %r" % (k, fields[0]))

# The workbook: the same texts as text cells (an empty name may be an empty cell).
sheet = xlrd.open_workbook(export("xls")[0], logfile=io.StringIO()).sheet_by_index(0)
check((sheet.nrows, sheet.ncols) == (len(entries) + 1, 10), "%dx%d" % (sheet.nrows, sheet.ncols))
seen = set()
for r in range(1, sheet.nrows):
    k = index_of(sheet.cell_value(r, 5))
    cell = sheet.cell(r, 0)
    check(cell.value == expected[k] and (cell.ctype == xlrd.XL_CELL_TEXT or
                                         (cell.ctype == xlrd.XL_CELL_EMPTY and not expected[k])),
          "workbook name %d: %r of type %d" % (k, cell.value, cell.ctype))
shutil.rmtree(work)
