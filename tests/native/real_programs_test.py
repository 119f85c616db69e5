#!/usr/bin/env python3
"""vantorel-cli on real programs built by MinGW and windres, checked by tools
that know nothing of Vantorel: icoutils' wrestool extracts every icon and group
afterwards, and pefile must still parse the program.

Usage: real_programs_test.py --cli PATH --fixtures DIR [--results XML]
"""
import argparse
import re
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


def entry_size(entry):
    """(width, height, bits) of a directory entry's 12 shared bytes; 0 means 256."""
    width, height, colours, _, _, bits, _ = struct.unpack("<BBBBHHI", entry[:12])
    if bits == 0 and colours:
        bits = max(1, (colours - 1).bit_length())
    return (width or 256, height or 256, bits)


def best_image(sizes, wanted):
    """Index of the image --all-sizes gives an icon that wants `wanted`: the same
    width and height with the nearest bit depth; else the nearest larger size;
    else the largest; the first of equals."""
    w, h, bits = wanted
    depth = lambda i: abs(sizes[i][2] - bits)
    area = lambda i: sizes[i][0] * sizes[i][1]
    same = [i for i, s in enumerate(sizes) if s[:2] == (w, h)]
    if same:
        return min(same, key=lambda i: (depth(i), i))
    larger = [i for i, s in enumerate(sizes) if s[0] >= w and s[1] >= h]
    if larger:
        return min(larger, key=lambda i: (area(i), depth(i), i))
    return min(range(len(sizes)), key=lambda i: (-area(i), depth(i), i))


def groups(path):
    """(name, language) of every icon group, as wrestool lists them."""
    listing = subprocess.run(["wrestool", "-l", "-t", str(RT_GROUP_ICON), str(path)], capture_output=True,
                             text=True, check=True).stdout
    return re.findall(r"--name=(\S+) --language=(\d+)", listing)


def wrestool_group(path, name, language):
    """wrestool's own icon file of one group, as (entries, images)."""
    data = subprocess.run(["wrestool", "-x", "-t", str(RT_GROUP_ICON), "--name=" + name, "--language=" + language,
                           str(path)], capture_output=True, check=True).stdout
    return parse_icon_file(data)


def parse_icon_file(data):
    count = struct.unpack("<H", data[4:6])[0]
    entries = [data[6 + 16 * i:22 + 16 * i] for i in range(count)]
    images = []
    for e in entries:
        size, offset = struct.unpack("<II", e[8:16])
        images.append(data[offset:offset + size])
    return entries, images


def icon_bytes(path, name, language):
    return subprocess.run(["wrestool", "-x", "--raw", "-t", str(RT_ICON), "--name=" + str(name),
                           "--language=" + str(language), str(path)], capture_output=True, check=True).stdout


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

    def test_all_sizes_gives_each_icon_its_size(self):
        before = {g: wrestool_group(self.target, *g) for g in groups(self.target)}
        icon = private_copy("sizes.ico", self.tmp)
        run = cli("--all-sizes", icon, self.target)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertNotIn("got image", run.stdout, "the room holds every best image")
        images = icon_entries(Path(icon).read_bytes())
        sizes = [entry_size(e) for e, _ in images]
        seen = set()
        for g, (entries, _) in before.items():
            after_entries, after_images = wrestool_group(self.target, *g)
            self.assertEqual(len(after_entries), len(entries), g)
            for old, new, image in zip(entries, after_entries, after_images):
                chosen = best_image(sizes, entry_size(old))
                seen.add(chosen)
                self.assertEqual(new[:12], images[chosen][0], g)
                self.assertEqual(image, images[chosen][1], g)
        # The 16-, 32- (32-bit, not the 16-colour one) and 48-pixel images.
        self.assertEqual(seen, {0, 2, 4})
        self.assert_only_resources_changed()
        self.assertEqual(pefile.PE(str(self.target)).OPTIONAL_HEADER.SizeOfImage,
                         pefile.PE(str(self.original)).OPTIONAL_HEADER.SizeOfImage)

    def test_extract_matches_wrestool(self):
        for name, language in groups(self.target):
            out = self.tmp / f"{name}-{language}.ico"
            run = cli("--extract", self.target, out, "--group", name, "--language", language)
            self.assertEqual(run.returncode, 0, run.stderr)
            ours = out.read_bytes()
            entries, images = parse_icon_file(ours)
            self.assertEqual((entries, images), wrestool_group(self.target, name, language), (name, language))
            # Nothing but the directory and the images (wrestool adds bytes after them).
            self.assertEqual(len(ours), 6 + 16 * len(entries) + sum(map(len, images)))
        self.assertEqual(self.target.read_bytes(), self.original.read_bytes(), "extraction only reads")

    def test_extract_then_all_sizes_leaves_the_groups_icons_as_they_were(self):
        out = self.tmp / "first.ico"
        self.assertEqual(cli("--extract", self.target, out).returncode, 0)
        listing = subprocess.run(["wrestool", "-l", "-t", str(RT_ICON), str(self.target)], capture_output=True,
                                 text=True, check=True).stdout
        icons = re.findall(r"--name=(\S+) --language=(\d+)", listing)
        originals = {i: icon_bytes(self.target, *i) for i in icons}
        run = cli("--all-sizes", out, self.target)
        self.assertEqual(run.returncode, 0, run.stderr)
        # Group 1 names icons 1-3 (English) and 6-8 (German): app.ico in both.
        for i in icons:
            if i[0] in ("1", "2", "3", "6", "7", "8"):
                self.assertEqual(icon_bytes(self.target, *i), originals[i], i)
        self.assert_only_resources_changed()

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
