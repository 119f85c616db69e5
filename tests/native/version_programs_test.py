#!/usr/bin/env python3
"""vantorel-cli's version and manifest options on real programs, checked by
what knows nothing of Vantorel: the original bytes, and Wine's own
GetFileVersionInfoW, VerQueryValueW and FindResourceW (version_probe.exe).
The programs: the MinGW fixture (a version resource of one table), a MinGW
program built without resources, and copies of Wine's own programs.

Usage: version_programs_test.py --cli PATH --fixtures DIR --wine-run PATH [--results XML]
"""
import argparse
import re
import shutil
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

import pefile

import add_sizes_programs_test as shared
from add_sizes_programs_test import Problem, expect, z

WINE32 = "/usr/lib/i386-linux-gnu/wine/i386-windows"
PROGRAMS = [
    ("fixture-i686", "fixture:fixture-i686.exe"),
    ("bare-i686-stripped", "fixture:bare-i686-stripped.exe"),
    ("wine-winver", WINE32 + "/winver.exe"),
    ("wine-notepad", WINE32 + "/notepad.exe"),
]
SET = {"CompanyName": "Acme Ünïcode ✓", "FileDescription": "Probe", "FileVersion": "2.3.4.5",
       "ProductVersion": "6.7"}


def source(program):
    return Path(ARGS.fixtures) / program[len("fixture:"):] if program.startswith("fixture:") else Path(program)


def probe(path):
    out = shared.wine(Path(ARGS.fixtures) / "version_probe.exe", z(path), *SET)
    expect(out.returncode == 0, f"version_probe failed: {out.stdout}{out.stderr}")
    return out.stdout


def resource_types(pe):
    return pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []


def version_and_manifest_ranges(data):
    """File ranges of the version and manifest data and their data entries:
    what an edit in place may write over."""
    pe = pefile.PE(data=bytes(data))
    ranges = []
    for t in resource_types(pe):
        if t.id not in (16, 24):
            continue
        for n in t.directory.entries:
            for leaf in n.directory.entries:
                ranges.append((pe.get_offset_from_rva(leaf.data.struct.OffsetToData), leaf.data.struct.Size))
                ranges.append((leaf.data.struct.get_file_offset(), 16))
    return ranges


def check_program(program, work):
    target = work / "app.exe"
    shutil.copyfile(source(program), target)
    before = target.read_bytes()
    args = [a for key, value in SET.items() if key not in ("FileVersion", "ProductVersion")
            for a in ("--set-version-string", key, value)]
    run = shared.cli(*args, "--set-file-version", SET["FileVersion"], "--set-product-version", SET["ProductVersion"],
                     "--set-requested-execution-level", "requireAdministrator", target)
    expect(run.returncode == 0, f"vantorel-cli failed: {run.stderr}")
    after = target.read_bytes()
    if len(after) > len(before):
        shared.assert_nothing_moved(before, after)
    else:
        _, header = shared.header_fields(before)
        allowed = header + version_and_manifest_ranges(before)
        for i in range(len(before)):
            if before[i] != after[i] and not any(at <= i < at + size for at, size in allowed):
                raise Problem(f"byte {i:#x} changed outside the version, the manifest and the headers")
    seen = probe(target)
    tables = sorted(set(re.findall(r"^([0-9a-fA-F]{8}) ", seen, re.M)))
    expect(tables, f"no string table read back:\n{seen}")
    for table in tables:
        for key, value in SET.items():
            expect(f"{table} {key}={value}\n" in seen, f"{table} {key} is not {value!r}:\n{seen}")
    expect("fixed 2.3.4.5 6.7.0.0\n" in seen, f"the fixed numbers:\n{seen}")
    expect(re.search(r'^manifest .*level="requireAdministrator"', seen, re.M), f"the manifest:\n{seen}")
    # A second run, with --add-sizes as one change, sets a value again in
    # the same section; then the plain replacement still finds the icons.
    length = len(after)
    again = shared.cli("--add-sizes", shared.private(work, "sizes.ico"), "--set-version-string", "FileDescription",
                       "Again", target)
    expect(again.returncode == 0, f"a second run failed: {again.stderr}")
    expect("Again" in probe(target), "the system does not read the second value")
    expect(len(pefile.PE(str(target)).sections) == len(pefile.PE(data=after).sections), "a second section was added")
    if any(t.id == 14 for t in resource_types(pefile.PE(data=before))):
        replaced = shared.cli(shared.private(work, "new.ico"), target)
        expect(replaced.returncode == 0, f"the icon could not be replaced after: {replaced.stderr}")
    return f"{len(tables)} tables, {length - len(before)} bytes added"


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--fixtures", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--results")
    ARGS = shared.ARGS = parser.parse_args()
    results = [shared.run_case(check_program, name, program) for name, program in PROGRAMS]
    for name, problem, note in results:
        print(f"{'FAIL' if problem else 'ok'}: {name}{': ' + problem if problem else ''}{' (' + note + ')' if note else ''}")
    if ARGS.results:
        suites = ET.Element("testsuites")
        suite = ET.SubElement(suites, "testsuite", name="version_programs")
        for name, problem, _ in results:
            case = ET.SubElement(suite, "testcase", name=name, result="completed")
            if problem:
                ET.SubElement(case, "failure", message=problem[:2000])
        ET.ElementTree(suites).write(ARGS.results)
    return 0 if all(problem is None for _, problem, _ in results) else 1


if __name__ == "__main__":
    sys.exit(main())
