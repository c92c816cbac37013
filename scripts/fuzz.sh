#!/usr/bin/env bash
# Builds the image reader fuzz targets with clang (libFuzzer, address and
# undefined-behaviour sanitizers) into build-fuzz/, writes a seed corpus and
# runs each target for FUZZ_SECONDS seconds (default 60) with the reader's
# dictionary of header tokens (fuzz/<reader>.dict, where there is one). Crashing inputs are kept
# in build-fuzz/findings/<reader>/.
#   FUZZ_LARGEST_SIDE  largest image side the readers accept (default 256;
#                      0: the program's own limits)
#   FUZZ_MAX_LEN       largest input in bytes (default: libFuzzer's choice)
#   FUZZ_RUNS          executions per reader instead of a time limit
#   FUZZ_JOBS          processes per reader sharing the corpus (default 1);
#                      their logs are build-fuzz/<reader>-jobs/fuzz-N.log
#   FUZZ_TIMEOUT       seconds one input may take before it counts as a
#                      finding (default 30)
# A single allocation above 512 MB counts as a finding: no damaged file may
# ask for that much.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
readers=${FUZZ_READERS:-hdr ct tga exr}
largest=${FUZZ_LARGEST_SIDE:-256}
jobs=${FUZZ_JOBS:-1}
timeout=${FUZZ_TIMEOUT:-30}
length=()
if [ -n "${FUZZ_MAX_LEN:-}" ]; then length=(-max_len="$FUZZ_MAX_LEN"); fi
budget=(-max_total_time="$seconds")
if [ -n "${FUZZ_RUNS:-}" ]; then budget=(-runs=$(((FUZZ_RUNS + jobs - 1) / jobs))); fi
if [ "$jobs" -gt 1 ]; then budget+=(-jobs="$jobs" -workers="$jobs"); fi

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DHALVANE_FUZZ_LARGEST_SIDE="$largest" >/dev/null
cmake --build "$build" -j2

"$build/fuzz-seeds" "$build/seeds"
status=0
for reader in $readers; do
  corpus="$build/corpus/$reader"
  findings="$build/findings/$reader"
  mkdir -p "$corpus" "$findings"
  echo "== fuzzing the $reader reader: ${budget[*]}"
  mkdir -p "$build/$reader-jobs"
  rm -f "$build/$reader-jobs"/fuzz-*.log
  if ! (cd "$build/$reader-jobs" && "$build/fuzz-$reader" "${budget[@]}" -timeout="$timeout" -rss_limit_mb=4096 \
      -malloc_limit_mb=512 \
      $([ -f "$root/fuzz/$reader.dict" ] && echo "-dict=$root/fuzz/$reader.dict") "${length[@]}" \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$build/seeds/$reader" \
      2>"$build/$reader.log"); then
    echo "!! the $reader reader failed; see $build/$reader.log and $findings/"
    status=1
  fi
  for log in "$build/$reader.log" "$build/$reader-jobs"/fuzz-*.log; do
    [ -f "$log" ] || continue
    grep -E "^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)|^(Done|INFO: Running with)|DONE" \
      "$log" || true
    grep -E "^#[0-9]+.*(DONE|cov:)" "$log" | tail -1 || true
  done
done
exit $status
