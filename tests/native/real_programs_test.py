#!/usr/bin/env python3
"""vantorel-cli on real programs built by MinGW and windres, checked by tools
that know nothing of Vantorel: icoutils' wrestool extracts every icon and group
afterwards, and pefile must still parse the program.

Usage: real_programs_test.py --cli PATH --fixtures DIR [--results XML]
"""
import argparse
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

import pefile

ARGS = None
RT_ICON, RT_GROUP_ICON = 3, 14


def first_image(ico_path):
    """The first directory entry (12 shared bytes) and image of an icon file."""
    data = Path(ico_path).read_bytes()
    entry = data[6:22]
    size, offset = struct.unpack("<II", entry[8:16])
    return entry[:12], data[offset:offset + size]


def icon_entries(ico_bytes):
    count = struct.unpack("<H", ico_bytes[4:6])[0]
    out = []
    for i in range(count):
        entry = ico_bytes[6 + 16 * i:22 + 16 * i]
        size, offset = struct.unpack("<II", entry[8:16])
        out.append((entry[:12], ico_bytes[offset:offset + size]))
    return out


def resource_section(path):
    pe = pefile.PE(str(path))
    rva = pe.OPTIONAL_HEADER.DATA_DIRECTORY[2].VirtualAddress
    for s in pe.sections:
        if s.VirtualAddress <= rva < s.VirtualAddress + s.SizeOfRawData:
            return s.PointerToRawData, s.PointerToRawData + s.SizeOfRawData
    raise AssertionError("no resource section")


def private_copy(name, tmp):
    """The engine holds the files it works on exclusively, so tests running
    side by side each take their own copy of a shared fixture."""
    copy = Path(tmp) / name
    if not copy.exists():
        shutil.copyfile(Path(ARGS.fixtures) / name, copy)
    return copy


def cli(*args):
    return subprocess.run([ARGS.cli, *map(str, args)], capture_output=True, text=True)


