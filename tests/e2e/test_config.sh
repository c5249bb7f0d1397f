#!/usr/bin/env bash
# The Config window under real clicks: Program > Config... opens it, a new
# level and the time control Blitz 5+3 are chosen and OK applies them (sent
# to the engine, saved; the next game is on that clock). After a
# restart the level is still there: sent again at start-up and named in the
# engine-information box. Then a hint: H on the player's turn tints the two
# squares of the suggested move. "Speak moves", ticked in the same visit,
# makes the game say the pieces on P (in the log, no speech server here).
source "$(dirname "$0")/lib.sh"

HELP_X=186 LOCAL_GAME_X=117 MENU_Y=9
SUB_X_HELP=230 ITEM_ENGINE_Y=85 SUB_X_LOCAL=110 ITEM_START_Y=30
WHITE_BUTTON="462 389"
# The Config window is 440 x 448, centred: its top-left corner is (292, 160).
# The level list drops down below its box (y 192..212); its rows are the
# small font's height plus 4 pixels, 19 in all. The time control's presets
# drop down below theirs (y 338..358) the same way.
LEVEL_BOX="507 202" LEVEL_ROW_X=500 LEVEL_FIRST_ROW_Y=222 LEVEL_ROW_H=19
TIME_BOX="507 348" TIME_FIRST_ROW_Y=368
OK_BUTTON="577 582"
SPEECH_BOX="312 515" # "Speak moves", the last check box (y 506..524)
SETTINGS="$XDG_CONFIG_HOME/kelvar/kelvar.ini"

changed() { # shot1 shot2 W H X Y
  local a b
  a=$(region_mean "$1" "$3" "$4" "$5" "$6")
  b=$(region_mean "$2" "$3" "$4" "$5" "$6")
  awk -v a="$a" -v b="$b" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d > 0.01) }'
}
shot() { echo "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png"; }

start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: settings: no file at $SETTINGS; using the defaults" 5
wait_for_log "Kelvar: CCEManager setoption name Level value 3" 5
wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20
sleep 3
screenshot idle

open_config
screenshot config-window
changed "$(shot idle)" "$(shot config-window)" 400 300 312 239 || fail "the Config window did not open"
click $LEVEL_BOX
sleep 0.3
screenshot level-list
click $LEVEL_ROW_X $((LEVEL_FIRST_ROW_Y + 4 * LEVEL_ROW_H)) # level 5
sleep 0.3
screenshot level-chosen
click $TIME_BOX
sleep 0.3
click $LEVEL_ROW_X $((TIME_FIRST_ROW_Y + 4 * LEVEL_ROW_H)) # Blitz 5+3
sleep 0.3
screenshot time-control-chosen
click $SPEECH_BOX
click $OK_BUTTON
wait_for_log "Kelvar: CCEManager setoption name Level value 5" 5
wait_for_log "Kelvar: settings saved to $SETTINGS" 5
grep -qx "level = 5" "$SETTINGS" || fail "the level was not saved: $(cat "$SETTINGS")"
grep -qx "time_control = 300+3" "$SETTINGS" || fail "the time control was not saved: $(cat "$SETTINGS")"
grep -qx "speech = true" "$SETTINGS" || fail "Speak moves was not saved: $(cat "$SETTINGS")"
screenshot config-closed
changed "$(shot config-window)" "$(shot config-closed)" 400 300 312 239 || fail "OK did not close the Config window"

# A restart keeps the level.
close_window
wait_for_exit 20 || fail "the game did not exit cleanly"
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: settings loaded from $SETTINGS" 5
wait_for_log "Kelvar: CCEManager setoption name Level value 5" 5
wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20
sleep 3
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_ENGINE_Y
sleep 0.5
screenshot engine-info # names the level: "Level: 5 (Strong club)"
press_key Return

# A hint on the player's turn: two squares take the hint's blue.
click $LOCAL_GAME_X $MENU_Y
click $SUB_X_LOCAL $ITEM_START_Y
click $WHITE_BUTTON
wait_for_log "Kelvar: CMap::Reset" 10
wait_for_log "Kelvar: CGameClock time control 300+3 (5 min + 3 s, fischer)" 5 # the game is on the chosen clock
sleep 1
screenshot before-hint
press_key h
wait_for_log "Kelvar: CHint " 10
sleep 0.5
screenshot hint
hint=$(grep -oE "^Kelvar: CHint [a-h][1-8][a-h][1-8]$" "$GAME_LOG" | tail -n1 | cut -d' ' -f3)
[[ -n "$hint" ]] || fail "no hinted move in the log"
read -r tx ty < <(square_spot white-side "${hint:2:2}"; echo)
# The from-square's centre is hidden by its piece: look at the empty target
# square, and at the log for both.
changed "$(shot before-hint)" "$(shot hint)" 10 10 $((tx - 5)) $((ty - 5)) || fail "${hint:2:2} was not tinted"
# The next click clears it.
click 512 700 3
sleep 0.5
screenshot hint-cleared
changed "$(shot hint)" "$(shot hint-cleared)" 10 10 $((tx - 5)) $((ty - 5)) || fail "the right-click did not clear the hint"

# Speech is on since the restart: P says White's pieces, whether or not a
# speech server is there to speak them.
press_key p
wait_for_log 'Kelvar: say "White: king e1, queen d1, rooks a1 and h1, bishops c1 and f1, knights b1 and g1, pawns a2, b2, c2, d2, e2, f2, g2 and h2"' 5
echo "PASS"
