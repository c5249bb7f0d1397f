#!/usr/bin/env bash
# The unfinished game survives every way the game can end without the menu:
# a kill -9 just after a move, then SIGTERM, SIGHUP and SIGINT, each followed
# by a start that resumes the game with every ply. A file cut in the middle
# of a move is kept aside and the moves read up to the cut come back.
source "$(dirname "$0")/lib.sh"

WHITE_MOVES=(g1f3 b1c3 d2d3 a2a3 h2h3 c2c3 b2b3 g2g3)

# Every move played in this log so far is the game: the resumed games' moves
# were all played here first.
resume_with_every_ply() {
  launch_and_wait_startup
  screenshot "resume-$1"
  press_key Return
  wait_for_log "Kelvar: PGN loaded " 10
  local loaded
  loaded=$(grep -F "Kelvar: PGN loaded " "$GAME_LOG" | tail -n1 | awk '{ print $4 }')
  ((loaded == $2)) || fail "$1: $loaded plies came back of $2"
  grep -qF "Kelvar: PGN loaded $loaded plies from $KEPT_GAME" "$GAME_LOG" || fail "$1: not resumed from $KEPT_GAME"
}

start_xvfb
launch_and_wait_startup
start_game_as_white
play_white_and_answer e2e4 d2d4
wait_for_log "Kelvar: PGN saved 2 plies to $KEPT_GAME" 10

# kill -9 a tenth of a second after the next move is played (the engine is
# still thinking about its answer).
n=$(count "Kelvar: CGame played ")
click_move white-side "$(first_legal "${WHITE_MOVES[@]}")" $(moves_played)
wait_for_count "Kelvar: CGame played " $((n + 1)) 10
sleep 0.1
kill -9 "$GAME_PID"
wait "$GAME_PID" 2>/dev/null || true
GAME_PID=""
plays_on=$(count "Kelvar: CGame plays on as White")

for signal in TERM HUP INT; do
  resume_with_every_ply "after-$signal" "$(count "Kelvar: CGame played ")"
  # The side the player played comes back with the game: no colour window.
  wait_for_count "Kelvar: CGame plays on as White" $((++plays_on)) 5
  if (($(count "Kelvar: CGame played ") % 2)); then # the engine owes its answer to the move before the kill
    wait_for_count "Kelvar: CGame played " $(($(count "Kelvar: CGame played ") + 1)) 30
  fi
  play_white_and_answer "${WHITE_MOVES[@]}"
  wait_for_log "Kelvar: PGN saved $(count "Kelvar: CGame played ") plies to $KEPT_GAME" 10
  kill -"$signal" "$GAME_PID"
  wait_for_exit 20 || fail "SIG$signal: exit code $?"
  grep -qF "Kelvar: quit on SIG$signal" "$GAME_LOG" || fail "SIG$signal was not taken as a quit"
done
[[ $(count "Kelvar: gl_Exit finished") == 3 ]] || fail "not every signal ended the game in order"
played=$(count "Kelvar: CGame played ")

# Cut in the middle of the last move: only its first letter is left.
text=$(cat "$KEPT_GAME")
body=${text% \*}
last=${body##*[[:space:]]}
printf '%s' "${body%"$last"}${last:0:1}" >"$E2E_TMP/cut"
cp "$E2E_TMP/cut" "$KEPT_GAME"
launch_and_wait_startup
screenshot damaged-offer
grep -qF "Kelvar: CUnfinishedGame damaged $KEPT_GAME" "$GAME_LOG" || fail "the cut file was not found damaged"
aside=$(ls "$KEPT_GAME".broken-* 2>/dev/null | head -n1)
[[ -n "$aside" ]] && cmp -s "$aside" "$E2E_TMP/cut" || fail "the damaged file was not kept aside as it was"
press_key Return
wait_for_log "Kelvar: PGN loaded $((played - 1)) plies from $KEPT_GAME" 10
sleep 0.5
screenshot damaged-resumed
kill -TERM "$GAME_PID"
wait_for_exit 20 || fail "exit code $?"
echo "PASS"
