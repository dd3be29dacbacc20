#!/usr/bin/env bash
# Makes the sample pictures the component tests load, with tools of others (netpbm, ImageMagick), and beside
# each one the pixels those tools read back from it (<name>.ppm), which the test expects. Run by hand when
# the set changes; the results are committed.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 9 x 5 (odd width: padded rows; PICT writers want 8 or more), eight colours in diagonals.
{
    echo "P3 9 5 255"
    palette=("0 0 0" "255 255 255" "255 0 0" "0 255 0" "0 0 255" "255 255 0" "0 255 255" "255 0 255")
    for y in 0 1 2 3 4; do
        for x in 0 1 2 3 4 5 6 7 8; do echo "${palette[$(( (x + 3 * y) % 8 ))]}"; done
    done
} >"$tmp/colour.ppm"
cat >"$tmp/mono.pbm" <<'PBM'
P1 9 3
1 0 1 1 0 0 1 0 1
0 1 0 0 1 1 0 1 0
1 1 1 0 0 0 1 1 1
PBM
# Grey levels across and down.
cat >"$tmp/grey.pgm" <<'PGM'
P2 5 3 255
0 64 128 192 255
255 192 128 64 0
17 34 51 68 85
PGM
# Many colours in a gradient (true colour and direct-bits paths).
convert -size 11x7 gradient:red-blue -depth 8 "$tmp/gradient.ppm"

expect() {  # expect <sample> : the pixels as netpbm or ImageMagick read the sample
    local out="${1%.*}.ppm"
    case "$1" in
    *.pcx) pcxtoppm "$1" >"$out" 2>/dev/null ;;
    *.tga) tgatoppm "$1" | pnmtopnm -plain | convert - -depth 8 ppm:"$out" ;;
    *.iff) ilbmtoppm "$1" >"$out" 2>/dev/null ;;
    *) convert "$1" -depth 8 ppm:"$out" ;;
    esac
}

ppmtopcx -packed "$tmp/colour.ppm" >pcx-4bit-packed.pcx 2>/dev/null
ppmtopcx -planes 4 "$tmp/colour.ppm" >pcx-4bit-planar.pcx 2>/dev/null
ppmtopcx -8bit "$tmp/colour.ppm" >pcx-8bit.pcx 2>/dev/null
ppmtopcx -24bit "$tmp/gradient.ppm" >pcx-24bit.pcx 2>/dev/null
ppmtopcx -packed "$tmp/mono.pbm" >pcx-1bit.pcx 2>/dev/null

ppmtotga -cmap "$tmp/colour.ppm" >tga-colourmap-rle.tga 2>/dev/null
ppmtotga -cmap -norle "$tmp/colour.ppm" >tga-colourmap.tga 2>/dev/null
ppmtotga -rgb -norle "$tmp/gradient.ppm" >tga-truecolour.tga 2>/dev/null
ppmtotga -rgb "$tmp/gradient.ppm" >tga-truecolour-rle.tga 2>/dev/null
ppmtotga -mono "$tmp/grey.pgm" >tga-grey-rle.tga 2>/dev/null
convert "$tmp/gradient.ppm" -compress none -orient TopLeft tga:tga-top-origin.tga

ppmtopict "$tmp/colour.ppm" >pict-packbits.pct 2>/dev/null
convert "$tmp/gradient.ppm" pict:pict-directbits.pct

ppmtoilbm "$tmp/colour.ppm" >iff-planar.iff 2>/dev/null
ppmtoilbm -nocompress "$tmp/colour.ppm" >iff-planar-raw.iff 2>/dev/null
ppmtoilbm "$tmp/gradient.ppm" >iff-deep.iff 2>/dev/null
ppmtoilbm -ham6 "$tmp/gradient.ppm" >iff-ham.iff 2>/dev/null

convert "$tmp/gradient.ppm" png:png-truecolour.png
convert "$tmp/colour.ppm" -type palette png8:png-palette.png
convert "$tmp/gradient.ppm" -compress none tiff:tiff-truecolour.tif
convert "$tmp/gradient.ppm" -compress lzw tiff:tiff-lzw.tif

# DOS EPS binary header (30 bytes) + PostScript + TIFF preview.
pnmtops -nocenter "$tmp/colour.ppm" >"$tmp/colour.ps" 2>/dev/null
convert "$tmp/colour.ppm" -compress none tiff:"$tmp/preview.tif"
python3 - "$tmp/colour.ps" "$tmp/preview.tif" eps-tiff-preview.eps <<'PY'
import struct, sys
ps = open(sys.argv[1], "rb").read()
tif = open(sys.argv[2], "rb").read()
header = struct.pack("<IIIIIIIH", 0xC6D3D0C5, 30, len(ps), 0, 0, 30 + len(ps), len(tif), 0xFFFF)
open(sys.argv[3], "wb").write(header + ps + tif)
PY

for f in *.pcx *.tga *.pct *.iff *.png *.tif; do expect "$f"; done
rm -f pcx-1bit.ppm
pbmtopbm() { cat; }
convert "$tmp/mono.pbm" -depth 8 ppm:pcx-1bit.ppm
# The EPS preview is the TIFF inside; ImageMagick reads the PostScript instead, so the source pixels stand.
convert "$tmp/colour.ppm" -depth 8 ppm:eps-tiff-preview.ppm

# A JPEG of another encoder, 24 x 16 and smooth (dark at the top, bluer to the right), full colour
# resolution; its expected pixels are the source's own, met within the codec's rounding.
awk 'BEGIN { print "P3 24 16 255"; for (y = 0; y < 16; y++) for (x = 0; x < 24; x++)
             print 40 + 10 * y, 60 + 4 * x, 200 - 8 * y + 2 * x }' | convert - -depth 8 ppm:jpeg-outside.ppm
convert jpeg-outside.ppm -quality 95 -sampling-factor 1x1 jpeg-outside.jpg
