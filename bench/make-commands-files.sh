#!/usr/bin/env bash
# The main window's command benchmarks' folders in DIR: the file list benchmark's 20,000-file folder "files"
# (bench/make-list-files.sh) with one real 1920 x 1080 JPEG added, listed first, for Navigate Forward to show;
# and "seek" with 50,000 names for Fileseek ("Pic_" in every name, "Sunset" in one in a hundred).
set -euo pipefail
dir=${1:?usage: make-commands-files.sh DIR}
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$dir/files" ] || "$here/make-list-files.sh" "$dir"
convert -size 1920x1080 plasma:'#306090'-'#d0a040' -seed 5 -attenuate 0.3 +noise Gaussian -quality 90 \
  "$dir/files/0000 first photo.jpg"
mkdir -p "$dir/seek"
python3 - "$dir/seek" <<'PY'
import os, random, sys
random.seed(11)
kinds = ["bmp", "wmf", "ico", "gif", "jpg", "emf", "cur"]
stems = ["Photo", "img", "Scan", "holiday", "DSC", "Picture", "shot"]
for i in range(50000):
    stem = "Sunset" if i % 100 == 0 else random.choice(stems)
    ext = random.choice(kinds)
    ext = ext.upper() if random.random() < 0.5 else ext
    open(os.path.join(sys.argv[1], f"Pic_{stem}_{random.randrange(10**6):06d}_{i}.{ext}"), "wb").close()
PY
echo "$(ls "$dir/files" | wc -l) files in $dir/files, $(ls "$dir/seek" | wc -l) in $dir/seek"
