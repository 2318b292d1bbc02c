"""Reads a sample workbook back with xlrd and olefile:
    check_xls.py <sample program> stations <rows> | sst <variant> | numbers"""
import io
import os
import shutil
import sys

import olefile
import xlrd
from xlrd import compdoc

from samples import HEADERS, NUMERIC, check, run_sample, sst_strings, station_text

kind, arg = sys.argv[2], (sys.argv[3] if len(sys.argv) > 3 else "")
folder = run_sample([kind] + ([arg] if arg else []))
path = os.path.join(folder, {"stations": "stations.xls"}.get(kind, kind + ".xls"))

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


def expect(r, c, kind, value):
    cell = sheet.cell(r, c)
    check(cell.ctype == kind and cell.value == value,
          "cell (%d, %d) is %r, expected type %d value %r" % (r, c, cell, kind, value))


if kind == "stations":
    rows = int(arg)
    check(sheet.name == "WI-FI", "sheet name %r" % sheet.name)
    check((sheet.nrows, sheet.ncols) == (rows + 1, 10), "size %dx%d" % (sheet.nrows, sheet.ncols))
    for c, text in enumerate(HEADERS):
        expect(0, c, xlrd.XL_CELL_TEXT, text)
    for k in range(rows):
        for c in range(10):
            text = station_text(k, c)
            if c in NUMERIC:
                expect(k + 1, c, xlrd.XL_CELL_NUMBER, 0.0 if text == "-----" else float(text))
            elif text:
                expect(k + 1, c, xlrd.XL_CELL_TEXT, text)
            else:
                expect(k + 1, c, xlrd.XL_CELL_EMPTY, "")
elif kind == "sst":
    strings = sst_strings(arg)
    check(sheet.nrows == len(strings), "rows %d" % sheet.nrows)
    for r, text in enumerate(strings):
        expect(r, 0, xlrd.XL_CELL_TEXT, text)
elif kind == "numbers":
    N, T = xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_TEXT
    rows = [[1, 2, 3], [1, 12345.6789, 2], [12345.6789, 2.5e-5],
            [0.5, 1.1, None, -3.25], [1.0000001, 1099511627777.0, 7, -123456, 1e300],
            ["a", 4, "b", 5, 6]]
    for r, values in enumerate(rows):
        for c, v in enumerate(values):
            if v is None:
                expect(r, c, xlrd.XL_CELL_EMPTY, "")
            else:
                expect(r, c, T if isinstance(v, str) else N, v)
shutil.rmtree(folder)
