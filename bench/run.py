#!/usr/bin/env python3
"""Speed and memory of vantorel-cli against two resource editors, and the floor.

    python3 bench/run.py [--runs N] [--size-mb M] [--out FILE] [--candidate NAME=PATH]... [--no-peers]

Builds what is missing (vantorel-cli in build/bench-native, the floor program,
the sample programs with MinGW and windres), installs the peers with npm into
build/bench/peers when they are missing, then times every tool on three
programs, each run on a fresh copy of the program:

  small     a small 64-bit program with two icon groups
  resource  the same program whose resources also hold M MiB of random data
  appended  the small program with M MiB of random data appended

Tools: vantorel-cli; resedit-cli (node); rcedit's 32-bit and 64-bit builds
under Wine, with one `wineserver -p` kept alive in a private prefix; and the
floor (bench/floor.cpp: read the headers, write the image's bytes, fsync;
linked statically, so it pays no dynamic loading either), and the same
floor ending with fdatasync, the sync vantorel-cli uses. `vantorel-cli
--all-sizes` runs with the same icon file: each icon gets the image of its size;
`vantorel-cli --add-sizes` too, on the small and resource programs (it refuses
the appended one by design: its payload must keep ending the file).
`vantorel-cli --all-sizes` also runs with a 1024 x 1024 and a 4096 x 4096 PNG
picture (a soft-edged logo with alpha, written here with zlib): the picture
made into an icon of every standard size, written into the program.
`vantorel-cli --set-version-string FileDescription VALUE` sets a version
string (shorter than the programs' own, so it goes in place), beside
resedit-cli's --file-description and rcedit's --set-version-string on the
same programs; each result is read back with --get-version-string.
--no-peers leaves out the two peers (and Wine), for a quick run of our own.
Wine's own start-up (an empty program) is measured just before and just
after each rcedit run and reported on its own; the rcedit figures are given
raw, and less it only where the run can stand behind the figure: the median
of each run less the mean of its two start-ups, with the interval that holds
that median at least 95 % of the time (bench/paired.py); where the interval
reaches zero, the table says the figure cannot be measured on this run.

Each copy is written and fsynced before its run, so no tool pays for the
copy's write-back. Wall time and peak resident memory (wait4's ru_maxrss of
the tool's process tree, taken by the small static launcher bench/measure.cpp)
are medians over the runs; the tools take turns
within each run so background load falls on all of them alike. Every result
is checked: the target's first icon group must then show the icon file's
first image; where data was appended, whether it survived is shown.

--candidate times another vantorel-cli build (a proposed change) in the same
runs, next to the one built from this tree.

Prints a Markdown table and the goals with the figures that decide them; every
run's figures go to build/bench/raw.json.
Not part of CI: the figures depend on the machine and its load.
"""

import argparse
import hashlib
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

import paired

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BENCH = os.path.join(ROOT, "bench")
NATIVE = os.path.join(ROOT, "build", "bench-native")
WORK = os.path.join(ROOT, "build", "bench")
PROGRAMS = os.path.join(WORK, "programs")
PEERS = os.path.join(WORK, "peers")
PREFIX = os.path.join(WORK, "wineprefix")
CLI = os.path.join(NATIVE, "cli", "vantorel-cli")
FIXTURES = os.path.join(NATIVE, "tests", "fixtures")
FLOOR = os.path.join(WORK, "floor")
FLOOR_DATASYNC = "floor, fdatasync"
MEASURE = os.path.join(WORK, "measure")
RESEDIT = os.path.join(PEERS, "node_modules", ".bin", "resedit")
RCEDIT32 = os.path.join(PEERS, "node_modules", "rcedit", "bin", "rcedit.exe")
RCEDIT64 = os.path.join(PEERS, "node_modules", "rcedit", "bin", "rcedit-x64.exe")
WINE32 = "wine"
WINE64 = "/usr/lib/wine/wine64"
MINGW = "x86_64-w64-mingw32"


