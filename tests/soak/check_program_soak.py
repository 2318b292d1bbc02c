"""check_program_soak.py <korvyn> <ticks>: the program on the churning adapter ends well, prints
and exports every station seen, and needs no more memory for twice the ticks."""
import csv
import os
import resource
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from korvyn_check import check, headless_env

program, ticks = sys.argv[1], int(sys.argv[2])
ARRIVALS_PER_CYCLE, CYCLE = 10, 100  # the simulated adapter's rhythm
arriving = ticks // 4                 # stations arrive in the first quarter of the shorter run


def run(ticks, work):
    env = headless_env()
    if "ASAN_OPTIONS" in env:  # freed memory held back for checks would look like growth
        env["ASAN_OPTIONS"] += ":quarantine_size_mb=0"
    docs = os.path.join(work, "Documents")
    result = subprocess.run(
        [program, "--headless", "--driver=sim:churn:%d" % arriving, "--ticks=%d" % ticks,
         "--print", "--export=csv", "--documents=" + docs,
         "--registry=" + os.path.join(work, "settings.reg")],
        capture_output=True, env=env)
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    err = result.stderr.decode("utf-8", "replace")
    check(result.returncode == 0 and "Sanitizer" not in err,
          "%d ticks: exit status %d: %s" % (ticks, result.returncode, err[-3000:]))

    printed = [line.split("\t") for line in result.stdout.decode("utf-8").split("\n")[:-1]]
    files = os.listdir(docs)
    check(len(files) == 1 and files[0].endswith(".csv"), "one export: %r" % files)
    with open(os.path.join(docs, files[0]), encoding="utf-8", newline="") as f:
        exported = list(csv.reader(f))
    check(exported == printed and all(len(row) == 10 for row in exported),
          "%d ticks: the export differs from the printed list" % ticks)
    macs = [row[5] for row in exported[1:]]
    check(len(set(macs)) == len(macs), "every station once")
    arrived = (arriving - 1) // CYCLE * ARRIVALS_PER_CYCLE + min((arriving - 1) % CYCLE + 1,
                                                                 ARRIVALS_PER_CYCLE)
    check(arrived - 40 <= len(macs) <= arrived,
          "%d stations listed of the %d that arrived" % (len(macs), arrived))
    return peak, len(macs)


work = tempfile.mkdtemp(prefix="korvyn-soak-")
short_peak, short_count = run(ticks, os.path.join(work, "short"))
long_peak, long_count = run(2 * ticks, os.path.join(work, "long"))
check(long_count <= short_count + 40, "stations after the arrivals")
check(long_peak <= short_peak + 16 * 1024,  # kB
      "peak memory %d kB for %d ticks, %d kB for %d" % (short_peak, ticks, long_peak, 2 * ticks))
print("ok: %d stations, peak %d kB / %d kB" % (long_count, short_peak, long_peak))
