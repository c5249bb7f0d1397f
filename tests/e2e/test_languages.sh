#!/usr/bin/env bash
# The interface in German and in French at 800 x 600. LANG names a German
# locale that need not be generated on the machine (test machines have none):
# the game still speaks German, as LANGUAGE would make it. Its log says so,
# its menus and the Config window show German text (screenshots for a person
# to look at), and the numbers of its log and settings keep their points. A
# second start with LANGUAGE=fr speaks French; one with LANGUAGE=en English.
E2E_LANG=de_DE.UTF-8
source "$(dirname "$0")/lib.sh"

# The menu bar: each title is its text's width plus 20 pixels wide, from
# x = 0: "Programm" 0..78, "Partie" 80..136 (read off the screenshot).
PARTIE_X=108 MENU_Y=9

mkdir -p "$XDG_CONFIG_HOME/kelvar"
printf '[window]\nwidth = 800\nheight = 600\n[engine]\nthink_ms = 1500\n' >"$XDG_CONFIG_HOME/kelvar/kelvar.ini"
start_xvfb

launch_until_idle
grep -qF "Kelvar: interface language de" "$GAME_LOG" || fail "the log does not name German: $(grep -F 'interface language' "$GAME_LOG")"
screenshot idle-de >/dev/null
click "$PARTIE_X" "$MENU_Y"
screenshot menu-de
press_key Escape
click 400 300 # closes the menu
press_key F2
sleep 1
screenshot config-de
[[ "$(identify -format '%wx%h' "$KELVAR_ARTIFACTS/$E2E_NAME-config-de.png")" == 800x600 ]] || fail "the window is not 800 x 600"
press_key Escape
press_key F1
sleep 1
screenshot help-de
close_window
wait_for_exit 20 >/dev/null || true
# The settings written back keep the C locale's numbers.
grep -qE "^think_ms = 1500$" "$XDG_CONFIG_HOME/kelvar/kelvar.ini" || fail "think_ms changed its form: $(cat "$XDG_CONFIG_HOME/kelvar/kelvar.ini")"

n=$(count "Kelvar: gl_Init finished")
launch_game_with LANGUAGE=fr
wait_for_count "Kelvar: gl_Init finished" $((n + 1)) 60
find_window
grep -qF "Kelvar: interface language fr" "$GAME_LOG" || fail "LANGUAGE=fr did not choose French"
wait_for_count "Kelvar: CMap::MoveGameTokensIn" $((n + 1)) 20
sleep 2
press_key F2
sleep 1
screenshot config-fr
close_window
wait_for_exit 20 >/dev/null || true

n=$(count "Kelvar: gl_Init finished")
launch_game_with LANGUAGE=en
wait_for_count "Kelvar: gl_Init finished" $((n + 1)) 60
[[ "$(grep -F "Kelvar: interface language" "$GAME_LOG" | tail -n1)" == "Kelvar: interface language en" ]] ||
  fail "LANGUAGE=en did not choose English"
find_window
close_window
wait_for_exit 20 >/dev/null || true
echo "PASS ($E2E_NAME)"
