#!/usr/bin/env bash
# The interface under real clicks and keys: the splash goes away; every menu
# opens; F1 and Escape open and close the help window; the colour window
# starts a game; the moves history, debug, About and engine-information
# windows open where they belong; a camera button moves the camera; the quit
# box's No keeps the game and its Yes ends it. Screenshots of each step go to
# $KELVAR_ARTIFACTS for a person to look at.
source "$(dirname "$0")/lib.sh"

# Menu bar titles: each title is its text's width plus 20 pixels wide, laid
# out from x = 0 ("Program" 0..70, "Local Game" 72..163, "Help" 165..207);
# the bar is 20 pixels high. Read off the screenshots of the open menus.
PROGRAM_X=35 LOCAL_GAME_X=117 HELP_X=186 MENU_Y=9
# Sub-menu rows (y of each item's centre), from the same screenshots: the
# first row starts just below the bar, rows are 15 pixels apart (the small
# font's height) and a separator takes 10.
SUB_X_LOCAL=110 SUB_X_HELP=230
ITEM_START_Y=30 ITEM_QUIT_Y=55
# The quit box's buttons, read off its screenshot.
QUIT_YES_X=463 QUIT_NO_X=558 QUIT_BUTTONS_Y=406
ITEM_DEBUG_Y=30 ITEM_MOVES_Y=60 ITEM_ENGINE_Y=85 ITEM_ABOUT_Y=110

# Mean brightness of a region in two shots differs by more than a little.
# Whether a region of two screenshots differs: more than 1% of its pixels
# changed by more than 10% (a mean brightness can stay the same when the
# picture does not).
changed() { # shot1 shot2 W H X Y
  local differing
  convert "$1" -crop "$3x$4+$5+$6" +repage "$E2E_TMP/changed-a.png"
  convert "$2" -crop "$3x$4+$5+$6" +repage "$E2E_TMP/changed-b.png"
  differing=$(compare -metric AE -fuzz 10% "$E2E_TMP/changed-a.png" "$E2E_TMP/changed-b.png" null: 2>&1 | cut -d' ' -f1 || true)
  [[ "$differing" =~ ^[0-9]+$ ]] || differing=$(($3 * $4))
  ((differing > $3 * $4 / 100))
}
shot() { echo "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png"; }

start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
sleep 1
screenshot splash # drawn over the whole interface while the program starts
sleep 6 # the rest of the five-second splash, then the board falls into place
screenshot idle
changed "$(shot splash)" "$(shot idle)" 512 128 256 320 || fail "the splash did not go away"

# The three menus, one after the other; a click beside a menu closes it.
click $PROGRAM_X $MENU_Y
screenshot menu-program
click 600 500
click $LOCAL_GAME_X $MENU_Y
screenshot menu-local-game
click 600 500
click $HELP_X $MENU_Y
screenshot menu-help
click 600 500
changed "$(shot idle)" "$(shot menu-program)" 100 60 0 18 || fail "the Program menu did not open"
changed "$(shot idle)" "$(shot menu-local-game)" 100 90 50 18 || fail "the Local Game menu did not open"
changed "$(shot idle)" "$(shot menu-help)" 150 140 110 18 || fail "the Help menu did not open"

# F1 opens the help window over the middle half of the screen, Escape closes it.
screenshot before-help
press_key F1
screenshot help
press_key Escape
screenshot help-closed
changed "$(shot before-help)" "$(shot help)" 500 660 262 55 || fail "F1 did not open the help window"
changed "$(shot help)" "$(shot help-closed)" 500 660 262 55 || fail "Escape did not close the help window"

# Local Game > Start opens the colour window; WHITE starts the game.
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
screenshot color-window
click 462 389 # centre of WHITE: window (412, 334) + button (10, 30, 90, 80)
sleep 1
screenshot game-started
changed "$(shot color-window)" "$(shot game-started)" 190 90 417 339 || fail "the colour window did not close"

# Play e2-e4 from White's side view, as the game starts, so that the
# history has something in it.
click_move white-side e2e4
wait_for_log "Kelvar: CGame played e2e4" 5
sleep 4 # the engine's answer
screenshot after-move

# Help > Moves History Window: a column near the top-right corner.
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_MOVES_Y
screenshot moves-window
changed "$(shot after-move)" "$(shot moves-window)" 70 190 944 30 || fail "the moves history window did not open"

# Help > Debug Window: the live values at the top left.
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_DEBUG_Y
sleep 0.5
screenshot debug-window
changed "$(shot moves-window)" "$(shot debug-window)" 200 250 25 45 || fail "the debug window did not open"

# Help > About...: a modal box, left through its OK button.
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_ABOUT_Y
screenshot about
press_key Return
screenshot about-closed

# Help > Chessengine Info...
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_ENGINE_Y
screenshot engine-info
press_key Return
screenshot engine-info-closed
changed "$(shot about)" "$(shot about-closed)" 300 120 362 320 || fail "the About box did not open and close"
changed "$(shot engine-info)" "$(shot engine-info-closed)" 300 120 362 320 ||
  fail "the engine information box did not open and close"

# The fourth camera button puts the camera behind Black, seen from the side.
screenshot before-camera
click 135 746
sleep 0.5
screenshot camera-black-side
changed "$(shot before-camera)" "$(shot camera-black-side)" 600 400 212 200 || fail "the camera did not move"

# Program > Quit Program asks first: No leaves everything as it was, Yes
# ends the program.
click $PROGRAM_X $MENU_Y
click 60 $ITEM_QUIT_Y
screenshot quit-box
click $QUIT_NO_X $QUIT_BUTTONS_Y
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "No in the quit box ended the game"
screenshot quit-no
changed "$(shot quit-box)" "$(shot quit-no)" 290 100 366 334 || fail "No did not close the quit box"
click $PROGRAM_X $MENU_Y
click 60 $ITEM_QUIT_Y
click $QUIT_YES_X $QUIT_BUTTONS_Y
wait_for_exit 20 || fail "the game did not exit cleanly"
grep -qF "Kelvar: gl_Exit finished" "$GAME_LOG" || fail "gl_Exit finished was not logged"
echo "PASS"
