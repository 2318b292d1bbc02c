"""Reads a sample compound document back with olefile and xlrd's container reader:
    check_streams.py <sample program> <size>... [<k>=<size>]... [<field>=<value>]...
Sizes make streams, k=size writes stream k again; the fields are the layout expected:
sectors (after the header), tables (table sectors), root (the mini container's first
sector, or end), minitable (the mini table's sectors)."""
import io
import os
import shutil
import sys

import olefile
from xlrd import compdoc

from samples import check, run_sample

FREE, END = 0xFFFFFFFF, 0xFFFFFFFE
args = [a for a in sys.argv[2:] if not a[0].isalpha()]
layout = dict(a.split("=") for a in sys.argv[2:] if a[0].isalpha())
sizes = [int(a) for a in args if "=" not in a]
for k, size in (a.split("=") for a in args if "=" in a):
    sizes[int(k)] = int(size)
folder = run_sample(["streams"] + args)
path = os.path.join(folder, "streams.cfb")
with open(path, "rb") as f:
    raw = f.read()
check(len(raw) % 512 == 0, "file length %d" % len(raw))
ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_UNSURE)
names = ["S%d" % k for k in range(len(sizes))]
check(sorted(ole.listdir()) == sorted([n] for n in names), "streams %r" % ole.listdir())
log = io.StringIO()
doc = compdoc.CompDoc(raw, logfile=log)
for k, (name, size) in enumerate(zip(names, sizes)):
    period = bytes((i * 7 + k) % 251 for i in range(251))
    want = (period * (size // 251 + 1))[:size]
    check(ole.openstream(name).read() == want, "olefile reads other bytes in " + name)
    check(doc.get_named_stream(name) == want, "xlrd reads other bytes in " + name)
check(log.getvalue() == "", "xlrd container warnings: " + log.getvalue())

check(ole.fat[len(raw) // 512 - 2] != FREE, "the file ends with a free sector")
minitable, s = [], ole.first_mini_fat_sector
while s != END and len(minitable) < 1000:
    minitable, s = minitable + [s], ole.fat[s]
got = {"sectors": len(raw) // 512 - 1, "tables": ole.num_fat_sectors,
       "root": "end" if ole.root.isectStart == END else ole.root.isectStart,
       "minitable": ",".join(map(str, minitable)) or "none"}
for field, value in layout.items():
    check(str(got[field]) == value, "%s is %s, expected %s" % (field, got[field], value))
shutil.rmtree(folder)
