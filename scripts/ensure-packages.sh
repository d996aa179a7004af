#!/usr/bin/env bash
# ensure-packages.sh [LIST]: installs the Debian packages of LIST (default
# scripts/debian-packages.txt) that are missing. As root it runs apt-get
# itself; otherwise through sudo where sudo can work (a terminal to ask for
# the password on, or no password needed). Where nothing can install them,
# it says once what to run as root and fails. apt-get's own output goes to a
# log that is shown only when it fails.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
list="${1:-$here/debian-packages.txt}"
missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
    || missing+=("$pkg")
done < "$list"
((${#missing[@]})) || exit 0

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1 && { [[ -t 0 ]] || sudo -n true 2>/dev/null; }; then
    as_root=(sudo)
  else
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "They cannot be installed from here (not root, and no sudo that can ask for a password). As root, run:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    echo "then run this command again." >&2
    exit 1
  fi
fi

log="$(mktemp "${TMPDIR:-/tmp}/lirvane-apt.XXXXXX")"
trap 'rm -f "$log"' EXIT
run_step() {
  local what="$1"; shift
  echo "$what" >&2
  if ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "$@" >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "ensure-packages.sh: failed: $*" >&2
    exit 1
  fi
}
run_step "Updating the package lists..." apt-get update -q
run_step "Installing ${#missing[@]} Debian packages: ${missing[*]}" \
  apt-get install -y -q --no-install-recommends "${missing[@]}"
