#!/bin/sh
# Draws the secondary windows' pictures that are not taken from elsewhere, with ImageMagick, and writes the
# files that windows.rc embeds. Run from anywhere: ./resources/windows/make-pictures.sh
set -eu
cd "$(dirname "$0")"

# The sibling-product box's background: white, a soft blue wash at the top and a few light circles at the
# lower right, so the texts stay readable over it. 440 x 320 pixels, the box's size at 96 DPI.
convert -size 440x320 xc:white \
    \( -size 440x90 gradient:'#cfe3ff'-white \) -geometry +0+0 -composite \
    -fill none -stroke '#e4eefb' -strokewidth 10 -draw 'circle 400,300 470,300' \
    -stroke '#edf3fc' -strokewidth 6 -draw 'circle 400,300 520,300' \
    -stroke '#f3f7fd' -strokewidth 4 -draw 'circle 400,300 570,300' \
    +dither -colors 64 -type Palette BMP3:advert.bmp
