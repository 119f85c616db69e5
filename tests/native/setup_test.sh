#!/usr/bin/env bash
# scripts/setup against a fake system: dpkg-query, dpkg, id, apt-get and sudo
# are stand-ins on a PATH that holds nothing else, so each case decides which
# packages are missing, whether we are root and whether sudo exists, and the
# commands the script runs are recorded instead of run.
# Usage: setup_test.sh SETUP_SCRIPT
set -uo pipefail
setup=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

fake() {  # name, body
  printf '#!/bin/bash\n%s\n' "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}

# One case: uid, missing package (or empty), i386 known (1/0), sudo present (1/0).
run_case() {
  local uid=$1 missing=$2 i386=$3 sudo=$4
  rm -rf "$work/bin" "$work/calls"
  mkdir -p "$work/bin"
  : >"$work/calls"
  for tool in bash env grep printf; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
  fake id "echo $uid"
  fake dpkg-query "[ \"\${@: -1}\" = '$missing' ] && exit 1; printf 'install ok installed'"
  fake dpkg "if [ \"\$1\" = --print-foreign-architectures ]; then [ $i386 = 1 ] && echo i386; exit 0; fi
echo \"dpkg \$*\" >>'$work/calls'"
  fake apt-get "echo \"apt-get \$*\" >>'$work/calls'"
  [ "$sudo" = 1 ] && fake sudo "echo \"sudo \$1\" >>'$work/calls'; \"\$@\""
  PATH="$work/bin" "$setup" >"$work/out" 2>"$work/err"
  status=$?
}

check() {  # description, condition
  if eval "$2"; then
    echo "ok: $1"
  else
    echo "FAIL: $1"
    echo "  stdout: $(cat "$work/out")"
    echo "  stderr: $(cat "$work/err")"
    echo "  calls: $(cat "$work/calls")"
    failed=1
  fi
}

run_case 1000 "" 1 0
check "everything present: silent success, nothing installed, even without root" \
  '[ $status -eq 0 ] && [ ! -s "$work/out" ] && [ ! -s "$work/err" ] && [ ! -s "$work/calls" ]'

run_case 0 xdotool 1 0
check "root without sudo installs what is missing directly" \
  '[ $status -eq 0 ] && grep -q "^apt-get update" "$work/calls" &&
   grep -q "^apt-get install .*--no-install-recommends xdotool$" "$work/calls" && ! grep -q "^dpkg" "$work/calls"'

run_case 0 wine32 0 0
check "a missing i386 architecture is added before the update" \
  '[ "$(head -n 1 "$work/calls")" = "dpkg --add-architecture i386" ] && grep -q "^apt-get install .* wine32$" "$work/calls"'

run_case 1000 clang 1 1
check "not root with sudo: every change goes through sudo" \
  '[ $status -eq 0 ] && [ "$(grep -c "^sudo env" "$work/calls")" -eq 2 ] && grep -q "^apt-get install .* clang$" "$work/calls"'

run_case 1000 libclang-rt-dev 0 0
check "not root and no sudo: one line says what to run as root, nothing runs" \
  '[ $status -ne 0 ] && [ ! -s "$work/calls" ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
   grep -q "as root run: dpkg --add-architecture i386 && apt-get update.* && apt-get install .*libclang-rt-dev$" "$work/err"'

exit $failed
