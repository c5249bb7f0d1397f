#!/usr/bin/env bash
# The game's resident memory (VmRSS from /proc/<pid>/status) with each board
# set, idle after the pieces have landed:
#   - started in each set (the set written in the settings file);
#   - in one run that changes the set through the Config window, as a player
#     does, wood > marble > tournament > wood > marble > tournament, read
#     after each change: with only the set in use loaded, the figures stay
#     flat instead of growing with every set seen.
# Uses the end-to-end tests' helpers (virtual screen, launch, clicks); needs
# Xvfb and xdotool. The game's log goes to ARTIFACTS (a scratch folder unless
# set).
#
#   bench/theme_memory.sh [BUILD_DIR]   (default build)
set -euo pipefail

BUILD_DIR=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
export KELVAR_BINARY_DIR=$BUILD_DIR KELVAR_RUN_DIR=$BUILD_DIR/run
export KELVAR_ARTIFACTS=${ARTIFACTS:-$(mktemp -d /tmp/kelvar-theme-memory.XXXXXX)}
source "$(dirname "$0")/../tests/e2e/lib.sh"

SETTLE_S=5
# The board set's list box, its rows and OK in the Config window at
# 1024 x 768 (as tests/e2e/test_themes.sh clicks them).
SET_BOX="507 540" SET_ROW_X=500 SET_FIRST_ROW_Y=560 SET_ROW_H=19 OK_BUTTON="577 582"
SETS=(wood marble tournament)

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status"; }

start_xvfb
echo "started in each set (VmRSS, idle):"
mkdir -p "$XDG_CONFIG_HOME/kelvar"
for set in "${SETS[@]}"; do
  printf '[game]\ntheme = %s\n' "$set" >"$XDG_CONFIG_HOME/kelvar/kelvar.ini"
  n=$(count "Kelvar: theme $set")
  launch_and_wait_startup
  wait_for_count "Kelvar: theme $set" $((n + 1)) 5
  sleep "$SETTLE_S"
  printf '  %-10s %6d kB\n' "$set" "$(rss_kb)"
  close_window
  wait_for_exit 20 || fail "the game did not exit cleanly"
done

echo "one run, the set changed in the Config window (VmRSS after each change):"
printf '[game]\ntheme = wood\n' >"$XDG_CONFIG_HOME/kelvar/kelvar.ini"
launch_and_wait_startup
sleep "$SETTLE_S"
printf '  %-10s %6d kB (start)\n' wood "$(rss_kb)"
for set in marble tournament wood marble tournament; do
  for i in "${!SETS[@]}"; do [[ "${SETS[$i]}" == "$set" ]] && row=$i; done
  n=$(count "Kelvar: theme $set")
  open_config
  click $SET_BOX
  click $SET_ROW_X $((SET_FIRST_ROW_Y + row * SET_ROW_H))
  click $OK_BUTTON
  wait_for_count "Kelvar: theme $set" $((n + 1)) 5
  sleep "$SETTLE_S"
  printf '  %-10s %6d kB\n' "$set" "$(rss_kb)"
done
close_window
wait_for_exit 20 || true
