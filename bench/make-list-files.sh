#!/usr/bin/env bash
# The list benchmarks' folders in DIR: "files" with 20,000 empty files (mixed-case names, the picture
# types of the file list's pattern, about a tenth of other types) and "folders" with 2,000 subfolders.
set -euo pipefail
dir=${1:?usage: make-list-files.sh DIR}
mkdir -p "$dir/files" "$dir/folders"
python3 - "$dir" <<'PY'
import os, random, sys
root = sys.argv[1]
random.seed(7)
kinds = ["bmp", "wmf", "ico", "gif", "jpg", "emf", "cur"]
stems = ["Photo", "img", "Scan", "holiday", "DSC", "Picture", "shot"]
for i in range(20000):
    ext = random.choice(["txt", "png", "doc"]) if i % 10 == 0 else random.choice(kinds)
    if random.random() < 0.5:
        ext = ext.upper()
    name = f"{random.choice(stems)}_{random.randrange(10**6):06d}_{i}.{ext}"
    open(os.path.join(root, "files", name), "wb").close()
for i in range(2000):
    os.makedirs(os.path.join(root, "folders", f"{random.choice(stems)} {i:04d}"), exist_ok=True)
PY
echo "$(ls "$dir/files" | wc -l) files, $(ls "$dir/folders" | wc -l) folders in $dir"
