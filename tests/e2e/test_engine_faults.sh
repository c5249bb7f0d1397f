#!/usr/bin/env bash
# A real game against the engine program and Stockfish while they fail, played
# with real clicks: Stockfish killed during the engine's think, the engine
# program killed during a think and between moves, and the engine program
# frozen (SIGSTOP) for longer than the link waits, then let go (SIGCONT).
# After each fault the engine's reply arrives and play goes on; the engine is
# always told exactly the moves played; the window keeps drawing (a log line
# a second counts the frames); nothing of the engine outlives the game.
# Then a second game whose engine (the scripted test engine, driven by the
# engine program through ABROK_ENGINE) answers with an illegal move: it is
# reported, the status line says so, the engine is restarted and asked again,
# and the game goes on.
source "$(dirname "$0")/lib.sh"

LOCAL_GAME_X=117 MENU_Y=9 SUB_X_LOCAL=110 ITEM_START_Y=30
HELP_X=186 SUB_X_HELP=230 ITEM_MOVES_Y=60
WHITE_BUTTON="462 389"
THINK_MS=5000 # at full strength, so that every think takes this long
FROZEN_LIMIT_S=$((THINK_MS / 1000 + 6 + 10)) # think time, the link's grace, and slack


SEEN_PIDS=""
engine_pid() { pgrep -P "$GAME_PID" -x Abrok_5_0.exe | head -n1; }
stockfish_pid() { pgrep -P "$(engine_pid)" -x stockfish | head -n1; }
note_pids() { SEEN_PIDS="$SEEN_PIDS $(engine_pid) $(stockfish_pid || true)"; }

# Clicks a move from White's default side view, after the moves on the
# board (each is played once, whatever the engine went through); once it is
# sent, runs the fault command (if any) while the engine thinks, then waits
# until the engine's reply has been played and its hand-back answered.
play() {
  local move=$1 fault=${2:-} results submitted
  results=$(count "Kelvar: ProcessEngineResult:")
  submitted=$(count "Kelvar: SubmitMove")
  # shellcheck disable=SC2046
  click_move white-side "$move" $(moves_played)
  wait_for_count "Kelvar: SubmitMove" $((submitted + 1)) 5
  if [[ -n "$fault" ]]; then
    sleep 0.05 # inside the think time: the answer takes longer
    note_pids
    $fault
  fi
  wait_for_count "Kelvar: SubmitMove" $((submitted + 2)) $FROZEN_LIMIT_S
  wait_for_count "Kelvar: ProcessEngineResult:" $((results + 2)) $FROZEN_LIMIT_S
  sleep 0.5
}

kill_stockfish() { kill -9 "$(stockfish_pid)"; }
kill_engine() { kill -9 "$(engine_pid)"; }
FROZEN=""
freeze_engine() {
  FROZEN=$(engine_pid)
  kill -STOP "$FROZEN"
  FROZEN_AT=$(grep -c "frames in the last second" "$GAME_LOG" || true)
}

start_xvfb
(cd "$KELVAR_RUN_DIR" && ABROK_THINK_MS=$THINK_MS ABROK_SKILL_LEVEL=20 KELVAR_FRAME_LOG=1 exec stdbuf -oL -eL ./kelvar >"$GAME_LOG" 2>&1) &
GAME_PID=$!
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20
sleep 3
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
click $WHITE_BUTTON
wait_for_log "Kelvar: CMap::Reset" 10
sleep 0.5

# Stockfish killed during the think: the engine program starts it again and
# the front end notices nothing.
play e2e4 kill_stockfish
(($(count "CCEManager engine restarted") == 0)) || fail "the front end restarted for a Stockfish death"

# The engine program killed during the think: the link restarts it.
play g1f3 kill_engine
wait_for_count "CCEManager engine restarted (" 1 5
screenshot restarted

# Killed between moves: noticed at once, the next move is answered.
note_pids
kill_engine
wait_for_count "CCEManager engine restarted (" 2 20
play f1c4

