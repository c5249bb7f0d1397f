#!/usr/bin/env bash
# The Games window as a player uses it, with the real engine: two players
# mate by typed moves (f3 e5 g4 Qh4#) and a game against the engine is
# resigned after one move (a rated game: the rating falls), so the library
# holds two games; G opens the window, which lists both newest first with the
# rating graph and the score against level 3;
# Delete asks and Enter (Yes) deletes the resigned game; at 800 x 600 the
# window opens again, fitted, and Enter opens the mate on the board.
source "$(dirname "$0")/lib.sh"

TWO_PLAYERS_BUTTON="512 444"
export KELVAR_GAMES_DB="$E2E_DATA/kelvar/games.sqlite" # the test's own library

typed() {
  local n
  for move in "$@"; do
    n=$(count "Kelvar: typed move \"$move\": played")
    xdotool type --window "$WINDOW" --delay 80 "$move"
    press_key Return
    wait_for_count "Kelvar: typed move \"$move\": played" $((n + 1)) 5
  done
}

start_xvfb
launch_until_idle

# Two players, by typed moves: the shortest mate.
press_key ctrl+n
click $TWO_PLAYERS_BUTTON
wait_for_log "Kelvar: CMap::Reset" 10
press_key Tab
typed f3 e5 g4 Qh4
wait_for_log "Kelvar: CGame game over: 0-1 (checkmate)" 5
wait_for_log "Kelvar: games library: kept game 1 (0-1, checkmate, 4 plies)" 5
press_key Escape # out of the move box

# Against the engine as White: one move, then Ctrl+R resigns. The game is
# rated (played to its end, no take back, no hint): the rating falls and the
# banner says by how much.
press_key ctrl+n
press_key Return # WHITE
wait_for_count "Kelvar: CMap::Reset" 2 10
press_key Tab
typed e4
wait_for_count "Kelvar: CGame played " 6 30 # the engine's answer
press_key Escape
press_key ctrl+r
wait_for_log "Kelvar: games library: kept game 2 (0-1, resignation, 2 plies)" 5
grep -qE '^Kelvar: rating 1500\.0 \(RD 350\.0, volatility 0\.1\) -> 1[0-4][0-9]{2}\.[0-9] \(RD [0-9]+\.[0-9], volatility 0\.1\) after 0 against level 3 rated [0-9]+\.[0-9] \(RD [0-9]+\.[0-9]\)$' "$GAME_LOG" ||
  fail "no rating line for the resigned game: $(grep 'Kelvar: rating' "$GAME_LOG")"
sleep 0.5
screenshot rated

press_key g
wait_for_log "Kelvar: games window: 2 games listed in" 5
grep -qE '^Kelvar: games window: 2 games listed in [0-9]+ ms$' "$GAME_LOG" || fail "the window's log line is not as expected"
sleep 0.5
screenshot listed

# Delete asks first; Enter answers Yes. The resigned game (the newest, chosen) goes.
press_key Delete
sleep 0.3
screenshot delete-question
press_key Return
wait_for_log "Kelvar: games window: game 2 deleted" 5
sleep 0.3
screenshot deleted
press_key Escape
sleep 0.3
(cd "$KELVAR_RUN_DIR" && ./kelvar --export-games "$E2E_TMP/left.pgn") >"$E2E_TMP/export.out" 2>&1 ||
  fail "export failed: $(cat "$E2E_TMP/export.out")"
grep -qF "kelvar: 1 games exported" "$E2E_TMP/export.out" || fail "not one game left: $(cat "$E2E_TMP/export.out")"
grep -qF "2. g4 Qh4#" "$E2E_TMP/left.pgn" || fail "the mate is not the game left: $(cat "$E2E_TMP/left.pgn")"

# At the smallest window size the window fits; Enter opens the mate on the board.
xdotool windowsize "$WINDOW" 800 600
wait_for_log "Kelvar: window size 800 x 600" 10
sleep 0.5
press_key g
wait_for_log "Kelvar: games window: 1 games listed in" 5
sleep 0.5
screenshot small
press_key Return
wait_for_log "Kelvar: PGN loaded 4 plies from the games library (game 1)" 5
sleep 1
screenshot opened
close_window
wait_for_exit 20 >/dev/null || true
