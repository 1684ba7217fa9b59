#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time, starting from the seed corpus
# that its seed writer (seeds_NAME beside fuzz_NAME) makes. Fails on any finding.
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1
seconds=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for fuzzer in "$build"/fuzz/fuzz_*; do
    [[ -x "$fuzzer" ]] || continue
    name=$(basename "$fuzzer")
    corpus="$work/$name"
    mkdir -p "$corpus"
    "$build/fuzz/seeds_${name#fuzz_}" "$corpus"
    echo "-- $name: $(ls "$corpus" | wc -l) seeds, ${seconds}s"
    if ! ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 "$fuzzer" "$corpus" -max_total_time="$seconds" \
            -rss_limit_mb=4096 -timeout=20 -max_len=32768 -print_final_stats=1 -artifact_prefix="$work/$name-" 2>"$work/$name.log"; then
        echo "!! $name found a fault:"
        tail -n 60 "$work/$name.log"
        status=1
    else
        units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name.log")
        rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$work/$name.log")
        echo "   $units inputs run, $((units / seconds)) per second; peak RSS $rss MB"
    fi
done
exit $status
