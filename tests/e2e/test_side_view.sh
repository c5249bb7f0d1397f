#!/usr/bin/env bash
# A game against the engine program and Stockfish played as a new player
# plays it: from White's default side view, clicking the squares' drawn
# centres, never switching the camera. Screenshots catch a move of each side
# on its way between squares, and the tint of the last move afterwards.
source "$(dirname "$0")/lib.sh"



squares() { "$KELVAR_BINARY_DIR/tests/e2e/kelvar_squarepos" white-side "$@" | grep -E '^[0-9]+ [0-9]+$' | tr '\n' ' '; }

# Brightness of the 12 x 12 pixels around a point of a screenshot.
spot() { region_mean "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png" 12 12 $(($2 - 6)) $(($3 - 6)); }

# Window dumps taken one after another for 1.2 s from now, more than three
# glides, whatever the machine's load: NAME-1.png, NAME-2.png, ...
burst() {
  local name=$1 i=0 end=$(($(date +%s%N) / 1000000 + 1200))
  while (($(date +%s%N) / 1000000 < end)); do
    i=$((i + 1))
    xwd -silent -id "$WINDOW" >"$E2E_TMP/burst-$i.xwd"
  done
  for ((; i > 0; i--)); do
    convert "xwd:$E2E_TMP/burst-$i.xwd" "$KELVAR_ARTIFACTS/$E2E_NAME-$name-$i.png"
  done
}

# Plays from to with two clicks on the squares' drawn centres. The second
# click comes during a burst of dumps (NAME-moving-N: the piece on its
# way), and the engine's reply is caught the moment it is played. Shots:
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
  # The dumps start before the click, so the glide falls among them however
  # long the first one takes.
  burst "$name-moving" &
  local dumping=$!
  sleep 0.05
  xdotool click 1
  wait "$dumping"
  wait_for_count "Kelvar: CGame played" $((played + 1)) 5
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

# The pawn was drawn on its way: in one of the dumps after the click on e4,
# the white pawn's body covers the middle of e3 (bare dark wood once it has
# landed). The brightest dump there is kept as e4-moving.png.
read -r e3x e3y < <(squares e3; echo)
after=$(spot e4-after "$e3x" $((e3y - 8)))
moving=0 best="" dumps=0
for shot in "$KELVAR_ARTIFACTS/$E2E_NAME"-e4-moving-*.png; do
  dumps=$((dumps + 1))
  name=$(basename "$shot" .png)
  value=$(spot "${name#"$E2E_NAME"-}" "$e3x" $((e3y - 8)))
  if awk -v v="$value" -v m="$moving" 'BEGIN { exit !(v > m) }'; then moving=$value best=$shot; fi
done
[[ -n "$best" ]] && cp "$best" "$KELVAR_ARTIFACTS/$E2E_NAME-e4-moving.png"
echo "brightness over e3 while the pawn moves: $moving (best of $dumps dumps), after it has landed: $after"
awk -v m="$moving" -v a="$after" 'BEGIN { exit !(m > a + 0.1) }' || fail "the pawn was not seen between e2 and e4"

# A click during a glide lands on what is drawn. Key 1 sends the camera to
# the top view, gliding for half a second; the click on the pawn's body where
# the side view draws it comes in the glide's first frames, before the camera
# has gone far. Had the click been read from where the camera is heading,
# that point would show other squares and the pawn would not be selected,
# and the click on its target from the top view would play nothing.
move=$(first_legal h2h3 a2a3 g2g3 c2c3 b2b4 d2d3)
read -r fx fy _ _ < <(move_spots white-side "$move" $(moves_played); echo)
read -r _ _ tx ty < <(move_spots white-top "$move" $(moves_played); echo)
[[ -n "$fy" && -n "$ty" ]] || fail "$move: no spot to click from the side or the top view"
played=$(count "Kelvar: CGame played")
xdotool mousemove --window "$WINDOW" "$fx" "$fy"
sleep 0.15
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key --window "$WINDOW" 1 click 1
screenshot glide-click
sleep 1 # the glide has ended
screenshot top-view
click "$tx" "$ty"
wait_for_count "Kelvar: CGame played" $((played + 1)) 5
[[ "$(nth_played $((played + 1)))" == "$move" ]] || fail "${move:0:2} was clicked during the glide, then ${move:2:2}: the game played $(nth_played $((played + 1)))"

close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
echo "PASS"
