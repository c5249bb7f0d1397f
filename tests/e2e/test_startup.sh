#!/usr/bin/env bash
# The game opens its window, shows the board, and closes cleanly when the user
# closes the window.
source "$(dirname "$0")/lib.sh"

start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
sleep 1.5 # a few frames with the splash and the board
screenshot start

# The window shows a picture, not a black or blank frame.
shot="$KELVAR_ARTIFACTS/$E2E_NAME-start.png"
size=$(identify -format '%wx%h' "$shot")
[[ "$size" == "1024x768" ]] || fail "window size is $size, expected 1024x768"
colours=$(convert "$shot" -format '%k' info:)
((colours > 500)) || fail "the window shows only $colours colours"

close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
grep -qF "Kelvar: gl_Exit finished" "$GAME_LOG" || fail "gl_Exit finished was not logged"
for line in "Kelvar: CMap::Init" "Kelvar: CMap::InitGameFields"; do
  grep -qF "$line" "$GAME_LOG" || fail "'$line' was not logged"
done
echo "PASS"
