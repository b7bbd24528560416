#!/usr/bin/env bash
# under_xvfb.sh COMMAND...: runs COMMAND on a virtual display, silent.
set -u
if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing (scripts/install-deps installs it)"; exit 1
fi
SDL_AUDIODRIVER=dummy exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
