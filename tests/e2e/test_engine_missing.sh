#!/usr/bin/env bash
# Without a chess engine the game still starts: once with the engine program
# missing from the run folder, once with ABROK_STOCKFISH pointing at a program
# that is no Stockfish. Each time the window opens, a message box says what is
# missing and what to install, and after OK the board can still be played
# (a game started, a move made, the game aborted) and the window closed.
source "$(dirname "$0")/lib.sh"

LOCAL_GAME_X=117 MENU_Y=9 SUB_X_LOCAL=110 ITEM_START_Y=30 ITEM_ABORT_Y=55
WHITE_BUTTON="462 389"

# Starts the game from folder with extra environment, sees the message box,
# closes it and plays; $1 names the screenshots, $2 the folder, the rest is
# the environment.
run_without_engine() {
  local name=$1 folder=$2
  shift 2
  GAME_LOG="$KELVAR_ARTIFACTS/$E2E_NAME-$name.log"
  (cd "$folder" && exec env "$@" stdbuf -oL -eL ./kelvar >"$GAME_LOG" 2>&1) &
  GAME_PID=$!
  wait_for_log "Kelvar: gl_Init finished" 60
  find_window
  wait_for_log "Kelvar: CCEManager engine unavailable (" 30
  wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20 # the splash has gone: the box shows now
  sleep 3
  screenshot "$name-message"
  # The box is a light panel in the middle of the dark scene.
  local middle
  middle=$(region_mean "$KELVAR_ARTIFACTS/$E2E_NAME-$name-message.png" 200 40 412 360)
  awk -v m="$middle" 'BEGIN { exit !(m > 0.5) }' || fail "no message box in the middle of the window ($middle)"
  press_key Return
  sleep 0.5
  screenshot "$name-after-ok"

  # A game can still be started, a move made on the board and the game aborted.
  click $LOCAL_GAME_X $MENU_Y
  click $SUB_X_LOCAL $ITEM_START_Y
  click $WHITE_BUTTON
  wait_for_log "Kelvar: CMap::Reset" 10
  sleep 0.5
  click_move white-side e2e4 # from the side view the game starts with
  wait_for_log "Kelvar: e2e4" 5
  screenshot "$name-moved"
  local moves_in
  moves_in=$(count "Kelvar: CMap::MoveGameTokensIn")
  click $LOCAL_GAME_X $MENU_Y
  click $SUB_X_LOCAL $ITEM_ABORT_Y
  for _ in $(seq 50); do
    (($(count "Kelvar: CMap::MoveGameTokensIn") > moves_in)) && break
    sleep 0.1
  done
  (($(count "Kelvar: CMap::MoveGameTokensIn") > moves_in)) || fail "Abort did not end the game"

  close_window
  local code=0
  wait_for_exit 20 || code=$?
  [[ $code -eq 0 ]] || fail "exit code $code"
}

start_xvfb

# The engine program is missing: a copy of the run folder without it.
bare="$E2E_TMP/run"
cp -r "$KELVAR_RUN_DIR" "$bare"
rm "$bare/Abrok_5_0.exe"
run_without_engine no-program "$bare" KELVAR_NONE=1
grep -qF "Kelvar: CCEManager::Init cannot start $bare/Abrok_5_0.exe: No such file or directory" "$GAME_LOG" ||
  fail "the missing program was not logged"

# Stockfish is a program that ends at once: the engine program says so.
run_without_engine false-stockfish "$KELVAR_RUN_DIR" ABROK_STOCKFISH=/bin/false
grep -qF "Kelvar: CCEManager engine unavailable (the engine at /bin/false" "$GAME_LOG" ||
  fail "the broken Stockfish was not named"
echo "PASS"
