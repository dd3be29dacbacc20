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

# One icon file from a 32x32 drawing: 32x32 and 16x16 images in 16 colours.
icon() { # name draw-args...
    name=$1; shift
    tmp=$(mktemp -d)
    convert -size 32x32 xc:none "$@" "$tmp/$name.png"
    convert "$tmp/$name.png" -background none \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) \
        -delete 0 -colors 16 "$name.ico"
    rm -rf "$tmp"
}

# The viewer's panel: the pin button, and the window-icon at the panel's top left (a framed picture).
icon pin -fill '#c0392b' -stroke '#6e1f17' -draw 'circle 16,10 16,3' -fill '#e0e0e0' -stroke '#555' \
    -draw 'rectangle 13,16 19,18' -stroke '#333' -strokewidth 2 -draw 'line 16,18 16,30'
icon viewer -fill '#1d4f91' -stroke '#0e2a52' -draw 'roundrectangle 1,4 30,27 3,3' -fill '#bfe3ff' -stroke none \
    -draw 'rectangle 4,7 27,24' -fill '#ffd23f' -draw 'circle 21,11 23,11' \
    -fill '#2f8f46' -draw 'polygon 4,24 11,14 17,20 21,16 27,24'
