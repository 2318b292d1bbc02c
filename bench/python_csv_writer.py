"""Python's csv module writing rows to a flushed file, the yardstick of the
comma-separated save: reads the rows from a CSV file (not timed), then writes them with
csv.writer into a new file, flushed to disk, and prints the CPU and wall seconds that
took.
    python_csv_writer.py <rows.csv> <out.csv>"""
import csv
import os
import sys
import time

source, target = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-8", newline="") as f:
    rows = list(csv.reader(f))

cpu, wall = time.process_time(), time.perf_counter()
with open(target, "w", encoding="utf-8", newline="") as f:
    csv.writer(f, quoting=csv.QUOTE_ALL, lineterminator="\n").writerows(rows)
    f.flush()
    os.fsync(f.fileno())
print(time.process_time() - cpu, time.perf_counter() - wall)
