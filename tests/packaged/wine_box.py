"""The matrix's own Wine: a prefix under build/packaged, 64-bit where Wine's
64-bit side is installed (it then runs the 32-bit programs too) and 32-bit
otherwise, on a private X display, so nothing the programs show can reach the
display other tests drive."""
import os
import shutil
import subprocess
import tempfile
from pathlib import Path

WINE64 = "/usr/lib/wine/wine64"
# The system32 of a 64-bit prefix holds its 64-bit DLLs.
SYSTEM64 = Path("drive_c/windows/system32")


class Wine:
    def __init__(self, prefix):
        self.prefix = Path(prefix)
        self.has64 = os.access(WINE64, os.X_OK)
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix), WINEARCH="win64" if self.has64 else "win32",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.xvfb = None

    def start(self):
        """The display, then the prefix (booted once and kept: booting takes
        half a minute), with one wineserver kept alive for every run."""
        read, write = os.pipe()
        # Xvfb picks a free display number itself and writes it to the pipe.
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=(write,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as number:
            self.env["DISPLAY"] = ":" + number.readline().strip()
        # Marked once it is whole: a boot cut off is started again from nothing.
        ready = self.prefix / "matrix-ready"
        if not ready.exists():
            shutil.rmtree(self.prefix, ignore_errors=True)
            self.prefix.mkdir(parents=True)
            subprocess.run([WINE64 if self.has64 else "wine", "wineboot", "-i"], env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            # Node.js refuses to start on what Wine reports by default (Windows 7).
            subprocess.run(["wine", "winecfg", "/v", "win10"], env=self.env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=self.env, check=True)
            ready.touch()
        subprocess.run(["wineserver", "-p"], env=self.env, check=True)

    def add_dll(self, dll):
        """A 64-bit DLL the programs need and Wine lacks, in the prefix's system32."""
        if self.has64:
            shutil.copyfile(dll, self.prefix / SYSTEM64 / Path(dll).name)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        if self.xvfb:
            self.xvfb.kill()
            self.xvfb.wait()

    def run(self, program, *args, cwd=None, timeout=180, stderr=False):
        """(exit status, what it printed on stdout, and on stderr if asked);
        status None when it did not end in time (every program of the prefix
        is then ended). Wine's own complaints go to stderr. The output goes to
        a file, not a pipe: the services Wine starts on first use would
        inherit a pipe and hold it open long after the program ended."""
        with tempfile.TemporaryFile() as out:
            try:
                status = subprocess.run(["wine", str(program), *map(str, args)], env=self.env, cwd=cwd,
                                        stdin=subprocess.DEVNULL, stdout=out,
                                        stderr=out if stderr else subprocess.DEVNULL, timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
                subprocess.run(["wineserver", "-p"], env=self.env)
                status = None
            out.seek(0)
            return status, out.read().decode("utf-8", "replace").replace("\r\n", "\n")

    def drive_c(self, *parts):
        return self.prefix.joinpath("drive_c", *parts)

    @staticmethod
    def windows_path(path):
        """A folder under drive_c as the programs name it (C:\\...), anything else on Z:."""
        parts = Path(path).parts
        if "drive_c" in parts:
            return "C:\\" + "\\".join(parts[parts.index("drive_c") + 1:])
        return "Z:" + str(path).replace("/", "\\")
