"""Network names of every kind, from the adapter to both export files, read back by
Python's csv module and by xlrd:
    check_names.py <sample program>

A name is shown as the list shows it: its SSID length field decides how many of its 32
bytes count (1 to 31 as given, 32 otherwise), it ends at its first zero byte, and it is
read as UTF-8 with every byte that is not part of valid UTF-8 taken as the Latin-1
character of the same value. Nothing else may change on the way, and no name may be
taken for a formula or split a line: every line has ten fields."""
import csv
import io
import os
import shutil
import sys
import tempfile

import xlrd

from samples import HEADERS, check, run_sample


def names():
    """(SSID length field, bytes) of every name checked."""
    out = [(1, bytes([b])) for b in range(1, 256)]                # every byte value alone
    out += [(32, bytes(range(b, min(b + 32, 256)))) for b in range(1, 256, 32)]
    out += [(5, b"ab\0cd"), (4, b"\0abc"), (0, b""), (1, b"\0")]  # embedded zero bytes
    out += [(0, b"L" * 32), (40, b"M" * 32), (3, b"short and long")]
    out += [(len(b), b) for b in (
        b"\xc3", b"\xc3\x28", b"\xe2\x82", b"\xe2\x82\xac", b"\xed\xa0\x80", b"\xc0\xaf",
        b"\xf4\x90\x80\x80", b"\xf0\x9f\x98\x80", b"\xff\xfe", b"\x80abc", b"abc\xe2",
        "\u00e9".encode() * 16, "\u20ac".encode() * 10 + b"ab", "\U0001f600".encode() * 8,
        'say "hi", ok'.encode(), b'""', b",", b"line1\nline2", b"cr\rlf\r\n", b"\n",
        b"=1+1", b"+SUM(A1)", b"-2+3", b"@cmd", b"=cmd|' /C calc'!A0", b"\t=tab", b" ",
        "Caf\u00e9 \"Z\u00f6ld\", \u0421\u0435\u0442\u044c".encode()[:32])]
    out += [(31, "\u00e9".encode() * 16)]                        # cut inside a character
    return out


def shown(length, raw):
    n = length if 1 <= length <= 31 else 32
    data = raw[:n].split(b"\0", 1)[0]
    text, i = [], 0
    while i < len(data):
        lead = data[i]
        size = (1 if lead < 0x80 else 2 if lead & 0xE0 == 0xC0 else
                3 if lead & 0xF0 == 0xE0 else 4 if lead & 0xF8 == 0xF0 else 0)
        try:
            text.append(data[i:i + size].decode("utf-8", "strict") if size and
                        i + size <= len(data) else None)
        except UnicodeDecodeError:
            text.append(None)
        if text[-1] is None:
            text[-1], size = chr(lead), 1
        i += size
    return "".join(text)


entries = names()
folder = tempfile.mkdtemp(prefix="korvyn-names-")
listing = os.path.join(folder, "names.txt")
with open(listing, "w") as f:
    for length, raw in entries:
        f.write("%d %s\n" % (length, raw.hex() or "-"))
out = run_sample(["names", listing])
expected = [shown(length, raw) for length, raw in entries]


def index_of(mac):
    parts = mac.split("-")
    check(parts[:4] == ["02", "4E", "00", "00"], "MAC %r" % mac)
    return int(parts[4] + parts[5], 16)


# The comma-separated file: UTF-8, ten fields on every line, every name as shown.
with open(os.path.join(out, "names.csv"), "rb") as f:
    rows = list(csv.reader(io.StringIO(f.read().decode("utf-8"), newline="")))
check(rows[0] == HEADERS, "header %r" % rows[0])
check(len(rows) == len(entries) + 1, "%d lines for %d names" % (len(rows), len(entries)))
seen = set()
for line, row in enumerate(rows[1:], 1):
    check(len(row) == 10, "line %d has %d fields: %r" % (line, len(row), row))
    k = index_of(row[5])
    seen.add(k)
    check(row[0] == expected[k], "name %d (%r): %r, expected %r"
          % (k, entries[k][1], row[0], expected[k]))
check(seen == set(range(len(entries))), "stations missing from the text")

# The workbook: the same texts as text cells, a hidden name as an empty cell.
book = xlrd.open_workbook(os.path.join(out, "names.xls"), logfile=io.StringIO())
sheet = book.sheet_by_index(0)
check((sheet.nrows, sheet.ncols) == (len(entries) + 1, 10), "size %dx%d" % (sheet.nrows, sheet.ncols))
for r in range(1, sheet.nrows):
    k = index_of(sheet.cell_value(r, 5))
    cell = sheet.cell(r, 0)
    if expected[k]:
        check(cell.ctype == xlrd.XL_CELL_TEXT and cell.value == expected[k],
              "workbook name %d: %r, expected %r" % (k, cell.value, expected[k]))
    else:
        check(cell.ctype == xlrd.XL_CELL_EMPTY, "workbook name %d should be empty" % k)
shutil.rmtree(out)
shutil.rmtree(folder)
