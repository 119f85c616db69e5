#!/usr/bin/env python3
"""The packaged-programs matrix (tests/packaged) with the peers beside us:
rcedit (its 32-bit build, under Wine) and resedit-cli set the icon of a fresh
copy of each program from the same icon file as our plain mode, and the copy
is checked as the matrix checks ours: its job against the untouched copy's run,
and Wine's own icon lookup. Prints the README's table: our four modes, then
the two peers.

    python3 bench/packaged.py [--cli PATH] [--probe PATH]

Not in CI: it installs the peers with npm, as bench/run.py does.
"""
import argparse
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path[:0] = [str(ROOT / "bench"), str(ROOT / "tests" / "packaged")]
import matrix_test  # noqa: E402
import run as bench  # noqa: E402

# rcedit works for minutes on end on the Node single executable.
PEER_SECONDS = 120


def rcedit(matrix, options, icon, target):
    """rcedit's 32-bit build under the matrix's Wine."""
    status, said = matrix.wine.run(bench.RCEDIT32, target, "--set-icon", icon, timeout=PEER_SECONDS, stderr=True)
    if status is None:
        return subprocess.CompletedProcess([], 1, "", f"did not end in {PEER_SECONDS} s")
    return subprocess.CompletedProcess([], status, "", said)


def resedit(matrix, options, icon, target):
    # Icon group 1, which resedit-cli makes when the program has another.
    try:
        return subprocess.run([bench.RESEDIT, "--in", target, "--out", target, "--icon", f"1,{icon}"],
                              capture_output=True, text=True, timeout=PEER_SECONDS)
    except subprocess.TimeoutExpired:
        return subprocess.CompletedProcess([], 1, "", f"did not end in {PEER_SECONDS} s")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default=str(ROOT / "build/native/cli/vantorel-cli"))
    parser.add_argument("--probe", default=str(ROOT / "build/native/tests/fixtures/icon_probe.exe"))
    matrix_test.ARGS = parser.parse_args()
    bench.install_peers()
    columns = {mode: (mode, matrix_test.ours) for mode in matrix_test.MODES}
    columns.update({"rcedit": ("plain", rcedit), "resedit-cli": ("plain", resedit)})
    results, seconds, built = matrix_test.run_matrix(columns)
    matrix_test.report(results, columns, seconds, built)


if __name__ == "__main__":
    sys.exit(main())
