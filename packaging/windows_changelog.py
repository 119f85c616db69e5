#!/usr/bin/env python3
"""Writes the changelog of the Windows downloads from CHANGELOG.md.

Usage: windows_changelog.py CHANGELOG.md OUT

CHANGELOG.txt is read in Notepad: plain text with Windows line endings, a
heading per version and its items wrapped under 78 columns, without the
Markdown marks or the notes about the other downloads.
"""
import sys
import textwrap

from debian_changelog import sections

TITLE = "Vantorel - changes"
INTRO = "What changed in each version of Vantorel, newest first."


def plain(found):
    lines = [TITLE, "=" * len(TITLE), "", INTRO, ""]
    for version, day, items in found:
        heading = f"Vantorel {version} ({day})"
        lines += ["", heading, "-" * len(heading), ""]
        for item in items:
            lines += textwrap.wrap(item.replace("`", ""), width=76, initial_indent="- ", subsequent_indent="  ")
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    source, out = argv[1:]
    with open(source, encoding="utf-8") as f:
        found = sections(f.read())
    if not found:
        sys.exit(f"{source}: no '## VERSION (YYYY-MM-DD)' heading")
    with open(out, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(plain(found))


if __name__ == "__main__":
    main(sys.argv)
