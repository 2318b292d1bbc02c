"""Reads the sample comma-separated file back with Python's csv module:
    check_csv.py <sample program> <rows>"""
import csv
import io
import os
import shutil
import sys

from samples import HEADERS, check, run_sample, station_text

rows = int(sys.argv[2])
folder = run_sample(["csv", str(rows)])
with open(os.path.join(folder, "stations.csv"), "rb") as f:
    raw = f.read()
check(not raw.startswith(b"\xef\xbb\xbf"), "byte-order mark")
check(b"\r" not in raw and raw.endswith(b"\n"), "line ends")

expected = [HEADERS] + [[station_text(k, c) for c in range(10)] for k in range(rows)]
parsed = list(csv.reader(io.StringIO(raw.decode("utf-8"), newline="")))
check(len(parsed) == len(expected), "%d lines" % len(parsed))
for line, (got, want) in enumerate(zip(parsed, expected)):
    check(got == want, "line %d: %r, expected %r" % (line, got, want))

# Every text between quotes with its quotes doubled; empty fields bare.
quoted = lambda t: '"' + t.replace('"', '""') + '"' if t else ""
for line, (text, want) in enumerate(zip(raw.decode("utf-8").split("\n"), expected)):
    check(text == ",".join(quoted(t) for t in want), "line %d: %r" % (line, text))
shutil.rmtree(folder)
