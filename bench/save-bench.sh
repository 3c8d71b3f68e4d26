#!/usr/bin/env bash
# Save benchmark: change one field in N MP3 files and save, varlo-cli set against mutagen.
# Also tells whether a change that fits the tag's padding was written in place.
# usage: bench/save-bench.sh DIR [N]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: save-bench.sh DIR [N]}
count=${2:-1000}
cli=build-release/src/cli/varlo-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/varlo" "$work/mutagen"
for f in $(ls "$dir/mp3" | head -n "$count"); do
    cp "$dir/mp3/$f" "$work/varlo/$f"
    cp "$dir/mp3/$f" "$work/mutagen/$f"
done
n=$(ls "$work/varlo" | wc -l)
probe="$work/varlo/$(ls "$work/varlo" | head -1)"
inode_before=$(stat -c %i "$probe")
start=$(date +%s.%N)
"$cli" set -f "Title=Changed title" "$work/varlo"/*
varlo=$(echo "$(date +%s.%N) - $start" | bc -l)
inode_after=$(stat -c %i "$probe")
start=$(date +%s.%N)
/usr/bin/python3 -c 'import sys
from mutagen.easyid3 import EasyID3
for p in sys.argv[1:]:
    t = EasyID3(p); t["title"] = "Changed title"; t.save()' "$work/mutagen"/*
mutagen=$(echo "$(date +%s.%N) - $start" | bc -l)
echo "save: $n MP3 files  varlo $(echo "$n / $varlo" | bc) files/s  mutagen $(echo "$n / $mutagen" | bc) files/s (varlo x$(echo "scale=2; $mutagen / $varlo" | bc))"
if [ "$inode_before" = "$inode_after" ]; then
    echo "in place: yes, the change fitted the padding and the audio was not rewritten"
else
    echo "in place: no, the file was rewritten"
fi
