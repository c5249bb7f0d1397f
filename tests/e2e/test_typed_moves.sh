#!/usr/bin/env bash
# Typed moves as a player types them, against the real engine: a game started
# as White, Tab into the move box, "e4" and Enter plays e2e4 and the engine
# answers; a text that is not legal is refused with its reason and nothing
# moves; "nf3" plays the knight.
source "$(dirname "$0")/lib.sh"

start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
start_game_as_white

press_key Tab
xdotool type --window "$WINDOW" --delay 80 "e4"
press_key Return
wait_for_log 'Kelvar: typed move "e4": played e2e4' 5
wait_for_count "Kelvar: CGame played " 2 30 # the engine's answer

xdotool type --window "$WINDOW" --delay 80 "Ke3"
press_key Return
wait_for_log 'Kelvar: typed move "Ke3": refused ("Ke3" is not a legal move here)' 5
sleep 0.5
screenshot refused
[[ $(count "Kelvar: CGame played ") -eq 2 ]] || fail "a refused text moved a piece"

press_key ctrl+a
xdotool type --window "$WINDOW" --delay 80 "nf3"
press_key Return
wait_for_log 'Kelvar: typed move "nf3": played g1f3' 5
wait_for_count "Kelvar: CGame played " 4 30
press_key Escape
close_window
wait_for_exit 20 >/dev/null || true
