#!/usr/bin/env bash
# render_music.sh BRAWLBOX: the song written as a WAVE file of the asked length.
set -u
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
check() { # file seconds
  local want=$((44 + $2 * 44100 * 4)) size
  size=$(stat -c %s "$1")
  [ "$size" -eq "$want" ] || { echo "$1: $size bytes, expected $want"; exit 1; }
  [ "$(head -c 4 "$1")" = RIFF ] && [ "$(dd if="$1" bs=1 skip=8 count=8 2>/dev/null)" = "WAVEfmt " ] ||
    { echo "$1 is no WAVE file"; exit 1; }
}
"$bin" --render-music "$dir/menu.wav" || exit 1
check "$dir/menu.wav" 30
"$bin" --render-music "$dir/bout.wav" --position 6 --seconds 2 || exit 1
check "$dir/bout.wav" 2
cmp -s <(tail -c +45 "$dir/menu.wav" | head -c 352800) <(tail -c +45 "$dir/bout.wav") &&
  { echo "positions 3 and 6 sound the same"; exit 1; }
echo ok
