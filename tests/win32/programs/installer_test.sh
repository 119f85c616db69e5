#!/usr/bin/env bash
# An NSIS installer with its integrity check on gets a new icon from
# vantorel-cli.exe, still passes its check and installs its appended payload
# silently under Wine; the uninstaller it writes passes its own check too.
# With NSIS's Modern UI icons (seven sizes), each way of giving a new icon
# leaves the installer's icon whole and the uninstaller's the one it was built
# with; --add-sizes refuses the installer.
# Usage: installer_test.sh WINE_RUN CLI_EXE ICON NSI (beside ICON: new.ico, sizes.ico)
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

icons=$(makensis -HDRINFO | tr ',' '\n' | sed -n 's/^ *NSISDIR=//p')/Contrib/Graphics/Icons
makensis -V1 -DOUT="$work/modern.exe" -DPAYLOAD="$work/payload.txt" -DICON="$icons/modern-install.ico" \
  -DUNICON="$icons/modern-uninstall.ico" "$nsi"
if "$wine_run" "$cli" --add-sizes "$icon" "$work/modern.exe"; then echo "--add-sizes took the installer"; exit 1; fi
fixtures=$(dirname "$icon")
icotool -x -i 7 -o "$work/picture.png" "$fixtures/sizes.ico"  # its 256-pixel image
for mode in "$fixtures/new.ico" "--all-sizes $fixtures/sizes.ico" "$work/picture.png"; do
  cp "$work/modern.exe" "$work/rebranded.exe"
  # shellcheck disable=SC2086 # the mode is an option and a file
  "$wine_run" "$cli" $mode "$work/rebranded.exe" >/dev/null
  "$wine_run" "$cli" --extract "$work/rebranded.exe" "$work/installer.ico" --force >/dev/null
  icotool -x -o "$work" "$work/installer.ico" || { echo "$mode: the installer's icon does not decode"; exit 1; }
  rm -rf "$prefix/drive_c/vantorel-installed"
  "$wine_run" "$work/rebranded.exe" /S
  "$wine_run" "$cli" --extract "$prefix/drive_c/vantorel-installed/uninstall.exe" "$work/uninstaller.ico" --force >/dev/null
  cmp "$work/uninstaller.ico" "$icons/modern-uninstall.ico" || { echo "$mode: the uninstaller's icon is not its own"; exit 1; }
  "$wine_run" 'C:\vantorel-installed\uninstall.exe' /S '_?=C:\vantorel-installed'
  [ ! -e "$prefix/drive_c/vantorel-installed/payload.txt" ] || { echo "$mode: the uninstaller did not run"; exit 1; }
done
rm -rf "$prefix/drive_c/vantorel-installed"
echo "installer ok"
