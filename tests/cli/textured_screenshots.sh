#!/usr/bin/env bash
# textured_screenshots.sh BIN NO_FONTS_CONF: the surfaces reach the screen.
# A bout's ring floor is patterned, not one flat colour; the menu's signs carry
# their labels: without a font the game still starts, says so, and its signs
# look different.
set -u
bin=$1 no_fonts=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
xvfb="$(dirname "$0")/under_xvfb.sh"
bash "$xvfb" "$bin" --scene bout --ticks 400 --screenshot 400:"$dir/bout.png" || { echo "bout run failed"; exit 1; }
bash "$xvfb" "$bin" --ticks 300 --screenshot 300:"$dir/menu.png" || { echo "menu run failed"; exit 1; }
FONTCONFIG_FILE=$no_fonts bash "$xvfb" "$bin" --ticks 300 --screenshot 300:"$dir/plain.png" \
  2> "$dir/plain.err" || { echo "the game did not start without fonts"; cat "$dir/plain.err"; exit 1; }
grep -q 'slot 8: no font for "Times New Roman"; the menu sign stays plain' "$dir/plain.err" \
  || { echo "no message for the missing font"; cat "$dir/plain.err"; exit 1; }
# The ring floor in the lower middle of the bout view.
spread=$(convert "$dir/bout.png" -crop 400x120+312+620 -colorspace Gray -format '%[fx:int(standard_deviation*1000)]' info:)
echo "ring floor spread $spread/1000"
[ "$spread" -gt 20 ] || { echo "the ring floor is one flat colour"; exit 1; }
# Labels darken the signs: many pixels differ from the signs without them.
changed=$(compare -metric AE -fuzz 15% "$dir/menu.png" "$dir/plain.png" null: 2>&1)
echo "menu pixels changed by the labels: $changed"
[ "${changed%%.*}" -gt 5000 ] || { echo "the labels do not show"; exit 1; }
echo ok
