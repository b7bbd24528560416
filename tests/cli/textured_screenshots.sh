#!/usr/bin/env bash
# textured_screenshots.sh BIN NO_FONTS_CONF: the surfaces reach the screen.
# A bout's surfaces are patterned, not flat colours; the menu's signs carry
# their labels: without a font the game still starts, says so, and its signs
# look different.
set -u
bin=$1 no_fonts=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
xvfb="$(dirname "$0")/under_xvfb.sh"
bash "$xvfb" "$bin" --scene bout --ticks 60 --screenshot 60:"$dir/bout.png" || { echo "bout run failed"; exit 1; }
bash "$xvfb" "$bin" --ticks 120 --screenshot 120:"$dir/menu.png" || { echo "menu run failed"; exit 1; }
FONTCONFIG_FILE=$no_fonts bash "$xvfb" "$bin" --ticks 120 --screenshot 120:"$dir/plain.png" \
  2> "$dir/plain.err" || { echo "the game did not start without fonts"; cat "$dir/plain.err"; exit 1; }
grep -q 'slot 8: no font for "Times New Roman"; the menu sign stays plain' "$dir/plain.err" \
  || { echo "no message for the missing font"; cat "$dir/plain.err"; exit 1; }
# Fine detail below the sky: the mean difference of neighbouring pixels. Flat
# faces differ only at their edges (about 36/10000 for this view); the
# patterned, relief-lit ring, ground and wrestlers about 90.
detail=$(convert "$dir/bout.png" -crop 1024x560+0+208 -colorspace Gray \( +clone -roll +1+0 \) \
  -compose difference -composite -format '%[fx:int(mean*10000)]' info:)
echo "bout detail $detail/10000"
[ "$detail" -gt 60 ] || { echo "the surfaces are flat colours"; exit 1; }
# Labels darken the signs: many pixels differ from the signs without them.
changed=$(compare -metric AE -fuzz 15% "$dir/menu.png" "$dir/plain.png" null: 2>&1)
echo "menu pixels changed by the labels: $changed"
[ "${changed%%.*}" -gt 5000 ] || { echo "the labels do not show"; exit 1; }
echo ok
