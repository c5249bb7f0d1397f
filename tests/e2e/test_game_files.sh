#!/usr/bin/env bash
# Games as files, played as a player does: start the game with a PGN file on
# the command line, see its position and moves history, choose White in the
# colour window that follows and play on, save with Ctrl+S (pgn-extract
# accepts the file), open the saved file again through Ctrl+O's file dialog
# and choose Black, so the engine moves first from the loaded position; close
# the window mid-game, start again, answer the resume question with Enter and
# find the same game.
source "$(dirname "$0")/lib.sh"

HELP_X=186 MENU_Y=9 SUB_X_HELP=230 ITEM_MOVES_Y=60
WHITE_BUTTON="462 389" BLACK_BUTTON="562 389" # colour window (412, 334) + buttons
# Irrlicht's file dialog, 350 x 250 in the middle of the 1024 x 768 window:
# the file list's first row (the parent folder, "..") and the OK button.
DIALOG_FIRST_ROW="420 324" DIALOG_OK="642 299"

game="$E2E_TMP/italian.pgn"
printf '[Event "Club"]\n[White "A"]\n[Black "B"]\n\n1. e4 e5 {main line} (1... c5 $1) 2. Nf3 Nc6 *\n' >"$game"
LOADED=(e2e4 e7e5 g1f3 b8c6) # the file's moves: on the board, not played in the log

start_xvfb
launch_game "$game"
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: PGN loaded 4 plies from $game" 30
sleep 3 # the fields land
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_MOVES_Y
sleep 0.5
screenshot opened

# The colour window asks for a side; White is the side to move.
click $WHITE_BUTTON
wait_for_log "Kelvar: CGame plays on as White" 5

# Play on: Bc4, clicked from White's side view on the loaded position; the
# engine answers.
submitted=$(count "Kelvar: SubmitMove")
click_move white-side f1c4 "${LOADED[@]}"
wait_for_count "Kelvar: SubmitMove" $((submitted + 1)) 5
grep -qxF "Kelvar: f1c4" "$GAME_LOG" || fail "the move f1c4 was not sent"
wait_for_count "Kelvar: SubmitMove" $((submitted + 2)) 30 # the engine's reply, played and handed back
wait_for_count "Kelvar: ProcessEngineResult:" 2 30
sleep 0.5
screenshot played-on

# Ctrl+S saves into the games folder; an independent reader accepts the file.
press_key ctrl+s
wait_for_log "Kelvar: PGN saved 6 plies to $E2E_DATA/kelvar/games/" 10
saved=$(ls "$E2E_DATA"/kelvar/games/*.pgn | head -n1)
[[ -f "$saved" ]] || fail "no saved game in $E2E_DATA/kelvar/games"
grep -qF "3. Bc4" "$saved" || fail "the saved game lacks 3. Bc4: $(cat "$saved")"
# The file's own tags and comment are kept.
for kept in '[Event "Club"]' '[White "A"]' '{main line}'; do
  grep -qF "$kept" "$saved" || fail "the saved game lost $kept: $(cat "$saved")"
done
# The opening is named: 3. Bc4 is an Italian game (C50-C59), whatever the engine answered.
grep -qE '^\[ECO "C5[0-9]"\]$' "$saved" || fail "the saved game has no opening: $(cat "$saved")"
complaints=$(/usr/games/pgn-extract -r -s "$saved" 2>&1 || true)
[[ -z "$complaints" ]] || fail "pgn-extract: $complaints"
sleep 0.5
screenshot saved
cp "$saved" "$KELVAR_ARTIFACTS/$E2E_NAME-saved.pgn"
press_key Return # the message box's OK

# Ctrl+O: the file dialog lists the games folder. Click its first row, End
# picks the last one (the saved game; folders come first), OK opens it.
press_key ctrl+o
sleep 1
screenshot load-dialog
click $DIALOG_FIRST_ROW
press_key End
sleep 0.3
screenshot load-dialog-chosen
click $DIALOG_OK
wait_for_log "Kelvar: PGN loaded 6 plies from $saved" 10
sleep 1
screenshot loaded

# Black is not to move: the engine opens from the loaded position.
engine_moves=$(count "Kelvar: ProcessEngineResult:")
handed_back=$(count "Kelvar: SubmitMove")
click $BLACK_BUTTON
wait_for_log "Kelvar: CGame plays on as Black" 5
wait_for_count "Kelvar: ProcessEngineResult:" $((engine_moves + 1)) 30
wait_for_count "Kelvar: SubmitMove" $((handed_back + 1)) 5 # its move, handed back
# The move is played through our rules in the loaded position; one that does not fit there is refused with this line.
grep -qF "Kelvar: CGame the engine has no move" "$GAME_LOG" && fail "the engine's move did not fit the loaded game"
wait_for_count "Kelvar: ProcessEngineResult:" $((engine_moves + 2)) 30 # the hand-back's answer
sleep 0.5
screenshot engine-opened

# Closing the window mid-game keeps the game for the next start.
close_window
wait_for_exit 20 || fail "exit code $?"
grep -qF "Kelvar: PGN saved 7 plies to $E2E_DATA/kelvar/autosave.pgn" "$GAME_LOG" || fail "no autosave at exit"

launch_game
wait_for_count "Kelvar: gl_Init finished" 2 60
find_window
wait_for_count "Kelvar: CMap::MoveGameTokensIn" 2 20 # the start-up phase is over: the question is up
sleep 1
screenshot resume-question
press_key Return
wait_for_log "Kelvar: PGN loaded 7 plies from $E2E_DATA/kelvar/autosave.pgn" 10
sleep 3
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_MOVES_Y
sleep 0.5
screenshot resumed
# The game comes back with the side it was played from: Black, no colour window.
wait_for_count "Kelvar: CGame plays on as Black" 2 5

close_window
wait_for_exit 20 || fail "exit code $?"
echo "PASS"
