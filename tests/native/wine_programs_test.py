#!/usr/bin/env python3
"""vantorel-cli on every program Wine installs, 32-bit and 64-bit: programs
nobody here wrote. Each one with icons gets the new icon in a temporary copy,
checked by wrestool and pefile; each one without fails and stays as it was
(9 when it has resources but no icon, 1004 when it has no resources at all).
Each one with icons is also given every size of a second icon file with
--all-sizes, and each group entry is checked against the image that best shows
the size it described.

Usage: wine_programs_test.py --cli PATH --icon ICO --sizes-icon ICO [--results XML]
"""
import argparse
import glob
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

import pefile

from real_programs_test import best_image, entry_size, first_image, icon_entries, resource_section


def has_icons(path):
    listing = subprocess.run(["wrestool", "-l", "-t", "14", path], capture_output=True, text=True)
    return listing.returncode == 0 and listing.stdout.strip() != ""


def outside_section_same(original, before, after, target):
    """Whether only the resource section (and the CheckSum) changed, and a right
    CheckSum stayed right."""
    pe = pefile.PE(str(target))
    field = pe.OPTIONAL_HEADER.get_file_offset() + 64
    # The checksum is updated by what changed: one that was right stays right.
    # (Wine marks its programs after linking, so most of their checksums were
    # never right to begin with.)
    if pefile.PE(original, fast_load=True).verify_checksum() and not pe.verify_checksum():
        return "checksum no longer right"
    start, end = resource_section(Path(original))
    masked_before, masked_after = bytearray(before), bytearray(after)
    masked_before[field:field + 4] = masked_after[field:field + 4] = bytes(4)
    if masked_before[:start] != masked_after[:start] or masked_before[end:] != masked_after[end:]:
        return "bytes outside the resource section changed"
    return None


def extract_groups(target, out):
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir()
    subprocess.run(["wrestool", "-x", "-t", "14", "-o", str(out), str(target)], check=True, capture_output=True)
    return {g.name: icon_entries(g.read_bytes()) for g in out.glob("*.ico")}


def check_all_sizes(cli, sizes_icon, original, work):
    """--all-sizes: every group entry afterwards describes, and its icon holds,
    the image of the icon file that best shows the size the entry described
    before (or, where the tool said so, a substitute that is one of its images)."""
    if not has_icons(original):
        return None
    target = work / ("sizes-" + Path(original).name)
    shutil.copyfile(original, target)
    before_groups = extract_groups(target, work / "before")
    before = Path(original).read_bytes()
    run = subprocess.run([cli, "--all-sizes", str(sizes_icon), str(target)], capture_output=True, text=True)
    if run.returncode != 0:
        return f"--all-sizes failed: {run.stderr.strip()}"
    images = icon_entries(Path(sizes_icon).read_bytes())
    sizes = [entry_size(e) for e, _ in images]
    substitutes = "got image" in run.stdout
    for name, entries in extract_groups(target, work / "after").items():
        for old, (new, image) in zip(before_groups[name], entries):
            if (new[:12], image) not in images:
                return f"group {name}: an entry that describes no image of the icon file"
            if not substitutes and (new[:12], image) != images[best_image(sizes, entry_size(old[0]))]:
                return f"group {name}: not the best image for {entry_size(old[0])}"
    return outside_section_same(original, before, target.read_bytes(), target)


def check_program(cli, icon, original, work):
    """Returns None when the program passes, else what went wrong."""
    target = work / Path(original).name
    shutil.copyfile(original, target)
    before = Path(original).read_bytes()
    run = subprocess.run([cli, str(icon), str(target)], capture_output=True, text=True)
    after = target.read_bytes()
    if not has_icons(original):
        resources = pefile.PE(original, fast_load=True).OPTIONAL_HEADER.DATA_DIRECTORY[2].Size != 0
        expected = "error 9: " if resources else "error 1004: "
        if run.returncode != 1 or not run.stderr.startswith(expected):
            return f"no icons: expected {expected.strip()}, got {run.returncode} {run.stderr.strip()}"
        return None if after == before else "no icons, yet the file changed"
    if run.returncode != 0:
        return f"replacement failed: {run.stderr.strip()}"
    if len(after) != len(before):
        return "length changed"
    entry, image = first_image(icon)
    out = work / "groups"
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir()
    subprocess.run(["wrestool", "-x", "-t", "14", "-o", str(out), str(target)], check=True, capture_output=True)
    for group in out.glob("*.ico"):
        for e, img in icon_entries(group.read_bytes()):
            if e != entry or img != image:
                return f"group {group.name} does not describe the new image"
    return outside_section_same(original, before, after, target)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--icon", required=True)
    parser.add_argument("--sizes-icon", required=True, help="an icon file of many sizes, for --all-sizes")
    parser.add_argument("--results")
    args = parser.parse_args()
    programs = sorted(glob.glob("/usr/lib/*/wine/*-windows/*.exe"))
    results = []
    with tempfile.TemporaryDirectory(prefix="vantorel-wine-") as tmp:
        # Our own copy: the engine holds the icon file exclusively while it reads it.
        icon = Path(tmp) / "new.ico"
        shutil.copyfile(args.icon, icon)
        sizes_icon = Path(tmp) / "sizes.ico"
        shutil.copyfile(args.sizes_icon, sizes_icon)
        for program in programs:
            problem = check_program(args.cli, icon, program, Path(tmp))
            problem = problem or check_all_sizes(args.cli, sizes_icon, program, Path(tmp))
            results.append((program, problem))
    with_icons = sum(1 for p, _ in results if has_icons(p))
    failed = [(p, why) for p, why in results if why]
    for p, why in failed:
        print(f"FAIL {p}: {why}")
    print(f"{len(results)} programs ({with_icons} with icons), {len(failed)} failed")
    if args.results:
        write_report(results, args.results)
    return 0 if results and not failed else 1


def write_report(results, path):
    import xml.etree.ElementTree as ET
    suites = ET.Element("testsuites")
    suite = ET.SubElement(suites, "testsuite", name="wine_programs")
    for program, problem in results:
        case = ET.SubElement(suite, "testcase", name=program, result="completed")
        if problem:
            ET.SubElement(case, "failure", message=problem)
    ET.ElementTree(suites).write(path)


if __name__ == "__main__":
    sys.exit(main())
