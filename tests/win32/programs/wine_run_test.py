#!/usr/bin/env python3
"""scripts/wine-run passes a program's output on while the program runs, and
its own output ends with the program, whatever service processes Wine starts.

The probe prints a line, then waits for a file that this test makes only after
it has read that line: a wrapper that held the output until the program ended
would leave the line unread and fail here instead of hanging.

Usage: wine_run_test.py --wine-run PATH --probe PATH
"""
import argparse
import os
import selectors
import subprocess
import sys
import tempfile
import time
from pathlib import Path

LIMIT = 60  # seconds: generous bounds against a hang, not a measure of speed


def read_until(stream, ready, limit=LIMIT):
    """Reads from a pipe until ready(text) or end of file; gives the text and whether the pipe ended."""
    selector = selectors.DefaultSelector()
    selector.register(stream, selectors.EVENT_READ)
    text, ended = b"", False
    deadline = time.monotonic() + limit
    while not ready(text) and not ended and time.monotonic() < deadline:
        if selector.select(timeout=deadline - time.monotonic()):
            chunk = os.read(stream.fileno(), 4096)
            ended = not chunk
            text += chunk
    return text.decode(errors="replace").replace("\r\n", "\n"), ended


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--probe", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        release = Path(work) / "release"
        run = subprocess.Popen([args.wine_run, args.probe, "Z:" + str(release).replace("/", "\\")],
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            first, ended = read_until(run.stdout, lambda t: b"before the wait\n" in t.replace(b"\r", b""))
            if "before the wait\n" not in first or ended or run.poll() is not None:
                print(f"FAIL: the first line did not arrive while the program ran: {first!r}")
                return 1
            print("ok: the first line arrived while the program was still waiting")
            release.touch()
            rest, ended = read_until(run.stdout, lambda t: False)
            if not ended:
                print("FAIL: the output did not end when the program did")
                return 1
            if "after the wait\n" not in rest:
                print(f"FAIL: the second line was lost: {rest!r}")
                return 1
            status = run.wait(timeout=LIMIT)
            if status != 3:
                print(f"FAIL: the program's status 3 came back as {status}")
                return 1
            print("ok: the rest arrived, the output ended with the program and its status came back")
            return 0
        finally:
            if run.poll() is None:
                run.kill()
                run.wait()


if __name__ == "__main__":
    sys.exit(main())
