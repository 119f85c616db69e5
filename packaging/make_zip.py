#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files' names and contents.

Usage: make_zip.py OUT.zip FOLDER NAME... : each NAME is read from FOLDER and stored
under the folder name OUT.zip is named after (without .zip). Entries are sorted,
timed at SOURCE_DATE_EPOCH (clamped to 1980, the earliest time a zip can hold) and
carry fixed permissions, so two builds of one commit give the same file.
"""
import os
import sys
import time
import zipfile


def entry_time():
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "315532800"))
    return time.gmtime(max(epoch, 315532800))[:6]


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    out, folder, names = argv[1], argv[2], sorted(argv[3:])
    top = os.path.basename(out)[: -len(".zip")]
    stamp = entry_time()
    with zipfile.ZipFile(out + ".tmp", "w") as z:
        for name in names:
            info = zipfile.ZipInfo(f"{top}/{name}", date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so the permissions below are read
            info.external_attr = 0o644 << 16
            with open(os.path.join(folder, name), "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
    os.replace(out + ".tmp", out)


if __name__ == "__main__":
    main(sys.argv)
