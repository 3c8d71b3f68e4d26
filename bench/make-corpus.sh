#!/usr/bin/env bash
# Makes a benchmark corpus: N tagged copies of the MP3 fixture and N/5 of the Ogg and WMA
# fixtures in DIR/{mp3,ogg,wma}.
# usage: bench/make-corpus.sh DIR [N]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: make-corpus.sh DIR [N]}
count=${2:-10000}
cli=${VARLO_CLI:-build-release/src/cli/varlo-cli}
declare -A source=([mp3]=tests/data/mpeg/tagged-v1v2.mp3 [ogg]=tests/data/ogg/tagged.ogg
                   [wma]=tests/data/wma/typed.wma)
for format in mp3 ogg wma; do
    n=$count
    [ "$format" = mp3 ] || n=$((count / 5))
    mkdir -p "$dir/$format"
    for i in $(seq -w 1 "$n"); do
        cp "${source[$format]}" "$dir/$format/track$i.$format"
    done
    find "$dir/$format" -name "*.$format" -print0 |
        xargs -0 -n 2000 "$cli" set -f "Album=Benchmark album" -f "Composer=Someone" >/dev/null
done
echo "corpus: $(find "$dir" -type f | wc -l) files in $dir"
