#!/usr/bin/env bash
# Main window scan benchmark (figures, not a test): opens DIR/mp3 (N files, made by
# make-corpus.sh when missing) in the main window offscreen, once with the folder scanner
# and once with the tag cache (opened twice: the first run fills the cache).
# usage: bench/gui-scan-bench.sh DIR [N]   (needs build-release, see README.md)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: gui-scan-bench.sh DIR [N]}
count=${2:-10000}
bench=build-release/bench/gui-scan-bench
[ -e "$dir" ] || bench/make-corpus.sh "$dir" "$count"
have=$(find "$dir/mp3" -maxdepth 1 -type f 2>/dev/null | wc -l)
[ "$have" -eq "$count" ] || { echo "$dir/mp3 holds $have files, not $count" >&2; exit 1; }
cat "$dir"/mp3/* >/dev/null # warm the page cache, as for the other benchmarks
QT_QPA_PLATFORM=offscreen "$bench" "$dir/mp3"
QT_QPA_PLATFORM=offscreen "$bench" --cache "$dir/mp3"
