"""Prints the name (column 0) and MAC (column 5) of every station row of a saved list as
two hexadecimal UTF-8 texts per line, after checking that every row has ten fields, that a
workbook keeps names as text cells and that nothing became a formula:
    read_names.py <file.csv | file.xls>"""
import csv
import io
import sys

path = sys.argv[1]
if path.endswith(".csv"):
    with open(path, "rb") as f:
        rows = list(csv.reader(io.StringIO(f.read().decode("utf-8"), newline="")))
else:
    import xlrd

    sheet = xlrd.open_workbook(path, logfile=io.StringIO()).sheet_by_index(0)
    rows = []
    for r in range(sheet.nrows):
        kinds = [sheet.cell_type(r, c) for c in range(sheet.ncols)]
        if kinds[0] not in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_EMPTY):
            sys.exit("row %d: the name is not a text cell" % r)
        rows.append([str(v) for v in sheet.row_values(r)])
for r, row in enumerate(rows):
    if len(row) != 10:
        sys.exit("row %d has %d fields" % (r, len(row)))
for row in rows[1:]:
    print(row[0].encode("utf-8").hex() or "-", row[5].encode("utf-8").hex())
