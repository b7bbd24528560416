#!/usr/bin/env bash
# A new player's first game, in the real window: the menu's single-player
# sign, a bout to its result, Escape back to the menu, then "Quit".
set -u
bin=$1; script=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
out=$(bash "$(dirname "$0")/under_xvfb.sh" "$bin" --ticks 4000 \
  --input "$script" --stats --screenshot 250:"$dir/menu.png" --screenshot 700:"$dir/waiting.png" \
  --screenshot 1150:"$dir/result.png" --screenshot 1550:"$dir/menu_again.png")
status=$?
echo "$out"
[ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }
# "Quit" ends the run long before the 4000 ticks.
echo "$out" | grep -Eq '"ticks":1[0-9]{3},' || { echo "the run did not end by Quit"; exit 1; }
for f in menu waiting result menu_again; do
  [ -s "$dir/$f.png" ] || { echo "no screenshot $f.png"; exit 1; }
done
! cmp -s "$dir/menu.png" "$dir/result.png" || { echo "menu and result look the same"; exit 1; }