# Frozen during the think for longer than the link waits, then let go.
play a2a3 freeze_engine
wait_for_count "CCEManager engine restarted (" 3 5
kill -CONT "$FROZEN" 2>/dev/null || true
screenshot after-freeze

# The window answered all along: every second of the frozen engine shows the
# loop running (it draws only when the picture can change, so passes count).
frames=$(grep "frames in the last second" "$GAME_LOG" | tail -n +$((FROZEN_AT + 1)) | sed 's/.*loop passes: \([0-9]*\).*/\1/' | tr '\n' ' ')
[[ -n "$frames" ]] || fail "no frame counts were logged while the engine was frozen"
for n in $frames; do ((n >= 5)) || fail "only $n loop passes in a second while the engine was frozen ($frames)"; done
echo "loop passes per second while frozen: $frames"

# Every restart told the engine a prefix of the moves played, and the last
# one all of them up to that point.
played=$(grep -A1 -F "Kelvar: SubmitMove" "$GAME_LOG" | grep -E '^Kelvar: [a-h][1-8][a-h][1-8]q?$' | sed 's/Kelvar: //' | tr '\n' ' ')
(($(wc -w <<<"$played") == 8)) || fail "expected 8 moves played, found: $played"
while read -r told; do
  [[ "$played" == "$told"* ]] || fail "the engine was told '$told', the game is '$played'"
done < <(grep -F "CCEManager engine told: position startpos" "$GAME_LOG" |
  sed -e 's/.*position startpos moves //' -e 's/.*position startpos$//' -e 's/, go$//' -e 's/$/ /')
(($(grep -c "refused by the rules" "$GAME_LOG" || true) == 0)) || fail "an engine move was refused"

click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_MOVES_Y
sleep 0.5
screenshot moves-history

note_pids
close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
sleep 1
for pid in $SEEN_PIDS; do
  [[ -d /proc/$pid ]] && fail "process $pid ($(cat /proc/$pid/comm 2>/dev/null)) outlived the game"
done

# --- An illegal move from the engine ----------------------------------------
GAME_LOG="$KELVAR_ARTIFACTS/$E2E_NAME-illegal.log"
: >"$GAME_LOG"
SCRIPT="$E2E_TMP/engine.script"
# The first engine process answers 1. e4 with a move that is no move; the
# ones started after it play on (each hand-back's answer is a White move).
echo "bestmove e7e4" >"$SCRIPT"
# A data folder of its own: the first game, left unfinished, is not offered.
launch_game_with XDG_DATA_HOME="$E2E_TMP/data-illegal" ABROK_ENGINE="$KELVAR_BINARY_DIR/tests/engine/kelvar_test_engine" KELVAR_TEST_ENGINE_SCRIPT="$SCRIPT"
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: CCEManager setoption name Hash value 32" 30 # its engine has read the script
echo "bestmove e7e5 a2a3 b8c6 a2a3" >"$SCRIPT"
start_game_as_white
sleep 0.5
click_move white-side e2e4
wait_for_log "Kelvar: CCEManager engine fault (illegal move e7e4)" 10
grep -qxF "Kelvar: CCEManager engine fault (illegal move e7e4)" "$GAME_LOG" || fail "the fault line is not exact"
wait_for_log "Kelvar: status line: The engine played an illegal move (e7e4): it was restarted" 5
screenshot illegal-move
wait_for_log "Kelvar: CGame played e7e5" 20
(($(count "CGame played e7e4") == 0)) || fail "the illegal move was played"
wait_for_count "Kelvar: ProcessEngineResult:" 2 10 # the answer and its hand-back; the refused move never came as one
sleep 0.5
# shellcheck disable=SC2046
click_move white-side g1f3 $(moves_played)
wait_for_log "Kelvar: CGame played b8c6" 20
[[ "$(moves_played)" == "e2e4 e7e5 g1f3 b8c6 " ]] || fail "the game went '$(moves_played)'"
(($(count "CCEManager engine unavailable") == 0)) || fail "the engine was given up"
close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
echo "PASS"
