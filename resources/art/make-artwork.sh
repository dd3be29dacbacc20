#!/bin/sh
# Draws the browser's own artwork from scratch with ImageMagick and writes the icons and bitmaps that
# main/Quillview23.rc embeds. Run from anywhere: ./resources/art/make-artwork.sh
set -eu
cd "$(dirname "$0")"
out=../icons
bitmaps=../bitmaps
mkdir -p "$out" "$bitmaps"
font=DejaVu-Sans-Bold
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One icon file from a 32x32 drawing: 32x32 and 16x16 images, 16 colours for the tray, full colour else.
icon() { # name colours draw-args...
    name=$1; colours=$2; shift 2
    convert -size 32x32 xc:none "$@" "$tmp/$name.png"
    if [ "$colours" = 16 ]; then
        convert "$tmp/$name.png" -background none \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) \
            -delete 0 -colors 16 "$out/$name.ico"
    else
        convert "$tmp/$name.png" -background none \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) \
            -delete 0 "$out/$name.ico"
    fi
}

# The program's mark: a framed landscape under a quill stroke.
mark() { # name colours
    icon "$1" "$2" -fill '#1d4f91' -stroke '#0e2a52' -draw 'roundrectangle 1,3 30,28 4,4' \
        -fill '#bfe3ff' -stroke none -draw 'rectangle 4,6 27,25' -fill '#ffd23f' -draw 'circle 21,11 24,11' \
        -fill '#2f8f46' -draw 'polygon 4,25 12,14 18,21 22,17 27,25' \
        -stroke white -strokewidth 2 -draw 'line 6,27 26,2'
}
mark quillview full
mark tray 16

# Display modes and tile: 101 Actual Size, 102 Best Fit, 104 the panel, 105 Tile.
icon actualsize full -fill white -stroke '#333' -draw 'rectangle 3,3 28,28' -fill '#1d4f91' -stroke none \
    -font $font -pointsize 13 -gravity center -annotate +0+0 '1:1'
icon bestfit full -fill white -stroke '#333' -draw 'rectangle 3,3 28,28' -stroke '#1d4f91' -strokewidth 2 \
    -draw 'line 7,7 13,13' -draw 'line 25,25 19,19' -draw 'polyline 7,12 7,7 12,7' -draw 'polyline 20,25 25,25 25,20'
icon panel full -fill '#f3c969' -stroke '#8a6414' -draw 'polygon 2,9 12,9 14,6 29,6 29,26 2,26'
icon tile full -fill '#1d4f91' -stroke white -draw 'rectangle 2,2 15,15' -draw 'rectangle 16,2 29,15' \
    -draw 'rectangle 2,16 15,29' -draw 'rectangle 16,16 29,29'

