#!/usr/bin/env bash
# Promotion as a player makes it, from White's default side view against the
# real engine program and Stockfish: a game opened from a file whose pawn
# stands on b7. The pawn takes the rook on a8 by two clicks where they are
# drawn, the promotion window offers the four pieces, a click takes the
# knight, and the new knight then moves as a knight. Two take-backs bring the
# pawn back; b8 with Right and Enter in the window makes a rook.
source "$(dirname "$0")/lib.sh"

WHITE_BUTTON="462 389" # the colour window's WHITE
# The promotion window (354 x 136) is centred; its buttons, 86 pixels apart,
# hold queen, rook, bishop and knight, each a 64-pixel picture from x = 351
# + 86 i, y = 356, with the piece's name beneath.
PROMOTION_KNIGHT="641 388"
PICTURE_LEFT=351 PICTURE_PITCH=86 PICTURE_TOP=356
FEN="r6k/1P6/8/8/8/8/6PP/6K1 w - - 0 1"

game="$E2E_TMP/promotion.pgn"
printf '[Event "Promotion"]\n[SetUp "1"]\n[FEN "%s"]\n\n*\n' "$FEN" >"$game"

# Clicks the piece and the target of a move where the game draws them
# after the moves on the board: MOVE [ON_BOARD...].
click_fen_move() { click_move --fen "$FEN" white-side "$@"; }

# The engine's reply to the human's move: played, then its turn ends with
# the answer to the hand-back.
await_reply() {
  local played=$1 results=$2
  wait_for_count "Kelvar: CGame played" $((played + 2)) 30
  wait_for_count "Kelvar: ProcessEngineResult:" $((results + 2)) 30
}

start_xvfb
launch_game "$game"
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: PGN loaded 0 plies from $game" 30
sleep 3 # the fields land
click $WHITE_BUTTON
wait_for_log "Kelvar: CGame plays on as White" 5

# b7xa8: the window opens and nothing is played until a piece is chosen.
played=$(count "Kelvar: CGame played") results=$(count "Kelvar: ProcessEngineResult:")
click_fen_move b7a8
sleep 0.5
screenshot choice
# Each button shows a white piece drawn on a dark square's brown: the
# picture's corner is dark brown, its middle (the piece's body) light.
for i in 0 1 2 3; do
  x=$((PICTURE_LEFT + i * PICTURE_PITCH))
  read -r r g b < <(region_rgb "$KELVAR_ARTIFACTS/$E2E_NAME-choice.png" 6 6 $((x + 2)) $((PICTURE_TOP + 2)); echo)
  body=$(region_mean "$KELVAR_ARTIFACTS/$E2E_NAME-choice.png" 6 10 $((x + 29)) $((PICTURE_TOP + 34)))
  echo "picture $i: corner $r $g $b, body brightness $body"
  ((r > g + 20 && g > b + 15 && r < 160)) || fail "picture $i: its corner ($r $g $b) is not the dark square's brown"
  awk -v v="$body" 'BEGIN { exit !(v > 0.6) }' || fail "picture $i: no light piece in its middle ($body)"
done
(($(count "Kelvar: CGame played") == played)) || fail "a move was played before the piece was chosen: $(nth_played $((played + 1)))"
click $PROMOTION_KNIGHT
wait_for_count "Kelvar: CGame played" $((played + 1)) 5
[[ "$(nth_played $((played + 1)))" == "b7a8n" ]] || fail "the knight was chosen, the game played $(nth_played $((played + 1)))"
grep -qxF "Kelvar: b7a8n" "$GAME_LOG" || fail "the engine was not told b7a8n"
await_reply "$played" "$results"
sleep 0.5
screenshot knight

# The new piece is a knight to the rules too: a8-c7 is a knight's move only.
played=$(count "Kelvar: CGame played") results=$(count "Kelvar: ProcessEngineResult:")
reply=$(nth_played "$played") # the engine's answer to the promotion
click_fen_move a8c7 b7a8n "$reply"
wait_for_count "Kelvar: CGame played" $((played + 1)) 5
[[ "$(nth_played $((played + 1)))" == "a8c7" ]] || fail "the knight's move a8c7 was clicked, the game played $(nth_played $((played + 1)))"
await_reply "$played" "$results"

# Two take-backs: the knight is a pawn on b7 again, the rook back on a8.
press_key ctrl+z
wait_for_log "Kelvar: CGame take back to ply 2" 5
press_key ctrl+z
wait_for_log "Kelvar: CGame take back to ply 0" 5
sleep 0.5
screenshot taken-back

# b7-b8, then Right and Enter: the rook, the queen's neighbour in the window.
played=$(count "Kelvar: CGame played")
click_fen_move b7b8
sleep 0.3
press_key Right
press_key Return
wait_for_count "Kelvar: CGame played" $((played + 1)) 5
[[ "$(nth_played $((played + 1)))" == "b7b8r" ]] || fail "the rook was chosen, the game played $(nth_played $((played + 1)))"
wait_for_count "Kelvar: CGame played" $((played + 2)) 30
sleep 0.5
screenshot rook
echo "PASS"
