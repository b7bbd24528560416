#!/usr/bin/env bash
# The real window on a virtual display: 300 ticks at 100 per second take about 3 s.
set -u
bin=$1
if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing (scripts/install-deps installs it)"; exit 1
fi
start=$(date +%s%N)
SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x1024x24" "$bin" --ticks 300
status=$?
ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "exit status $status after $ms ms"
[ "$status" -eq 0 ] || exit 1
# xvfb-run itself takes a moment to start; the game's own part is about 3000 ms.
if [ "$ms" -lt 2900 ] || [ "$ms" -gt 9000 ]; then
  echo "300 ticks should take about 3 s of wall time"; exit 1
fi
