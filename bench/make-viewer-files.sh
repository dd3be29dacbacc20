#!/usr/bin/env bash
# The viewer benchmark's folder: ten photo-like 4000 x 3000 JPEGs of different content, quality 90, written
# by ImageMagick into DIR.
set -euo pipefail
dir=${1:?usage: make-viewer-files.sh DIR}
mkdir -p "$dir"
cd "$dir"
colours=('#306090' '#d0a040' '#602020' '#40c0e0' '#205030' '#e0e0a0' '#503070' '#c08060' '#101010' '#f0f0f0')
for i in $(seq 0 9); do
  convert -size 4000x3000 -seed "$((i + 1))" plasma:"${colours[i]}"-"${colours[(i + 3) % 10]}" \
    -attenuate 0.3 +noise Gaussian -quality 90 "view$i.jpg"
done
ls -l "$dir"
