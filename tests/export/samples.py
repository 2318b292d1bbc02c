"""The run of the sample program into a fresh folder, for the readers."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from korvyn_check import check  # noqa: F401 (for the readers)


def run_sample(args):
    """Runs the sample program (argv[1]) with args in a new folder; returns the folder."""
    folder = tempfile.mkdtemp(prefix="korvyn-export-")
    result = subprocess.run([sys.argv[1], folder] + args)
    if result.returncode != 0:
        sys.exit("sample program failed: %s" % " ".join(args))
    return folder
