#!/usr/bin/env bash
# Builds Lirvane and starts it; arguments go to the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/ensure-packages.sh"
"$root/scripts/build.sh" "$root/build" -- lirvane_installable >&2
exec "$root/build/lirvane" "$@"
