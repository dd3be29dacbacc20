#!/usr/bin/env bash
# Makes the small pictures the loader tests show, with ImageMagick, and commits them: 6 x 4, the left half
# red and the right half blue (JPEG keeps such flat areas close to their colours).
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 3x4 xc:'#ff0000' -size 3x4 xc:'#0000ff' +append "$tmp/pattern.png"
convert "$tmp/pattern.png" -quality 100 -sampling-factor 1x1 sample.jpg
convert "$tmp/pattern.png" BMP3:sample.bmp
convert "$tmp/pattern.png" -type Palette -compress RLE BMP3:sample-rle8.rle
convert "$tmp/pattern.png" sample89a.gif
# The same picture with the older signature.
{ printf 'GIF87a'; tail -c +7 sample89a.gif; } > sample87a.gif
# A run-length file of another maker's kind, which no Windows decoder reads.
printf '\x1bGH\x06\x00\x04\x00\x00\x00' > compuserve.rle
# Not a JPEG behind the name.
printf 'JFIF? no: only text' > corrupt.jpg
