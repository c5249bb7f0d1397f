#!/usr/bin/env bash
# Games on the clock, played as a player does. With --time-control 10 the
# player does not move: White's flag falls about ten seconds after the start,
# the game ends 0-1 on time with its banner, and the clock on the table shows
# it. With 1 min + 1 s against the real engine program and Stockfish, the
# engine is told both clocks, answers within its time, and the saved game
# carries the control and the clock after every move (pgn-extract accepts it).
source "$(dirname "$0")/lib.sh"

start_xvfb
launch_and_wait_startup --time-control 10
grep -qF "Kelvar: settings: time control 10 from the command line" "$GAME_LOG" || fail "the time control was not taken"
start_game_as_white
started=$(date +%s.%N)
wait_for_log "Kelvar: CGameClock time control 10" 5
sleep 4
screenshot running
wait_for_log "Kelvar: clock flag fell: white" 15
fell=$(date +%s.%N)
wait_for_log "Kelvar: CGame game over: 0-1 (time forfeit)" 2
grep -A1 -F "Kelvar: clock flag fell: white" "$GAME_LOG" | tail -n1 | grep -qF "Kelvar: CGame game over: 0-1 (time forfeit)" ||
  fail "the game over line does not follow the flag"
awk -v a="$started" -v b="$fell" 'BEGIN { d = b - a; exit !(d > 9.0 && d < 12.0) }' ||
  fail "the flag fell $(awk -v a="$started" -v b="$fell" 'BEGIN { print b - a }') s after the start, not about 10 s"
sleep 1
screenshot flag-fell
close_window
wait_for_exit 20 || fail "exit code $?"

# 1 min + 1 s against the engine: both clocks reach it with every search.
launch_and_wait_startup --time-control 60+1
start_game_as_white
play_white_and_answer e2e4
play_white_and_answer g1f3 d2d4
go=$(grep -F "Kelvar: CCEManager go wtime" "$GAME_LOG" | tail -n1)
[[ "$go" =~ go\ wtime\ ([0-9]+)\ btime\ ([0-9]+)\ winc\ 1000\ binc\ 1000$ ]] || fail "the engine was not told the clock: $go"
((BASH_REMATCH[1] > 55000 && BASH_REMATCH[1] <= 62000 && BASH_REMATCH[2] > 30000)) || fail "implausible clock: $go"
sleep 0.5
screenshot engine-on-clock
press_key ctrl+s
wait_for_log "Kelvar: PGN saved 4 plies to $E2E_DATA/kelvar/games/" 10
saved=$(ls "$E2E_DATA"/kelvar/games/*.pgn | head -n1)
grep -qF '[TimeControl "60+1"]' "$saved" || fail "no TimeControl tag: $(cat "$saved")"
(($(grep -oE '\{\[%clk [0-9]:[0-9]{2}:[0-9]{2}(\.[0-9])?\]\}' "$saved" | wc -l) == 4)) ||
  fail "not one clock comment a move: $(cat "$saved")"
complaints=$(/usr/games/pgn-extract -r -s "$saved" 2>&1 || true)
[[ -z "$complaints" ]] || fail "pgn-extract: $complaints"
close_window
wait_for_exit 20 || fail "exit code $?"
