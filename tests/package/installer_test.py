#!/usr/bin/env python3
"""The Windows downloads as a user gets them, under Wine in a prefix of their
own: the zip holds the two programs (stripped, each with its icon, version
record and manifest), the user guide and the texts; the installer checks its
own bytes and refuses a damaged copy before any page, walks through its Modern
UI pages, installs silently (with the folder on the PATH when asked), the
installed window starts and the installed vantorel-cli gives a program a new
icon; Vantorel (the command line and the window) gives its own installer a new
icon and that installer still passes its check and installs; the uninstaller
leaves nothing behind, PATH included.

Usage: installer_test.py --dist DIR --version X.Y.Z --tree WIN32_TREE
                         --fixtures DIR --authors NAME --email ADDRESS
                         --homepage URL --copyright LINE [--results XML]
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
import zlib
from pathlib import Path

import pefile

import help_forms
from script_report import parse_args, run_module

ARGS = None
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel"
TEXTS = ["README.txt", "LICENSE.txt", "CHANGELOG.txt"]
PROGRAMS = ["vantorel.exe", "vantorel-cli.exe"]
INSTALLED = PROGRAMS + TEXTS + ["uninstall.exe"]
ENVIRONMENT_KEY = r"HKCU\Environment"
RT_ICON = 3
SCREENSHOTS = Path(__file__).resolve().parents[2] / "build" / "screenshots" / "installer"


def dist(name):
    return Path(ARGS.dist) / name.format(v=ARGS.version)


def first_image(ico_path):
    data = Path(ico_path).read_bytes()
    size, offset = struct.unpack("<II", data[14:22])
    return data[offset:offset + size]


def ico_images(data):
    return [data[o:o + n] for n, o in (struct.unpack("<II", data[14 + 16 * i:22 + 16 * i])
                                       for i in range(struct.unpack("<H", data[4:6])[0]))]


def group_images(program):
    """The first icon group's images, each cut by wrestool to the size its entry states."""
    return ico_images(subprocess.run(["wrestool", "-x", "-t", "14", str(program)], capture_output=True,
                                     check=True).stdout)


def raw_icons(program):
    raw = subprocess.run(["wrestool", "-x", "--raw", "-t", str(RT_ICON), str(program)],
                         capture_output=True, check=True).stdout
    listing = subprocess.run(["wrestool", "-l", "-t", str(RT_ICON), str(program)],
                             capture_output=True, text=True, check=True).stdout
    return raw, len(listing.strip().splitlines())


def nsis_crc(data):
    """Where an NSIS installer keeps its CRC-32 and what it stores, counted as
    its start-up check counts: the first header at the first 512-byte boundary
    after the sections' raw data, the CRC in the last 4 bytes of the stretch the
    header names, over the file from offset 512 up to it. (stored, counted, flags)."""
    pe = pefile.PE(data=data, fast_load=True)
    end = max(s.PointerToRawData + s.SizeOfRawData for s in pe.sections)
    at = (end + 511) // 512 * 512
    flags, signature = struct.unpack("<II", data[at:at + 8])
    assert signature == 0xDEADBEEF and data[at + 8:at + 20] == b"NullsoftInst", "no NSIS first header"
    length = struct.unpack("<I", data[at + 24:at + 28])[0]
    crc_at = at + length - 4
    stored = struct.unpack("<I", data[crc_at:crc_at + 4])[0]
    return stored, zlib.crc32(data[512:crc_at]), flags