ALL_SIZES = "vantorel-cli --all-sizes"
ADD_SIZES = "vantorel-cli --add-sizes"
# The pictures made into an icon in a program: each one's side, and the goal
# for its time in seconds (None: measured, with no goal).
PICTURES = {"vantorel-cli --all-sizes, %d px PNG" % side: (side, goal) for side, goal in ((1024, 0.030), (4096, None))}
# A version string set, by us and by the peers that set one: a value shorter
# than the programs' own, so that every tool can write it in place.
SET_VERSION = "vantorel-cli --set-version-string"
VERSION_VALUE = "Changed by the bench"
VERSION_PEERS = ("resedit-cli --file-description", "rcedit (wine) --set-version-string")
PEER_TOOLS = ("resedit-cli", "rcedit (wine)", "rcedit-x64 (wine64)") + VERSION_PEERS


def log(text):
    print(text, file=sys.stderr, flush=True)


def run(argv, **kw):
    subprocess.run(argv, check=True, **kw)


def newer(output, *inputs):
    return os.path.exists(output) and all(os.path.getmtime(output) >= os.path.getmtime(i) for i in inputs)


# ---------------------------------------------------------------- preparation

def build_native():
    if not os.path.exists(os.path.join(NATIVE, "build.ninja")):
        # -Wno-restrict: GCC 12 at -O3 reports a false -Wrestrict inside
        # std::string concatenation, which -Werror would turn into a failure.
        run(["cmake", "-S", ROOT, "-B", NATIVE, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
             "-DCMAKE_CXX_FLAGS=-Wno-restrict"], stdout=subprocess.DEVNULL)
    run(["cmake", "--build", NATIVE, "--target", "vantorel-cli", "fixtures", "-j2"], stdout=subprocess.DEVNULL)
    for exe, src, static in ((FLOOR, "floor.cpp", ["-static"]), (MEASURE, "measure.cpp", ["-static"])):
        src = os.path.join(BENCH, src)
        if not newer(exe, src):
            run(["c++", "-O2", "-std=c++20", "-Wall", "-Wextra", *static, "-o", exe, src])


def install_peers():
    if all(os.path.exists(p) for p in (RESEDIT, RCEDIT32, RCEDIT64)):
        return
    log("installing resedit-cli and rcedit with npm into " + PEERS)
    os.makedirs(PEERS, exist_ok=True)
    run(["npm", "install", "--no-audit", "--no-fund", "--prefix", PEERS, "resedit-cli@3", "rcedit@4"],
        stdout=subprocess.DEVNULL)


def peer_versions():
    out = {}
    for name in ("resedit-cli", "resedit", "rcedit"):
        path = os.path.join(PEERS, "node_modules", name, "package.json")
        m = re.search(r'"version"\s*:\s*"([^"]+)"', open(path).read())
        out[name] = m.group(1) if m else "?"
    return out


def write_random(path, size):
    with open(path, "wb") as f:
        left = size
        while left:
            chunk = min(left, 1 << 24)
            f.write(os.urandom(chunk))
            left -= chunk


def make_programs(size):
    """The three sample programs and the empty programs for Wine's start-up."""
    os.makedirs(PROGRAMS, exist_ok=True)
    for ico in ("app.ico", "second.ico", "new.ico"):
        shutil.copyfile(os.path.join(FIXTURES, ico), os.path.join(PROGRAMS, ico))
    blob = os.path.join(PROGRAMS, "blob.bin")
    if not os.path.exists(blob) or os.path.getsize(blob) != size:
        write_random(blob, size)
    rc = os.path.join(BENCH, "programs", "bench.rc")
    c = os.path.join(BENCH, "programs", "bench.c")
    built = {}
    for name, defines in (("small", []), ("resource", ["-DBIG_BLOB"])):
        exe = os.path.join(PROGRAMS, name + ".exe")
        res = os.path.join(PROGRAMS, name + ".res")
        if not newer(exe, rc, c, blob):
            run([MINGW + "-windres", *defines, "-I", PROGRAMS, rc, "-O", "coff", "-o", res], cwd=PROGRAMS)
            run([MINGW + "-gcc-posix", "-O1", "-s", "-o", exe, c, res])
            os.remove(res)
        built[name] = exe
    appended = os.path.join(PROGRAMS, "appended.exe")
    if not newer(appended, built["small"], blob):
        with open(appended, "wb") as out:
            for part in (built["small"], blob):
                with open(part, "rb") as f:
                    shutil.copyfileobj(f, out, 1 << 24)
    built["appended"] = appended
    empty = os.path.join(BENCH, "programs", "empty.c")
    for arch, prefix in (("32", "i686-w64-mingw32"), ("64", MINGW)):
        exe = os.path.join(PROGRAMS, "empty%s.exe" % arch)
        if not newer(exe, empty):
            run([prefix + "-gcc-posix", "-O1", "-s", "-o", exe, empty])
    return built


