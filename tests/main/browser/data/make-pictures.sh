#!/usr/bin/env bash
# Makes the pictures the view tests show, with ImageMagick, and commits them: 60 x 40 in four flat quarters
# (red, green / blue, yellow), as a bitmap and as a one-frame GIF.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 30x20 xc:'#ff0000' -size 30x20 xc:'#00ff00' +append "$tmp/top.png"
convert -size 30x20 xc:'#0000ff' -size 30x20 xc:'#ffff00' +append "$tmp/bottom.png"
convert "$tmp/top.png" "$tmp/bottom.png" -append "$tmp/quarters.png"
convert "$tmp/quarters.png" -type TrueColor BMP3:quarters.bmp
convert "$tmp/quarters.png" quarters.gif
