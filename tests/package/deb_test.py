#!/usr/bin/env python3
"""The Debian package of vantorel-cli, as a Linux user gets it: unpacked into a
scratch root it runs and says its version, carries its manual page and licence,
and lintian finds no error in it. The packaging steps are run a second time and
must give the same bytes.

Usage: deb_test.py --dist DIR --version X.Y.Z --tree BUILD_DIR [--results XML]
"""
import gzip
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

from script_report import parse_args, run_module

ARGS = None


def deb_path():
    return Path(ARGS.dist) / f"vantorel-cli_{ARGS.version}_amd64.deb"


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not deb_path().exists():
            raise unittest.SkipTest(f"{deb_path()} is missing: run scripts/package first")
        cls.root = Path(tempfile.mkdtemp(prefix="vantorel-deb-"))
        subprocess.run(["dpkg-deb", "-x", str(deb_path()), str(cls.root)], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def test_control_names_the_package_and_version(self):
        fields = subprocess.run(["dpkg-deb", "-f", str(deb_path()), "Package", "Version", "Architecture"],
                                capture_output=True, text=True, check=True).stdout
        self.assertIn("Package: vantorel-cli", fields)
        self.assertIn(f"Version: {ARGS.version}", fields)
        self.assertIn("Architecture: amd64", fields)

    def test_installed_program_says_its_version(self):
        run = subprocess.run([str(self.root / "usr/bin/vantorel-cli"), "--version"], capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn(ARGS.version, run.stdout)

    def test_installed_program_needs_no_shared_library(self):
        # The package declares no dependencies, so the program must not need any.
        run = subprocess.run(["ldd", str(self.root / "usr/bin/vantorel-cli")], capture_output=True, text=True)
        self.assertIn("not a dynamic executable", run.stdout + run.stderr)

    def test_manual_page_documents_every_option(self):
        page = gzip.decompress((self.root / "usr/share/man/man1/vantorel-cli.1.gz").read_bytes()).decode()
        self.assertIn(ARGS.version, page)
        usage = subprocess.run([str(self.root / "usr/bin/vantorel-cli"), "--help"],
                               capture_output=True, text=True).stdout
        for option in sorted({w.strip("[]|,") for w in usage.split() if w.startswith(("--", "[--"))}):
            self.assertIn(option.replace("-", "\\-"), page, option)

    def test_licence_is_shipped(self):
        copyright_file = (self.root / "usr/share/doc/vantorel-cli/copyright").read_text()
        self.assertIn("Permission is hereby granted, free of charge", copyright_file)

    def test_lintian_reports_no_error(self):
        if not shutil.which("lintian"):
            self.skipTest("lintian is not installed")
        run = subprocess.run(["lintian", "--fail-on", "error", str(deb_path())], capture_output=True, text=True)
        errors = [line for line in run.stdout.splitlines() if line.startswith("E:")]
        self.assertEqual(errors, [])
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)

    def test_packaging_again_gives_the_same_bytes(self):
        # The release tree is built; packaging it again must not depend on the
        # clock or on the order in which files were made.
        out = Path(tempfile.mkdtemp(prefix="vantorel-cpack-"))
        try:
            epoch = (Path(ARGS.tree) / "SOURCE_DATE_EPOCH").read_text().strip()
            env = dict(os.environ, SOURCE_DATE_EPOCH=epoch)
            subprocess.run(["cpack", "-G", "DEB", "-B", str(out)], cwd=ARGS.tree, env=env,
                           check=True, capture_output=True)
            self.assertEqual((out / deb_path().name).read_bytes(), deb_path().read_bytes())
        finally:
            shutil.rmtree(out, ignore_errors=True)


def main():
    global ARGS
    ARGS = parse_args()
    return run_module(__name__, "package_deb", ARGS.results)


if __name__ == "__main__":
    sys.exit(main())
