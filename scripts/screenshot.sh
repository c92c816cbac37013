#!/usr/bin/env bash
# Takes the README's picture of the window: 1280 x 720 on a virtual X display,
# the sample image loaded from the command line. The picture is taken once two
# captures in a row agree, so it never shows a half-drawn window.
#   scripts/screenshot.sh [BUILD_DIR] [OUTPUT]    (defaults: build docs/window.png)
#   SCREEN=1920x1080 scripts/screenshot.sh ...    another screen size
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-docs/window.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Fresh settings: no remembered geometry, the user's own left alone.
export XDG_CONFIG_HOME=$work/config
xvfb-run -a -s "-screen 0 ${SCREEN:-1280x720}x24" bash -euo pipefail -c '
  work=$1; program=$2; image=$3; out=$4
  import -window root "$work/empty.png"
  # From the sample folder, so that the window shows the name alone.
  (cd "$(dirname "$image")" && exec "$program" "$(basename "$image")") & pid=$!
  previous=$work/empty.png
  for try in $(seq 1 60); do
    sleep 0.5
    import -window root "$work/shot$try.png"
    if ! cmp -s "$work/shot$try.png" "$work/empty.png" &&
       [ "$(compare -metric AE "$previous" "$work/shot$try.png" null: 2>&1 || true)" = 0 ]; then
      cp "$work/shot$try.png" "$out"
      kill "$pid"
      exit 0
    fi
    previous=$work/shot$try.png
  done
  kill "$pid"
  echo "screenshot.sh: the window did not settle" >&2
  exit 1
' _ "$work" "$build/halvane" "$PWD/data/sky.hdr" "$out"
echo "$out"
