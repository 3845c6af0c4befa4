#!/bin/sh
# Prints what one personalisation costs next to copying the image: instructions (callgrind),
# wall-time median (interleaved runs), peak memory, the same for a refused 8 GB input,
# personalisations per second, and the in-process core against a plain read and write.
#   sh bench/run.sh [runs]        # runs per command for the wall-time medians (default 300)
set -eu
cd "$(dirname "$0")/.."
runs=${1:-300}
root=$(pwd)

need=""
command -v valgrind >/dev/null || need="$need valgrind"
command -v srec_cat >/dev/null || need="$need srecord"
[ -x /usr/bin/time ] || need="$need time"
dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q "ok installed" || need="$need libbenchmark-dev"
if [ -n "$need" ]; then
  [ "$(id -u)" -eq 0 ] || { echo "missing:$need (run as root to install)" >&2; exit 1; }
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $need >/dev/null
fi

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQVR_BUILD_TESTS=OFF -DQVR_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build-bench -j"$(nproc)" >/dev/null

work=$(mktemp -d /tmp/qvr-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp build-bench/Dravel_QVR_USB_Console "$work/"
cp samples/QVR_USB_2.2_synthetic.s "$work/image.s"
truncate -s 8G "$work/huge.s"
cd "$work"
# The serial's four bytes: the last four data bytes of the record at line 335.
address=$(sed -n 335p image.s | cut -c5-8)
first=$(printf '0x%X' $((0x$address + 34)))
last=$(printf '0x%X' $((0x$address + 38)))

# Every command under the same pinned environment.
run() { env -i PATH=/usr/bin:/bin LC_ALL=C TZ=UTC "$@"; }
tool="./Dravel_QVR_USB_Console image.s 4711"
huge="./Dravel_QVR_USB_Console huge.s 4711"
copy="/bin/cp image.s out.s"
srec="$(command -v srec_cat) image.s -exclude $first $last -generate $first $last -repeat-string 4711 -o srec.s"

instructions() {
  run valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}
# Peak resident memory varies by a few pages from run to run: the median of 21 runs.
peak_kib() {
  for _ in $(seq 21); do run /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; done |
    sort -n | sed -n 11p
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

i_tool=$(instructions $tool); i_copy=$(instructions $copy); i_srec=$(instructions $srec)
i_huge=$(instructions $huge)
set -- $(run "$root/build-bench/bench/bench_wall" "$runs" $tool ';;' $copy ';;' $srec ';;' $huge)
w_tool=$1; w_copy=$2; w_srec=$3; w_huge=$4
m_tool=$(peak_kib $tool); m_copy=$(peak_kib $copy); m_srec=$(peak_kib $srec); m_huge=$(peak_kib $huge)
per_second=$(run "$root/build-bench/bench/bench_wall" --in-a-row 1000 $tool)

printf '%-34s %14s %10s %12s %10s\n' "whole run (LC_ALL=C)" "instructions" "x cp" "wall median" "x cp"
printf '%-34s %14s %10s %10sus %10s\n' "Dravel_QVR_USB_Console, serial 4711" "$i_tool" "$(ratio "$i_tool" "$i_copy")" "$w_tool" "$(ratio "$w_tool" "$w_copy")"
printf '%-34s %14s %10s %10sus %10s\n' "cp image out" "$i_copy" "1.00" "$w_copy" "1.00"
printf '%-34s %14s %10s %10sus %10s\n' "srec_cat (same four bytes)" "$i_srec" "$(ratio "$i_srec" "$i_copy")" "$w_srec" "$(ratio "$w_srec" "$w_copy")"
printf '%-34s %14s %10s %10sus %10s\n' "refused 8 GB sparse input" "$i_huge" "$(ratio "$i_huge" "$i_copy")" "$w_huge" "$(ratio "$w_huge" "$w_copy")"
echo
printf 'peak resident memory: tool %s KiB, 8 GB input %s KiB, cp %s KiB, srec_cat %s KiB\n' "$m_tool" "$m_huge" "$m_copy" "$m_srec"
printf 'personalisations per second, 1000 runs in a row: %s\n' "$per_second"
echo
echo "in-process core (load, check, stamp, save) against a plain read and write of the image:"
core_csv=$("$root/build-bench/bench/core_benchmark" --benchmark_repetitions=9 \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
echo "$core_csv" | awk -F, '/_median/ { gsub(/"/, "", $1); printf "  %-28s %10.1f us\n", $1, $3 / 1000 }' 
core=$(echo "$core_csv" | awk -F, '/^"Core_median"/ { print $3 }')
plain=$(echo "$core_csv" | awk -F, '/^"PlainReadWrite_median"/ { print $3 }')
echo
echo "targets:"
check() { if awk -v v="$2" -v t="$3" 'BEGIN { exit !(v <= t) }'; then s=met; else s=MISSED; fi; printf '  %-52s %8s (target <= %s) %s\n' "$1" "$2" "$3" "$s"; }
check "instructions of a whole run, x cp" "$(ratio "$i_tool" "$i_copy")" 0.9
check "wall median of a whole run, x cp" "$(ratio "$w_tool" "$w_copy")" 1.0
check "peak memory of a run, MiB" "$(awk -v k="$m_tool" 'BEGIN { printf "%.2f", k / 1024 }')" 4
check "refused 8 GB input, instructions x normal run" "$(ratio "$i_huge" "$i_tool")" 1.0
check "refused 8 GB input, wall x normal run" "$(ratio "$w_huge" "$w_tool")" 1.0
check "refused 8 GB input, memory x normal run" "$(ratio "$m_huge" "$m_tool")" 1.0
check "in-process core, x plain read and write" "$(ratio "$core" "$plain")" 3
