#!/usr/bin/env bash
# A whole game against a second, independent UCI engine (Debian's
# ethereal-chess), named in the settings file: the engine program drives it
# without "go perft" and without strength options. The player's side clicks
# legal moves from White's default side view until the game is over.
source "$(dirname "$0")/lib.sh"

ETHEREAL=/usr/games/ethereal-chess
[[ -x "$ETHEREAL" ]] || fail "$ETHEREAL is missing (Debian package ethereal-chess)"
mkdir -p "$XDG_CONFIG_HOME/kelvar"
printf '[engine]\nlevel = 1\nthink_ms = 500\npath = %s\n' "$ETHEREAL" >"$XDG_CONFIG_HOME/kelvar/kelvar.ini"

LOCAL_GAME_X=117 MENU_Y=9 SUB_X_LOCAL=110 ITEM_START_Y=30
WHITE_BUTTON="462 389"
MAX_MOVES=150 # the player's moves; the engine mates long before

wait_for_count_log() { # text n timeout
  local i
  for i in $(seq $(($3 * 10))); do
    (($(count "$1") >= $2)) && return 0
    sleep 0.1
  done
  return 1
}

start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
grep -qF "Kelvar: settings loaded from $XDG_CONFIG_HOME/kelvar/kelvar.ini" "$GAME_LOG" || fail "settings not loaded"
wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20
sleep 3
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
click $WHITE_BUTTON
wait_for_log "Kelvar: CMap::Reset" 10
sleep 0.5
# The engine program's own child is Ethereal, not Stockfish.
engine_program=$(pgrep -P "$GAME_PID" | head -n1)
[[ "$(ps -o comm= --ppid "$engine_program")" == ethereal-chess ]] || fail "the engine program does not run Ethereal"

# A random legal move for move n, "none" at the end of the game, or nothing.
# A player clicks only what the side view shows: a move whose piece or target
# stands wholly behind a taller piece on the camera's line (a pawn on h4
# behind a king on h3) is passed over for one that another seed picks.
pick_move() {
  local seed move
  for seed in "$1" $(($1 + 1000)) $(($1 + 2000)) $(($1 + 3000)); do
    # shellcheck disable=SC2046
    move=$("$KELVAR_BINARY_DIR/tests/e2e/kelvar_legalmove" "$seed" $(moves_played))
    # shellcheck disable=SC2046
    if [[ "$move" == none || -n "$(move_spots white-side "$move" $(moves_played) 2>/dev/null)" ]]; then
      echo "$move"
      return
    fi
  done
}

for ((n = 1; n <= MAX_MOVES; n++)); do
  move=$(pick_move "$n")
  [[ -n "$move" ]] || fail "no legal move in sight from the side view after: $(moves_played)"
  [[ "$move" == none ]] && break
  submitted=$(count "Kelvar: SubmitMove")
  played_before=$(count "Kelvar: CGame played")
  # shellcheck disable=SC2046
  click_move white-side "$move" $(moves_played)
  # A pawn reaching the last rank opens the promotion window, the queen chosen.
  if [[ "${move:4:1}" == q ]]; then
    sleep 0.3
    press_key Return
  fi
  wait_for_count_log "Kelvar: CGame played" $((played_before + 1)) 5 || fail "move $n ($move) was not played"
  grep -qF "Kelvar: CGame game over:" "$GAME_LOG" && break # the player's move ended the game
  # The engine's answer, then its hand-back; a move that ends the game is
  # announced and not sent, and a mated engine answers "(none)".
  if ! wait_for_count_log "Kelvar: SubmitMove" $((submitted + 2)) 30; then
    grep -qF "Kelvar: CGame game over:" "$GAME_LOG" && break
    grep -qF "Kelvar: bestmove (none)" "$GAME_LOG" && break
    fail "the engine did not answer move $n ($move)"
  fi
  wait_for_count_log "Kelvar: ProcessEngineResult:" $((2 * n)) 30 || fail "the hand-back of move $n was not answered"
  sleep 0.3
  grep -qF "Kelvar: CGame game over:" "$GAME_LOG" && break
  grep -qF "Kelvar: bestmove (none)" "$GAME_LOG" && break
done
screenshot game-over
played=$(moves_played)
echo "moves: $played"
"$KELVAR_BINARY_DIR/tests/e2e/kelvar_legalmove" 0 $played | grep -qx none || fail "the game did not reach its end: $played"
grep -qF "Kelvar: CGame game over:" "$GAME_LOG" || fail "the game did not announce its end"
grep -q "Abrok: .*not legal" "$GAME_LOG" && fail "the engine program refused a move"
echo "PASS"
