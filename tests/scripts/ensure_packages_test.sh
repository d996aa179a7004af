#!/usr/bin/env bash
# ensure-packages.sh as a user without root, first without sudo, then with a
# sudo that needs a password and no terminal to ask for it on: neither may
# try apt-get; each must say once what to run as root, and fail.
set -uo pipefail
script="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL ($case): $*"; exit 1; }

run_case() {
  case="$1"
  rm -rf "${work:?}/bin" "$work/apt-get-called" "$work/sudo-ran-apt"
  mkdir "$work/bin"
  for tool in dirname grep env mktemp rm tail; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
  printf '#!/bin/sh\necho 1000\n' >"$work/bin/id"
  printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"  # every package missing
  printf '#!/bin/sh\necho called >"%s/apt-get-called"\n' "$work" >"$work/bin/apt-get"
  if [[ "$case" == "sudo needs a terminal" ]]; then
    # shellcheck disable=SC2016  # $1 is the fake sudo's own argument
    printf '#!/bin/sh\n[ "$1" = -n ] || echo ran >"%s/sudo-ran-apt"\necho "sudo: a terminal is required to read the password" >&2\nexit 1\n' \
      "$work" >"$work/bin/sudo"
  fi
  chmod +x "$work/bin/"*

  PATH="$work/bin" /bin/bash "$script" </dev/null >"$work/out" 2>&1
  status=$?
  cat "$work/out"
  ((status != 0)) || fail "exit status 0"
  [[ ! -e "$work/apt-get-called" && ! -e "$work/sudo-ran-apt" ]] || fail "apt-get was run"
  grep -q "sudo: command not found" "$work/out" && fail "sudo was run"
  grep -q "a terminal is required" "$work/out" && fail "sudo's own complaint shown"
  grep -q "^Installing" "$work/out" && fail "says it installs what it cannot"
  [[ $(grep -c "As root, run:" "$work/out") -eq 1 ]] || fail "advice not given once"
  grep -q "apt-get install .*qt6-base-dev" "$work/out" || fail "advice lacks the packages"
}

run_case "no sudo"
run_case "sudo needs a terminal"
echo PASS
