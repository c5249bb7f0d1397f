#!/usr/bin/env bash
# A game against the engine program and Stockfish played as a new player
# plays it: from White's default side view, clicking the squares' drawn
# centres, never switching the camera. Screenshots catch a move of each side
# on its way between squares, and the tint of the last move afterwards.
source "$(dirname "$0")/lib.sh"



squares() { "$KELVAR_BINARY_DIR/tests/e2e/kelvar_squarepos" white-side "$@" | grep -E '^[0-9]+ [0-9]+$' | tr '\n' ' '; }

# Brightness of the 12 x 12 pixels around a point of a screenshot.
spot() { region_mean "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png" 12 12 $(($2 - 6)) $(($3 - 6)); }

# Plays from to with two clicks on the squares' drawn centres. The second
# move is followed within its glide by a screenshot (the piece on its way), and the
# engine's reply is caught the moment it is played. Shots: NAME-moving,
# NAME-engine-moving, NAME-after (the reply's squares tinted).
play() {
  local from=$1 to=$2 name=$3 results submitted played
  results=$(count "Kelvar: ProcessEngineResult:")
  submitted=$(count "Kelvar: SubmitMove")
  played=$(count "Kelvar: CGame played")
  read -r fx fy tx ty < <(squares "$from" "$to"; echo)
  click "$fx" "$fy"
  xdotool mousemove --window "$WINDOW" "$tx" "$ty"
  sleep 0.15
  xdotool click 1
  # The move takes a third of a second on screen from the moment it is
  # played: the shot is taken about halfway.
  wait_for_count "Kelvar: CGame played" $((played + 1)) 5
  sleep 0.12
  screenshot "$name-moving"
  wait_for_count "Kelvar: SubmitMove" $((submitted + 1)) 5
  grep -qxF "Kelvar: $from$to" "$GAME_LOG" || fail "the move $from$to was not sent"
  wait_for_count "Kelvar: ProcessEngineResult:" $((results + 1)) 30
  screenshot "$name-engine-moving"
  wait_for_count "Kelvar: ProcessEngineResult:" $((results + 2)) 30
  sleep 1 # every piece has landed
  screenshot "$name-after"
}

start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
start_game_as_white
sleep 0.5
screenshot start

# The knight's move is the one that once picked the pawn on f2: from this
# view the pawn's box covered the middle of f3.
play e2 e4 e4
play g1 f3 nf3
play f1 c4 bc4
(($(count "Kelvar: SubmitMove") == 6)) || fail "expected 6 moves submitted, found $(count "Kelvar: SubmitMove")"

# The pawn was drawn on its way: right after the click on e4, the white
# pawn's body covers the middle of e3 (bare dark wood once it has landed).
read -r e3x e3y < <(squares e3; echo)
moving=$(spot e4-moving "$e3x" $((e3y - 8)))
after=$(spot e4-after "$e3x" $((e3y - 8)))
echo "brightness over e3 while the pawn moves: $moving, after it has landed: $after"
# A shot that catches the pawn early or late sees only part of its body over
# the spot (0.35 against 0.27 once, 0.79 when it is right over it).
awk -v m="$moving" -v a="$after" 'BEGIN { exit !(m > a + 0.05) }' || fail "the pawn was not seen between e2 and e4"

close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
echo "PASS"
