#!/usr/bin/env python3
"""The Linux downloads as a user gets them. The Debian package: unpacked into a
scratch root it runs and says its version; it is linked against the system's
libraries and its Depends, worked out by dpkg-shlibdeps, name them; it carries
its manual page, licence, README, changelog and bash completion, and the
completion, the README and the manual page's synopsis follow --help; lintian
finds nothing in it, with no overrides. The portable tarball's static vantorel-cli
runs anywhere. Packaging again, under another umask and time zone, gives the
same bytes; SHA256SUMS covers every download.

Usage: deb_test.py --dist DIR --version X.Y.Z --tree BUILD_DIR --authors NAME
                   --email ADDRESS --homepage URL --copyright LINE [--results XML]
"""
import gzip
import hashlib
import os
import re
import shlex
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest
from pathlib import Path

import help_forms
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

    def test_depends_names_every_library_the_program_links(self):
        needed = subprocess.run(["objdump", "-p", str(self.root / "usr/bin/vantorel-cli")], capture_output=True,
                                text=True, check=True).stdout
        libraries = re.findall(r"NEEDED\s+(\S+)", needed)
        self.assertIn("libc.so.6", libraries, "linked statically: Debian links against libc")
        depends = subprocess.run(["dpkg-deb", "-f", str(deb_path()), "Depends"], capture_output=True, text=True,
                                 check=True).stdout
        # Each library's package, as dpkg knows it on this system.
        for library in libraries:
            owner = subprocess.run(["dpkg", "-S", f"*/{library}"], capture_output=True, text=True).stdout
            packages = {line.split(":")[0] for line in owner.splitlines() if line}
            self.assertTrue(any(re.search(rf"(^|, ){re.escape(p)} \(>= ", depends) for p in packages),
                            f"{library} ({packages}) not in Depends: {depends}")

    def test_control_names_the_project(self):
        fields = subprocess.run(["dpkg-deb", "-f", str(deb_path()), "Maintainer", "Homepage"],
                                capture_output=True, text=True, check=True).stdout
        self.assertIn(f"Maintainer: {ARGS.authors} <{ARGS.email}>", fields)
        self.assertIn(f"Homepage: {ARGS.homepage}", fields)

    def test_docs_changelog_and_completion(self):
        doc = self.root / "usr/share/doc/vantorel-cli"
        self.assertEqual(sorted(p.name for p in doc.iterdir()), ["README", "changelog.gz", "copyright"])
        readme = (doc / "README").read_text()
        self.assertIn(ARGS.version, readme)
        self.assertIn(ARGS.homepage, readme)
        changelog = gzip.decompress((doc / "changelog.gz").read_bytes()).decode()
        self.assertRegex(changelog, rf"^vantorel-cli \({re.escape(ARGS.version)}\) unstable; urgency=medium\n")
        self.assertIn(f" -- {ARGS.authors} <{ARGS.email}>  ", changelog)
        parsed = subprocess.run(["dpkg-parsechangelog", "-l", "-", "-S", "Version"], input=changelog,
                                capture_output=True, text=True)
        self.assertEqual(parsed.stdout.strip(), ARGS.version, parsed.stderr)
        # Each version's items, from CHANGELOG.md.
        changes = (Path(__file__).parents[2] / "CHANGELOG.md").read_text()
        first_item = re.search(r"(?m)^- (\S+ \S+ \S+)", changes).group(1).replace("`", "")
        self.assertIn(f"  * {first_item}", changelog)
        self.assertEqual((self.root / "usr/share/doc/vantorel-cli/copyright").read_text().count(ARGS.homepage), 1)

    def complete(self, line, files):
        """What the package's bash completion offers at the end of `line`, in
        a folder holding `files`."""
        if not Path("/usr/share/bash-completion/bash_completion").exists():
            self.skipTest("bash-completion is not installed")
        script = self.root / "usr/share/bash-completion/completions/vantorel-cli"
        work = Path(tempfile.mkdtemp(prefix="vantorel-complete-"))
        try:
            for name in files:
                (work / name).write_text("")
            words = line.split(" ")  # a line ending in a space ends in an empty word
            probe = "\n".join([
                "source /usr/share/bash-completion/bash_completion",
                f"source {shlex.quote(str(script))}",
                f"COMP_LINE={shlex.quote(line)}; COMP_POINT=${{#COMP_LINE}}",
                "COMP_WORDS=(" + " ".join(shlex.quote(w) for w in words) + ")",
                f"COMP_CWORD={len(words) - 1}",
                "_vantorel_cli",
                'printf "%s\\n" "${COMPREPLY[@]}" | sort'])
            run = subprocess.run(["bash", "-c", probe], cwd=work, capture_output=True, text=True)
            return [w for w in run.stdout.split() if not w.endswith("/")]
        finally:
            shutil.rmtree(work, ignore_errors=True)

    def usage(self):
        return subprocess.run([str(self.root / "usr/bin/vantorel-cli"), "--help"], capture_output=True, text=True,
                              check=True).stdout

    def test_bash_completion_offers_options_and_files(self):
        cases = [("vantorel-cli --al", ["--all-sizes", "--allow-signed"]),
                 ("vantorel-cli --backup ", ["new.ico"]),
                 ("vantorel-cli new.ico ", ["app.exe"]),
                 ("vantorel-cli --extract ", ["app.exe"]),
                 ("vantorel-cli --extract app.exe ", ["new.ico"]),
                 ("vantorel-cli --list ", ["app.exe"]),
                 ("vantorel-cli --set-version-string CompanyName ", []),
                 ("vantorel-cli --set-version-string CompanyName Acme ", ["app.exe"]),
                 ("vantorel-cli --set-file-version 2.1 new.ico ", ["app.exe"])]
        for line, expected in cases:
            self.assertEqual(self.complete(line, ["app.exe", "new.ico", "notes.txt"]), expected, line)

    def test_bash_completion_follows_help(self):
        usage = self.usage()
        files = ["app.exe", "new.ico", "logo.png", "notes.txt"]
        self.assertEqual(self.complete("vantorel-cli --", files), help_forms.options(usage))
        # Each operand of each form of --help, after the options the form
        # cannot do without: the files of its kind (ICON may be a picture).
        kinds = {"ICON": (".ico", ".png"), "TARGET": (".exe",)}
        for form in help_forms.forms(usage):
            options, operands = help_forms.required(form, usage)
            for i, operand in enumerate(operands):
                line = " ".join(["vantorel-cli"] + options + ["x"] * i + [""])
                kind = kinds.get(operand, (Path(operand).suffix,))
                self.assertEqual(self.complete(line, files), sorted(f for f in files if f.endswith(kind)), line)
        # A value, a short option, and operands that look like options.
        cases = [("vantorel-cli --make-icon logo.png x.ico --sizes ", []),
                 ("vantorel-cli --extract --group 2 ", ["app.exe"]),
                 ("vantorel-cli -h ", []),
                 ("vantorel-cli -- --list ", ["app.exe"])]
        for line, expected in cases:
            self.assertEqual(self.complete(line, files), expected, line)

    def test_guide_and_manual_page_follow_help(self):
        usage = self.usage()
        help_forms.check_guide(self, (self.root / "usr/share/doc/vantorel-cli/README").read_text(), usage)
        page = gzip.decompress((self.root / "usr/share/man/man1/vantorel-cli.1.gz").read_bytes()).decode()
        self.assertEqual(help_forms.manual_forms(page), help_forms.forms(usage))
        # Each option heads an entry of its own under OPTIONS.
        heads = re.findall(r"(?m)^\.TP\n\.[BIR]+ (.*)$", page)
        for option in help_forms.options(usage):
            self.assertTrue(any(option in shlex.split(h.replace("\\-", "-")) for h in heads), option)

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

    def test_lintian_finds_nothing_and_nothing_is_overridden(self):
        if not shutil.which("lintian"):
            self.skipTest("lintian is not installed")
        self.assertFalse((self.root / "usr/share/lintian").exists(), "the package overrides lintian")
        run = subprocess.run(["lintian", "--fail-on", "error,warning,info", "--display-info", str(deb_path())],
                             capture_output=True, text=True)
        tags = [line for line in run.stdout.splitlines() if re.match(r"^[EWIX]: ", line)]
        self.assertEqual(tags, [])
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)

    def test_packaging_again_gives_the_same_bytes(self):
        # Every download made again by scripts/package, under a umask that
        # keeps everything private and in another time zone: the same bytes.
        out = Path(tempfile.mkdtemp(prefix="vantorel-package-"))
        try:
            epoch = (Path(ARGS.tree) / "SOURCE_DATE_EPOCH").read_text().strip()
            env = dict(os.environ, SOURCE_DATE_EPOCH=epoch, TZ="Pacific/Kiritimati", VANTOREL_DIST=str(out))
            run = subprocess.run([str(Path(__file__).parents[2] / "scripts/package")], env=env, capture_output=True,
                                 text=True, preexec_fn=lambda: os.umask(0o077))
            self.assertEqual(run.returncode, 0, run.stdout[-3000:] + run.stderr[-3000:])
            made = sorted(p.name for p in out.iterdir())
            self.assertEqual(made, sorted(p.name for p in Path(ARGS.dist).iterdir()))
            for name in made:
                self.assertEqual((out / name).read_bytes(), (Path(ARGS.dist) / name).read_bytes(), name)
        finally:
            shutil.rmtree(out, ignore_errors=True)


