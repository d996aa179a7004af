#!/usr/bin/env bash
# The command-line conversion against iconv and dd, side by side in one
# run, printed as ratios:
#   - 100 small files, one process each, against iconv doing the same;
#   - a 200 MiB KOI8-R file by code, against dd bs=1M copying it and
#     against iconv recoding it;
#   - the same file by name (a scheme and a keyword), against iconv;
#   - peak memory (GNU time, Debian package "time") of conversions by
#     name of the 200 MiB file and of a larger one (BIG_MIB, default 1024).
#
#   bench/cli_convert_bench.sh [build/lirvane]
#
# Each timing is the median of five runs, the commands compared taking
# turns. The files go to a folder under
# $TMPDIR (default /tmp), removed at the end; it needs about 2.5 times
# BIG_MIB of space.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
lirvane="$(realpath "${1:-$root/build/lirvane}")"
big_mib="${BIG_MIB:-1024}"
work="$(mktemp -d "${TMPDIR:-/tmp}/lirvane-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

# The program is copied with a scheme file of its own, and runs without a
# display: a conversion needs no windowing system.
mkdir bin
cp "$lirvane" bin/lirvane
{ printf 'koi-alt\r\n1\r\n8\r\nKOI-8-R\r\n866\r\nAlt-866\r\n'
  for _ in 1 2 3 4; do printf '0\r\n\r\n0\r\n\r\n'; done; } > bin/circuits.dat
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
convert=("$work/bin/lirvane")

# 1 MiB of Russian-looking KOI8-R words in CR LF lines, with some tags.
perl -e 'srand(7); my @w; for (1..2000) { my $s = ""; $s .= chr(0xC0 + int(rand(64))) for 1..(3 + int(rand(9))); push @w, $s }
  my $o = ""; while (length($o) < 1048576) { my $l = ""; $l .= $w[int(rand(@w))] . (rand() < 0.1 ? ", <b>abc</b> " : " ") while length($l) < 70; $o .= "$l\r\n" }
  print substr($o, 0, 1048576)' > chunk
for _ in $(seq 200); do cat chunk; done > in.txt
mkdir small
for i in $(seq 100); do head -c $((200 + i * 37)) chunk > "small/$i.txt"; done

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
# alternate F...: runs each function once per round, five rounds, each
# round starting with the next function, so that a change in the machine's
# load (or a cost left by the run before) falls on all of them alike;
# prints each function's median wall time in seconds, one a line.
alternate() {
  local -A times=()
  local functions=("$@") round i f
  for f in "$@"; do rm -f out.txt; sync; "$f" >/dev/null 2>&1; done  # warm-up, not counted
  for round in 0 1 2 3 4; do
    for ((i = 0; i < ${#functions[@]}; ++i)); do
      f=${functions[(round + i) % ${#functions[@]}]}
      # Each starts with no dirty pages of another's output to write back.
      rm -f out.txt
      sync
      local t0 t1
      t0=$(date +%s.%N); "$f" >/dev/null 2>&1; t1=$(date +%s.%N)
      times[$f]+="$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }') "
    done
  done
  for f in "$@"; do tr ' ' '\n' <<< "${times[$f]}" | grep . | median; done
}
peak_mib() {  # peak resident memory of COMMAND in MiB
  if [[ -x /usr/bin/time ]]; then
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk '/Maximum resident set size/ { printf "%.1f", $NF / 1024 }'
  else
    echo "n/a"
  fi
}

small_iconv() { local f; for f in small/*.txt; do iconv -f KOI8-R -t CP1251 "$f" > "$f.out"; done; }
small_lirvane() { local f; for f in small/*.txt; do "${convert[@]}" "-conv:${f}[8]${f}.out"; done; }
large_dd() { dd if=in.txt of=out.txt bs=1M; }
large_iconv() { iconv -f KOI8-R -t CP1251 in.txt > out.txt; }
large_code() { "${convert[@]}" '-conv:in.txt[8]out.txt'; }
large_scheme() { "${convert[@]}" '-conv:in.txt[koi-alt]out.txt'; }
large_keyword() { "${convert[@]}" '-conv:in.txt[notags]out.txt'; }

{ read -r t_small_iconv; read -r t_small; } < <(alternate small_iconv small_lirvane)
# iconv maps its input into memory, and a run right after it is
# sometimes slowed by the kernel still tidying those pages (by up to 0.2 s
# here): so iconv runs in a group of its own, against the far smaller
# differences measured in turns with dd.
{ read -r t_dd; read -r t_code; } < <(alternate large_dd large_code)
t_iconv=$(alternate large_iconv)
{ read -r t_code_2; read -r t_scheme; read -r t_keyword; } \
  < <(alternate large_code large_scheme large_keyword)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf 'median of 5 runs, seconds\n'
printf '  %-44s %8.3f\n' \
  "100 small files, iconv" "$t_small_iconv" \
  "100 small files, lirvane [8]" "$t_small" \
  "200 MiB, dd bs=1M" "$t_dd" \
  "200 MiB, iconv -f KOI8-R -t CP1251" "$t_iconv" \
  "200 MiB, lirvane [8] (in turns with dd)" "$t_code" \
  "200 MiB, lirvane [8] (in turns with by name)" "$t_code_2" \
  "200 MiB, lirvane [scheme KOI8-R -> Alt]" "$t_scheme" \
  "200 MiB, lirvane [notags]" "$t_keyword"
printf 'ratios\n'
printf '  small files: lirvane / iconv         %6s  (target at most 2)\n' "$(ratio "$t_small" "$t_small_iconv")"
printf '  by code: lirvane / dd                %6s  (target at most 1.5)\n' "$(ratio "$t_code" "$t_dd")"
printf '  by code: iconv / lirvane             %6s  (target at least 5)\n' "$(ratio "$t_iconv" "$t_code_2")"
printf '  by scheme: iconv / lirvane           %6s  (target at least 3)\n' "$(ratio "$t_iconv" "$t_scheme")"
printf '  by keyword: iconv / lirvane          %6s  (target at least 3)\n' "$(ratio "$t_iconv" "$t_keyword")"

rm -f out.txt
for _ in $(seq $((big_mib / 200))); do cat in.txt; done > big.txt
printf 'peak memory, MiB\n'
printf '  200 MiB: dd %s, by code %s, by scheme %s, by keyword %s\n' \
  "$(peak_mib dd if=in.txt of=out.txt bs=1M)" \
  "$(peak_mib "${convert[@]}" '-conv:in.txt[8]out.txt')" \
  "$(peak_mib "${convert[@]}" '-conv:in.txt[koi-alt]out.txt')" \
  "$(peak_mib "${convert[@]}" '-conv:in.txt[notags]out.txt')"
rm -f out.txt
printf '  %s MiB: by scheme %s, by keyword %s (target under 64)\n' "$(( $(stat -c %s big.txt) >> 20 ))" \
  "$(peak_mib "${convert[@]}" '-conv:big.txt[koi-alt]out.txt')" \
  "$(peak_mib "${convert[@]}" '-conv:big.txt[nospases]out.txt')"
