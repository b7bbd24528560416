#!/usr/bin/env bash
# under_xvfb.sh COMMAND...: runs COMMAND on a virtual display of its own and
# exits with COMMAND's status; SDL's dummy sound driver stands in for a card
# unless SDL_AUDIODRIVER names another.
#
# Each run starts its own Xvfb, which picks a free display number itself
# (-displayfd) and admits only holders of a private cookie, so runs side by
# side never meet. A server that fails to start is tried again; only a
# command that ran gives the status.
set -u
if ! command -v Xvfb >/dev/null || ! command -v xauth >/dev/null; then
  echo "Xvfb or xauth is missing (scripts/install-deps installs them)"; exit 1
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/under_xvfb.XXXXXX") || exit 1
server=
stop_server() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    server=
  fi
}
trap 'stop_server; rm -rf "$dir"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
# The server takes every cookie of its file whatever display it names.
: > "$dir/server.auth"
xauth -q -f "$dir/server.auth" add :0 . "$cookie" || exit 1

# Starts a server; true with its display number in $display once it accepts
# clients, false when it died or stayed silent for 30 s.
start_server() {
  : > "$dir/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -auth "$dir/server.auth" \
    3>"$dir/display" </dev/null >"$dir/server.log" 2>&1 &
  server=$!
  for _ in $(seq 300); do
    if grep -q '^[0-9][0-9]*$' "$dir/display" 2>/dev/null; then
      display=$(head -n 1 "$dir/display")
      return 0
    fi
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
  done
  stop_server
  return 1
}

started=0
for attempt in 1 2 3; do
  if start_server; then started=1; break; fi
  echo "under_xvfb.sh: Xvfb did not start (attempt $attempt):" >&2
  tail -n 5 "$dir/server.log" >&2
  sleep "$attempt"
done
[ "$started" = 1 ] || { echo "under_xvfb.sh: no virtual display; giving up" >&2; exit 1; }

: > "$dir/client.auth"
xauth -q -f "$dir/client.auth" add ":$display" . "$cookie" || exit 1
# `make sanitize` names libraries to keep loaded: the GL driver is unloaded
# when the window closes, and LeakSanitizer could not tell whose its leaks are.
if [ -n "${BRAWLBOX_KEEP_LOADED:-}" ]; then
  set -- env LD_PRELOAD="$BRAWLBOX_KEEP_LOADED" "$@"
fi
DISPLAY=":$display" XAUTHORITY="$dir/client.auth" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$@"
