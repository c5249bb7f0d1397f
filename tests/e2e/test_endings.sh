#!/usr/bin/env bash
# Games that end, played with real clicks and keys: two players reach a mate,
# then a stalemate from the start position (Ctrl+Z takes the last move back),
# Ctrl+N starts two players again and they repeat a position three times;
# then a game against the real engine takes a move back, ends by Resign from
# the menu, and Start begins a new one. Each ending shows its banner and writes its one log line.
# Screenshots of each stage go to $KELVAR_ARTIFACTS.
source "$(dirname "$0")/lib.sh"

# Positions in the window at 1024 x 768 (the colour window's top-left corner
# is at (412, 334); menu items as the Local Game menu lays them out).
LOCAL_GAME_X=117 MENU_Y=9
SUB_X_LOCAL=110 ITEM_START_Y=30 ITEM_RESIGN_Y=135
WHITE_BUTTON="462 389" TWO_PLAYERS_BUTTON="512 444"

count_exact() { grep -cxF -- "$1" "$GAME_LOG" || true; }

# The moves on the board of the game in play, kept here: a take back and a
# new game change them, which the log's played lines do not tell.
BOARD=()

# Plays each long-algebraic move with two clicks where White's side view (the
# camera the game keeps for both players) draws the piece and its target,
# waits until the game has logged it as played and puts it on BOARD.
play_moves() {
  local move played
  for move in "$@"; do
    played=$(count_exact "Kelvar: CGame played $move")
    click_move white-side "$move" "${BOARD[@]}"
    wait_for_count "Kelvar: CGame played $move" $((played + 1)) 10
    BOARD+=("$move")
  done
}

# The banner's red letters stand in the band below the menu: enough strongly
# red pixels there (the sky and the board have none) means it is shown.
banner_shown() {
  local shot="$KELVAR_ARTIFACTS/$E2E_NAME-$1.png" red
  red=$(convert "$shot" -crop 984x110+20+24 +repage -fx '(r>0.6 && g<0.45 && b<0.5) ? 1 : 0' -format '%[fx:mean]' info:)
  awk -v r="$red" 'BEGIN { exit !(r > 0.005) }'
}

start_two_players() {
  click $TWO_PLAYERS_BUTTON
  wait_for_count "Kelvar: CMap::Reset" "$1" 10
  BOARD=()
  sleep 0.5
}

start_xvfb
launch_until_idle

# Two players: the shortest mate, then (Ctrl+N) the shortest known stalemate
# from the start position.
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
screenshot color-window
start_two_players 1
play_moves f2f3 e7e5 g2g4 d8h4
wait_for_log "Kelvar: CGame game over: 0-1 (checkmate)" 5
sleep 1.5 # the mate tone holds the frame loop for its second
screenshot checkmate
banner_shown checkmate || fail "no banner after the mate"
press_key ctrl+n
sleep 0.5
start_two_players 2
play_moves e2e3 a7a5 d1h5 a8a6 h5a5 h7h5 h2h4 a6h6 a5c7 f7f6 c7d7 e8f7 d7b7 d8d3 b7b8 d3h7 b8c8 f7g6 c8e6
wait_for_log "Kelvar: CGame game over: 1/2-1/2 (stalemate)" 5
sleep 0.5
screenshot stalemate
banner_shown stalemate || fail "no banner after the stalemate"
(($(count "Kelvar: CGame game over:") == 2)) || fail "not one game-over line per game"
(($(count "Kelvar: SubmitMove") == 0)) || fail "a two-player move reached the engine"

# No move after the end; Ctrl+Z takes the stalemating move back.
play_count=$(count "Kelvar: CGame played")
click_move white-side g7g5 "${BOARD[@]}"
sleep 0.5
(($(count "Kelvar: CGame played") == play_count)) || fail "a move was played after the stalemate"
press_key ctrl+z
wait_for_log "Kelvar: CGame take back to ply 18" 5
BOARD=("${BOARD[@]:0:18}")
sleep 0.5
screenshot stalemate-taken-back
banner_shown stalemate-taken-back && fail "the banner stayed after the take back"

# Ctrl+N opens the colour window only when Start could act: not mid-game.
press_key ctrl+n
sleep 0.5
screenshot ctrl-n-mid-game
# Resign the two-player game from the menu, then Ctrl+N starts the next one.
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_RESIGN_Y
wait_for_log "Kelvar: CGame game over: 0-1 (resignation)" 5
press_key ctrl+n
sleep 0.5
screenshot ctrl-n-color-window
start_two_players 3

# Two players: the knights go out and back twice; the start position stands
# for the third time.
play_moves g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8
wait_for_log "Kelvar: CGame game over: 1/2-1/2 (repetition)" 5
sleep 0.5
screenshot repetition
banner_shown repetition || fail "no banner after the repetition"

# Against the real engine: one move and its answer, taken back, another move
# and its answer, then Resign; Start begins anew.
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
click $WHITE_BUTTON
wait_for_count "Kelvar: CMap::Reset" 4 10
BOARD=()
sleep 0.5
play_moves e2e4
wait_for_count "Kelvar: SubmitMove" 2 30          # the engine's reply, handed back
wait_for_count "Kelvar: ProcessEngineResult:" 2 30 # and the hand-back's answer
sleep 0.5
screenshot engine-answered
# Ctrl+Z takes back the engine's answer and the move; the engine, told the
# position, answers a different move from there.
press_key ctrl+z
wait_for_log "Kelvar: CGame take back to ply 0" 5
BOARD=() # the engine's answer went with the move
play_moves d2d4
wait_for_count "Kelvar: SubmitMove" 4 30
wait_for_count "Kelvar: ProcessEngineResult:" 4 30
sleep 0.5
screenshot engine-answered-after-take-back
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_RESIGN_Y
wait_for_log "Kelvar: CGame game over: 0-1 (resignation)" 5
(($(count "Kelvar: CGame game over: 0-1 (resignation)") == 2)) || fail "expected the second resignation line"
sleep 0.5
screenshot resigned
banner_shown resigned || fail "no banner after the resignation"
submitted=$(count "Kelvar: SubmitMove")
sleep 2
(($(count "Kelvar: SubmitMove") == submitted)) || fail "the engine moved after the resignation"

click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
click $WHITE_BUTTON
wait_for_count "Kelvar: CMap::Reset" 5 10
sleep 0.5
screenshot new-game
banner_shown new-game && fail "the banner stayed into the new game"
BOARD=()
play_moves d2d4
wait_for_count "Kelvar: SubmitMove" $((submitted + 2)) 30

close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
echo "PASS"
