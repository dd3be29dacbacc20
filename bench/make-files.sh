#!/usr/bin/env bash
# The decoder benchmark's files: one 6000 x 4000 photo-like picture in every format we decode ourselves,
# and as PNG for the system decoder, written by ImageMagick and netpbm into DIR.
set -euo pipefail
dir=${1:?usage: make-files.sh DIR}
mkdir -p "$dir"
cd "$dir"
convert -size 6000x4000 gradient:'#204080'-'#e0c060' -attenuate 0.4 +noise Gaussian -depth 8 bench.ppm
ppmtopcx -24bit bench.ppm >bench.pcx 2>/dev/null
ppmtotga -rgb bench.ppm >bench.tga 2>/dev/null
convert bench.ppm pict:bench.pct
ppmtoilbm bench.ppm >bench.iff 2>/dev/null
convert bench.ppm -compress lzw tiff:bench.tif
convert bench.ppm -quality 90 png:bench.png
pnmtops -nocenter bench.ppm >bench.ps 2>/dev/null
python3 - <<'PY'
import struct
ps = open("bench.ps", "rb").read()
tif = open("bench.tif", "rb").read()
open("bench.eps", "wb").write(struct.pack("<IIIIIIIH", 0xC6D3D0C5, 30, len(ps), 0, 0, 30 + len(ps), len(tif), 0xFFFF) + ps + tif)
PY
rm -f bench.ps
# Two photos of different content for the loader's first and next picture.
convert -size 6000x4000 plasma:'#306090'-'#d0a040' -seed 7 -attenuate 0.3 +noise Gaussian -quality 90 photo1.jpg
convert -size 6000x4000 gradient:'#602020'-'#40c0e0' -attenuate 0.5 +noise Gaussian -quality 90 photo2.jpg
ls -l "$dir"
