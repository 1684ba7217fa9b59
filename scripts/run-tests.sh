#!/usr/bin/env bash
# Builds and runs every test:
#   1. formatting check (clang-format, the committed .clang-format)
#   2. unit tests built with g++ under AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors,
#      with the picture generator, whose tests check that the committed pictures are what it draws
#   3. everything built again with clang, warnings as errors, ASan + UBSan: the unit tests run once
#      more, and the libFuzzer targets are each fuzzed for a bounded time (QZM_FUZZ_SECONDS, default 60)
#   4. the benchmarks, built optimised, each run briefly so they are known to work and print ratios
#   5. the Debian package of that optimised build, made with cpack and checked unpacked in a scratch root
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh --tests

echo "== Formatting"
scripts/check-format.sh

echo "== Unit tests (g++, ASan + UBSan)"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
    -DQZM_SANITIZE=ON -DQZM_WERROR=ON -DQZM_BUILD_BENCH=OFF -DQZM_BUILD_RES_GENERATOR=ON
cmake --build build-test -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-test --output-on-failure -j "$jobs"

echo "== Unit tests and fuzzers (clang, ASan + UBSan)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_COMPILER=clang -DQZM_BUILD_FUZZ=ON -DQZM_WERROR=ON -DQZM_BUILD_BENCH=OFF -DQZM_BUILD_TESTS=ON
cmake --build build-fuzz -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-fuzz --output-on-failure -j "$jobs"
scripts/run-fuzzers.sh build-fuzz "${QZM_FUZZ_SECONDS:-60}"

echo "== Benchmarks (optimised, brief)"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZM_WERROR=ON -DQZM_BUILD_TESTS=OFF
cmake --build build-bench -j "$jobs"
scripts/run-benchmarks.sh build-bench --brief

echo "== Debian package (optimised build)"
tests/e2e/install_test.sh build-bench . cpack cmake

echo "== All tests passed"
