#!/usr/bin/env bash
# Installs what is missing, builds Varlo with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test through CTest. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=build-asan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARLO_SANITIZE=ON
cmake --build "$build"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
# The parsers' fuzz targets run briefly on the fixtures first, so CTest's summary closes the run.
bash scripts/fuzz-smoke.sh
ctest --test-dir "$build" --output-on-failure --timeout 600 -j2
