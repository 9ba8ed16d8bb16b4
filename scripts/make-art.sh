#!/usr/bin/env bash
# Builds the manager's pictures into OUTDIR from the Silk icon set (Debian
# package famfamfam-silk): the 16 x 16 strips as 24-bit BMP3 with a 1-bit mask
# each (white = transparent, as ImageList_Add takes it), the About box and
# password dialog pictures, the logo and the program icon.
set -euo pipefail
out=${1:?usage: make-art.sh OUTDIR}
silk=${VT_SILK_DIR:-/usr/share/icons/silk/16x16}
font=${VT_LOGO_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}
im=/usr/bin/convert   # by full path: another "convert" may stand earlier on the PATH
for f in "$silk/folder.png" "$font" "$im" /usr/bin/icotool; do
  [ -e "$f" ] || { echo "make-art.sh: $f is missing; run scripts/setup.sh" >&2; exit 1; }
done
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

white='rgb(255,255,255)'
buttonface='rgb(212,208,200)'

# A folder with a badge shrunk into its lower right corner.
badge() { # base badge-icon result
  "$im" "$1" \( "$silk/$2.png" -resize 10x10 \) -geometry +6+6 -composite "$3"
}
# The folder blended towards white, its outline kept: hidden.
"$im" "$silk/folder.png" -fill white -colorize 55% "$work/hidden.png"
cp "$silk/folder.png" "$work/full.png"
badge "$work/full.png" lock "$work/readonly.png"
badge "$work/full.png" stop "$work/noaccess.png"
badge "$work/hidden.png" lock "$work/hiddenreadonly.png"
badge "$work/hidden.png" stop "$work/hiddennoaccess.png"

# strip NAME BACKGROUND CELL...: NAME.bmp (semi-transparent edges blended on
# BACKGROUND, transparent pixels black) and NAMEmask.bmp.
strip() {
  local name=$1 bg=$2 cells=()
  shift 2
  for c in "$@"; do
    if [ -e "$work/$c.png" ]; then cells+=("$work/$c.png"); else cells+=("$silk/$c.png"); fi
  done
  "$im" "${cells[@]}" -background none +append "$work/$name.png"
  "$im" "$work/$name.png" -alpha extract -threshold 50% "$work/$name-opaque.png"
  "$im" "$work/$name.png" -background "$bg" -alpha remove "$work/$name-opaque.png" \
    -compose multiply -composite -alpha off -type TrueColor "BMP3:$out/$name.bmp"
  "$im" "$work/$name-opaque.png" -negate -alpha off -type bilevel "BMP3:$out/${name}mask.bmp"
}

strip menu "$white" page_white_add folder_page disk disk_multiple cog shield_go shield_delete help
strip folders "$white" full readonly noaccess hidden hiddenreadonly hiddennoaccess bullet_red
strip glyphs "$buttonface" full readonly hidden noaccess add delete pencil arrow_inout \
  page_white_add page_white_edit page_white_delete

# The About box picture: the shield, enlarged without blurring, on the strip colour.
"$im" "$silk/shield.png" -filter point -resize 48x48 -background 'rgb(48,113,184)' -gravity center \
  -extent 64x64 -alpha remove -alpha off -type TrueColor "BMP3:$out/about.bmp"

# The logo: the shield and the product name on light sky blue.
"$im" -size 202x37 'xc:rgb(135,206,250)' \
  \( "$silk/shield.png" -filter point -resize 32x32 \) -geometry +6+3 -composite \
  -font "$font" -pointsize 26 -fill 'rgb(16,52,110)' -gravity west -annotate +46+0 Vantrel \
  -alpha off -type TrueColor "BMP3:$out/logo.bmp"

# The administrator password dialog's picture: the lock, doubled, on the button face.
"$im" "$silk/lock.png" -filter point -resize 32x32 -background "$buttonface" -gravity center \
  -extent 35x47 -alpha remove -alpha off -type TrueColor "BMP3:$out/adminlock.bmp"

# The program icon: the shield at 16, 32 and 48 pixels.
for s in 16 32 48; do
  "$im" "$silk/shield.png" -filter point -resize "${s}x${s}" "PNG32:$work/icon$s.png"
done
/usr/bin/icotool -c -o "$out/vtlock.ico" "$work/icon16.png" "$work/icon32.png" "$work/icon48.png"
