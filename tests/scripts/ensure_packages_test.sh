#!/usr/bin/env bash
# ensure-packages.sh as a user without root and without sudo: it must not
# try apt-get, must say what to run as root, and must fail.
set -uo pipefail
script="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
for tool in dirname grep; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
printf '#!/bin/sh\necho 1000\n' >"$work/bin/id"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"  # every package missing
printf '#!/bin/sh\necho called >"%s/apt-get-called"\n' "$work" >"$work/bin/apt-get"
chmod +x "$work/bin/"*

PATH="$work/bin" /bin/bash "$script" >"$work/out" 2>&1
status=$?
cat "$work/out"
fail() { echo "FAIL: $*"; exit 1; }
((status != 0)) || fail "exit status 0"
[[ ! -e "$work/apt-get-called" ]] || fail "apt-get was run"
grep -q "sudo: command not found" "$work/out" && fail "sudo was run"
grep -q "As root, run:" "$work/out" || fail "no advice given"
grep -q "apt-get install .*qt6-base-dev" "$work/out" || fail "advice lacks the packages"
echo PASS
