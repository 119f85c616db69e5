#!/usr/bin/env python3
"""The Windows downloads as a user gets them, under Wine in a prefix of their
own: the zip holds the two programs and the texts; the installer installs
silently, the installed window starts and the installed vantorel-cli gives a
program a new icon; Vantorel gives its own installer a new icon and that
installer still installs; the uninstaller leaves nothing behind.

Usage: installer_test.py --dist DIR --version X.Y.Z --tree RELEASE_WIN32_DIR
                         --fixtures DIR [--results XML]
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
from pathlib import Path

from script_report import parse_args, run_module

ARGS = None
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel"
INSTALLED = ["vantorel.exe", "vantorel-cli.exe", "README.txt", "LICENSE.txt", "uninstall.exe"]
RT_ICON = 3


def dist(name):
    return Path(ARGS.dist) / name.format(v=ARGS.version)


def first_image(ico_path):
    data = Path(ico_path).read_bytes()
    size, offset = struct.unpack("<II", data[14:22])
    return data[offset:offset + size]


def raw_icons(program):
    raw = subprocess.run(["wrestool", "-x", "--raw", "-t", str(RT_ICON), str(program)],
                         capture_output=True, check=True).stdout
    listing = subprocess.run(["wrestool", "-l", "-t", str(RT_ICON), str(program)],
                             capture_output=True, text=True, check=True).stdout
    return raw, len(listing.strip().splitlines())


class WinePrefix:
    """A fresh 32-bit prefix, so nothing installed by earlier runs can make a check pass."""

    def __init__(self, path):
        self.path = path
        self.env = dict(os.environ, WINEPREFIX=str(path), WINEARCH="win32", WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        subprocess.run(["wineboot", "-i"], env=self.env, capture_output=True, check=True)
        self.wait()

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
    def test_holds_the_two_programs_and_the_texts(self):
        path = dist("vantorel-{v}-win32.zip")
        if not path.exists():
            self.skipTest(f"{path} is missing: run scripts/package first")
        top = f"vantorel-{ARGS.version}-win32/"
        stage = Path(ARGS.tree) / "stage"
        with zipfile.ZipFile(path) as z:
            self.assertIsNone(z.testzip())
            names = sorted(z.namelist())
            self.assertEqual(names, sorted(top + n for n in ["vantorel.exe", "vantorel-cli.exe", "README.txt", "LICENSE.txt"]))
            for n in names:
                self.assertEqual(z.read(n), (stage / n[len(top):]).read_bytes(), n)
            self.assertIn(b"\r\n", z.read(top + "README.txt"), "text in Windows' line endings")
            self.assertIn(b"MIT License", z.read(top + "LICENSE.txt"))

    def test_zipping_again_gives_the_same_bytes(self):
        path = dist("vantorel-{v}-win32.zip")
        if not path.exists():
            self.skipTest(f"{path} is missing: run scripts/package first")
        out = Path(tempfile.mkdtemp(prefix="vantorel-zip-")) / path.name
        try:
            epoch = (Path(ARGS.tree) / "SOURCE_DATE_EPOCH").read_text().strip()
            # Names in another order: the zip must sort them itself.
            subprocess.run([sys.executable, str(Path(__file__).parents[2] / "packaging/make_zip.py"), str(out),
                            str(Path(ARGS.tree) / "stage"), "README.txt", "vantorel.exe", "LICENSE.txt",
                            "vantorel-cli.exe"], env=dict(os.environ, SOURCE_DATE_EPOCH=epoch), check=True)
            self.assertEqual(out.read_bytes(), path.read_bytes())
        finally:
            shutil.rmtree(out.parent, ignore_errors=True)


class Installer(unittest.TestCase):
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

    def test_4_own_installer_with_a_new_icon_still_installs(self):
        setup = self.prefix.drive_c("setup-rebranded.exe")
        shutil.copyfile(self.setup, setup)
        shutil.copyfile(Path(ARGS.fixtures) / "new.ico", self.prefix.drive_c("new.ico"))
        run = self.prefix.wine(r"C:\Program Files\Vantorel\vantorel-cli.exe", r"C:\new.ico", r"C:\setup-rebranded.exe")
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        raw, count = raw_icons(setup)
        self.assertEqual(raw, first_image(Path(ARGS.fixtures) / "new.ico") * count)
        self.assertEqual(setup.stat().st_size, self.setup.stat().st_size, "the installer's payload stays put")

        self.install(r"C:\setup-rebranded.exe", r"C:\Rebranded")
        folder = self.prefix.drive_c("Rebranded")
        self.assertEqual(sorted(p.name for p in folder.iterdir()), sorted(INSTALLED))
        self.assertEqual((folder / "vantorel.exe").read_bytes(),
                         (Path(ARGS.tree) / "stage" / "vantorel.exe").read_bytes())
        self.uninstall(folder, r"C:\Rebranded")
        self.assertFalse(folder.exists())

    def test_5_uninstaller_removes_everything(self):
        # Put back what the rebranded installer's uninstall took, then remove it.
        self.install(self.setup, r"C:\Program Files\Vantorel")
        folder = self.prefix.drive_c("Program Files", "Vantorel")
        self.uninstall(folder, r"C:\Program Files\Vantorel")
        self.assertFalse(folder.exists(), list(folder.iterdir()) if folder.exists() else "")
        self.assertFalse(self.prefix.drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                                             "Vantorel.lnk").exists())
        self.assertFalse(self.prefix.has_key(UNINSTALL_KEY))


def main():
    global ARGS
    ARGS = parse_args("--fixtures")
    return run_module(__name__, "package_installer", ARGS.results)


if __name__ == "__main__":
    sys.exit(main())
