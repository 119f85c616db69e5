#!/usr/bin/env python3
"""vantorel-cli --add-sizes on real programs, checked by what knows nothing of
Vantorel: the bytes of the original file, pefile, wrestool, and Wine's own icon
lookup (icon_probe.exe: LoadImageW and LookupIconIdFromDirectoryEx at every
size of the icon file must give the icon file's own image). The programs: the
MinGW fixtures (with icon groups), MinGW programs built without resources
(stripped, and with their COFF symbol table after the sections), and copies
of Wine's own programs (which carry their symbol table too).

Usage: add_sizes_programs_test.py --cli PATH --fixtures DIR --wine-run PATH [--results XML]
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

import pefile

from real_programs_test import RT_GROUP_ICON, RT_ICON, groups, icon_entries, wrestool_group

ARGS = None
WINE32 = "/usr/lib/i386-linux-gnu/wine/i386-windows"
WINE64 = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"

# name, program, what it prints when started under Wine after --add-sizes
# (None: not started; the prefix is 32-bit, or it waits for a user).
PROGRAMS = [
    ("fixture-i686", "fixture:fixture-i686.exe", "fixture ok"),
    ("fixture-x86_64", "fixture:fixture-x86_64.exe", None),
    ("bare-i686-stripped", "fixture:bare-i686-stripped.exe", "bare ok (icon 1)"),
    ("bare-i686-symbols", "fixture:bare-i686-symbols.exe", "bare ok (icon 1)"),
    ("bare-x86_64-stripped", "fixture:bare-x86_64-stripped.exe", None),
    ("bare-x86_64-symbols", "fixture:bare-x86_64-symbols.exe", None),
    # One group; six groups; resources without icons; no resources at all.
    ("wine-winemine", WINE32 + "/winemine.exe", None),
    ("wine-regedit", WINE32 + "/regedit.exe", None),
    ("wine-hostname", WINE32 + "/hostname.exe", ""),
    ("wine-whoami", WINE32 + "/whoami.exe", ""),
    ("wine64-notepad", WINE64 + "/notepad.exe", None),
]

# name, program, what is appended: a payload that must keep ending the file.
REFUSED = [
    ("installer-payload", "fixture:fixture-i686.exe", b"\xefBEEFNullsoftInst" + bytes(range(256)) * 8),
    ("zip-appended", "fixture:bare-x86_64-stripped.exe", b"PK\x03\x04" + bytes(60) + b"PK\x05\x06" + bytes(18)),
    ("after-symbols", "fixture:bare-i686-symbols.exe", b"payload" * 100),
]


class Problem(Exception):
    pass


def expect(condition, what):
    if not condition:
        raise Problem(what)


def source(program):
    return Path(ARGS.fixtures) / program[len("fixture:"):] if program.startswith("fixture:") else Path(program)


def cli(*args):
    return subprocess.run([ARGS.cli, *map(str, args)], capture_output=True, text=True)


def wine(*args):
    """A Windows program under Wine; paths given as Z: paths."""
    env = dict(os.environ)
    # Wine's own programs are started from the copy, not from Wine's builtins.
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;hostname.exe,whoami.exe=n"
    return subprocess.run([ARGS.wine_run, *args], capture_output=True, text=True, env=env, timeout=120)


def z(path):
    return "Z:" + str(path)


def header_fields(data):
    """Offsets of the header bytes --add-sizes may change in a file it grows:
    NumberOfSections, SizeOfImage, CheckSum, the resource data directory and
    the one new section header after the table."""
    pe = pefile.PE(data=bytes(data), fast_load=True)
    optional = pe.OPTIONAL_HEADER.get_file_offset()
    table = optional + pe.FILE_HEADER.SizeOfOptionalHeader
    resource = pe.OPTIONAL_HEADER.DATA_DIRECTORY[2].get_file_offset()
    new_header = table + 40 * pe.FILE_HEADER.NumberOfSections
    ranges = [(pe.FILE_HEADER.get_file_offset() + 2, 2), (optional + 56, 4), (optional + 64, 4), (resource, 8),
              (new_header, 40)]
    return pe, ranges


def assert_nothing_moved(before, after):
    """Every byte of `before` is at its offset in `after`, but for the header
    fields that name the new section; `after` only grew."""
    expect(len(after) > len(before), f"the file did not grow ({len(before)} -> {len(after)})")
    _, ranges = header_fields(before)
    masked_before, masked_after = bytearray(before), bytearray(after[:len(before)])
    for at, size in ranges:
        masked_before[at:at + size] = masked_after[at:at + size] = bytes(size)
    if masked_before != masked_after:
        first = next(i for i in range(len(before)) if masked_before[i] != masked_after[i])
        raise Problem(f"byte {first:#x} of the original changed")


def assert_headers_name_the_section(before, after):
    """The new section lies after every byte of the original, in the address
    space after every old section; the headers' fields say so."""
    old, _ = header_fields(before)
    pe = pefile.PE(data=after)  # a full parse, resources included
    expect(pe.FILE_HEADER.NumberOfSections == old.FILE_HEADER.NumberOfSections + 1, "not one more section")
    new = pe.sections[-1]
    alignment = pe.OPTIONAL_HEADER.SectionAlignment
    old_end = max(s.VirtualAddress + max(s.Misc_VirtualSize, s.SizeOfRawData) for s in old.sections)
    expect(new.PointerToRawData >= len(before) and new.PointerToRawData % pe.OPTIONAL_HEADER.FileAlignment == 0,
           "the new section's data does not start after the original's end, aligned")
    expect(new.PointerToRawData + new.SizeOfRawData == len(after), "the new section does not end the file")
    expect(new.VirtualAddress >= old_end and new.VirtualAddress % alignment == 0, "the new section overlaps")
    expect(pe.OPTIONAL_HEADER.SizeOfImage == -(-(new.VirtualAddress + new.Misc_VirtualSize) // alignment) * alignment,
           "SizeOfImage does not end with the new section")
    directory = pe.OPTIONAL_HEADER.DATA_DIRECTORY[2]
    expect(new.VirtualAddress <= directory.VirtualAddress < new.VirtualAddress + new.Misc_VirtualSize,
           "the resource directory is not in the new section")
    return pe


def assert_checksum(before, pe):
    old = pefile.PE(data=before, fast_load=True)
    if old.OPTIONAL_HEADER.CheckSum == 0:
        expect(pe.OPTIONAL_HEADER.CheckSum == 0, "a zero checksum was made up")
    elif old.verify_checksum():
        expect(pe.verify_checksum(), "the checksum is no longer right")


def leaves(pe):
    """(type, name, language) -> bytes of every resource, as pefile reads the
    tree; numbers and names as wrestool spells them."""
    spelt = lambda entry: str(entry.id) if entry.name is None else str(entry.name)
    out = {}
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []:
        for n in t.directory.entries:
            for lang in n.directory.entries:
                d = lang.data.struct
                out[(spelt(t), spelt(n), str(lang.id))] = bytes(pe.get_data(d.OffsetToData, d.Size))
    return out


def resource_leaves(pe, type_id):
    return {key[1:]: data for key, data in leaves(pe).items() if key[0] == str(type_id)}


def other_resources(pe):
    """Every resource but icons and groups."""
    return {key: data for key, data in leaves(pe).items() if key[0] not in (str(RT_ICON), str(RT_GROUP_ICON))}


def group_images(pe):
    """(name, language) of each group -> the (12 shared entry bytes, image)
    pairs it shows, each icon found by its number in the group's language
    first, as the system looks it up."""
    icons = resource_leaves(pe, RT_ICON)
    out = {}
    for key, data in resource_leaves(pe, RT_GROUP_ICON).items():
        count = struct.unpack("<H", data[4:6])[0]
        shown = set()
        for e in range(count):
            entry = data[6 + 14 * e:20 + 14 * e]
            number = str(struct.unpack("<H", entry[12:14])[0])
            image = icons.get((number, key[1])) or next((v for k, v in icons.items() if k[0] == number), None)
            shown.add((entry[:12], image))
        out[key] = shown
    return out


def wrestool_reads(pe):
    """wrestool lays the sections out at their addresses in one buffer as long
    as the last address: it reads only files whose sections' data all lie below
    that length, as linkers place them."""
    end = max(s.VirtualAddress + max(s.SizeOfRawData, s.Misc_VirtualSize) for s in pe.sections)
    return all(s.PointerToRawData + s.SizeOfRawData <= end for s in pe.sections if s.SizeOfRawData)


def assert_groups_hold(path, icon, groups_before):
    """Every group (the same groups, or a new #1 where there was none) shows
    exactly the icon file's images, each described by its own entry; wrestool,
    where it can read the file, sees the same."""
    images = set(icon_entries(Path(icon).read_bytes()))
    pe = pefile.PE(str(path))
    shown = group_images(pe)
    expect(sorted(shown) == sorted(groups_before or [("1", "0")]), f"groups {groups_before} became {sorted(shown)}")
    for g, held in shown.items():
        expect(held == images, f"group {g} shows {len(held)} images, not the icon file's {len(images)}")
    if not wrestool_reads(pe):
        return "wrestool cannot read it: the new section's data lies past its address"
    expect(sorted(groups(path)) == sorted(shown), f"wrestool lists the groups {groups(path)}")
    for g in shown:
        entries, data = wrestool_group(path, *g)
        expect({(e[:12], d) for e, d in zip(entries, data)} == images, f"wrestool: group {g} shows other images")
    return None


def entry_counts(path):
    return sum(struct.unpack("<H", d[4:6])[0] for d in resource_leaves(pefile.PE(str(path)), RT_GROUP_ICON).values())


def assert_probe(path, icon, group_count):
    probe = wine(Path(ARGS.fixtures) / "icon_probe.exe", z(path), z(icon))
    lines = [line for line in probe.stdout.splitlines() if line.startswith("group ")]
    sizes = {(e[0] or 256, e[1] or 256) for e, _ in icon_entries(Path(icon).read_bytes())}
    expect(probe.returncode == 0, "Wine's lookup: " + (probe.stdout + probe.stderr).strip()[-1500:])
    expect(len(lines) == group_count * len(sizes), f"the probe saw {len(lines)} group sizes:\n{probe.stdout}")


def grown_by(dry_run_output):
    found = re.search(r"would grow by (\d+) bytes", dry_run_output)
    expect(found, "the dry run does not say how much the file grows:\n" + dry_run_output)
    return int(found.group(1))


def check_program(program, prints, work):
    target = work / "program.exe"
    shutil.copyfile(source(program), target)
    before = target.read_bytes()
    sizes, other = private(work, "sizes.ico"), private(work, "app.ico")
    groups_before = sorted(resource_leaves(pefile.PE(data=before), RT_GROUP_ICON))
    entries_before = entry_counts(target)
    resources_before = other_resources(pefile.PE(data=before))

    dry = cli("--dry-run", "--add-sizes", sizes, target)
    expect(dry.returncode == 0, "dry run failed: " + dry.stderr)
    expect(target.read_bytes() == before, "the dry run changed the file")
    growth = grown_by(dry.stdout)
    additions = dry.stdout.partition("Entries added to the icon groups")[2]
    added_rows = len(re.findall(r"^  (?:#\d+|\"[^\"]*\")\s+\d+\s+\d+: ", additions, re.M))

    run = cli("--add-sizes", sizes, target)
    expect(run.returncode == 0, "--add-sizes failed: " + run.stderr)
    after = target.read_bytes()
    expect(len(after) - len(before) == growth, f"grew by {len(after) - len(before)}, the dry run said {growth}")
    assert_nothing_moved(before, after)
    pe = assert_headers_name_the_section(before, after)
    assert_checksum(before, pe)
    expect(other_resources(pe) == resources_before, "another resource changed")
    note = assert_groups_hold(target, sizes, groups_before)
    expect(entry_counts(target) - entries_before == added_rows,
           f"the dry run listed {added_rows} added entries, the groups gained {entry_counts(target) - entries_before}")
    assert_probe(target, sizes, len(group_images(pe)))
    if prints is not None:
        started = wine(z(target))
        expect(started.returncode == 0 and prints in started.stdout,
               f"started under Wine: {started.returncode} {started.stdout.strip()} {started.stderr.strip()[-500:]}")

    again = cli("--add-sizes", sizes, target)
    expect(again.returncode == 0 and target.read_bytes() == after, "a second run with the same icon changed the file")

    # The other replacements still find the room of the images the section holds.
    sized = cli("--all-sizes", sizes, target)
    expect(sized.returncode == 0, "--all-sizes afterwards failed: " + sized.stderr)
    expect(len(target.read_bytes()) == len(after), "--all-sizes afterwards changed the length")
    assert_nothing_moved(before, target.read_bytes())
    assert_groups_hold(target, sizes, groups_before)

    sections = pe.FILE_HEADER.NumberOfSections
    run = cli("--add-sizes", other, target)
    expect(run.returncode == 0, "--add-sizes with another icon failed: " + run.stderr)
    later = target.read_bytes()
    assert_nothing_moved(before, later)
    pe = pefile.PE(data=later)
    expect(pe.FILE_HEADER.NumberOfSections == sections, "a later run added another section")
    assert_checksum(before, pe)
    assert_groups_hold(target, other, groups_before)
    assert_probe(target, other, len(group_images(pe)))

    # Back to the first icon file: the entries the earlier runs added take
    # its sizes again; none is added.
    counts = entry_counts(target)
    back = cli("--add-sizes", sizes, target)
    expect(back.returncode == 0, "--add-sizes back with the first icon failed: " + back.stderr)
    expect(entry_counts(target) == counts,
           f"going back to the first icon file added {entry_counts(target) - counts} group entries")
    assert_groups_hold(target, sizes, groups_before)
    assert_probe(target, sizes, len(group_images(pefile.PE(data=target.read_bytes()))))
    return note


def check_refused(program, payload, work):
    target = work / "program.exe"
    target.write_bytes(source(program).read_bytes() + payload)
    before = target.read_bytes()
    for dry_run in ([], ["--dry-run"]):
        run = cli(*dry_run, "--add-sizes", private(work, "sizes.ico"), target)
        expect(run.returncode == 1 and run.stderr.startswith("error 1017: ") and "appended data" in run.stderr,
               f"{dry_run}: expected error 1017, got {run.returncode} {run.stderr.strip()}")
        expect(target.read_bytes() == before, "a refused file changed")
    return None


def private(work, name):
    """The engine holds the icon file exclusively while it reads it: a copy."""
    copy = work / name
    if not copy.exists():
        shutil.copyfile(Path(ARGS.fixtures) / name, copy)
    return copy


def run_case(check, name, *args):
    with tempfile.TemporaryDirectory(prefix="vantorel-add-sizes-") as tmp:
        try:
            return name, None, check(*args, Path(tmp))
        except Problem as p:
            return name, str(p), None


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--fixtures", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--results")
    ARGS = parser.parse_args()
    results = [run_case(check_program, name, program, prints) for name, program, prints in PROGRAMS]
    results += [run_case(check_refused, name, program, payload) for name, program, payload in REFUSED]
    for name, problem, note in results:
        print(f"{'FAIL' if problem else 'ok'}: {name}{': ' + problem if problem else ''}{' (' + note + ')' if note else ''}")
    if ARGS.results:
        suites = ET.Element("testsuites")
        suite = ET.SubElement(suites, "testsuite", name="add_sizes_programs")
        for name, problem, _ in results:
            case = ET.SubElement(suite, "testcase", name=name, result="completed")
            if problem:
                ET.SubElement(case, "failure", message=problem[:2000])
        ET.ElementTree(suites).write(ARGS.results)
    return 0 if all(problem is None for _, problem, _ in results) else 1


if __name__ == "__main__":
    sys.exit(main())
