"""The sample data of ExportSamples.h, rebuilt independently, and the run of the sample
program into a fresh folder."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from korvyn_check import HEADERS, NUMERIC, check  # noqa: F401 (for the readers)



def station_text(k, c):
    def time(t):
        return "06/12/26 %02d:%02d:%02d" % (t // 3600 % 24, t // 60 % 60, t % 60)
    if c == 0:
        if k % 11 == 0:
            return ""
        if k % 11 == 1:
            return 'Caf\u00e9 "Z\u00f6ld" %d' % k
        if k % 11 == 2:
            return "\u0421\u0435\u0442\u044c %d" % k
        return "Net-%d" % k
    return [None,
            "-----" if k % 5 == 0 else str(70 - k % 60),
            str(1 + k % 13),
            "AP" if k % 3 else "Peer",
            "WEP" if k % 2 else "Open",
            "00-1A-%02X-%02X-%02X-%02X" % ((k >> 24) & 255, (k >> 16) & 255, (k >> 8) & 255,
                                           k & 255),
            str(80 - k % 50),
            str(60 - k % 50),
            time(k),
            time(k + 30)][c]


def sst_strings(variant):
    def filler(j, chars):
        s = str(1000 + j)
        return s + "x" * (chars - len(s))
    if variant == "even":
        strings = [filler(j, 100) for j in range(40)]
    elif variant == "odd":
        strings = [filler(j, 98) for j in range(41)]
    else:
        strings = [filler(j, 100) for j in range(39)] + [filler(39, 144)]
    crossing = "".join(chr(0x410 + i % 32) for i in range(200))
    return strings + [crossing, "\u0151" * 10000 + "end", "after"]


def run_sample(args):
    """Runs the sample program (argv[1]) with args in a new folder; returns the folder."""
    folder = tempfile.mkdtemp(prefix="korvyn-export-")
    result = subprocess.run([sys.argv[1], folder] + args)
    if result.returncode != 0:
        sys.exit("sample program failed: %s" % " ".join(args))
    return folder
