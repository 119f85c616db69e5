#!/usr/bin/env python3
"""Adds up the results of every test program and prints 'N passed, N failed'.

Each ctest entry counts by its GoogleTest cases when it wrote an XML report;
otherwise (a script test) it counts as one case. An entry that failed although
its report shows no failing case (it crashed after writing, or exited non-zero)
adds one failure, so nothing that failed is ever counted as passed.
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def gtest_counts(report):
    root = ET.parse(report).getroot()
    passed = failed = skipped = 0
    for case in root.iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped


def main(dirs):
    passed = failed = skipped = 0
    for d in map(Path, dirs):
        # One report per ctest run in the tree (the package tests run apart).
        reports = sorted(d.glob("*.junit"))
        if not reports:
            print(f"no results in {d}")
            failed += 1
            continue
        entries = [e for junit in reports for e in ET.parse(junit).getroot().iter("testcase")]
        for entry in entries:
            name = entry.get("name")
            ok = entry.get("status") in ("run", "passed") and entry.find("failure") is None
            report = d / f"{name}.xml"
            if report.exists():
                p, f, s = gtest_counts(report)
                if not ok and f == 0:
                    print(f"{name}: exited with failure")
                    f = 1
                passed, failed, skipped = passed + p, failed + f, skipped + s
            elif ok:
                passed += 1
            else:
                print(f"{name}: failed")
                failed += 1
    line = f"{passed} passed, {failed} failed"
    if skipped:
        line += f", {skipped} skipped"
    print(line)
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
