#!/usr/bin/env bash
# check-tidy.sh BUILD_DIR: clang-tidy (the checks of .clang-tidy) over every
# program source the build compiles, from BUILD_DIR's compile_commands.json;
# fails on any finding. Tests, benchmarks and generated files are left out.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$root/build}"
[[ -f "$build_dir/compile_commands.json" ]] || { echo "check-tidy.sh: no $build_dir/compile_commands.json" >&2; exit 2; }
# The program's own sources that this build compiles (no tests, benchmarks
# or generated files; Windows-only files only in a Windows build).
mapfile -t files < <(python3 - "$build_dir/compile_commands.json" "$root" <<'PY'
import json, os, sys
root = os.path.realpath(sys.argv[2])
dirs = ("base/", "recode/", "schemes/", "convert/", "batch/", "cli/", "app/", "ui/", "platform/")
seen = set()
for entry in json.load(open(sys.argv[1])):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    rel = os.path.relpath(path, root)
    if rel.startswith(dirs) and rel not in seen:
        seen.add(rel)
        print(rel)
PY
)
cd "$root"
# Two at a time, as the machines have two cores; quiet unless something is found.
printf '%s\n' "${files[@]}" | xargs -P 2 -n 4 clang-tidy -p "$build_dir" --quiet --extra-arg=-Wno-unknown-warning-option 2>/dev/null
echo "check-tidy.sh: ${#files[@]} files clean" >&2
