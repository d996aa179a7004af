#!/usr/bin/env bash
# Times the command-line conversion of a 200 MB KOI8-R file against iconv
# and cp, side by side in one run, and prints the ratios.
#   bench/cli_convert_bench.sh [build/lirvane]
# Each command runs five times; the median counts. Peak memory comes from
# GNU time (Debian package "time") when it is installed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
lirvane="$(realpath "${1:-$root/build/lirvane}")"
work="$(mktemp -d "${TMPDIR:-/tmp}/lirvane-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

# 1 MiB of Russian-looking KOI8-R words in CR LF lines, repeated to 200 MiB.
perl -e 'srand(7); my @w; for (1..2000) { my $s = ""; $s .= chr(0xC0 + int(rand(64))) for 1..(3 + int(rand(9))); push @w, $s }
  my $o = ""; while (length($o) < 1048576) { my $l = ""; $l .= $w[int(rand(@w))] . (rand() < 0.1 ? ", abc " : " ") while length($l) < 70; $o .= "$l\r\n" }
  print substr($o, 0, 1048576)' > chunk
for _ in $(seq 200); do cat chunk; done > in.txt
rm chunk

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
seconds() {  # seconds COMMAND...: median wall time of five runs
  for _ in 1 2 3 4 5; do
    rm -f out.txt out.txt~tmp
    local t0 t1
    t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N)
    awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }'
  done | median
}
peak_kb() {
  if [[ -x /usr/bin/time ]]; then
    rm -f out.txt
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1
  else
    echo "n/a"
  fi
}

# No display: the conversion needs no windowing system at all.
convert=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$lirvane")
t_cp=$(seconds cp in.txt out.txt)
t_iconv=$(seconds sh -c 'iconv -f KOI8-R -t CP1251 in.txt > out.txt')
t_code=$(seconds "${convert[@]}" '-conv:in.txt[8]out.txt')
t_name=$(seconds "${convert[@]}" '-conv:in.txt[uppercase]out.txt')

printf '200 MiB KOI8-R file, median of 5 runs\n'
printf '  %-34s %7.3f s\n' "cp" "$t_cp" "iconv -f KOI8-R -t CP1251" "$t_iconv" \
  "lirvane -conv:in.txt[8]out.txt" "$t_code" "lirvane -conv:in.txt[uppercase]" "$t_name"
printf 'ratios\n'
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf '  iconv / lirvane by code   %6s  (target at least 2.5)\n' "$(ratio "$t_iconv" "$t_code")"
printf '  lirvane by code / cp      %6s  (target at most 1.5)\n' "$(ratio "$t_code" "$t_cp")"
printf 'peak memory (KiB)\n'
printf '  by code %s, by name %s, cp %s\n' "$(peak_kb "${convert[@]}" '-conv:in.txt[8]out.txt')" \
  "$(peak_kb "${convert[@]}" '-conv:in.txt[uppercase]out.txt')" "$(peak_kb cp in.txt out.txt)"
