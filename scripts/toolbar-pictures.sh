#!/usr/bin/env bash
# Draws the tool bar's pictures at 30, 36 and 48 pixels (125, 150 and 200 %)
# into res/ from the shapes below, given on the 24-pixel grid of the
# hand-drawn 24-pixel pictures beside them. Run it after changing a shape
# and commit the bitmaps: the program only loads them.
# Needs ImageMagick's convert (scripts/deps.sh installs it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
command -v convert >/dev/null || { echo "toolbar-pictures: convert is missing" >&2; exit 1; }

folder='fill #FFE080 stroke #806000 stroke-width 1
  path "M 2.5,20.5 L 2.5,7.5 L 8.5,7.5 L 10.5,9.5 L 18.5,9.5 L 18.5,20.5 Z"
  fill #E8C050 stroke none rectangle 3,10 18,12'
declare -A shapes=(
  [newfolder]="$folder
  fill #CC0000 stroke none rectangle 15.5,0.5 18.5,9.5 rectangle 12.5,3.5 21.5,6.5"
  [rename]='fill white stroke #505050 stroke-width 1 rectangle 1.5,6.5 17.5,17.5
  fill #000080 stroke none rectangle 3.5,9.5 12,14.5
  stroke black stroke-width 1.2 fill none line 14,2.5 14,20.5 line 11.5,2.5 16.5,2.5 line 11.5,20.5 16.5,20.5'
  [delete]='stroke #CC0000 stroke-width 3.6 stroke-linecap round line 5.5,5.5 18.5,18.5 line 18.5,5.5 5.5,18.5'
  [folderup]="$folder
  fill #008000 stroke #004000 stroke-width 1
  path 'M 17.5,0.5 L 23.5,7 L 20.5,7 L 20.5,14.5 L 14.5,14.5 L 14.5,7 L 11.5,7 Z'"
)
for name in "${!shapes[@]}"; do
  for size in 30 36 48; do
    scale=$(echo "scale=4; $size / 24" | bc)
    convert -size "${size}x${size}" xc:'#C0C0C0' \
            -draw "scale $scale,$scale ${shapes[$name]//$'\n'/ }" \
            -type TrueColor -define bmp:format=bmp3 -compress none "BMP3:$root/res/$name-$size.bmp"
  done
done
ls -l "$root"/res/*-??.bmp
