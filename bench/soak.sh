#!/usr/bin/env bash
# soak.sh BRAWLBOX [TICKS]: the demo scene for TICKS game ticks (default
# 1,000,000) headless, and its resident memory: at tick 100,000 (a run of its
# own, the same deterministic ticks) and at the end. Prints one line of JSON;
# exits 1 when the run fails, ends with bodies not finite, or grew by more
# than 1 MB.
set -u
bin=$1
ticks=${2:-1000000}

# Runs the demo for $1 ticks; prints the last resident size seen (kB), then
# the run's summary line.
run() {
  local out rss=0 now
  out=$(mktemp)
  "$bin" --headless --scene demo --ticks "$1" > "$out" &
  local pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    now=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
    [ -n "$now" ] && rss=$now
    sleep 0.1
  done
  wait "$pid" || { echo "the run of $1 ticks failed" >&2; rm -f "$out"; return 1; }
  echo "$rss"
  cat "$out"
  rm -f "$out"
}

early=$(run 100000) || exit 1
start=$(date +%s)
late=$(run "$ticks") || exit 1
seconds=$(( $(date +%s) - start ))
rss_early=$(echo "$early" | head -n 1)
rss_late=$(echo "$late" | head -n 1)
summary=$(echo "$late" | tail -n 1)
finite=$(echo "$summary" | grep -o '"finite":[a-z]*')
echo "{\"ticks\":$ticks,\"seconds\":$seconds,\"rss_kb_at_100000\":$rss_early,\"rss_kb_at_end\":$rss_late,$finite}"
[ "$finite" = '"finite":true' ] || exit 1
[ $(( rss_late - rss_early )) -le 1024 ] || exit 1
