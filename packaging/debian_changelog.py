#!/usr/bin/env python3
"""Writes Debian's changelog of a package from CHANGELOG.md.

Usage: debian_changelog.py CHANGELOG.md PACKAGE "NAME <EMAIL>" OUT

Each "## VERSION (YYYY-MM-DD)" section becomes one entry, newest first as in
CHANGELOG.md, its "- " items the entry's "  * " lines (wrapped under 80
columns), dated at noon UTC of the heading's day: the date comes from the
file, never from the clock, so the package is the same on every run.
"""
import datetime
import re
import sys
import textwrap

HEADING = re.compile(r"^## (\S+) \((\d{4}-\d{2}-\d{2})\)\s*$")


def sections(text):
    """(version, date, [item, ...]) for each version heading, in file order."""
    found = []
    for line in text.splitlines():
        heading = HEADING.match(line)
        if heading:
            found.append((heading.group(1), heading.group(2), []))
        elif found and line.startswith("- "):
            found[-1][2].append(line[2:].strip())
        elif found and line.startswith("  ") and found[-1][2]:
            found[-1][2][-1] += " " + line.strip()
    return found


def entry(package, maintainer, version, day, items):
    date = datetime.datetime.strptime(day, "%Y-%m-%d").replace(hour=12, tzinfo=datetime.timezone.utc)
    lines = [f"{package} ({version}) unstable; urgency=medium", ""]
    for item in items:
        plain = item.replace("`", "")
        lines += textwrap.wrap(plain, width=78, initial_indent="  * ", subsequent_indent="    ")
    lines += ["", f" -- {maintainer}  {date.strftime('%a, %d %b %Y %H:%M:%S +0000')}", ""]
    return "\n".join(lines)


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__)
    source, package, maintainer, out = argv[1:]
    with open(source, encoding="utf-8") as f:
        found = sections(f.read())
    if not found:
        sys.exit(f"{source}: no '## VERSION (YYYY-MM-DD)' heading")
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(entry(package, maintainer, *s) for s in found))


if __name__ == "__main__":
    main(sys.argv)
