#!/usr/bin/env bash
# fuzz.sh [BUILD_DIR] [SECONDS]: builds the libFuzzer targets of fuzz/ with
# Clang (ASan and UBSan) and runs each for SECONDS (default 30) from the
# seed corpus in fuzz/corpus/<target>. New inputs go to a throwaway folder,
# so the committed corpus stays as it is; a crash leaves its input in
# BUILD_DIR/crashes and fails the script.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$root/build-fuzz}"
seconds="${2:-30}"

"$root/scripts/ensure-packages.sh" "$root/scripts/ci-packages.txt"
cmake -S "$root" -B "$build_dir" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DLIRVANE_QT=OFF -DLIRVANE_TESTS=OFF -DLIRVANE_BENCHMARKS=OFF -DLIRVANE_FUZZ=ON \
  -DLIRVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(fuzz_rtf_reader fuzz_utf8_stream fuzz_scheme_file fuzz_detector)
cmake --build "$build_dir" -j2 --target "${targets[@]}"

mkdir -p "$build_dir/crashes"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
  scratch="$(mktemp -d "${TMPDIR:-/tmp}/lirvane-fuzz.XXXXXX")"
  echo "fuzzing $target for ${seconds}s" >&2
  if ! "$build_dir/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=0 \
       -artifact_prefix="$build_dir/crashes/$target-" "$scratch" "$root/fuzz/corpus/$target" \
       >"$build_dir/$target.log" 2>&1; then
    tail -n 40 "$build_dir/$target.log" >&2
    rm -rf "$scratch"
    echo "fuzz.sh: $target failed; the input is in $build_dir/crashes" >&2
    exit 1
  fi
  rm -rf "$scratch"
done
echo "fuzz.sh: ${#targets[@]} targets ran ${seconds}s each without a finding" >&2
