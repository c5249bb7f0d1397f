#!/usr/bin/env bash
# The review of a game, as a player uses it, with the real engine program and
# Stockfish: a finished game opened from a file ends in its banner, whose
# Review button opens the review; the analysis runs while the board stays
# usable, marks 3...Nf6 as a blunder and names a better move; the Left key,
# a point of the graph and a row of the move list step through the game on
# the board; Save writes the game with its evaluations and marks
# (pgn-extract accepts it); Close gives the board back to the game.
source "$(dirname "$0")/lib.sh"

REVIEW_BUTTON="512 154" # under the game-over banner (24..134), centred
# The review window, 300 x 620 at the right edge under the menu: its graph
# (280 wide), the move list's fourth row (after 2. Qh5), Save and Close.
WINDOW_LEFT=714 GRAPH_LEFT=724 GRAPH_Y=140 LIST_ROW_3="780 356"
BUTTON_Y=627 SAVE_X=863 CLOSE_X=959

game="$E2E_TMP/scholar.pgn"
printf '[Event "Test"]\n[White "A"]\n[Black "B"]\n[Result "1-0"]\n\n1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0\n' >"$game"

start_xvfb
launch_game "$game"
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: PGN loaded 7 plies from $game" 30
sleep 3 # the fields land
screenshot over

click $REVIEW_BUTTON
wait_for_log "Kelvar: review of the game on the board: 7 plies, 300000 nodes a position" 5
sleep 0.5
screenshot running
wait_for_log "Kelvar: review done 7 plies in" 60
grep -qE '^Kelvar: review done 7 plies in [0-9]+ ms: white accuracy [0-9.]+, black accuracy [0-9.]+; white 0/0/0, black [0-9]+/[0-9]+/[1-9]' \
  "$GAME_LOG" || fail "the review did not find Black's blunder"
sleep 0.5
screenshot reviewed

# One step back: the position after 3...Nf6??, with the better move's arrow.
press_key Left
wait_for_log "Kelvar: review position 6: 3... Nf6?? is a blunder;Better was" 5
grep -qE "review position 6: .*\(arrow [a-h][1-8][a-h][1-8]\)" "$GAME_LOG" || fail "no arrow for the better move"
sleep 1 # the pieces glide back
screenshot blunder

# The graph's second point and the move list's third row.
click $((GRAPH_LEFT + 280 * 2 / 7)) $GRAPH_Y
wait_for_log "Kelvar: review position 2: 1... e5" 5
click $LIST_ROW_3
wait_for_log "Kelvar: review position 3: 2. Qh5" 5

click $SAVE_X $BUTTON_Y
wait_for_log "Kelvar: PGN saved 7 plies to" 5
saved=$(sed -n 's/^Kelvar: PGN saved 7 plies to //p' "$GAME_LOG" | tail -n1)
grep -qE 'Nf6 \$4' "$saved" || fail "the saved game does not mark 3...Nf6: $(cat "$saved")"
grep -qF '[BlackAccuracy "' "$saved" || fail "no BlackAccuracy tag in $saved"
/usr/games/pgn-extract -r -s "$saved" >/dev/null 2>"$E2E_TMP/pgn-extract.err" || fail "pgn-extract refused $saved"
[[ ! -s "$E2E_TMP/pgn-extract.err" ]] || fail "pgn-extract: $(cat "$E2E_TMP/pgn-extract.err")"
press_key Return # the saved-to box

click $CLOSE_X $BUTTON_Y
sleep 1
screenshot closed
close_window
wait_for_exit 20 >/dev/null || true
