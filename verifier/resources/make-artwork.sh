#!/usr/bin/env bash
# Redraws the program's pictures with ImageMagick. The PNGs are kept in the repository; run this
# only to change them.
set -euo pipefail
cd "$(dirname "$0")"
im=/usr/bin/convert
[[ -x $im ]] || im=convert

# Help button picture: 12 x 17 yellow question mark outlined in black, as pixel art.
cat > /tmp/tallisk-help.xpm <<'XPM'
/* XPM */
static char *help[] = {
"12 17 3 1",
"  c None",
"# c #000000",
"o c #FFE400",
"   ######   ",
"  #oooooo#  ",
" #oooooooo# ",
"#ooo####ooo#",
"#oo#    #oo#",
"####    #oo#",
"       #ooo#",
"     ##ooo# ",
"    #oooo#  ",
"    #oo##   ",
"    #oo#    ",
"    ####    ",
"            ",
"    ####    ",
"    #oo#    ",
"    #oo#    ",
"    ####    "
};
XPM
"$im" /tmp/tallisk-help.xpm -strip PNG32:help.png
rm -f /tmp/tallisk-help.xpm

# Program icon: 32 x 32, 256 colours. A dark tile with rows of digits ticked off in yellow.
"$im" -size 32x32 xc:none \
    -fill '#404040' -stroke '#101010' -strokewidth 1 -draw 'roundrectangle 1,1 30,30 6,6' \
    -stroke none -fill '#d8d8d8' \
    -draw 'rectangle 6,7 19,8' -draw 'rectangle 6,12 16,13' -draw 'rectangle 6,17 13,18' \
    -draw 'rectangle 6,22 11,23' \
    -fill none -stroke '#000000' -strokewidth 5 -draw 'stroke-linecap round stroke-linejoin round polyline 13,17 18,23 26,8' \
    -stroke '#ffe400' -strokewidth 3 -draw 'stroke-linecap round stroke-linejoin round polyline 13,17 18,23 26,8' \
    -strip -colors 256 PNG8:tallisk.png

# Signature for the help window: 74 x 15, a written name with a flourish, transparent ground.
font=$(fc-match -f '%{file}' 'Z003:style=Medium Italic')
"$im" -size 74x15 xc:none \
    -font "$font" -pointsize 15 -fill '#1a2a78' -annotate +4+11 'Tallisk' \
    -fill none -stroke '#1a2a78' -strokewidth 1 -draw 'bezier 2,13 24,15 50,13 71,3' \
    -strip PNG32:signature.png
