#!/usr/bin/env bash
# Tag cache benchmark (figures, not a test):
#  1. a corpus made by make-corpus.sh listed through the cache once to fill it, then again
#     with every file cached (best of three);
#  2. 100,000 synthetic records (copies of a real record under made-up paths) listed
#     recursively: the time of the query and the existence checks, the database size and
#     the bytes per record.
# usage: bench/cache-bench.sh DIR   (needs build-release, see README.md)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: cache-bench.sh DIR}
cli=build-release/src/cli/varlo-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source bench/timing.sh

db=$work/cache.db
n=$(find "$dir" -type f | wc -l)
start=$(date +%s.%N)
"$cli" list --cache-db "$db" --recursive "$dir" >/dev/null
fill=$(echo "$(date +%s.%N) - $start" | bc -l)
cached=$(seconds "$cli" list --cache-db "$db" --recursive "$dir")
direct=$(seconds "$cli" list --recursive "$dir")
printf '%d files: filling the cache %.2f s, listed from the cache %.3f s, read directly %.3f s\n' \
    "$n" "$fill" "$cached" "$direct"

synthetic=$work/synthetic.db
cp "$db" "$synthetic"
python3 - "$synthetic" <<'PY'
import sqlite3, sys
con = sqlite3.connect(sys.argv[1])
row = con.execute("SELECT data, size, modified_ns, changed_ns, device, inode FROM files LIMIT 1").fetchone()
con.execute("DELETE FROM files")
rows = []
for i in range(100000):
    folder = "/varlo-bench-missing/artist%03d/album%02d" % (i // 1000, (i // 10) % 100)
    rows.append((f"{folder}/track{i:06d}.mp3", folder, "mp3") + row)
con.executemany("INSERT INTO files (path, folder, extension, data, size, modified_ns,"
                " changed_ns, device, inode) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)", rows)
con.commit()
con.execute("VACUUM")
con.close()
PY
# The folder does not exist (an unmounted disk), so every record is listed and kept.
listed=$(seconds "$cli" list --cache-db "$synthetic" --recursive /varlo-bench-missing)
size=$(stat -c %s "$synthetic")
printf '100000 synthetic records: recursive listing %.3f s, database %d bytes, %d bytes per record\n' \
    "$listed" "$size" "$((size / 100000))"
