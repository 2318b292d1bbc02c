"""Prints a saved station list as an independent reader sees it: one line per row, cells
separated by 0x1f, in UTF-8. Comma-separated files are read with the csv module; workbooks
with xlrd, a line "sheet:<name>" per sheet, then cells as "t:<text>", "n:<number>", "e:".
    read_export.py <file.csv | file.xls>"""
import csv
import io
import sys

path, lines = sys.argv[1], []
if path.endswith(".csv"):
    raw = open(path, "rb").read()
    if raw.startswith(b"\xef\xbb\xbf") or b"\r" in raw or not raw.endswith(b"\n"):
        sys.exit("byte-order mark or line ends")
    lines = ["\x1f".join(row) for row in csv.reader(io.StringIO(raw.decode(), newline=""))]
else:
    import xlrd

    log = io.StringIO()
    book = xlrd.open_workbook(path, logfile=log)
    if "WARNING" in log.getvalue():
        sys.exit(log.getvalue())
    kinds = {xlrd.XL_CELL_TEXT: "t:", xlrd.XL_CELL_NUMBER: "n:", xlrd.XL_CELL_EMPTY: "e:"}
    for sheet in book.sheets():
        lines.append("sheet:" + sheet.name)
        for r in range(sheet.nrows):
            cells = [kinds[c.ctype] + (("%g" % c.value) if c.ctype == xlrd.XL_CELL_NUMBER
                                       else c.value) for c in sheet.row(r)]
            lines.append("\x1f".join(cells))
sys.stdout.buffer.write(("\n".join(lines) + "\n").encode())
