#!/usr/bin/env bash
# An NSIS installer with its integrity check on gets a new icon from
# vantorel-cli.exe, still passes its check and installs its appended payload
# silently under Wine; the uninstaller it writes passes its own check too.
# Usage: installer_test.sh WINE_RUN CLI_EXE ICON NSI
set -euo pipefail
wine_run=$1 cli=$2 icon=$3 nsi=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

head -c 300000 /dev/urandom | base64 >"$work/payload.txt"
makensis -V1 -DOUT="$work/setup.exe" -DPAYLOAD="$work/payload.txt" "$nsi"
size_before=$(stat -c %s "$work/setup.exe")

"$wine_run" "$cli" "$icon" "$work/setup.exe" | grep -q "integrity check (NSIS CRC) was updated" ||
  { echo "the output does not say that the installer's check was kept"; exit 1; }
[ "$(stat -c %s "$work/setup.exe")" = "$size_before" ] || { echo "length changed"; exit 1; }
"$wine_run" "$cli" --list "$work/setup.exe" | grep -q " 32     32     16    4        744" ||
  { echo "the installer's icon group does not describe the new image"; exit 1; }

prefix=${WINEPREFIX:?}
rm -rf "$prefix/drive_c/vantorel-installed"
"$wine_run" "$work/setup.exe" /S
cmp "$work/payload.txt" "$prefix/drive_c/vantorel-installed/payload.txt"
# In place (_?=), so it returns when it is done; a failed check leaves all.
"$wine_run" 'C:\vantorel-installed\uninstall.exe' /S '_?=C:\vantorel-installed'
[ ! -e "$prefix/drive_c/vantorel-installed/payload.txt" ] ||
  { echo "the uninstaller the installer wrote did not run"; exit 1; }
rm -rf "$prefix/drive_c/vantorel-installed"
echo "installer ok"
