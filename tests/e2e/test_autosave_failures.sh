#!/usr/bin/env bash
# Two copies of the game with the same home each keep their own unfinished
# game, and both come back at the next starts. Then the data folder fills up and turns
# read-only under a running game: the player is told once, the last good
# file stays as it was, and Quit asks; saving elsewhere lets it go.
source "$(dirname "$0")/lib.sh"

(($(id -u) == 0)) || { echo "SKIP: mounting a small file system needs root"; exit 0; }
PROGRAM_X=35 MENU_Y=9 ITEM_QUIT_Y=55 QUIT_YES_X=463 QUIT_BUTTONS_Y=406

start_xvfb
# Copy A plays 1. c4 by clicks; copy B opens a file of its own.
launch_and_wait_startup
start_game_as_white
play_white_and_answer c2c4
wait_for_log "Kelvar: PGN saved 2 plies to $KEPT_GAME" 10
A_PID=$GAME_PID A_WINDOW=$WINDOW
printf '1. e4 e5 2. Nf3 *\n' >"$E2E_TMP/b.pgn"
launch_game "$E2E_TMP/b.pgn"
wait_for_log "Kelvar: CUnfinishedGame keeps the game in $E2E_DATA/kelvar/autosave-2.pgn" 60
wait_for_log "Kelvar: PGN saved 3 plies to $E2E_DATA/kelvar/autosave-2.pgn" 10
grep -qF "1. c4" "$KEPT_GAME" || fail "copy B wrote over copy A's game: $(cat "$KEPT_GAME")"
kill -TERM "$GAME_PID" "$A_PID"
wait "$GAME_PID" "$A_PID" || fail "a copy did not end cleanly"
GAME_PID=""

# The next starts take the games left behind in turn, the older first.
launch_and_wait_startup
press_key Return
wait_for_log "Kelvar: PGN loaded 2 plies from $KEPT_GAME" 10
kill -TERM "$GAME_PID"
wait_for_exit 20 || fail "exit code $?"
launch_and_wait_startup
screenshot second-game-resume
press_key Return
wait_for_log "Kelvar: PGN loaded 3 plies from $E2E_DATA/kelvar/autosave-2.pgn" 10
kill -TERM "$GAME_PID"
wait_for_exit 20 || fail "exit code $?"

# The folder becomes a small file system holding the games; it fills up.
cp -a "$E2E_DATA/kelvar" "$E2E_TMP/kept"
mount -t tmpfs -o size=256k tmpfs "$E2E_DATA/kelvar"
trap '[[ -n "$GAME_PID" ]] && kill "$GAME_PID" 2>/dev/null; sleep 0.5; umount -l "$E2E_DATA/kelvar" 2>/dev/null || true; cleanup' EXIT
cp -a "$E2E_TMP/kept/." "$E2E_DATA/kelvar/"
export HOME="$E2E_TMP/home"
launch_and_wait_startup
press_key Return
wait_for_log "Kelvar: PGN loaded 2 plies from $KEPT_GAME" 10
good=$(cat "$KEPT_GAME")
dd if=/dev/zero of="$E2E_DATA/kelvar/filler" bs=4k 2>/dev/null || true
play_white_and_answer g1f3 b1c3 d2d3
wait_for_log "Kelvar: CUnfinishedGame autosave failed: cannot write $KEPT_GAME" 10
sleep 0.5
screenshot disk-full
[[ "$(cat "$KEPT_GAME")" == "$good" ]] || fail "the last good file changed"
press_key Return # the message's OK
rm -f "$E2E_DATA/kelvar/filler"
mount -o remount,ro "$E2E_DATA/kelvar" || fail "the folder could not be made read-only"
play_white_and_answer a2a3 h2h3 b2b3
sleep 0.5
[[ $(count "Kelvar: CUnfinishedGame autosave failed") -ge 2 ]] || fail "the read-only folder's failure was not seen"
[[ "$(cat "$KEPT_GAME")" == "$good" ]] || fail "the last good file changed"

# Quit: the game is not kept, so the player is asked. Escape (Cancel) stays;
# N saves it elsewhere (the home folder here), after which Quit ends the game.
click $PROGRAM_X $MENU_Y
click 60 $ITEM_QUIT_Y
click $QUIT_YES_X $QUIT_BUTTONS_Y
sleep 0.5
screenshot quit-asks
press_key Escape
sleep 0.5
kill -0 "$GAME_PID" || fail "Cancel ended the game"
click $PROGRAM_X $MENU_Y
click 60 $ITEM_QUIT_Y
click $QUIT_YES_X $QUIT_BUTTONS_Y
sleep 0.5
press_key n
wait_for_log "Kelvar: PGN saved 6 plies to $HOME/kelvar-unfinished-" 10
press_key Return
click $PROGRAM_X $MENU_Y
click 60 $ITEM_QUIT_Y
click $QUIT_YES_X $QUIT_BUTTONS_Y
wait_for_exit 20 || fail "exit code $?"
echo "PASS"
