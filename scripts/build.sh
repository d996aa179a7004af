#!/usr/bin/env bash
# build.sh BUILD_DIR [cmake options...] -- [targets...]
# Configures (once) and builds; two jobs, as the machines have two cores.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$1"; shift
cmake_args=(); targets=()
while (($#)); do
  if [[ "$1" == "--" ]]; then shift; targets=("$@"); break; fi
  cmake_args+=("$1"); shift
done
# CI builds with warnings as errors (.ci/run sets LIRVANE_WERROR=ON).
if [[ -n "${LIRVANE_WERROR:-}" ]]; then cmake_args+=("-DLIRVANE_WERROR=${LIRVANE_WERROR}"); fi
cmake -S "$root" -B "$build_dir" "${cmake_args[@]}" >/dev/null
if ((${#targets[@]})); then
  cmake --build "$build_dir" -j2 --target "${targets[@]}"
else
  cmake --build "$build_dir" -j2
fi
