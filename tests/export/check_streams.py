"""Reads a sample compound document back with olefile and xlrd's container reader:
    check_streams.py <sample program> <size>..."""
import io
import os
import shutil
import sys

import olefile
from xlrd import compdoc

from samples import check, run_sample

sizes = [int(s) for s in sys.argv[2:]]
folder = run_sample(["streams"] + sys.argv[2:])
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
shutil.rmtree(folder)
