#!/usr/bin/env bash
# Shows that a listing served from the tag cache opens no audio file (figures, not a test):
# the cache is filled with one listing, then the same listing runs under strace and every
# open of a file with an audio extension is counted (expected: 0). Prints the count and the
# time of the cached listing without strace (best of three).
# usage: bench/cache-strace.sh FOLDER   (subfolders included; needs build-release and strace)
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:?usage: cache-strace.sh FOLDER}
cli=build-release/src/cli/varlo-cli
command -v strace >/dev/null || { echo "strace is missing (scripts/deps.sh installs it)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/cache.db
listing() { "$cli" list --cache --cache-db "$db" --recursive "$folder"; }

n=$(listing | wc -l) # fills the cache
best=999999
for _ in 1 2 3; do
    start=$(date +%s.%N)
    listing >/dev/null
    best=$(echo "t = $(date +%s.%N) - $start; if (t < $best) t else $best" | bc -l)
done

strace -f -qq -e trace=openat,open -o "$work/trace" "$cli" list --cache --cache-db "$db" \
    --recursive "$folder" >"$work/listed"
audio='"[^"]*\.(mp3|mp2|mp1|mpa|ogg|wma|wav)"'
opens=$(grep -Eic "open(at)?\(.*$audio" "$work/trace" || true)
all=$(grep -Ec 'open(at)?\(' "$work/trace" || true)
printf '%d files listed from the cache in %.3f s; under strace %d rows, %d opens, %d of them audio files\n' \
    "$n" "$best" "$(wc -l <"$work/listed")" "$all" "$opens"
if [ "$opens" -gt 0 ]; then
    echo "first audio opens:"
    grep -Ei "open(at)?\(.*$audio" "$work/trace" | head -5
fi