# The file types, in association order (icons 106-116): a page with a folded corner and its type.
for t in WMF:#7a4fb0 EMF:#9b59b6 EPS:#6b6b6b GIF:#e67e22 JPG:#c0392b PCT:#16a085 PCX:#8e6c3a PNG:#27ae60 \
         TGA:#2c3e50 TIF:#2980b9 BMP:#1d4f91; do
    name=${t%%:*}; colour=${t#*:}
    icon "type-$(echo "$name" | tr A-Z a-z)" full -fill white -stroke '#555' -draw 'polygon 5,1 21,1 27,7 27,30 5,30' \
        -fill '#ddd' -draw 'polygon 21,1 21,7 27,7' -fill "$colour" -stroke none -draw 'rectangle 2,15 29,25' \
        -fill white -font $font -pointsize 9 -gravity center -annotate +0+4 "$name"
done

# Toolbar (icons 117-125): back, forward, home, refresh, folders, full screen, options, help, capture.
icon tb117 full -fill '#1d4f91' -draw 'polygon 4,16 16,5 16,11 28,11 28,21 16,21 16,27'
icon tb118 full -fill '#1d4f91' -draw 'polygon 28,16 16,5 16,11 4,11 4,21 16,21 16,27'
icon tb119 full -fill '#c0392b' -draw 'polygon 3,15 16,3 29,15' -fill '#f5e6c8' -stroke '#8a6414' \
    -draw 'rectangle 7,15 25,28' -fill '#8a6414' -draw 'rectangle 14,20 18,28'
icon tb120 full -fill none -stroke '#27ae60' -strokewidth 4 -draw 'arc 5,5 27,27 20,320' -fill '#27ae60' \
    -stroke none -draw 'polygon 22,2 29,10 20,12'
icon tb121 full -fill '#f3c969' -stroke '#8a6414' -draw 'polygon 2,9 12,9 14,6 29,6 29,26 2,26' \
    -stroke '#8a6414' -draw 'line 6,14 25,14' -draw 'line 6,19 25,19'
icon tb122 full -fill '#222' -stroke '#555' -draw 'rectangle 2,5 29,24' -fill '#bfe3ff' -stroke none \
    -draw 'rectangle 4,7 27,22' -fill '#555' -draw 'rectangle 12,25 19,28'
icon tb123 full -fill '#777' -stroke '#444' -draw 'circle 16,16 16,4' -fill white -draw 'circle 16,16 16,11'
icon tb124 full -fill '#1d4f91' -draw 'circle 16,16 16,2' -fill white -font $font -pointsize 20 -gravity center \
    -annotate +0+0 '?'
icon tb125 full -fill '#444' -draw 'roundrectangle 2,9 29,27 3,3' -draw 'rectangle 10,5 20,9' -fill '#bfe3ff' \
    -draw 'circle 16,18 16,12' -fill '#1d4f91' -draw 'circle 16,18 16,15'

# The panel's caption buttons (126-128: close, refresh, toggle docking), drawn bold to read at 13 x 13, and the
# file buttons (129-132: delete, copy, move, rename).
icon cap126 full -stroke '#222' -strokewidth 6 -draw 'line 7,7 25,25' -draw 'line 25,7 7,25'
icon cap127 full -fill none -stroke '#222' -strokewidth 5 -draw 'arc 5,5 27,27 30,320' -fill '#222' -stroke none \
    -draw 'polygon 19,0 31,9 18,15'
icon cap128 full -fill white -stroke '#222' -strokewidth 2 -draw 'rectangle 2,5 29,26' -fill '#222' \
    -draw 'rectangle 2,5 11,26' -stroke none -fill '#222' -draw 'polygon 14,15 20,9 20,21' -draw 'polygon 28,15 22,9 22,21'
icon fb129 full -fill white -stroke '#555' -draw 'polygon 5,1 19,1 25,7 25,30 5,30' -fill '#ddd' \
    -draw 'polygon 19,1 19,7 25,7' -stroke '#c0392b' -strokewidth 4 -draw 'line 10,12 27,29' -draw 'line 27,12 10,29'
icon fb130 full -fill white -stroke '#555' -draw 'rectangle 2,2 18,22' -draw 'rectangle 12,9 28,29' \
    -stroke '#1d4f91' -draw 'line 15,15 25,15' -draw 'line 15,19 25,19' -draw 'line 15,23 25,23'
icon fb131 full -fill white -stroke '#555' -draw 'polygon 2,1 14,1 19,6 19,28 2,28' -fill '#ddd' \
    -draw 'polygon 14,1 14,6 19,6' -fill '#27ae60' -stroke none -draw 'polygon 12,14 22,14 22,8 31,18 22,28 22,22 12,22'
icon fb132 full -fill white -stroke '#555' -draw 'rectangle 1,9 30,23' -fill '#1d4f91' -stroke none \
    -font $font -pointsize 11 -annotate +4+21 'ab' -stroke '#222' -strokewidth 2 -draw 'line 23,6 23,26' \
    -draw 'line 20,6 26,6' -draw 'line 20,26 26,26'

# The logo (bitmap 102, also the About box's banner, stretched to its width) and the maker's small banner (103).
convert -size 417x118 gradient:'#0e2a52'-'#1d4f91' \
    -fill '#bfe3ff' -draw 'rectangle 16,14 104,104' -fill '#ffd23f' -draw 'circle 80,36 88,36' \
    -fill '#2f8f46' -draw 'polygon 16,104 46,56 70,86 84,70 104,104' \
    -stroke white -strokewidth 4 -draw 'line 24,110 100,8' -stroke none \
    -fill white -font $font -pointsize 44 -annotate +122+66 'Quillview' \
    -fill '#bfe3ff' -pointsize 14 -annotate +124+88 'browse, view and capture pictures' \
    -type TrueColor BMP3:"$bitmaps/logo.bmp"
convert -size 95x20 xc:'#1d4f91' -fill white -font $font -pointsize 11 -gravity center \
    -annotate +0+0 'Vivid Imaging' -type TrueColor BMP3:"$bitmaps/banner.bmp"
