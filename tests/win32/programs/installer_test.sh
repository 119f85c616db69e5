#!/usr/bin/env bash
# An NSIS installer gets a new icon from vantorel-cli.exe and still installs
# its appended payload silently under Wine.
# Usage: installer_test.sh WINE_RUN CLI_EXE ICON NSI
set -euo pipefail
wine_run=$1 cli=$2 icon=$3 nsi=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

head -c 300000 /dev/urandom | base64 >"$work/payload.txt"
makensis -V1 -DOUT="$work/setup.exe" -DPAYLOAD="$work/payload.txt" "$nsi"
size_before=$(stat -c %s "$work/setup.exe")

"$wine_run" "$cli" "$icon" "$work/setup.exe"
[ "$(stat -c %s "$work/setup.exe")" = "$size_before" ] || { echo "length changed"; exit 1; }
"$wine_run" "$cli" --list "$work/setup.exe" | grep -q " 32     32     16    4        744" ||
  { echo "the installer's icon group does not describe the new image"; exit 1; }

prefix=${WINEPREFIX:?}
rm -rf "$prefix/drive_c/vantorel-installed"
"$wine_run" "$work/setup.exe" /S
cmp "$work/payload.txt" "$prefix/drive_c/vantorel-installed/payload.txt"
rm -rf "$prefix/drive_c/vantorel-installed"
echo "installer ok"