def version_strings(program):
    pe = pefile.PE(str(program))
    strings = {}
    for info in getattr(pe, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    return strings


def manifest(program):
    raw = subprocess.run(["wrestool", "-x", "--raw", "-t", "24", str(program)], capture_output=True).stdout
    return raw.decode("utf-8", "replace")


def x_window(title, seconds=60):
    """The first visible X window whose name matches `title`, or ""."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.2)
    return ""


def press(window, *keys):
    """Gives `window` the keyboard focus and presses `keys` (there is no window
    manager on the test display to activate it)."""
    subprocess.run(["xdotool", "windowfocus", "--sync", window], capture_output=True)
    subprocess.run(["xdotool", "key", "--delay", "50", *keys], capture_output=True)


def screen():
    """The whole display as PPM: no time stamps, so equal pictures are equal bytes."""
    return subprocess.run(["import", "-silent", "-window", "root", "ppm:-"], capture_output=True).stdout


def stable_screen(differing_from=None, seconds=60):
    """The display once two looks 0.3 s apart agree (and differ from
    `differing_from`, when given); None when that does not happen in time."""
    deadline = time.monotonic() + seconds
    last = screen()
    while time.monotonic() < deadline:
        time.sleep(0.3)
        now = screen()
        if now == last and now != differing_from:
            return now
        last = now
    return None


def save_screen(name, picture=None):
    """Keeps a picture of the display for people to look at."""
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", "ppm:-", str(SCREENSHOTS / f"{name}.png")], input=picture or screen(),
                   capture_output=True)


def needs_display(test):
    if not os.environ.get("DISPLAY") or not shutil.which("xdotool"):
        test.skipTest("no X display")


class WinePrefix:
    """A fresh 32-bit prefix, so nothing installed by earlier runs can make a check pass.

    Each is a copy of one prefix booted for this run and never used: a copy
    takes a second or two where booting one took ten to twenty."""

    pristine = None

    def __init__(self, path):
        self.path = path
        self.env = self.environment(path)
        if WinePrefix.pristine is None:
            WinePrefix.pristine = Path(tempfile.mkdtemp(prefix="vantorel-pristine-")) / "prefix"
            boot = self.environment(WinePrefix.pristine)
            subprocess.run(["wineboot", "-i"], env=boot, capture_output=True, check=True)
            subprocess.run(["wineserver", "-w"], env=boot, check=True, timeout=180)
        shutil.copytree(WinePrefix.pristine, path, symlinks=True)

    @staticmethod
    def environment(path):
        return dict(os.environ, WINEPREFIX=str(path), WINEARCH="win32", WINEDEBUG="-all",
                    WINEDLLOVERRIDES="mscoree,mshtml=")

    @classmethod
    def remove_pristine(cls):
        if cls.pristine is not None:
            shutil.rmtree(cls.pristine.parent, ignore_errors=True)

    def wine(self, *args, timeout=120):
        return subprocess.run(["wine", *map(str, args)], env=self.env, capture_output=True, text=True,
                              stdin=subprocess.DEVNULL, timeout=timeout)

    def wait(self):
        # The uninstaller copies itself to the temporary folder and returns at
        # once; the prefix's server ends only when every program in it has.
        subprocess.run(["wineserver", "-w"], env=self.env, check=True, timeout=180)

    def kill(self):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)

    def drive_c(self, *parts):
        return self.path / "drive_c" / Path(*parts)

    def has_key(self, key):
        return self.wine("reg", "query", key).returncode == 0


class Zip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = dist("vantorel-{v}-win32.zip")
        if not cls.path.exists():
            raise unittest.SkipTest(f"{cls.path} is missing: run scripts/package first")
        cls.top = f"vantorel-{ARGS.version}-win32/"
        with zipfile.ZipFile(cls.path) as z:
            cls.files = {n[len(cls.top):]: z.read(n) for n in z.namelist()}
        cls.tmp = Path(tempfile.mkdtemp(prefix="vantorel-zip-files-"))
        for name, data in cls.files.items():
            (cls.tmp / name).write_bytes(data)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def test_holds_the_two_programs_and_the_texts(self):
        stage = Path(ARGS.tree) / "stage"
        with zipfile.ZipFile(self.path) as z:
            self.assertIsNone(z.testzip())
            self.assertEqual(sorted(z.namelist()), sorted(self.top + n for n in PROGRAMS + TEXTS))
        for name, data in self.files.items():
            self.assertEqual(data, (stage / name).read_bytes(), name)
        self.assertIn(b"MIT License", self.files["LICENSE.txt"])
        # The changelog as plain text: a heading per version, no Markdown marks.
        self.assertIn(f"\r\nVantorel {ARGS.version} (".encode(), self.files["CHANGELOG.txt"])
        self.assertNotIn(b"`", self.files["CHANGELOG.txt"])
        self.assertNotIn(b"\r\n## ", self.files["CHANGELOG.txt"])

    def test_texts_are_plain_windows_text(self):
        for name in TEXTS:
            text = self.files[name]
            self.assertNotIn(b"\n", text.replace(b"\r\n", b""), f"{name}: a line ends without CR")
            self.assertTrue(text.endswith(b"\r\n"), name)
            text.decode("ascii")  # plain ASCII: any editor shows it right
            long_lines = [line for line in text.split(b"\r\n") if len(line) >= 80]
            if name == "README.txt":
                self.assertEqual(long_lines, [], name)

    def test_user_guide_documents_every_option_and_failure(self):
        guide = self.files["README.txt"].decode("ascii")
        self.assertIn(f"Vantorel {ARGS.version}", guide)
        self.assertIn(ARGS.homepage, guide)
        self.assertIn(ARGS.email, guide)
        self.assertNotIn("@", guide.replace(ARGS.email, ""), "a placeholder left unfilled")
        # What this build's own vantorel-cli.exe says, under Wine.
        usage = subprocess.run([str(Path(__file__).parents[2] / "scripts/wine-run"), str(self.tmp / "vantorel-cli.exe"),
                                "--help"], capture_output=True, text=True, stdin=subprocess.DEVNULL, timeout=300).stdout
        options = sorted({w.strip("[]|,") for w in usage.split() if w.lstrip("[").startswith("--")})
        self.assertGreater(len(options), 8, usage)
        for option in options:
            self.assertRegex(guide, rf"(?m)^\s+{re.escape(option)}\s", f"{option}: no line of its own")
            self.assertRegex(guide, rf"vantorel-cli [^\r\n]*{re.escape(option)}", f"{option}: no example")
        help_forms.check_guide(self, guide, usage)
        # Every failure number the programs report, from the README's table.
        readme = (Path(__file__).parents[2] / "README.md").read_text()
        numbers = re.findall(r"(?m)^\| (\d{4}) \|", readme)
        self.assertGreater(len(numbers), 10)
        for number in numbers:
            self.assertRegex(guide, rf"(?m)^  {number} ", number)
        self.assertIn("/D=", guide)
        self.assertIn("_?=", guide)

    def test_programs_are_stripped(self):
        for name in PROGRAMS:
            pe = pefile.PE(data=self.files[name])
            self.assertEqual(pe.FILE_HEADER.PointerToSymbolTable, 0, name)
            self.assertEqual(pe.FILE_HEADER.NumberOfSymbols, 0, name)
            self.assertEqual([s.Name for s in pe.sections if s.Name.startswith(b".debug")], [], name)
            # With their debug information the test builds are 17 to 22 MB;
            # stripped, the command-line tool (with the PNG decoder, resampler
            # and encoder, and zlib) is about 2.3 MB and the window 1.8 MB.
            self.assertLess(len(self.files[name]), 3_000_000, name)

    def test_both_programs_carry_icon_version_record_and_manifest(self):
        icon = (Path(ARGS.tree) / "app/resources/vantorel.ico").read_bytes()
        images = [icon[o:o + n] for n, o in (struct.unpack("<II", icon[14 + 16 * i:22 + 16 * i])
                                             for i in range(struct.unpack("<H", icon[4:6])[0]))]
        records = {}
        for name in PROGRAMS:
            raw, count = raw_icons(self.tmp / name)
            self.assertEqual(count, len(images), name)
            for image in images:
                self.assertIn(image, raw, name)
            records[name] = version_strings(self.tmp / name)
            self.assertEqual(records[name]["FileVersion"], f"{ARGS.version}.0", name)
            self.assertEqual(records[name]["ProductVersion"], ARGS.version, name)
            self.assertEqual(records[name]["OriginalFilename"], name)
            self.assertEqual(records[name]["CompanyName"], ARGS.authors, name)
            self.assertEqual(records[name]["LegalCopyright"], ARGS.copyright, name)
            self.assertIn('level="asInvoker"', manifest(self.tmp / name), name)
        self.assertEqual(records["vantorel.exe"]["ProductName"], records["vantorel-cli.exe"]["ProductName"])
        self.assertRegex(manifest(self.tmp / "vantorel-cli.exe"), r"<longPathAware[^>]*>true</longPathAware>")

    def test_one_address_and_copyright_everywhere(self):
        self.assertIn(ARGS.copyright, self.files["LICENSE.txt"].decode("ascii"))
        about = self.files["vantorel.exe"]
        for text in (ARGS.email, ARGS.homepage):
            self.assertIn(text.encode("utf-16-le"), about, f"the About box's {text}")
        strings = version_strings(dist("vantorel-{v}-setup.exe"))
        self.assertEqual(strings["CompanyName"], ARGS.authors)
        self.assertEqual(strings["LegalCopyright"], ARGS.copyright)

    def test_zipping_again_gives_the_same_bytes(self):
        out = Path(tempfile.mkdtemp(prefix="vantorel-zip-")) / self.path.name
        try:
            epoch = (Path(ARGS.tree) / "SOURCE_DATE_EPOCH").read_text().strip()
            # Names in another order: the zip must sort them itself.
            subprocess.run([sys.executable, str(Path(__file__).parents[2] / "packaging/make_zip.py"), str(out),
                            str(Path(ARGS.tree) / "stage"), "README.txt", "CHANGELOG.txt", "vantorel.exe",
                            "LICENSE.txt", "vantorel-cli.exe"], env=dict(os.environ, SOURCE_DATE_EPOCH=epoch),
                           check=True)
            self.assertEqual(out.read_bytes(), self.path.read_bytes())
        finally:
            shutil.rmtree(out.parent, ignore_errors=True)


class InItsOwnPrefix(unittest.TestCase):
    """Tests of the installer, each class in a fresh Wine prefix of its own."""

    @classmethod
    def setUpClass(cls):
        cls.setup = dist("vantorel-{v}-setup.exe")
        if not cls.setup.exists():
            raise unittest.SkipTest(f"{cls.setup} is missing: run scripts/package first")
        cls.tmp = Path(tempfile.mkdtemp(prefix="vantorel-installer-"))
        cls.prefix = WinePrefix(cls.tmp / "prefix")

    @classmethod
    def tearDownClass(cls):
        cls.prefix.kill()
        shutil.rmtree(cls.tmp, ignore_errors=True)


class Installer(InItsOwnPrefix):

    def install(self, setup, folder):
        run = self.prefix.wine(setup, "/S", f"/D={folder}")
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        self.prefix.wait()

    def uninstall(self, folder_unix, folder_win):
        self.assertTrue((folder_unix / "uninstall.exe").exists())
        run = self.prefix.wine(folder_win + r"\uninstall.exe", "/S")
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        self.prefix.wait()

    def test_0_installer_carries_vantorels_icon(self):
        icon = (Path(ARGS.tree) / "app/resources/vantorel.ico").read_bytes()
        raw, count = raw_icons(self.setup)
        images = []
        for i in range(struct.unpack("<H", icon[4:6])[0]):
            size, offset = struct.unpack("<II", icon[14 + 16 * i:22 + 16 * i])
            images.append(icon[offset:offset + size])
        self.assertEqual(count, len(images))
        for image in images:
            self.assertIn(image, raw)

    def test_0_installer_checks_its_own_bytes(self):
        stored, counted, flags = nsis_crc(self.setup.read_bytes())
        self.assertEqual(flags & 4, 0, "built with CRCCheck off")
        self.assertEqual(stored, counted)

    def test_0_installer_is_dpi_aware_and_names_its_maker(self):
        self.assertRegex(manifest(self.setup), r"<dpiAware[^>]*>true</dpiAware>")
        strings = version_strings(self.setup)
        self.assertEqual(strings["ProductVersion"], ARGS.version)
        self.assertEqual(strings["CompanyName"], ARGS.authors)
        self.assertEqual(strings["LegalCopyright"], ARGS.copyright)

    def test_1_installs_silently(self):
        self.install(self.setup, r"C:\Program Files\Vantorel")
        folder = self.prefix.drive_c("Program Files", "Vantorel")
        self.assertEqual(sorted(p.name for p in folder.iterdir()), sorted(INSTALLED))
        stage = Path(ARGS.tree) / "stage"
        for name in ["vantorel.exe", "vantorel-cli.exe"]:
            self.assertEqual((folder / name).read_bytes(), (stage / name).read_bytes(), name)
        self.assertTrue(self.prefix.drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                                            "Vantorel.lnk").exists())
        for value, expected in [("DisplayName", "Vantorel"), ("DisplayVersion", ARGS.version),
                                ("QuietUninstallString", r'"C:\Program Files\Vantorel\uninstall.exe" /S')]:
            run = self.prefix.wine("reg", "query", UNINSTALL_KEY, "/v", value)
            self.assertEqual(run.returncode, 0, value)
            self.assertIn(expected, run.stdout, value)

    def test_2_installed_window_starts(self):
        if not os.environ.get("DISPLAY") or not shutil.which("xdotool"):
            self.skipTest("no X display")
        program = subprocess.Popen(["wine", r"C:\Program Files\Vantorel\vantorel.exe"], env=self.prefix.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            found = ""
            deadline = time.monotonic() + 60
            while not found and time.monotonic() < deadline and program.poll() is None:
                found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Vantorel"],
                                       capture_output=True, text=True).stdout.strip()
                time.sleep(0.2)
            self.assertTrue(found, "the installed vantorel.exe shows no window")
        finally:
            self.prefix.wine("taskkill", "/IM", "vantorel.exe", "/F")
            program.wait(timeout=60)

    def test_3_installed_cli_gives_a_program_a_new_icon(self):
        target = self.prefix.drive_c("target.exe")
        shutil.copyfile(Path(ARGS.fixtures) / "fixture-i686.exe", target)
        shutil.copyfile(Path(ARGS.fixtures) / "new.ico", self.prefix.drive_c("new.ico"))
        run = self.prefix.wine(r"C:\Program Files\Vantorel\vantorel-cli.exe", r"C:\new.ico", r"C:\target.exe")
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        raw, count = raw_icons(target)
        self.assertGreater(count, 0)
        self.assertEqual(raw, first_image(Path(ARGS.fixtures) / "new.ico") * count)

    def rebranded_installer_installs(self, setup, folder_name):
        """The installer given a new icon: new.ico's image in every entry of
        its group, the payload where it was, its own check right, and it
        installs; the uninstaller it writes keeps Vantorel's icon."""
        own = ico_images((Path(ARGS.tree) / "app/resources/vantorel.ico").read_bytes())
        self.assertEqual(group_images(setup), [first_image(Path(ARGS.fixtures) / "new.ico")] * len(own))
        self.assertEqual(setup.stat().st_size, self.setup.stat().st_size, "the installer's payload stays put")
        stored, counted, _ = nsis_crc(setup.read_bytes())
        self.assertEqual(stored, counted, "the installer's own check no longer matches")
        self.assertNotEqual(stored, nsis_crc(self.setup.read_bytes())[0])

        self.install(f"C:\\{setup.name}", f"C:\\{folder_name}")
        folder = self.prefix.drive_c(folder_name)
        self.assertEqual(sorted(p.name for p in folder.iterdir()), sorted(INSTALLED))
        self.assertEqual((folder / "vantorel.exe").read_bytes(),
                         (Path(ARGS.tree) / "stage" / "vantorel.exe").read_bytes())
        self.assertEqual(group_images(folder / "uninstall.exe"), own)
        self.uninstall(folder, f"C:\\{folder_name}")
        self.assertFalse(folder.exists())

    def test_4_own_installer_with_a_new_icon_still_installs(self):
        setup = self.prefix.drive_c("setup-rebranded.exe")
        shutil.copyfile(self.setup, setup)
        shutil.copyfile(Path(ARGS.fixtures) / "new.ico", self.prefix.drive_c("new.ico"))
        dry = self.prefix.wine(r"C:\Program Files\Vantorel\vantorel-cli.exe", "--dry-run", r"C:\new.ico",
                               r"C:\setup-rebranded.exe")
        self.assertEqual(dry.returncode, 0, dry.stdout + dry.stderr)
        self.assertIn("The installer's own integrity check (NSIS CRC) would be updated.", dry.stdout)
        run = self.prefix.wine(r"C:\Program Files\Vantorel\vantorel-cli.exe", r"C:\new.ico", r"C:\setup-rebranded.exe")
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        self.assertIn("The installer's own integrity check (NSIS CRC) was updated.", run.stdout)
        self.rebranded_installer_installs(setup, "Rebranded")

    def test_4_the_window_gives_the_installer_a_new_icon_too(self):
        needs_display(self)
        setup = self.prefix.drive_c("setup-window.exe")
        shutil.copyfile(self.setup, setup)
        shutil.copyfile(Path(ARGS.fixtures) / "new.ico", self.prefix.drive_c("new.ico"))
        program = subprocess.Popen(["wine", r"C:\Program Files\Vantorel\vantorel.exe"], env=self.prefix.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = x_window("^Vantorel 1\\.1$")
            self.assertTrue(window, "the installed vantorel.exe shows no window")
            subprocess.run(["xdotool", "windowfocus", "--sync", window], capture_output=True)
            # The focus starts in the program's field; Tab leads on to the
            # icon's field, the backup box and Replace.
            subprocess.run(["xdotool", "type", "--delay", "20", r"C:\setup-window.exe"], check=True)
            subprocess.run(["xdotool", "key", "Tab"], check=True)
            subprocess.run(["xdotool", "type", "--delay", "20", r"C:\new.ico"], check=True)
            subprocess.run(["xdotool", "key", "Tab", "space", "Tab", "Return"], check=True)
            box = x_window("^Vantorel$", 30)
            self.assertTrue(box, "no message box after Replace")
            save_screen("window-replaced-installer-icon")
            press(box, "Return")
        finally:
            self.prefix.wine("taskkill", "/IM", "vantorel.exe", "/F")
            program.wait(timeout=60)
        self.assertFalse(self.prefix.drive_c("setup-window.exe.bak").exists(), "the backup box was unticked")
        self.rebranded_installer_installs(setup, "ByWindow")

    def test_5_uninstaller_removes_everything(self):
        # Put back what the rebranded installer's uninstall took, then remove it.
        self.install(self.setup, r"C:\Program Files\Vantorel")
        folder = self.prefix.drive_c("Program Files", "Vantorel")
        self.uninstall(folder, r"C:\Program Files\Vantorel")
        self.assertFalse(folder.exists(), list(folder.iterdir()) if folder.exists() else "")
        self.assertFalse(self.prefix.drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                                             "Vantorel.lnk").exists())
        self.assertFalse(self.prefix.has_key(UNINSTALL_KEY))


class DamagedInstaller(InItsOwnPrefix):
    """One flipped byte of the payload: the installer refuses to start, before
    any page, and installs nothing (silent or not)."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        data = bytearray(cls.setup.read_bytes())
        data[len(data) // 2] ^= 0x01
        cls.prefix.drive_c("damaged-setup.exe").write_bytes(data)

    def test_silent_install_fails_and_leaves_nothing(self):
        run = self.prefix.wine(r"C:\damaged-setup.exe", "/S", r"/D=C:\Damaged")
        self.prefix.wait()
        self.assertNotEqual(run.returncode, 0)
        self.assertFalse(self.prefix.drive_c("Damaged").exists())
        self.assertFalse(self.prefix.has_key(UNINSTALL_KEY))

    def test_refused_before_any_page(self):
        needs_display(self)
        setup = subprocess.Popen(["wine", r"C:\damaged-setup.exe"], env=self.prefix.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            error = x_window("^NSIS Error$", 60)
            self.assertTrue(error, "no integrity error shown")
            save_screen("damaged-installer")
            self.assertEqual(x_window("Setup$", 1), "", "a page of the installer came up")
            press(error, "Return")
            self.assertNotEqual(setup.wait(timeout=60), 0)
        finally:
            if setup.poll() is None:
                setup.kill()
        self.assertFalse(self.prefix.drive_c("Program Files", "Vantorel").exists())


class InstallerPages(InItsOwnPrefix):
    """The installer as a user clicks through it: welcome, folder, components
    (the PATH box), installing, finish with "Run Vantorel" ticked; and the PATH
    component, added by /PATH and taken off by the uninstaller."""

    def user_path(self):
        run = self.prefix.wine("reg", "query", ENVIRONMENT_KEY, "/v", "Path")
        if run.returncode != 0:
            return None
        line = [x for x in run.stdout.splitlines() if x.strip().startswith("Path")][0]
        return re.split(r"\s+REG_\w+\s+", line.strip(), maxsplit=1)[1].strip()

    def test_path_component_added_and_removed(self):
        self.prefix.wine("reg", "add", ENVIRONMENT_KEY, "/v", "Path", "/t", "REG_EXPAND_SZ", "/d",
                         r"C:\Other;%USERPROFILE%\bin", "/f")
        run = self.prefix.wine(self.setup, "/S", "/PATH", r"/D=C:\OnPath")
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        self.prefix.wait()
        self.assertEqual(self.user_path(), r"C:\Other;%USERPROFILE%\bin;C:\OnPath")
        run = self.prefix.wine(r"C:\OnPath\uninstall.exe", "/S", r"_?=C:\OnPath")
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        self.prefix.wait()
        self.assertEqual(self.user_path(), r"C:\Other;%USERPROFILE%\bin")
        # Run in place, the uninstaller leaves no copy of itself behind, and
        # the installer no plug-in folder, in the temporary folder.
        leftovers = [p for p in self.prefix.path.glob("drive_c/users/*/Temp/*") if p.name.lower().startswith("ns")]
        self.assertEqual(leftovers, [])
        # Without /PATH the PATH is not touched.
        run = self.prefix.wine(self.setup, "/S", r"/D=C:\OffPath")
        self.prefix.wait()
        self.assertEqual(self.user_path(), r"C:\Other;%USERPROFILE%\bin")
        # A PATH longer than NSIS's strings would come back cut short: it is
        # left whole, and the installation goes on.
        long_path = ";".join(f"C:\\Tools\\Folder{i:03}" for i in range(70))
        self.assertGreater(len(long_path), 1024)
        self.prefix.wine("reg", "add", ENVIRONMENT_KEY, "/v", "Path", "/t", "REG_EXPAND_SZ", "/d", long_path, "/f")
        run = self.prefix.wine(self.setup, "/S", "/PATH", r"/D=C:\LongPath")
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        self.prefix.wait()
        self.assertTrue(self.prefix.drive_c("LongPath", "vantorel-cli.exe").exists())
        self.assertEqual(self.user_path(), long_path)

    def test_pages_from_welcome_to_run_vantorel(self):
        needs_display(self)
        setup = subprocess.Popen(["wine", str(self.setup)], env=self.prefix.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        folder = self.prefix.drive_c("Program Files", "Vantorel")
        try:
            window = x_window(f"^Vantorel {re.escape(ARGS.version)} Setup$")
            self.assertTrue(window, "no installer window")
            page = stable_screen()
            save_screen("1-welcome", page)
            # Welcome, folder, components: Next, Next, Install, and the files
            # are there; a licence page would need one press more.
            for name in ["2-folder", "3-components"]:
                self.assertFalse(folder.exists(), f"installed before {name}")
                press(window, "Return")
                page = stable_screen(differing_from=page)
                self.assertIsNotNone(page, f"the installer did not leave the page before {name}")
                save_screen(name, page)
            self.assertFalse(folder.exists(), "installed before the components page was left")
            press(window, "Return")
            deadline = time.monotonic() + 120
            while not (folder / "uninstall.exe").exists() and time.monotonic() < deadline:
                time.sleep(0.2)
            self.assertEqual(sorted(p.name for p in folder.iterdir()), sorted(INSTALLED))
            finish = stable_screen(differing_from=page)
            save_screen("4-finish", finish)
            # The finish page's "Run Vantorel" is ticked: Finish starts it.
            press(window, "Return")
            self.assertTrue(x_window("^Vantorel 1\\.1$"), "Finish did not run Vantorel")
            save_screen("5-vantorel-started")
            setup.wait(timeout=60)
        finally:
            self.prefix.wine("taskkill", "/IM", "vantorel.exe", "/F")
            if setup.poll() is None:
                setup.kill()


def main():
    global ARGS
    ARGS = parse_args("--fixtures", "--authors", "--email", "--homepage", "--copyright")
    try:
        return run_module(__name__, "package_installer", ARGS.results)
    finally:
        WinePrefix.remove_pristine()


if __name__ == "__main__":
    sys.exit(main())
