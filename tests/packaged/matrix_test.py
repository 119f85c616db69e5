#!/usr/bin/env python3
"""The packaged-programs matrix: installers, self-extracting archives and
single-file programs built here (build_programs.py), each given a new icon by
vantorel-cli in each mode on a fresh copy, then run under Wine.

A cell "runs" when the CLI changed the program, the program still does its
job (what it prints, or the files it installs and what its uninstaller leaves,
equal to the untouched copy's run) and Wine's own icon lookup (icon_probe.exe)
shows the new icon; else the CLI refused with a failure number, left the copy
byte-identical, and its message names what it found in the program. What
does neither is "broken" (the program no longer does its job, or a refusal
changed it) or "old icon" (it runs, but a group still shows its old icon).
Every cell must come out as EXPECTED says; the matrix is printed as the
README's table, with the messages of the cells that did not run and the
matrix's own time. bench/packaged.py runs it with the peers beside us.

Usage: matrix_test.py --cli PATH --probe icon_probe.exe [--results XML]
"""
import argparse
import hashlib
import re
import shutil
import struct
import subprocess
import sys
import time
import xml.etree.ElementTree as ET
from dataclasses import dataclass
from pathlib import Path

import pefile

HERE = Path(__file__).resolve().parent
sys.path[:0] = [str(HERE.parent / "native"), str(HERE.parent / "fixtures")]
from add_sizes_programs_test import resource_leaves  # noqa: E402
from make_icons import icon_file, png  # noqa: E402
from real_programs_test import RT_GROUP_ICON, RT_ICON, icon_entries  # noqa: E402
import build_programs  # noqa: E402
from wine_box import Wine  # noqa: E402

ARGS = None
CELLS = build_programs.WORK / "cells"


@dataclass
class Program:
    title: str
    args: tuple  # {dir}: an empty folder under C: to install into
    x64: bool = False
    installs: bool = False  # its job is the files it puts in {dir}, not what it prints
    own_files: tuple = ()  # installed files not compared: they record the installation, or carry the installer's icon
    uninstaller: tuple = ()  # run after installing, with its arguments: it must leave what the untouched one left


NSIS = dict(installs=True, own_files=("uninstall.exe",), uninstaller=("uninstall.exe", "/S", "_?={dir}"))
PROGRAMS = {
    "inno-setup.exe": Program("Inno Setup installer (npm's compiler, under Wine)",
                              ("/VERYSILENT", "/SUPPRESSMSGBOXES", "/DIR={dir}"), installs=True,
                              own_files=("unins000.dat",)),
    "sfx-console.exe": Program("7-Zip SFX, console", ("-y", "-o{dir}"), installs=True),
    "sfx-gui.exe": Program("7-Zip SFX, GUI", ("-y", "-o{dir}"), installs=True),
    "bun-hello.exe": Program("Bun `--compile` for Windows", ("a", "b"), x64=True),
    "node-sea.exe": Program("Node single executable (node.exe from npm + postject)", ("a", "b"), x64=True),
    "node-signed.exe": Program("node.exe as npm ships it, signed", ("-p", "6 * 7"), x64=True),
    "go-386.exe": Program("Go, 386", ("a", "b")),
    "go-amd64.exe": Program("Go, amd64", ("a", "b"), x64=True),
    "mingw-hello.exe": Program("MinGW C without resources", ("a", "b")),
    "nsis-classic.exe": Program("NSIS installer, default (classic) icon, and its uninstaller", ("/S", "/D={dir}"),
                                **NSIS),
    "nsis-modern.exe": Program("NSIS installer, Modern UI icons, and its uninstaller", ("/S", "/D={dir}"), **NSIS),
}

# mode: (the CLI's options, the icon source: an icon file or a PNG picture)
MODES = {
    "plain": ((), "ico"),
    "`--all-sizes`": (("--all-sizes",), "ico"),
    "`--add-sizes`": (("--add-sizes",), "ico"),
    "PNG": ((), "png"),
}

