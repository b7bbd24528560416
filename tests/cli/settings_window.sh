#!/usr/bin/env bash
# settings_window.sh CASE BRAWLBOX SEND_CLOSE: the settings window shown before
# the game, used as a person would, with xdotool on a virtual display.
#   play_click     the defaults, "PLAY GAME" clicked: the game has 4 lights
#   keys_kept      "12 Lights" and "SOUND OFF" by keys, Enter; the next start
#                  shows them preselected
#   quit_and_close "QUIT" clicked, and the close box: status 0, nothing saved
set -u
case_name=$1; bin=$2; send_close=$3
if [ -z "${SETTINGS_UNDER_XVFB:-}" ]; then
  for tool in xdotool import identify; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps installs it)"; exit 1; }
  done
  SETTINGS_UNDER_XVFB=1 exec bash "$(dirname "$0")/under_xvfb.sh" bash "$0" "$@"
fi

dir=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$dir"' EXIT
pid=
# Never the real player's settings.
export XDG_CONFIG_HOME=$dir/config
settings=$XDG_CONFIG_HOME/brawlbox/settings.ini

fail() { echo "$*"; [ -f "$dir/out.txt" ] && cat "$dir/out.txt"; exit 1; }

# The id of the visible window with this exact title, waiting up to 60 s.
find_window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

start_game() {
  "$bin" --trace "$dir/trace.jsonl" >"$dir/out.txt" 2>&1 &
  pid=$!
  settings_id=$(find_window Settings) || fail "no settings window appeared"
  # Let it draw its first frames.
  sleep 1
}

# Waits up to 60 s for the game to end; its exit status in $status.
wait_exit() {
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$pid" 2>/dev/null && fail "the program did not end"
  wait "$pid"; status=$?
  pid=
}

click() { # window x y
  xdotool mousemove --window "$1" "$2" "$3"; sleep 0.3; xdotool click 1
}

# The game's window is open with the chosen detail: Escape in the menu ends it.
play_and_quit_from_the_menu() { # expected light count
  local game
  game=$(find_window Brawlbox) || fail "the game window did not open"
  xdotool mousemove --window "$game" 50 50
  sleep 2
  xdotool key Escape
  wait_exit
  [ "$status" -eq 0 ] || fail "the game ended with status $status"
  grep -q "\"light_count\":$1," "$dir/trace.jsonl" || fail "the game did not run with $1 lights"
}

expect_saved() { # detail sound
  grep -qx "detail = $1" "$settings" && grep -qx "sound = $2" "$settings" ||
    fail "saved settings are not detail $1, sound $2: $(cat "$settings" 2>&1)"
}

case $case_name in
play_click)
  start_game
  # Text in dark pixels on the light background, so the lists and buttons
  # show (a window not yet drawn is all black or all background); a busy
  # machine may take a while to draw the first frame.
  for _ in $(seq 20); do
    import -window "$settings_id" "$dir/settings.png" || fail "no screenshot of the settings window"
    dark=$(convert "$dir/settings.png" -colorspace Gray -threshold 40% \
      -format '%[fx:int((1-mean)*w*h)]' info:)
    [ "$dark" -gt 1000 ] && [ "$dark" -lt 30000 ] && break
    sleep 0.5
  done
  [ "$(identify -format '%w %h' "$dir/settings.png")" = "600 300" ] || fail "the window is not 600 by 300"
  [ "$dark" -gt 1000 ] && [ "$dark" -lt 30000 ] ||
    fail "the settings window does not show its lists and buttons ($dark dark pixels)"
  click "$settings_id" 120 270 # "PLAY GAME"
  play_and_quit_from_the_menu 4
  expect_saved 2 1
  ;;
keys_kept)
  start_game
  xdotool mousemove --window "$settings_id" 300 200
  # From the mode list: Tab to the detail list, Down to "12 Lights", Tab to
  # the sound list, Up to "SOUND OFF", Enter plays.
  for k in Tab Down Tab Up Return; do xdotool key "$k"; sleep 0.2; done
  play_and_quit_from_the_menu 12
  expect_saved 3 0
  rm -f "$dir/trace.jsonl"
  start_game
  xdotool mousemove --window "$settings_id" 300 200
  xdotool key Return
  play_and_quit_from_the_menu 12
  expect_saved 3 0
  ;;
quit_and_close)
  start_game
  click "$settings_id" 30 270 # "QUIT"
  wait_exit
  [ "$status" -eq 0 ] || fail "QUIT ended the program with status $status"
  start_game
  "$send_close" "$settings_id" || fail "send_close failed"
  wait_exit
  [ "$status" -eq 0 ] || fail "the close box ended the program with status $status"
  [ ! -e "$settings" ] || fail "quitting saved the settings"
  [ ! -e "$dir/trace.jsonl" ] || fail "the game started after quitting"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "ok"