def write_picture(path, side):
    """A logo: a disc whose colour runs across it, opaque in the middle and
    fading to transparent at its rim, on transparency; 8-bit RGBA."""
    if os.path.exists(path):
        return
    import struct
    import zlib
    centre, radius = (side - 1) / 2, side * 0.45
    rows = bytearray()
    for y in range(side):
        rows.append(0)
        dy2 = (y - centre) ** 2
        for x in range(side):
            d = ((x - centre) ** 2 + dy2) ** 0.5
            alpha = max(0, min(255, int((radius - d) * 4)))
            rows += bytes((x * 255 // side, y * 255 // side, 160, alpha))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
                + chunk(b"IEND", b""))


# ---------------------------------------------------------------- Wine

def wine_env():
    env = dict(os.environ)
    env.update(WINEPREFIX=PREFIX, WINEARCH="win64", WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)  # console programs only; no window system needed
    return env


def start_wine():
    env = wine_env()
    if not os.path.exists(os.path.join(PREFIX, "system.reg")):
        log("creating the Wine prefix " + PREFIX)
        run([WINE64, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Exits with 2 when a server for this prefix runs already: that one is kept.
    subprocess.run(["wineserver", "-p"], env=env, stderr=subprocess.DEVNULL)
    # Warm both loaders once, so that the first timed run pays no one-off set-up.
    for loader, exe in ((WINE32, "empty32.exe"), (WINE64, "empty64.exe")):
        run([loader, exe], env=env, cwd=PROGRAMS, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def stop_wine():
    subprocess.run(["wineserver", "-k"], env=wine_env(), stderr=subprocess.DEVNULL)


def wine_startup(loader, loader_path, env, startup):
    """Times Wine's start-up alone (an empty program) and keeps the sample."""
    empty = "empty32.exe" if loader == "wine" else "empty64.exe"
    t, m = measure([loader_path, empty], cwd=PROGRAMS, env=env)
    startup[loader][0].append(t)
    startup[loader][1].append(m)
    return t


# ---------------------------------------------------------------- measuring

def measure(argv, cwd, env=None):
    """(seconds, peak KiB) of one run through the small launcher; raises if the tool failed."""
    errpath = os.path.join(WORK, "stderr.txt")
    with open(errpath, "wb") as err:
        out = subprocess.run([MEASURE, *argv], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.PIPE, stderr=err, check=True).stdout.split()
    seconds, peak, code = float(out[0]), int(out[1]), int(out[2])
    if code != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(argv), code,
                                                     open(errpath, errors="replace").read().strip()))
    return seconds, peak


def fresh_copy(src, dst):
    """Copy, and put the copy on disk, before the timed run."""
    if os.path.exists(dst):
        os.remove(dst)
    with open(src, "rb") as f, open(dst, "wb") as out:
        shutil.copyfileobj(f, out, 1 << 24)
        out.flush()
        os.fsync(out.fileno())


def first_image(ico):
    data = open(ico, "rb").read()
    size = int.from_bytes(data[6 + 8:6 + 12], "little")
    offset = int.from_bytes(data[6 + 12:6 + 16], "little")
    return data[offset:offset + size]


def group1_shows(target, image):
    """Whether every image of icon group #1 of language 1033 listed first is the given image's bytes."""
    out = subprocess.run([CLI, "--list", target], capture_output=True, text=True).stdout
    rows = re.findall(r"^\s*#1\s+(\d+)\s+\d+\s+\d+\s+\d+\s+\d+\s+(\d+)\s+\d+\s+(0x[0-9a-f]+)", out, re.M)
    rows = [r for r in rows if int(r[1]) == len(image)]
    if not rows:
        return False
    with open(target, "rb") as f:
        for _, size, offset in rows:
            f.seek(int(offset, 16))
            if f.read(int(size)) != image:
                return False
    return True


def all_sizes_shows(target, icon):
    """Whether every entry of icon group #1 describes an image of the icon file
    and names its bytes, and more than one image is shown."""
    data = open(icon, "rb").read()
    images = {}
    for i in range(int.from_bytes(data[4:6], "little")):
        e = data[6 + 16 * i:22 + 16 * i]
        size, offset = int.from_bytes(e[8:12], "little"), int.from_bytes(e[12:16], "little")
        images[(e[0] or 256, e[1] or 256, size)] = data[offset:offset + size]
    out = subprocess.run([CLI, "--list", target], capture_output=True, text=True).stdout
    rows = re.findall(r"^\s*#1\s+\d+\s+(\d+)\s+(\d+)\s+\d+\s+\d+\s+(\d+)\s+\d+\s+(0x[0-9a-f]+)", out, re.M)
    shown = set()
    with open(target, "rb") as f:
        for width, height, size, offset in rows:
            image = images.get((int(width), int(height), int(size)))
            f.seek(int(offset, 16))
            if image is None or f.read(int(size)) != image:
                return False
            shown.add(image)
    return len(shown) > 1


def picture_shows(target):
    """Whether every entry of icon group #1 names an image of the size it
    describes, made from the picture: a 32-bit DIB whose header says that size,
    or a PNG; and more than one image is shown."""
    out = subprocess.run([CLI, "--list", target], capture_output=True, text=True).stdout
    rows = re.findall(r"^\s*#1\s+\d+\s+(\d+)\s+(\d+)\s+\d+\s+(\d+)\s+(\d+)\s+\d+\s+(0x[0-9a-f]+)", out, re.M)
    shown = set()
    with open(target, "rb") as f:
        for width, height, bits, size, offset in rows:
            f.seek(int(offset, 16))
            image = f.read(int(size))
            if image.startswith(b"\x89PNG"):
                ok = int(width) == 256
            else:
                ok = (int(bits) == 32 and int.from_bytes(image[4:8], "little") == int(width)
                      and int.from_bytes(image[8:12], "little") == 2 * int(height)
                      and int.from_bytes(image[14:16], "little") == 32)
            if not ok:
                return False
            shown.add(image)
    return len(shown) > 1


def version_shows(target):
    """Whether the program's version strings hold the value the bench set."""
    out = subprocess.run([CLI, "--get-version-string", "FileDescription", target], capture_output=True,
                         text=True).stdout
    return out == VERSION_VALUE + "\n"


def tail_hash(path, size):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        f.seek(max(0, os.path.getsize(path) - size))
        for chunk in iter(lambda: f.read(1 << 24), b""):
            h.update(chunk)
    return h.hexdigest()


def dry_run_offset(icon, target):
    out = subprocess.run([CLI, "--dry-run", icon, target], capture_output=True, text=True, check=True).stdout
    return re.search(r"file offset (0x[0-9a-fA-F]+)", out).group(1)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--runs", type=int, default=7, help="runs per tool and program (at least 5; at least 6 give rcedit less Wine's start-up)")
    ap.add_argument("--size-mb", type=int, default=100, help="size of the data blob and of the appended data")
    ap.add_argument("--out", help="also write the table to this file")
    ap.add_argument("--candidate", action="append", default=[], metavar="NAME=PATH",
                    help="also time another vantorel-cli build (a proposed change) in the same runs")
    ap.add_argument("--no-peers", action="store_true", help="time only our own tools and the floor")
    args = ap.parse_args()
    if args.runs < 5:
        ap.error("--runs must be at least 5")
    size = args.size_mb << 20

    os.makedirs(WORK, exist_ok=True)
    build_native()
    if not args.no_peers:
        install_peers()
    programs = make_programs(size)
    icon = os.path.join(PROGRAMS, "new.ico")
    image = first_image(icon)
    pictures = {label: os.path.join(PROGRAMS, "logo%d.png" % side) for label, (side, _) in PICTURES.items()}
    for label, (side, _) in PICTURES.items():
        write_picture(pictures[label], side)
    if not args.no_peers:
        start_wine()
    env = wine_env()
    scratch = os.path.join(WORK, "run")
    os.makedirs(scratch, exist_ok=True)
    target = os.path.join(scratch, "target.exe")

    offsets = {name: dry_run_offset(icon, exe) for name, exe in programs.items()}
    tools = {
        "floor": lambda name: [FLOOR, icon, target, offsets[name]],
        FLOOR_DATASYNC: lambda name: [FLOOR, icon, target, offsets[name], "datasync"],
        "vantorel-cli": lambda name: [CLI, icon, target],
        ALL_SIZES: lambda name: [CLI, "--all-sizes", icon, target],
        ADD_SIZES: lambda name: [CLI, "--add-sizes", icon, target],
        **{label: (lambda name, picture=path: [CLI, "--all-sizes", picture, target]) for label, path in pictures.items()},
        "resedit-cli": lambda name: [RESEDIT, "--in", target, "--out", target, "--icon", "1," + icon],
        "rcedit (wine)": lambda name: [WINE32, RCEDIT32, "target.exe", "--set-icon", "new.ico"],
        "rcedit-x64 (wine64)": lambda name: [WINE64, RCEDIT64, "target.exe", "--set-icon", "new.ico"],
        SET_VERSION: lambda name: [CLI, "--set-version-string", "FileDescription", VERSION_VALUE, target],
        VERSION_PEERS[0]: lambda name: [RESEDIT, "--in", target, "--out", target, "--file-description", VERSION_VALUE],
        VERSION_PEERS[1]: lambda name: [WINE32, RCEDIT32, "target.exe", "--set-version-string", "FileDescription",
                                        VERSION_VALUE],
    }
    for cand in args.candidate:
        label, _, path = cand.partition("=")
        if not path:
            ap.error("--candidate takes NAME=PATH")
        tools["candidate: " + label] = (lambda exe: lambda name: [exe, icon, target])(os.path.abspath(path))
    wine_tools = {"rcedit (wine)": "wine", "rcedit-x64 (wine64)": "wine64", VERSION_PEERS[1]: "wine"}
    if args.no_peers:
        for peer in PEER_TOOLS:
            del tools[peer]
    shutil.copyfile(icon, os.path.join(scratch, "new.ico"))

    times = {}    # (program, tool) -> [seconds]
    peaks = {}    # (program, tool) -> [KiB]
    appended_kept = {}
    startup = {"wine": ([], []), "wine64": ([], [])}
    wine_pairs = {}  # (program, tool) -> ([start-up just before each run], [just after])
    blob_hash = tail_hash(os.path.join(PROGRAMS, "blob.bin"), size)
    try:
        for i in range(args.runs):
            log("run %d of %d" % (i + 1, args.runs))
            for name, exe in programs.items():
                for tool, argv in tools.items():
                    if tool == ADD_SIZES and name == "appended":
                        continue
                    fresh_copy(exe, target)
                    if tool in wine_tools:
                        # Wine's start-up just before the peer that pays it, and
                        # again just after (below): its swings are slow enough
                        # that the two bracket what this run paid.
                        wine_pairs.setdefault((name, tool), ([], []))[0].append(
                            wine_startup(wine_tools[tool], argv(name)[0], env, startup))
                    t, m = measure(argv(name), cwd=scratch, env=env if tool in wine_tools else None)
                    times.setdefault((name, tool), []).append(t)
                    peaks.setdefault((name, tool), []).append(m)
                    if tool in wine_tools:
                        wine_pairs[(name, tool)][1].append(wine_startup(wine_tools[tool], argv(name)[0], env, startup))
                    if tool == SET_VERSION or tool in VERSION_PEERS:
                        if not version_shows(target):
                            raise RuntimeError("%s on %s: FileDescription is not the value set" % (tool, name))
                    elif tool in (ALL_SIZES, ADD_SIZES):
                        if not all_sizes_shows(target, icon):
                            raise RuntimeError("%s on %s: icon group #1 does not show the icon's sizes" % (tool, name))
                    elif tool in PICTURES:
                        if not picture_shows(target):
                            raise RuntimeError("%s on %s: icon group #1 does not show the picture's sizes" % (tool, name))
                    elif not tool.startswith("floor") and not group1_shows(target, image):
                        raise RuntimeError("%s on %s: icon group #1 does not show the new image" % (tool, name))
                    if name == "appended" and i == 0 and not tool.startswith("floor"):
                        appended_kept[tool] = tail_hash(target, size) == blob_hash
    finally:
        if not args.no_peers:
            stop_wine()

    with open(os.path.join(WORK, "raw.json"), "w") as f:
        json.dump({"times_s": {"%s/%s" % k: v for k, v in times.items()},
                   "peaks_kib": {"%s/%s" % k: v for k, v in peaks.items()},
                   "wine_startup": startup}, f, indent=1)
    med_t = {k: statistics.median(v) for k, v in times.items()}
    med_m = {k: statistics.median(v) for k, v in peaks.items()}
    wine_t = {k: statistics.median(v[0]) for k, v in startup.items() if v[0]}
    wine_m = {k: statistics.median(v[1]) for k, v in startup.items() if v[1]}
    net_t = {k: paired.NetFigure(paired.paired_differences(times[k], *v)) for k, v in wine_pairs.items()}
    sizes = {name: os.path.getsize(exe) for name, exe in programs.items()}

    lines = []
    out = lines.append
    commit = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"], capture_output=True,
                            text=True).stdout.strip() or "?"
    if args.no_peers:
        out("Medians of %d runs; vantorel %s, %s, %d cores; peers left out."
            % (args.runs, commit, time.strftime("%Y-%m-%d"), os.cpu_count()))
    else:
        v = peer_versions()
        out("Medians of %d runs; vantorel %s, %s, %d cores; resedit-cli %s (resedit %s), rcedit %s, %s, node %s."
            % (args.runs, commit, time.strftime("%Y-%m-%d"), os.cpu_count(), v["resedit-cli"], v["resedit"],
               v["rcedit"], subprocess.run([WINE64, "--version"], capture_output=True, text=True).stdout.strip(),
               subprocess.run(["node", "--version"], capture_output=True, text=True).stdout.strip()))
    out("")
    out("| program | size | tool | time (ms) | peak memory (MiB) | time / vantorel-cli | memory / vantorel-cli |")
    out("|---|---:|---|---:|---:|---:|---:|")
    for name in programs:
        base_t, base_m = med_t[(name, "vantorel-cli")], med_m[(name, "vantorel-cli")]
        for tool in tools:
            if (name, tool) not in med_t:
                continue  # --add-sizes refuses the appended program
            t, m = med_t[(name, tool)], med_m[(name, tool)]
            label = tool
            shown = ("%.1f MiB" % (sizes[name] / 2**20)) if sizes[name] >= 2**20 else ("%d KiB" % (sizes[name] // 1024))
            out("| %s | %s | %s | %.1f | %.1f | %.2f | %.2f |"
                % (name, shown, label, t * 1e3, m / 1024, t / base_t, m / base_m))
            if tool in wine_tools:
                net = net_t[(name, tool)]
                out("| %s | | %s less Wine's start-up | %s | | %s | |"
                    % (name, tool.split(" ")[0], net.cell(), net.ratio_cell(base_t)))
    out("")
    if not args.no_peers:
        out("Wine's own start-up (an empty console program, `wineserver -p` running; measured just before "
            "and just after each rcedit run): wine %s, wine64 %s. An rcedit figure less Wine's start-up is the "
            "median of each run less the mean of its two start-ups, with the interval (in parentheses, ms) that "
            "holds that median at least 95 %% of the time; where the interval reaches zero, Wine's swings hide "
            "rcedit's own work and no figure is given."
            % tuple("%.1f ms (%.1f to %.1f ms across runs) and %.1f MiB"
                    % (wine_t[w] * 1e3, min(startup[w][0]) * 1e3, max(startup[w][0]) * 1e3, wine_m[w] / 1024)
                    for w in ("wine", "wine64")))
        out("")
    out("The appended data still ends the file after the change: "
        + ", ".join("%s %s" % (tool, "yes" if kept else "NO") for tool, kept in appended_kept.items()) + ".")
    out("")

    # The goals, each with the figures that decide it.
    def verdict(ok):
        return "met" if ok else "NOT met"
    small_t, small_m = med_t[("small", "vantorel-cli")], med_m[("small", "vantorel-cli")]
    sized_t, sized_m = med_t[("small", ALL_SIZES)], med_m[("small", ALL_SIZES)]
    for name in ("resource", "appended"):
        t, m = med_t[(name, "vantorel-cli")], med_m[(name, "vantorel-cli")]
        # Flat: within 1.5 times the small program's figures (noise on a shared machine).
        out("- Flat in size (%s vs small): time %.1f vs %.1f ms, memory %.1f vs %.1f MiB: %s"
            % (name, t * 1e3, small_t * 1e3, m / 1024, small_m / 1024, verdict(t <= 1.5 * small_t and m <= 1.5 * small_m)))
        at, am = med_t[(name, ALL_SIZES)], med_m[(name, ALL_SIZES)]
        out("- %s flat in size (%s vs small): time %.1f vs %.1f ms, memory %.1f vs %.1f MiB: %s"
            % (ALL_SIZES, name, at * 1e3, sized_t * 1e3, am / 1024, sized_m / 1024,
               verdict(at <= 1.5 * sized_t and am <= 1.5 * sized_m)))
        out("- %s within 3x of the first-image replacement (%s): %.2fx: %s"
            % (ALL_SIZES, name, at / t, verdict(at <= 3 * t)))
        vt, vm = med_t[(name, SET_VERSION)], med_m[(name, SET_VERSION)]
        out("- %s within 3x of the first-image replacement (%s): %.2fx, memory %.1f MiB: %s"
            % (SET_VERSION, name, vt / t, vm / 1024, verdict(vt <= 3 * t)))
        if (name, ADD_SIZES) in med_t:
            dt, dm = med_t[(name, ADD_SIZES)], med_m[(name, ADD_SIZES)]
            out("- %s within 3x of the first-image replacement (%s): %.2fx, memory %.1f MiB: %s"
                % (ADD_SIZES, name, dt / t, dm / 1024, verdict(dt <= 3 * t)))
        for tool, goal in () if args.no_peers else (("resedit-cli", 100), ("rcedit (wine)", 50), ("rcedit-x64 (wine64)", 50)):
            ratio = med_t[(name, tool)] / t
            mem = med_m[(name, tool)] / m
            out("- %s, %s: %.0fx faster (goal %dx): %s; memory 1/%.0f of it (goal 1/50): %s"
                % (name, tool, ratio, goal, verdict(ratio >= goal), mem, verdict(mem >= 50)))
            if tool in wine_tools:
                out("  - " + net_t[(name, tool)].goal_line(t, goal))
    for label, (side, goal) in PICTURES.items():
        for name in programs:
            t, m = med_t[(name, label)], med_m[(name, label)]
            out("- A %d x %d PNG to a full icon in a program (%s): %.1f ms, memory %.1f MiB%s"
                % (side, side, name, t * 1e3, m / 1024,
                   "" if goal is None else " (goal %.0f ms or less): %s" % (goal * 1e3, verdict(t <= goal))))
    for name in programs:
        for floor in ("floor", FLOOR_DATASYNC):
            ratio = med_t[(name, "vantorel-cli")] / med_t[(name, floor)]
            out("- Within 1.2x of the %s (%s): %.2fx: %s" % (floor, name, ratio, verdict(ratio <= 1.2)))
        for tool in tools:
            if tool.startswith("candidate: "):
                ratio = med_t[(name, tool)] / med_t[(name, "floor")]
                out("  - %s: %.2fx of the floor" % (tool, ratio))
    text = "\n".join(lines)
    print(text)
    if args.out:
        with open(args.out, "w") as f:
            f.write(text + "\n")


if __name__ == "__main__":
    main()
