#!/usr/bin/env bash
# check-format.sh: every C++ file git tracks is as clang-format (.clang-format)
# lays it out, and every shell script passes shellcheck. Lists the files that
# are not and fails. `check-format.sh --fix` reformats them instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [[ "${1:-}" == "--fix" ]]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
bad=()
for file in "${sources[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done
if ((${#bad[@]})); then
  echo "check-format.sh: not as clang-format lays them out (run scripts/check-format.sh --fix):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
mapfile -t scripts < <(git ls-files '*.sh' '.ci/run')
shellcheck "${scripts[@]}"
echo "check-format.sh: ${#sources[@]} C++ files formatted, ${#scripts[@]} scripts clean" >&2