class RealProgram:
    """Mixed into one test class per architecture."""

    arch = None

    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="vantorel-real-"))
        self.original = Path(ARGS.fixtures) / f"fixture-{self.arch}.exe"
        self.target = self.tmp / "program.exe"
        shutil.copyfile(self.original, self.target)

    def tearDown(self):
        shutil.rmtree(self.tmp, ignore_errors=True)

    def replace(self, icon_name):
        icon = private_copy(icon_name, self.tmp)
        run = cli(icon, self.target)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stderr, "")
        return icon

    def assert_every_icon_is(self, icon):
        entry, image = first_image(icon)
        out = self.tmp / "extracted"
        out.mkdir(exist_ok=True)
        subprocess.run(["wrestool", "-x", "-t", str(RT_GROUP_ICON), "-o", str(out), str(self.target)], check=True)
        groups = sorted(out.glob("*.ico"))
        # Group 1 in two languages and group 2.
        self.assertEqual(len(groups), 3, [g.name for g in groups])
        for g in groups:
            entries = icon_entries(g.read_bytes())
            self.assertGreater(len(entries), 0)
            for e, img in entries:
                self.assertEqual(e, entry, g.name)
                self.assertEqual(img, image, g.name)
        raw = subprocess.run(["wrestool", "-x", "--raw", "-t", str(RT_ICON), str(self.target)],
                             capture_output=True, check=True).stdout
        listing = subprocess.run(["wrestool", "-l", "-t", str(RT_ICON), str(self.target)],
                                 capture_output=True, text=True, check=True).stdout
        images = len(listing.strip().splitlines())
        self.assertEqual(raw, image * images)

    def assert_only_resources_changed(self, original=None):
        original = original or self.original
        before, after = bytearray(original.read_bytes()), bytearray(self.target.read_bytes())
        self.assertEqual(len(before), len(after))
        pe = pefile.PE(str(self.target))  # parses, resources included
        # Outside the resource section only the header's CheckSum may change,
        # and it must then be right.
        field = pe.OPTIONAL_HEADER.get_file_offset() + 64
        was = struct.unpack("<I", before[field:field + 4])[0]
        if was == 0:
            self.assertEqual(pe.OPTIONAL_HEADER.CheckSum, 0, "a zero checksum stays zero")
        else:
            self.assertEqual(pe.OPTIONAL_HEADER.CheckSum, pe.generate_checksum())
        before[field:field + 4] = after[field:field + 4] = bytes(4)
        start, end = resource_section(original)
        self.assertEqual(before[:start], after[:start])
        self.assertEqual(before[end:], after[end:])
        self.assertTrue(hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"))
        strings = [e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == 6]
        self.assertEqual(len(strings), 1, "the string table is still there")

    def test_replacement_that_fits(self):
        icon = self.replace("new.ico")
        self.assert_every_icon_is(icon)
        self.assert_only_resources_changed()

    def test_larger_image_goes_to_free_room(self):
        icon = self.replace("big.ico")
        self.assert_every_icon_is(icon)
        self.assert_only_resources_changed()

    def test_checksum_kept_right_or_left_zero(self):
        pe = pefile.PE(str(self.original))
        self.assertNotEqual(pe.OPTIONAL_HEADER.CheckSum, 0, "the linker wrote a checksum")
        self.assertTrue(pe.verify_checksum())
        zero = self.tmp / "zero.exe"
        pe.OPTIONAL_HEADER.CheckSum = 0
        pe.write(str(zero))
        pe.close()
        shutil.copyfile(zero, self.target)
        self.replace("big.ico")
        self.assert_only_resources_changed(original=zero)

    def test_twice_is_like_once_and_backup_keeps_the_original(self):
        run = cli("--backup", private_copy("new.ico", self.tmp), self.target)
        self.assertEqual(run.returncode, 0, run.stderr)
        once = self.target.read_bytes()
        self.replace("new.ico")
        self.assertEqual(self.target.read_bytes(), once)
        backup = Path(str(self.target) + ".bak")
        self.assertEqual(backup.read_bytes(), self.original.read_bytes())

    def test_list_shows_groups_languages_and_offsets(self):
        self.replace("new.ico")
        run = cli("--list", self.target)
        self.assertEqual(run.returncode, 0, run.stderr)
        rows = [line.split() for line in run.stdout.splitlines() if line.startswith("  #")]
        group_rows = [r for r in rows if len(r) == 9]
        # 3 + 3 entries of group 1 (two languages) and 2 of group 2, all 16 x 16.
        self.assertEqual(len(group_rows), 8, run.stdout)
        self.assertEqual({r[1] for r in group_rows}, {"1031", "1033"})
        self.assertTrue(all(r[2] == "16" and r[3] == "16" and r[5] == "32" for r in group_rows))
        self.assertEqual(len({r[8] for r in group_rows}), 1, "every entry names the same bytes")


class Signed(unittest.TestCase):
    """A program signed here with a throwaway certificate."""

    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="vantorel-signed-"))
        key, cert = self.tmp / "key.pem", self.tmp / "cert.pem"
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                        "-subj", "/CN=Vantorel test", "-keyout", key, "-out", cert],
                       check=True, capture_output=True)
        self.target = self.tmp / "signed.exe"
        subprocess.run(["osslsigncode", "sign", "-certs", cert, "-key", key, "-in",
                        Path(ARGS.fixtures) / "fixture-i686.exe", "-out", self.target],
                       check=True, capture_output=True)
        self.icon = private_copy("new.ico", self.tmp)

    def tearDown(self):
        shutil.rmtree(self.tmp, ignore_errors=True)

    def test_refused_unless_allowed(self):
        before = self.target.read_bytes()
        run = cli(self.icon, self.target)
        self.assertEqual(run.returncode, 1)
        self.assertIn("is signed", run.stderr)
        self.assertIn("--allow-signed", run.stderr)
        self.assertEqual(self.target.read_bytes(), before)
        self.assertIn("is signed", cli("--list", self.target).stdout)

        run = cli("--allow-signed", self.icon, self.target)
        self.assertEqual(run.returncode, 0, run.stderr)
        verify = subprocess.run(["osslsigncode", "verify", "-in", self.target], capture_output=True, text=True)
        self.assertNotEqual(verify.returncode, 0, "the signature no longer matches, as the user was told")


class PE32(RealProgram, unittest.TestCase):
    arch = "i686"


class PE32Plus(RealProgram, unittest.TestCase):
    arch = "x86_64"


def write_report(result, tests, path):
    suites = ET.Element("testsuites")
    suite = ET.SubElement(suites, "testsuite", name="real_programs")
    failed = {t.id(): msg for t, msg in result.failures + result.errors}
    for t in tests:
        case = ET.SubElement(suite, "testcase", name=t.id(), result="completed")
        if t.id() in failed:
            ET.SubElement(case, "failure", message=failed[t.id()][:2000])
    ET.ElementTree(suites).write(path)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--fixtures", required=True)
    parser.add_argument("--results")
    ARGS = parser.parse_args()
    suite = unittest.defaultTestLoader.loadTestsFromModule(sys.modules[__name__])
    tests = [t for group in suite for t in group]
    result = unittest.TextTestRunner(verbosity=2).run(unittest.TestSuite(tests))
    if ARGS.results:
        write_report(result, tests, ARGS.results)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
