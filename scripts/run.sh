#!/usr/bin/env bash
# Installs what is missing, builds Varlo (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARLO_BUILD_TESTS=OFF
cmake --build build-release
exec ./build-release/src/app/varlo "$@"