# Today's outcome of each cell: "runs", or the failure number of the refusal.
# A refusal that turns into a change that keeps the program working flips to
# "runs" here.
EXPECTED = {
    #                    plain   --all-sizes --add-sizes PNG
    "inno-setup.exe":   ("runs", "runs", "1017", "runs"),
    "sfx-console.exe":  ("1007", "1007", "1017", "1007"),
    "sfx-gui.exe":      ("1007", "1007", "1017", "1007"),
    "bun-hello.exe":    ("runs", "runs", "runs", "runs"),
    "node-sea.exe":     ("runs", "runs", "runs", "runs"),
    "node-signed.exe":  ("1011", "1011", "1017", "1011"),
    "go-386.exe":       ("1004", "1004", "runs", "runs"),
    "go-amd64.exe":     ("1004", "1004", "runs", "runs"),
    "mingw-hello.exe":  ("1004", "1004", "runs", "runs"),
    "nsis-classic.exe": ("1007", "1007", "1017", "1007"),
    "nsis-modern.exe":  ("runs", "runs", "1017", "runs"),
}


def sha(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


def cli(*args):
    return subprocess.run([ARGS.cli, *map(str, args)], capture_output=True, text=True)


def resources(path):
    pe = pefile.PE(str(path), fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    return pe


class Matrix:
    """The Wine prefix, the icon sources, and each program's untouched run."""

    def __init__(self, wine, work):
        self.wine, self.work = wine, work
        colour = (30, 120, 220)
        # A user's icon: 32-bit images of the common sizes, the largest as PNG.
        self.icon = work / "matrix.ico"
        self.icon.write_bytes(icon_file([(s, colour) for s in (16, 24, 32, 48, 64)] + [(256, colour, "png")]))
        self.picture = work / "matrix.png"
        self.picture.write_bytes(png(256, colour))
        # What the PNG mode makes of the picture, as --make-icon writes it.
        self.made = work / "made.ico"
        made = cli("--make-icon", self.picture, self.made)
        if made.returncode != 0:
            raise RuntimeError("--make-icon failed: " + made.stderr)
        self.untouched = {}

    def job(self, program, exe, tag):
        """What a run of `exe` gives, to compare with the untouched copy's:
        (status, what it printed) or (status, installed files, what the
        uninstaller left)."""
        if not program.installs:
            return self.wine.run(exe, *program.args)
        folder = self.wine.drive_c("matrix", tag)
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        fill = lambda args: [a.format(dir=self.wine.windows_path(folder)) for a in args]
        status, _ = self.wine.run(exe, *fill(program.args))
        files = {p.relative_to(folder).as_posix(): sha(p) for p in folder.rglob("*")
                 if p.is_file() and p.name not in program.own_files}
        left = None
        if program.uninstaller:
            self.wine.run(folder / program.uninstaller[0], *fill(program.uninstaller[1:]))
            left = sorted(p.relative_to(folder).as_posix() for p in folder.rglob("*"))
        shutil.rmtree(folder, ignore_errors=True)
        return status, files, left

    def untouched_run(self, name, program):
        """The untouched copy's run, once per program; it must do its job:
        end with 0 and print something or install the whole payload."""
        if name not in self.untouched:
            result = self.job(program, build_programs.PROGRAMS / name, name.replace(".exe", "-untouched"))
            payload = {p.relative_to(build_programs.PAYLOAD).as_posix(): sha(p)
                       for p in build_programs.PAYLOAD.rglob("*") if p.is_file()}
            done = result[1].items() >= payload.items() if program.installs else result[1].strip()
            if result[0] != 0 or not done:
                raise RuntimeError(f"{name} as built does not do its job under Wine: {result}")
            self.untouched[name] = result
        return self.untouched[name]


def reference_icon(icon, target, out):
    """The images of `icon` of the sizes the changed program's groups now
    describe, as an icon file: at each of those sizes the system's lookup in
    the program must give the same image as its lookup in this file."""
    shown = set()
    for data in resource_leaves(resources(target), RT_GROUP_ICON).values():
        count = struct.unpack("<H", data[4:6])[0]
        shown |= {data[6 + 14 * e:8 + 14 * e] for e in range(count)}
    chosen = [(entry, image) for entry, image in icon_entries(icon.read_bytes()) if entry[:2] in shown]
    offset = 6 + 16 * len(chosen)
    directory = b""
    for entry, image in chosen:
        directory += entry + struct.pack("<I", offset)
        offset += len(image)
    out.write_bytes(struct.pack("<HHH", 0, 1, len(chosen)) + directory + b"".join(i for _, i in chosen))
    return len(chosen)


def icon_not_shown(matrix, target, icon):
    reference = target.with_suffix(".reference.ico")
    if reference_icon(icon, target, reference) == 0:
        return "no group describes a size of the new icon"
    status, output = matrix.wine.run(ARGS.probe, target, reference)
    return None if status == 0 else "Wine's icon lookup: " + " | ".join(
        line for line in output.splitlines() if not line.endswith(": ok"))[-600:]


def names_what_it_found(number, message, original, icon, every_size):
    """Whether a refusal's message names what the program holds, as its own
    headers and resources say."""
    pe = resources(original)
    signed = pe.OPTIONAL_HEADER.DATA_DIRECTORY[4].Size != 0
    if number == "1004":
        return not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") and "has no resources" in message
    if number == "1011":
        return signed and "is signed" in message
    if number == "1017":
        return ("is signed" if signed else "appended data") in message
    if number == "1007":
        # The image that did not fit (the first, or with every size the
        # smallest), and a room that at least holds each old image.
        images = [len(i) for _, i in icon_entries(icon.read_bytes())]
        needed = min(images) if every_size else images[0]
        found = re.search(r"(\d+) bytes; the target has room for (\d+) bytes", message)
        old = max(len(d) for d in resource_leaves(pe, RT_ICON).values())
        return bool(found) and int(found[1]) == needed and old <= int(found[2]) < needed
    return False


def ours(matrix, options, icon, target):
    return cli(*options, icon, target)


def run_cell(matrix, name, program, column, mode, change=ours):
    """(outcome, what the tool said or what went wrong) of one program in one
    column: a mode of ours, or (from the bench) a peer's change."""
    options, source = MODES[mode]
    icon = matrix.icon if source == "ico" else matrix.picture
    # The icon file the images come from: for a picture, the icon made of it.
    images = matrix.icon if source == "ico" else matrix.made
    cell = CELLS / (name[:-4] + "-" + re.sub(r"\W+", "-", column.lower()).strip("-"))
    shutil.rmtree(cell, ignore_errors=True)
    cell.mkdir(parents=True)
    target = cell / name
    shutil.copyfile(build_programs.PROGRAMS / name, target)
    try:
        changed = change(matrix, options, icon, target)
        said = ((changed.stderr or changed.stdout).strip() + "\n").splitlines()[0]
        said = said.replace(f"{cell}/", "").replace(f"{CELLS}/", "")
        refusal = re.match(r"error (\d+): ", changed.stderr)
        if changed.returncode != 0:
            if sha(target) != sha(build_programs.PROGRAMS / name):
                return "broken", f"failed (exit {changed.returncode}), yet the copy changed: {said}"
            if change is not ours:
                return "refused", said
            if changed.returncode != 1 or not refusal:
                return "broken", f"exit {changed.returncode}: {said}"
            if not names_what_it_found(refusal[1], changed.stderr, target, images, options or source == "png"):
                return "unnamed " + refusal[1], "the refusal does not name what it found: " + said
            return refusal[1], said
        untouched = matrix.untouched_run(name, program)
        now = matrix.job(program, target, cell.name)
        if now != untouched:
            return "broken", f"does not do its job: {str(now)[:300]}; the untouched copy: {str(untouched)[:300]}"
        problem = icon_not_shown(matrix, target, images)
        return ("old icon", problem) if problem else ("runs", said)
    finally:
        shutil.rmtree(cell, ignore_errors=True)


def cell_text(outcome):
    if outcome.startswith("unnamed "):
        return f"refused ({outcome[8:]}), naming nothing it found"
    if outcome == "old icon":
        return "runs, but a group shows its old icon"
    return outcome if outcome in ("runs", "broken", "skipped", "refused") else f"refused ({outcome})"


def report(results, columns, seconds, built):
    """The README's table, each cell's message where it did not run, and the
    time: printed, and kept in build/packaged/matrix.txt for the test command."""
    lines = ["| program | " + " | ".join(columns) + " |", "|---|" + "---|" * len(columns)]
    lines += [f"| {p.title} | " + " | ".join(cell_text(results[name, c][0]) for c in columns) + " |"
              for name, p in PROGRAMS.items()]
    lines += [""] + [f"{name} {column}: {said}" for (name, column), (outcome, said) in results.items()
                     if outcome != "runs"]
    lines.append(f"packaged matrix: {len(results)} cells in {seconds:.0f} s" +
                 (f", the programs built first in {built:.0f} s" if built else ", the programs built before"))
    text = "\n".join(lines) + "\n"
    print(text, end="")
    (build_programs.WORK / "matrix.txt").write_text(text)


def write_junit(results, path):
    suites = ET.Element("testsuites")
    suite = ET.SubElement(suites, "testsuite", name="packaged_matrix")
    for (name, mode), (outcome, said) in results.items():
        case = ET.SubElement(suite, "testcase", name=f"{name} {mode}", result="completed")
        expected = EXPECTED[name][list(MODES).index(mode)]
        if outcome == "skipped":
            ET.SubElement(case, "skipped", message=said)
        elif outcome != expected:
            ET.SubElement(case, "failure", message=f"expected {expected}, got {outcome}: {said}"[:2000])
    Path(path).parent.mkdir(parents=True, exist_ok=True)
    ET.ElementTree(suites).write(path)


def run_matrix(columns):
    """Every program in every column (name: (mode, change)): (results, the
    seconds taken, the seconds of them spent building the programs)."""
    started = time.monotonic()
    wine = Wine(build_programs.WORK / "wineprefix")
    wine.start()
    try:
        fetched, built = build_programs.build(wine)
        if fetched:
            print(f"fetched {fetched / 1e6:.0f} MB of npm packages into {build_programs.NPM_CACHE}")
        # Bun's programs import ProcessPrng, which Wine 8 lacks.
        wine.add_dll(build_programs.PROGRAMS / "bcryptprimitives.dll")
        shutil.rmtree(wine.drive_c("matrix"), ignore_errors=True)
        shutil.rmtree(CELLS, ignore_errors=True)
        CELLS.mkdir(parents=True)
        matrix = Matrix(wine, CELLS)
        results = {}
        for name, program in PROGRAMS.items():
            for column, (mode, change) in columns.items():
                results[name, column] = (("skipped", "no 64-bit Wine here (/usr/lib/wine/wine64)")
                                         if program.x64 and not wine.has64 else
                                         run_cell(matrix, name, program, column, mode, change))
    finally:
        wine.stop()
    return results, time.monotonic() - started, built


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--results")
    ARGS = parser.parse_args()
    columns = {mode: (mode, ours) for mode in MODES}
    results, seconds, built = run_matrix(columns)
    report(results, columns, seconds, built)
    if ARGS.results:
        write_junit(results, ARGS.results)
    wrong = [(k, v) for k, v in results.items() if v[0] not in ("skipped", EXPECTED[k[0]][list(MODES).index(k[1])])]
    for (name, mode), (outcome, said) in wrong:
        print(f"FAIL: {name} {mode}: expected {EXPECTED[name][list(MODES).index(mode)]}, got {outcome}: {said}")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
