#!/usr/bin/env bash
# Read benchmark: files per second of varlo-cli show, TagLib and mutagen over a corpus made
# by make-corpus.sh (warm cache, one process each, best of three), and the peak memory of
# varlo-cli per file.
# usage: bench/read-bench.sh DIR
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: read-bench.sh DIR}
cli=build-release/src/cli/varlo-cli
taglib=build-release/bench/taglib-read
python=/usr/bin/python3

source bench/timing.sh

rate() { echo "$1 / $2" | bc; }
ratio() { echo "scale=2; $1 / $2" | bc; }

for format in mp3 ogg wma; do
    files=("$dir/$format"/*)
    n=${#files[@]}
    cat "${files[@]}" >/dev/null # warm the page cache
    varlo=$(seconds "$cli" show --json "$dir/$format")
    line="$format: $n files  varlo $(rate "$n" "$varlo") files/s"
    if [ -x "$taglib" ]; then
        tl=$(seconds "$taglib" "${files[@]}")
        line="$line  taglib $(rate "$n" "$tl") files/s (varlo x$(ratio "$tl" "$varlo"))"
    fi
    if $python -c 'import mutagen' 2>/dev/null; then
        mg=$(seconds $python -c 'import sys, mutagen
for p in sys.argv[1:]:
    mutagen.File(p).info.length' "${files[@]}")
        line="$line  mutagen $(rate "$n" "$mg") files/s (varlo x$(ratio "$mg" "$varlo"))"
    fi
    echo "$line"
done

base=$( { /usr/bin/time -f %M "$cli" show --json "$dir/none" >/dev/null || true; } 2>&1 | tail -1)
peak=$( { /usr/bin/time -f %M "$cli" show --json "$dir/mp3" >/dev/null || true; } 2>&1 | tail -1)
n=$(ls "$dir/mp3" | wc -l)
echo "memory: base ${base} KiB, reading $n MP3 files ${peak} KiB: $(( (peak - base) * 1024 / n )) bytes per file beyond the base"
