#!/usr/bin/env bash
# Peak resident memory of halvane-batch loading a 16K run-length .hdr scaled
# down (--fit), measured with /usr/bin/time -v (target: at most 200 MB), and
# the time of our scaled-down load against stb_image decoding the same file,
# medians of one benchmark run (target: at most 1.3 times stb_image's).
#   bench/peak_memory.sh [BUILD_DIR]     (default: build, with the benchmarks)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/halvane-bench-sky" "$work/sky16k.hdr"
echo "16K sky: $(du -m "$work/sky16k.hdr" | cut -f1) MB on disk"

/usr/bin/time -v "$build/halvane-batch" "$work/sky16k.hdr" --fit --no-optimize -q \
  2>"$work/time.txt" >/dev/null
peak_kb=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time.txt")
elapsed=$(awk '/Elapsed \(wall clock\)/ {print $NF}' "$work/time.txt")
echo "halvane-batch --fit --no-optimize: peak resident $((peak_kb / 1024)) MB" \
  "(target 200 MB), wall clock $elapsed"

"$build/bench/halvane-bench" --benchmark_filter='RunLength16384x8192' \
  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null >"$work/bench.csv"
ours=$(awk -F, '/ReadHDR_RunLength16384x8192_ScaledDown.*_median/ {print $3}' "$work/bench.csv")
stb=$(awk -F, '/StbLoadf_RunLength16384x8192.*_median/ {print $3}' "$work/bench.csv")
awk -v ours="$ours" -v stb="$stb" 'BEGIN {
  printf "median load: ours %.0f ms, stb_image %.0f ms, ratio %.2f (target 1.30)\n",
    ours, stb, ours / stb }'
