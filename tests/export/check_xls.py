"""Reads a sample workbook back with xlrd and olefile and compares its first sheet with the
cells the sample program set: check_xls.py <sample program> stations <rows> | sst <variant>
| numbers"""
import io
import os
import shutil
import sys

import olefile
import xlrd
from xlrd import compdoc

from samples import check, run_sample

kind = sys.argv[2]
folder = run_sample(sys.argv[2:])
path = os.path.join(folder, kind + ".xls")

# The container, by two readers; either one's complaint fails the check.
ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_UNSURE)
check(ole.listdir() == [["Workbook"]], "streams %r" % ole.listdir())
stream = ole.openstream("Workbook").read()
check(len(stream) == ole.get_size("Workbook"), "stream size")
log = io.StringIO()
with open(path, "rb") as f:
    raw = f.read()
check(compdoc.CompDoc(raw, logfile=log).get_named_stream("Workbook") == stream,
      "xlrd's container reader sees other bytes")
check(log.getvalue() == "", "xlrd container warnings: " + log.getvalue())

log = io.StringIO()
book = xlrd.open_workbook(path, logfile=log)
check("WARNING" not in log.getvalue(), "xlrd warnings: " + log.getvalue())
check(book.nsheets == 1, "sheet count %d" % book.nsheets)
sheet = book.sheet_by_index(0)
check(sheet.name == ("WI-FI" if kind == "stations" else "Sheet1"), "sheet name %r" % sheet.name)

cells = {}
with open(os.path.join(folder, "cells.txt"), encoding="utf-8") as f:
    for line in f.read().splitlines():
        r, c, t, value = line.split("\t", 3)
        cells[int(r), int(c)] = (xlrd.XL_CELL_TEXT, value) if t == "T" else \
            (xlrd.XL_CELL_NUMBER, float(value))
size = (max(r for r, c in cells) + 1, max(c for r, c in cells) + 1)
check((sheet.nrows, sheet.ncols) == size, "size %dx%d" % (sheet.nrows, sheet.ncols))
for r in range(sheet.nrows):
    for c in range(sheet.ncols):
        want = cells.get((r, c), (xlrd.XL_CELL_EMPTY, ""))
        got = sheet.cell(r, c)
        check((got.ctype, got.value) == want, "cell (%d, %d) is %r, expected %r" % (r, c, got, want))
shutil.rmtree(folder)
