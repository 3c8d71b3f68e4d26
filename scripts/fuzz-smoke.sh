#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each briefly on the fixtures.
# FUZZ_SECONDS sets the time per target (CI: a short smoke run).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DVARLO_BUILD_TESTS=OFF -DVARLO_BUILD_FUZZERS=ON >/dev/null
cmake --build "$build"
peers=../shared/testdata/peers
for target in "$build"/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus=$(mktemp -d)
    # Seeds: our fixtures and the peer samples.
    find tests/data "$peers" -type f -size -400k -exec cp -t "$corpus" {} + 2>/dev/null || true
    echo "fuzzing $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=262144 \
        -print_final_stats=0 "$corpus" 2>"$corpus.log" || { tail -50 "$corpus.log"; exit 1; }
    rm -rf "$corpus" "$corpus.log"
done
