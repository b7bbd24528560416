#!/usr/bin/env bash
# sound_bout.sh BRAWLBOX AUDIO_CHECK INPUT: a bout played through SDL's disk
# audio driver holds the bout music with the effects on top, neither silent
# nor clipped for long; the same bout with --no-sound writes no sound and the
# same trace.
set -u
bin=$1; check=$2; input=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
run() { # sound file, trace file, extra options
  local raw=$1 trace=$2; shift 2
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw bash "$(dirname "$0")/under_xvfb.sh" \
    "$bin" --scene bout --ticks 1500 --input "$input" --lights 1 --no-shadows \
    --trace "$trace" "$@" >/dev/null 2>"$dir/err" || { cat "$dir/err"; echo "run failed"; exit 1; }
}
run "$dir/out.raw" "$dir/a.jsonl"
run "$dir/none.raw" "$dir/b.jsonl" --no-sound
[ -e "$dir/none.raw" ] && { echo "--no-sound wrote sound"; exit 1; }
cmp "$dir/a.jsonl" "$dir/b.jsonl" || { echo "the traces with and without sound differ"; exit 1; }
"$bin" --render-music "$dir/music.wav" --position 6 --seconds 20 || exit 1
json=$("$check" "$dir/out.raw" "$dir/music.wav") || exit 1
echo "$json"
num() { echo "$json" | sed -E "s/.*\"$1\":([0-9.]+).*/\1/"; }
awk -v s="$(num seconds)" -v sw="$(num silent_windows)" -v w="$(num windows)" \
    -v c="$(num longest_clip_ms)" -v e="$(num effect_windows)" 'BEGIN {
  if (s < 10) { print "only " s " s of sound for 15 s of game"; exit 1 }
  if (sw > w / 10) { print sw " of " w " windows of 50 ms are silent"; exit 1 }
  if (c > 5) { print "clipped for " c " ms at a stretch"; exit 1 }
  if (e < 5) { print "effects heard in only " e " windows"; exit 1 }
}' || exit 1
echo ok
