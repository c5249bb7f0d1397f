#!/usr/bin/env bash
# A real game against the engine program and Stockfish, played with real
# clicks: start as White from the menu and the colour window, play three moves
# by clicking a piece and then its target square, see each reply arrive on the
# board and in the moves history; then abort, start again as Black and see the
# engine open, then answer it by clicks from Black's side. Screenshots of each
# stage go to $KELVAR_ARTIFACTS.
source "$(dirname "$0")/lib.sh"

# Positions in the window, as the interface lays them out at 1024 x 768 (the
# same as the interface's own end-to-end test reads them off its screenshots).
LOCAL_GAME_X=117 HELP_X=186 MENU_Y=9
SUB_X_LOCAL=110 ITEM_START_Y=30 ITEM_ABORT_Y=55
SUB_X_HELP=230 ITEM_MOVES_Y=60
WHITE_BUTTON="462 389" BLACK_BUTTON="562 389" # colour window (412, 334) + buttons

# Plays one move with two clicks where White's default side view draws the
# piece and its target after the moves on the board, then waits for the
# engine's reply to be played and handed back (two more moves submitted) and
# for the engine's answer to the hand-back (two results fetched). With a
# second argument, a screenshot of that name shows the lit selection.
play() {
  local move=$1 selection_shot=${2:-} results submitted fx fy tx ty
  results=$(count "Kelvar: ProcessEngineResult:")
  submitted=$(count "Kelvar: SubmitMove")
  if [[ -n "$selection_shot" ]]; then
    # shellcheck disable=SC2046
    read -r fx fy tx ty < <(move_spots white-side "$move" $(moves_played); echo)
    [[ -n "$ty" ]] || fail "$move: no spot to click"
    screenshot "before-$selection_shot"
    click "$fx" "$fy"
    screenshot "$selection_shot"
    # The target square lights up: brighter than before the click.
    local before after
    before=$(region_mean "$KELVAR_ARTIFACTS/$E2E_NAME-before-$selection_shot.png" 16 16 $((tx - 8)) $((ty - 8)))
    after=$(region_mean "$KELVAR_ARTIFACTS/$E2E_NAME-$selection_shot.png" 16 16 $((tx - 8)) $((ty - 8)))
    awk -v a="$after" -v b="$before" 'BEGIN { exit !(a > b + 0.05) }' || fail "${move:2:2} did not light up ($before -> $after)"
    click "$tx" "$ty"
  else
    # shellcheck disable=SC2046
    click_move white-side "$move" $(moves_played)
  fi
  wait_for_count "Kelvar: SubmitMove" $((submitted + 1)) 5
  grep -qxF "Kelvar: $move" "$GAME_LOG" || fail "the move $move was not sent"
  wait_for_count "Kelvar: SubmitMove" $((submitted + 2)) 30
  wait_for_count "Kelvar: ProcessEngineResult:" $((results + 2)) 30
  sleep 0.5
}

start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20 # idle after the start-up phase
sleep 3 # the pieces land
screenshot idle

# Local Game > Start, then WHITE.
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
screenshot color-window
click $WHITE_BUTTON
wait_for_log "Kelvar: CMap::Reset" 10
sleep 0.5
screenshot white-started
(($(count "Kelvar: CCEManager::RequestInitialMove") == 0)) || fail "the engine was asked to open for White"

# 1. e4, Nf3 and Bc4, all from White's side view the game starts with.
# Whatever the engine answers, these stay legal.
play e2e4
screenshot after-e2e4
play g1f3 selected-g1
screenshot after-g1f3
play f1c4
screenshot after-f1c4

# The moves history shows the six moves, the engine's included.
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_MOVES_Y
sleep 0.5
screenshot moves-history
(($(count "Kelvar: SubmitMove") == 6)) || fail "expected 6 moves submitted, found $(count "Kelvar: SubmitMove")"

# Abort, then start again as Black: the engine opens.
moves_in=$(count "Kelvar: CMap::MoveGameTokensIn")
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_ABORT_Y
wait_for_count "Kelvar: CMap::MoveGameTokensIn" $((moves_in + 1)) 10
sleep 3
screenshot aborted
results=$(count "Kelvar: ProcessEngineResult:")
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
click $BLACK_BUTTON
wait_for_log "Kelvar: CCEManager::RequestInitialMove" 10
wait_for_count "Kelvar: ProcessEngineResult:" $((results + 2)) 30
sleep 0.5
screenshot black-engine-opened
(($(count "Kelvar: SubmitMove") == 7)) || fail "the engine's opening move was not played"

# The camera stands behind Black now: the player answers e7-e5, clicked where
# Black's default side view draws the pawn and e5, and the engine replies.
played=$(count "Kelvar: CGame played")
opening=$(nth_played "$played")
click_move black-side e7e5 "$opening"
wait_for_count "Kelvar: CGame played" $((played + 1)) 5
[[ "$(nth_played $((played + 1)))" == e7e5 ]] || fail "e7e5 was clicked as Black, the game played $(nth_played $((played + 1)))"
wait_for_count "Kelvar: CGame played" $((played + 2)) 30
sleep 0.5
screenshot black-answered

close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
grep -qF "Kelvar: gl_Exit finished" "$GAME_LOG" || fail "gl_Exit finished was not logged"
echo "PASS"
