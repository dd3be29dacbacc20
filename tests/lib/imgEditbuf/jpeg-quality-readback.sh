#!/usr/bin/env bash
# ImageMagick's estimate of the quality of each file SaveJpegTest.EachQualityShapesTheFile wrote under Wine
# (from the file's quantisation tables) must be the quality asked within 2. Prints one line per file and the
# result line the test requires.
set -u
dir=$1
status=0
for q in 1 20 50 75 90 100; do
  file=$dir/q$q.jpg
  read=$(identify -format '%Q' "$file" 2>/dev/null) || { echo "q$q.jpg: not readable"; status=1; continue; }
  sampling=$(identify -format '%[jpeg:sampling-factor]' "$file")
  echo "q$q.jpg: quality $read, sampling $sampling"
  if [ $((read - q)) -gt 2 ] || [ $((q - read)) -gt 2 ] || [ "$sampling" != "2x2,1x1,1x1" ]; then status=1; fi
done
[ $status -eq 0 ] && echo "every quality read back as asked"
exit $status
