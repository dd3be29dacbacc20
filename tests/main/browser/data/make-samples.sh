#!/usr/bin/env bash
# Makes the JPEGs the picture-file tests hand to the window, with ImageMagick, and commits them: a grey
# gradient (ImageMagick writes it as a one-channel JPEG) and a two-colour picture in CMYK, which it writes as
# an Adobe YCCK JPEG with inverted ink. The tests compare with the pixels `convert x.jpg ppm:-` reads.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 16x8 gradient:black-white gray.jpg
convert -size 16x8 xc:'rgb(200,40,60)' -fill 'rgb(30,150,220)' -draw 'rectangle 8,0 15,7' -colorspace CMYK ycck.jpg
