#!/usr/bin/env python3
"""Writes a .tar.gz whose bytes depend only on the files' names and contents.

Usage: make_tarball.py OUT.tar.gz FOLDER NAME... : each NAME is read from FOLDER
and stored under the folder name OUT.tar.gz is named after (without .tar.gz).
Entries are sorted, owned by root, timed at SOURCE_DATE_EPOCH, with 0755 for
programs and 0644 for the rest whatever the umask, and the gzip header holds no
name or time, so two builds of one commit give the same file.
"""
import gzip
import io
import os
import sys
import tarfile


def entry(name, data, mode, mtime):
    info = tarfile.TarInfo(name)
    info.size = len(data)
    info.mode = mode
    info.mtime = mtime
    info.uid = info.gid = 0
    info.uname = info.gname = "root"
    return info


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    out, folder, names = argv[1], argv[2], sorted(argv[3:])
    top = os.path.basename(out)[: -len(".tar.gz")]
    mtime = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
    raw = io.BytesIO()
    with tarfile.open(fileobj=raw, mode="w", format=tarfile.GNU_FORMAT) as tar:
        folder_entry = entry(top, b"", 0o755, mtime)
        folder_entry.type = tarfile.DIRTYPE
        tar.addfile(folder_entry)
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                data = f.read()
            mode = 0o755 if os.access(path, os.X_OK) else 0o644
            tar.addfile(entry(f"{top}/{name}", data, mode, mtime), io.BytesIO(data))
    with open(out + ".tmp", "wb") as f:
        with gzip.GzipFile(filename="", mode="wb", fileobj=f, compresslevel=9, mtime=0) as z:
            z.write(raw.getvalue())
    os.replace(out + ".tmp", out)


if __name__ == "__main__":
    main(sys.argv)
