#!/usr/bin/env bash
# Whole short games without the mouse, against the real engine: Ctrl+N and
# Enter take White, the board cursor (arrow keys, Space) plays e2-e4 and
# g1-f3, Ctrl+R resigns; then Ctrl+N, Tab, Enter take Black and the cursor
# answers the engine's first move with e7-e5 before Black resigns.
source "$(dirname "$0")/lib.sh"

keys() { local k; for k in "$@"; do press_key "$k"; done; }

start_xvfb
launch_until_idle

keys ctrl+n Return
wait_for_log "Kelvar: CMap::Reset" 10
keys Up space Up Up
sleep 0.3
screenshot cursor
keys space
wait_for_log "Kelvar: CGame played e2e4" 5
wait_for_count "Kelvar: CGame played " 2 30
keys Down Down Down Right Right space Up Up Left space # g1, then f3
wait_for_log "Kelvar: CGame played g1f3" 5
wait_for_count "Kelvar: CGame played " 4 30
keys ctrl+r
wait_for_log "Kelvar: CGame game over: 0-1" 5

keys ctrl+n Tab Return # BLACK
wait_for_count "Kelvar: CMap::Reset" 2 10
wait_for_count "Kelvar: CGame played " 5 30 # the engine opens
keys Up space Up Up space
wait_for_log "Kelvar: CGame played e7e5" 5
wait_for_count "Kelvar: CGame played " 7 30
screenshot black
keys ctrl+r
wait_for_log "Kelvar: CGame game over: 1-0" 5
close_window
wait_for_exit 20 >/dev/null || true
