"""check_names.py <korvyn>: network names of every kind, replayed, saved and printed. A name
ends at its first zero byte, reads as UTF-8 with other bytes as Latin-1, splits no line, and
is printed with every control character (C0, DEL, C1) as "\\xHH"."""
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
    """The bytes of every name checked: every byte value alone, runs of 32, embedded zero
    bytes, bad and cut UTF-8, quotes, separators, line breaks and formula starts."""
    out = [bytes([b]) for b in range(1, 256)]
    out += [bytes(range(b, min(b + 32, 256))) for b in range(1, 256, 32)]
    return out + [
        b"ab\0cd", b"\0abc", b"", b"L" * 32, b"\xc3\x28", b"\xe2\x82", b"\xed\xa0\x80",
        b"\xc0\xaf", b"\xf4\x90\x80\x80", b"\xf0\x9f\x98\x80", b"abc\xe2",
        "\u20ac".encode() * 10 + b"ab", 'say "hi", ok'.encode(), b"line1\nline2", b"cr\rlf\r\n",
        b"=1+1", b"+SUM(A1)", b"-2+3", b"@cmd", b"\t=tab", "\u00e9".encode() * 15 + b"\xc3"]


# A byte that is not part of valid UTF-8 reads as the Latin-1 character of its value.
codecs.register_error("byte_as_latin1", lambda e: (chr(e.object[e.start]), e.start + 1))


def printed(text):
    return "".join("\\x%02x" % ord(c) if ord(c) < 0x20 or 0x7f <= ord(c) <= 0x9f else c
                   for c in text)


def scan_file(entries, path):
    """Station k with MAC 02:4e:00:00:HH:LL."""
    with open(path, "w", encoding="ascii") as f:
        f.write("korvyn-scan 1\nadapter wlan0 wireless\n")
        for first in range(0, len(entries), PER_SCAN):
            f.write("scan\n")
            for k in range(first, min(first + PER_SCAN, len(entries))):
                name = "".join("\\x%02x" % b for b in entries[k])
                f.write('bss 02:4e:00:00:%02x:%02x -50 6 1 0 "%s"\n' % (k >> 8, k & 255, name))
            f.write("end\n")


def export(kind):
    """The saved file and the printed list of a run over every scan."""
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


def each_name(rows, what, value=lambda field: field):
    """Each row (ten fields) with the index of the name it shows by its MAC; every name once."""
    check(len(rows) == len(entries) and all(len(r) == 10 for r in rows), "%s: rows" % what)
    seen = set()
    for row in rows:
        parts = value(row[5]).split("-")
        check(parts[:4] == ["02", "4E", "00", "00"], "%s: MAC %r" % (what, row[5]))
        seen.add(int(parts[4] + parts[5], 16))
        yield int(parts[4] + parts[5], 16), row
    check(len(seen) == len(entries), "%s: every name once" % what)


program = sys.argv[1]
entries = names()
expected = [raw.split(b"\0", 1)[0].decode("utf-8", "byte_as_latin1") for raw in entries]
work = tempfile.mkdtemp(prefix="korvyn-names-")
scans = os.path.join(work, "names.scan")
scan_file(entries, scans)

# The comma-separated file (UTF-8) and the printed list (names escaped, no control byte but
# tabs and line ends).
saved, text = export("csv")
with open(saved, "rb") as f:
    rows = list(csv.reader(io.StringIO(f.read().decode("utf-8"), newline="")))
check(rows[0] == HEADERS, "header %r" % rows[0])
for k, row in each_name(rows[1:], "csv"):
    check(row[0] == expected[k], "name %d (%r): %r" % (k, entries[k], row[0]))
lines = text.split("\n")
check(lines[-1] == "" and all(c in "\t\n" or printed(c) == c for c in text), "printed bytes")
for k, fields in each_name([line.split("\t") for line in lines[1:-1]], "printed"):
    check(fields[0] == printed(expected[k]), "printed name %d: %r" % (k, fields[0]))

# The workbook: the same texts as text cells (an empty name may be an empty cell).
sheet = xlrd.open_workbook(export("xls")[0], logfile=io.StringIO()).sheet_by_index(0)
for k, row in each_name([sheet.row(r) for r in range(1, sheet.nrows)], "workbook",
                       lambda cell: cell.value):
    check(row[0].value == expected[k] and
          (row[0].ctype == xlrd.XL_CELL_TEXT or (row[0].ctype == xlrd.XL_CELL_EMPTY and not
                                                 expected[k])),
          "workbook name %d: %r of type %d" % (k, row[0].value, row[0].ctype))
shutil.rmtree(work)
