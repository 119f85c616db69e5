#!/usr/bin/env bash
# Programs Wine installs get a new icon from vantorel-cli.exe in a copy, then
# are started under Wine and must still show their window.
# Usage: started_programs_test.sh WINE_RUN CLI_EXE ICON [CLI_OPTION...]
set -euo pipefail
wine_run=$1 cli=$2 icon=$3
shift 3
options=("$@")
programs=/usr/lib/i386-linux-gnu/wine/i386-windows
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

failed=0
# program  window title
while read -r program title; do
  cp "$programs/$program" "$work/$program"
  "$wine_run" "$cli" "${options[@]}" "$icon" "$work/$program" >/dev/null
  wine "$work/$program" >/dev/null 2>&1 &
  pids+=($!)
  # Poll for the window for at most 60 seconds.
  if timeout 60 bash -c "until xdotool search --onlyvisible --name '$title' >/dev/null 2>&1; do sleep 0.2; done"; then
    echo "ok: $program shows \"$title\""
  else
    echo "FAIL: $program shows no window \"$title\""
    failed=1
  fi
  kill "${pids[-1]}" 2>/dev/null || true
done <<'LIST'
notepad.exe Notepad
winemine.exe WineMine
regedit.exe Registry Editor
LIST
exit $failed
