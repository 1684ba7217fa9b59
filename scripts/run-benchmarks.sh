#!/usr/bin/env bash
# Runs every benchmark of an optimised build. With --brief each measurement is short (CI checks that
# they run and prints their ratios); without it they run for the default time.
#   scripts/run-benchmarks.sh BUILD_DIR [--brief]
set -euo pipefail
build=$1
args=()
if [[ "${2:-}" == "--brief" ]]; then
    args+=(--benchmark_min_time=0.05)
fi
for bench in "$build"/bench/bench_*; do
    [[ -x "$bench" ]] || continue
    echo "-- $(basename "$bench")"
    "$bench" "${args[@]}"
done
