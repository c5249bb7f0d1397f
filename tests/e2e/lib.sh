# Helpers for the end-to-end tests: a virtual screen, the real game in its run
# folder, its log, real clicks and key presses, and screenshots.
# Expects KELVAR_RUN_DIR, KELVAR_ARTIFACTS and KELVAR_BINARY_DIR (set by CTest).
set -euo pipefail

: "${KELVAR_RUN_DIR:?}" "${KELVAR_ARTIFACTS:?}" "${KELVAR_BINARY_DIR:?}"
mkdir -p "$KELVAR_ARTIFACTS"
E2E_NAME=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
E2E_TMP=$(mktemp -d /tmp/kelvar-e2e.XXXXXX)
GAME_LOG="$KELVAR_ARTIFACTS/$E2E_NAME.log"
: >"$GAME_LOG" # launches append, so one test may start the game twice
# The game keeps its settings and its games here, never in the home of
# whoever runs the tests: every launch, also a test's own, inherits these.
export XDG_CONFIG_HOME="$E2E_TMP/config"
export XDG_DATA_HOME="$E2E_TMP/data"
# The game speaks English unless a test asks for a language by E2E_LANG (a
# locale name, as LANG holds one): the menu places clicked and the texts
# read are the English ones.
if [[ -n "${E2E_LANG:-}" ]]; then
  unset LANGUAGE LC_ALL LC_MESSAGES
  export LANG="$E2E_LANG"
else
  export LANGUAGE=en LC_ALL=C.UTF-8
fi
XVFB_PID="" GAME_PID="" WINDOW=""

fail() { echo "FAIL ($E2E_NAME): $*" >&2; [[ -f "$GAME_LOG" ]] && tail -n 30 "$GAME_LOG" >&2; exit 1; }

