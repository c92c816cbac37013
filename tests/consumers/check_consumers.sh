#!/usr/bin/env bash
# Checks that two USD readers we did not write (the USD library and tinyusdz,
# both as WebAssembly under Node) read tests/data/consumers/sample_rig.usda with
# the values written there, and that each malformed sample (bad_*.usda) is
# refused by at least one of them. Prints the time each reader took per file.
set -u
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../data/consumers"
cd "$here" || exit 1

if [ ! -d node_modules/three-usdz-loader ] || [ ! -d node_modules/tinyusdz ]; then
    npm ci --no-audit --no-fund --silent || { echo "npm ci failed"; exit 1; }
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0
failed=0

verdict() { # status name
    if [ "$1" = 0 ]; then passed=$((passed + 1)); echo "PASS $2"
    else failed=$((failed + 1)); echo "FAIL $2"; fi
}

read_file() { # reader file; output in $tmp/out and $tmp/err, time in $took
    local start=$(date +%s%N)
    node read_usd.mjs --reader "$1" "$2" >"$tmp/out" 2>"$tmp/err"
    local status=$?
    took=$(( ($(date +%s%N) - start) / 1000000 ))
    return $status
}

for reader in usd tinyusdz; do
    if read_file "$reader" "$data/sample_rig.usda"; then
        node check_sample_rig.mjs "$tmp/out"
    else
        sed 's/^/  /' "$tmp/err" | head -5
        false
    fi
    verdict $? "$reader reads sample_rig.usda as written (${took} ms)"
done

for sample in "$data"/bad_*.usda; do
    refused=()
    times=()
    for reader in usd tinyusdz; do
        # Only the reader's own refusal counts, not a crash or a timeout.
        if ! read_file "$reader" "$sample" && grep -q "^$reader rejected" "$tmp/err"; then
            refused+=("$reader")
        fi
        times+=("$reader ${took} ms")
    done
    [ ${#refused[@]} -gt 0 ]
    verdict $? "$(basename "$sample") refused by: ${refused[*]:-none} (${times[*]})"
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
