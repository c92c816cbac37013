#!/usr/bin/env bash
# Builds the image reader fuzz targets with clang (libFuzzer, address and
# undefined-behaviour sanitizers) into build-fuzz/, writes a seed corpus and
# runs each target for FUZZ_SECONDS seconds (default 60). Crashing inputs are
# kept in build-fuzz/findings/<reader>/. A single allocation above 512 MB
# counts as a finding: no damaged file may ask for that much.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
readers=${FUZZ_READERS:-hdr ct tga exr}

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2

"$build/fuzz-seeds" "$build/seeds"
status=0
for reader in $readers; do
  corpus="$build/corpus/$reader"
  findings="$build/findings/$reader"
  mkdir -p "$corpus" "$findings"
  echo "== fuzzing the $reader reader for ${seconds}s"
  if ! "$build/fuzz-$reader" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
      -malloc_limit_mb=512 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$build/seeds/$reader" \
      2>"$build/$reader.log"; then
    echo "!! the $reader reader failed; see $build/$reader.log and $findings/"
    status=1
  fi
  grep -E "^stat::(number_of_executed_units|new_units_added)|^(Done|INFO: Running with)|DONE" \
    "$build/$reader.log" || true
done
exit $status