class PortableTarball(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = Path(ARGS.dist) / f"vantorel-cli-{ARGS.version}-linux-x86_64.tar.gz"
        if not cls.path.exists():
            raise unittest.SkipTest(f"{cls.path} is missing: run scripts/package first")
        cls.top = f"vantorel-cli-{ARGS.version}-linux-x86_64"
        cls.root = Path(tempfile.mkdtemp(prefix="vantorel-tarball-"))
        with tarfile.open(cls.path) as tar:
            cls.members = {m.name: m for m in tar.getmembers()}
            tar.extractall(cls.root)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def test_holds_the_static_program_its_manual_and_texts(self):
        names = ["vantorel-cli", "vantorel-cli.1", "README", "LICENSE", "CHANGELOG.md"]
        self.assertEqual(sorted(self.members), sorted([self.top] + [f"{self.top}/{n}" for n in names]))
        for name, member in self.members.items():
            self.assertEqual((member.uid, member.gid, member.uname, member.gname), (0, 0, "root", "root"), name)
            expected = 0o755 if member.isdir() or name.endswith("/vantorel-cli") else 0o644
            self.assertEqual(member.mode, expected, name)
        program = self.root / self.top / "vantorel-cli"
        run = subprocess.run(["ldd", str(program)], capture_output=True, text=True)
        self.assertIn("not a dynamic executable", run.stdout + run.stderr)
        run = subprocess.run([str(program), "--version"], capture_output=True, text=True)
        self.assertEqual(run.stdout.strip(), f"vantorel-cli {ARGS.version}")
        page = (self.root / self.top / "vantorel-cli.1").read_text()
        self.assertIn(ARGS.version, page)
        self.assertIn(ARGS.copyright, (self.root / self.top / "LICENSE").read_text())

    def test_the_gzip_header_holds_no_name_or_time(self):
        data = self.path.read_bytes()
        self.assertEqual(data[3], 0, "the gzip header names a file")
        self.assertEqual(data[4:8], b"\0\0\0\0", "the gzip header holds a time")

    def test_sums_cover_every_download(self):
        sums = (Path(ARGS.dist) / "SHA256SUMS").read_text().splitlines()
        names = {line.split("  ", 1)[1]: line.split("  ", 1)[0] for line in sums}
        self.assertEqual(sorted(names), sorted([self.path.name, deb_path().name, f"vantorel-{ARGS.version}-win32.zip",
                                                f"vantorel-{ARGS.version}-setup.exe"]))
        for name, digest in names.items():
            self.assertEqual(hashlib.sha256((Path(ARGS.dist) / name).read_bytes()).hexdigest(), digest, name)


def main():
    global ARGS
    ARGS = parse_args("--authors", "--email", "--homepage", "--copyright")
    return run_module(__name__, "package_deb", ARGS.results)


if __name__ == "__main__":
    sys.exit(main())