cleanup() {
  [[ -n "$GAME_PID" ]] && kill "$GAME_PID" 2>/dev/null || true
  [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap cleanup EXIT

# Starts Xvfb on a display it picks itself (-displayfd), so that tests run at
# the same time never share a screen; a 24-bit screen (32 is refused, 8 has no GLX).
# No reset when the last client leaves: the game may close its first window
# and open another at once.
start_xvfb() {
  local display_file="$E2E_TMP/display" n=""
  Xvfb -displayfd 3 -noreset -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$display_file" >"$E2E_TMP/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    n=$(tr -dc '0-9' <"$display_file" 2>/dev/null || true)
    [[ -n "$n" ]] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  [[ -n "$n" ]] || fail "no Xvfb display could be started"
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "Xvfb :$n does not answer"
}

# Starts the game inside the run folder (it reads everything relative to it),
# with any arguments given. Saved games go to the test's own data folder
# ($E2E_DATA), never to the real home.
E2E_DATA="$E2E_TMP/data"
launch_game() {
  (cd "$KELVAR_RUN_DIR" && XDG_DATA_HOME="$E2E_DATA" exec stdbuf -oL -eL ./kelvar "$@" >>"$GAME_LOG" 2>&1) &
  GAME_PID=$!
}

# Waits until the game's log holds the text (fixed string), up to $2 seconds.
wait_for_log() {
  local text=$1 timeout=${2:-30} i
  for i in $(seq $((timeout * 10))); do
    grep -qF -- "$text" "$GAME_LOG" 2>/dev/null && return 0
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$text'"
    sleep 0.1
  done
  fail "'$text' did not appear in the log within ${timeout}s"
}

find_window() {
  local i
  for i in $(seq 100); do
    WINDOW=$(xdotool search --name '^Kelvar$' 2>/dev/null | head -n1 || true)
    [[ -n "$WINDOW" ]] && return 0
    sleep 0.1
  done
  fail "the game window did not appear"
}

# Saves the window's current picture as $KELVAR_ARTIFACTS/<test>-<name>.png.
screenshot() {
  local out="$KELVAR_ARTIFACTS/$E2E_NAME-$1.png"
  xwd -silent -id "$WINDOW" | convert xwd:- "$out"
  echo "screenshot: $out"
}

# Clicks at window coordinates; button 1 = left, 3 = right.
click() {
  xdotool mousemove --window "$WINDOW" "$1" "$2"
  sleep 0.15
  xdotool click "${3:-1}"
  sleep 0.2
}

press_key() {
  xdotool windowfocus --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
  xdotool key --window "$WINDOW" "$1"
  sleep 0.3
}

# Closes the window as a window manager's close button does.
close_window() { "$KELVAR_BINARY_DIR/tests/e2e/kelvar_xclose" "$WINDOW"; }

# Waits for the game to end and returns its exit code.
wait_for_exit() {
  local timeout=${1:-20} i
  for i in $(seq $((timeout * 10))); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      local code=0
      wait "$GAME_PID" || code=$?
      GAME_PID=""
      return "$code"
    fi
    sleep 0.1
  done
  fail "the game did not end within ${timeout}s"
}

# How many lines of the game's log hold the text (fixed string).
count() { grep -cF -- "$1" "$GAME_LOG" || true; }

# Waits until the log holds the text at least n times, up to $3 seconds; it
# looks 50 times a second, so a screenshot can follow a line within a frame.
wait_for_count() {
  local text=$1 n=$2 timeout=${3:-30} i
  for i in $(seq $((timeout * 50))); do
    (($(count "$text") >= n)) && return 0
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$text' x$n"
    sleep 0.02
  done
  fail "'$text' appeared $(count "$text") times, expected $n, within ${timeout}s"
}

# The moves played in this log, both sides', in the game's own words (long
# algebraic, "e2e4 e7e5 "); the moves of a game loaded from a file are not
# among them, and a move taken back stays.
moves_played() { awk '/^Kelvar: CGame played / { printf "%s ", $4 }' "$GAME_LOG"; }
# The n-th of them.
nth_played() { awk -v n="$1" '/^Kelvar: CGame played / && ++i == n { print $4 }' "$GAME_LOG"; }

# Where a player clicks to make a move, as a camera view draws the board
# after the moves on it: the moving piece's body, then the target (the enemy
# piece on it, else the bare square). [--fen FEN] VIEW MOVE [ON_BOARD...] ->
# "x y x y", or nothing when a part of the move is out of sight or the moves
# on the board are not legal (the reason goes to standard error).
move_spots() {
  local found
  found=$("$KELVAR_BINARY_DIR/tests/e2e/kelvar_clickpos" "$@") || return 0 # the piece's spot alone is no move
  grep -E '^[0-9]+ [0-9]+$' <<<"$found" | tr '\n' ' '
}

# Makes a move as a player does, by two clicks where the camera view draws
# the piece and its target: [--fen FEN] VIEW MOVE [ON_BOARD...]. Fails the
# test when there is nothing to click; whether the game played the move is
# the caller's to check.
click_move() {
  local args=("$@") fx fy tx ty
  [[ "$1" == --fen ]] && shift 2
  read -r fx fy tx ty < <(move_spots "${args[@]}"; echo)
  [[ -n "$ty" ]] || fail "$2 from the $1 view: no spot to click (on the board: ${*:3})"
  click "$fx" "$fy"
  click "$tx" "$ty"
}

# Average brightness (0..1) of a region of a screenshot: W H X Y.
region_mean() {
  convert "$1" -crop "$2x$3+$4+$5" -colorspace Gray -format '%[fx:mean]' info:
}

# Mean colour of a region as "R G B", 0..255: FILE W H X Y.
region_rgb() {
  convert "$1" -crop "$2x$3+$4+$5" -format '%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)]' info:
}

# Opens the Config window as a player does, from the menu bar at 1024 x 768:
# Program, then its first item, Config... .
open_config() {
  click 35 9
  click 60 30
  sleep 0.5
}

# Where a camera view draws the centre of a square: VIEW SQUARE -> "x y".
square_spot() {
  "$KELVAR_BINARY_DIR/tests/e2e/kelvar_squarepos" "$1" "$2" | grep -E '^[0-9]+ [0-9]+$' | head -n1
}

# Waits for the pieces of the start-up to land, then starts a game as White
# with real clicks: Local Game > Start, then WHITE in the colour window.
start_game_as_white() {
  wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20
  sleep 3
  click 117 9   # Local Game
  click 110 30  # Start
  click 462 389 # WHITE
  wait_for_log "Kelvar: CMap::Reset" 10
}

# Launches the game (arguments passed on) and waits until its window is up
# and the pieces of the start-up have landed: the game is idle. Counts the
# launches of this test's log, so a second launch waits for its own lines.
launch_until_idle() {
  local n=$(($(count "Kelvar: gl_Init finished") + 1))
  launch_game "$@"
  wait_for_count "Kelvar: gl_Init finished" "$n" 60
  find_window
  wait_for_count "Kelvar: CMap::MoveGameTokensIn" "$n" 20
  sleep 3
}

# The unfinished game's file in the test's data folder.
KEPT_GAME="$E2E_DATA/kelvar/autosave.pgn"

# Launches the game (arguments passed on) and waits until its start-up phase
# is over (the n-th launch of this test's log): the resume question is up.
launch_and_wait_startup() {
  local n=$(($(count "Kelvar: gl_Init finished") + 1))
  launch_game "$@"
  wait_for_count "Kelvar: gl_Init finished" "$n" 60
  find_window
  wait_for_count "Kelvar: CMap::MoveGameTokensIn" "$n" 20
  sleep 1
}

# The first of the candidate moves that is legal for the side to move after
# the moves played in this log so far (loaded moves are not in the log: pass
# them before the candidates as ON_BOARD=(...)).
first_legal() {
  local move
  for move in "$@"; do
    if "$KELVAR_BINARY_DIR/tests/e2e/kelvar_legalmove" pieces "${ON_BOARD[@]}" $(moves_played) "$move" >/dev/null 2>&1; then
      echo "$move"
      return 0
    fi
  done
  fail "none of $* is legal after ${ON_BOARD[*]} $(moves_played)"
}
ON_BOARD=()

# Plays one of White's candidate moves by clicks from White's side and waits
# for the engine's answer to be played.
play_white_and_answer() {
  local move n
  move=$(first_legal "$@")
  n=$(count "Kelvar: CGame played ")
  click_move white-side "$move" "${ON_BOARD[@]}" $(moves_played)
  wait_for_count "Kelvar: CGame played " $((n + 2)) 30
}

# Starts the game like launch_game with extra environment first:
# launch_game_with NAME=VALUE... [-- ARGS...].
launch_game_with() {
  local vars=()
  while [[ $# -gt 0 && "$1" == *=* ]]; do
    vars+=("$1")
    shift
  done
  [[ "${1:-}" == -- ]] && shift
  (cd "$KELVAR_RUN_DIR" && XDG_DATA_HOME="$E2E_DATA" exec env "${vars[@]}" stdbuf -oL -eL ./kelvar "$@" >>"$GAME_LOG" 2>&1) &
  GAME_PID=$!
}

# Writes the game's settings file (the test's own) with the text given, as
# the player's file would hold it: write_settings "[game]" "shadows = true".
SETTINGS_FILE="$XDG_CONFIG_HOME/kelvar/kelvar.ini"
write_settings() {
  mkdir -p "$(dirname "$SETTINGS_FILE")"
  printf '%s\n' "$@" >"$SETTINGS_FILE"
}

# Closes the game's window and waits until it has ended cleanly.
close_and_wait() {
  close_window
  wait_for_exit "${1:-20}" || fail "the game did not exit cleanly"
}
