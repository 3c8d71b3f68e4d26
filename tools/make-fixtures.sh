#!/usr/bin/env bash
# Regenerates the small audio fixtures in tests/data. The results are committed, so tests
# never depend on the encoder versions of the machine that runs them. Each format has its
# own script in tools/fixtures/.
set -euo pipefail
cd "$(dirname "$0")/.."
for script in tools/fixtures/*.sh; do
    echo "== $script"
    bash "$script"
done
