#!/usr/bin/env bash
# What the game costs the machine while nothing moves on screen, for one or
# more builds side by side in one run (e.g. the build before a change and the
# build after it):
#   - the game's CPU use over 5 s, from /proc/<pid>/stat (utime + stime), in
#     the idle state after the pieces have landed, and on the human's turn
#     with nothing moving; also the virtual X server's, which shows the frames;
#   - Stockfish's nodes in a fixed 1-second search (Threads 1, the median of
#     SEARCHES=3 searches), with the game on screen and alone (the mean of the
#     medians right before the game starts and right after it ends), as a
#     ratio; builds alternate, so a busy machine touches them alike.
# Needs Xvfb, xdotool and /usr/games/stockfish.
#
#   bench/idle_cost.sh LABEL=RUN_DIR [LABEL=RUN_DIR ...] [ROUNDS]
#   e.g. bench/idle_cost.sh before=/tmp/old/build/run after=build/run 3
set -euo pipefail

STOCKFISH=${STOCKFISH:-/usr/games/stockfish}
MEASURE_S=5
TICKS=$(getconf CLK_TCK)
# Where the interface puts the menu, its "Start" item and the colour window's
# WHITE button at 1024 x 768 (as the end-to-end tests click them).
LOCAL_GAME="117 9" ITEM_START="110 30" WHITE_BUTTON="462 389" RESTING_POINTER="1000 400"

builds=() rounds=1
for arg in "$@"; do
  if [[ "$arg" == *=* ]]; then builds+=("$arg"); else rounds=$arg; fi
done
((${#builds[@]})) || { echo "usage: $0 LABEL=RUN_DIR... [ROUNDS]" >&2; exit 2; }

TMP=$(mktemp -d /tmp/kelvar-idle.XXXXXX)
XVFB_PID="" GAME_PID=""
cleanup() {
  [[ -n "$GAME_PID" ]] && kill "$GAME_PID" 2>/dev/null || true
  [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$TMP"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$TMP/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [[ -s "$TMP/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(tr -dc '0-9' <"$TMP/display")"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Both processes measured over the same 5 seconds: "game% xvfb%".
cpu_pair() {
  local g0 x0 g1 x1
  g0=$(cpu_ticks "$GAME_PID") x0=$(cpu_ticks "$XVFB_PID")
  sleep "$MEASURE_S"
  g1=$(cpu_ticks "$GAME_PID") x1=$(cpu_ticks "$XVFB_PID")
  awk -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v t="$TICKS" -v s="$MEASURE_S" \
    'BEGIN { printf "%.1f %.1f\n", 100 * g / t / s, 100 * x / t / s }'
}

# Nodes Stockfish searches in 1 s after 1. e4: the median of SEARCHES
# searches by one Stockfish process, its hash cleared before each, since one
# second's count scatters by a tenth and more on a shared machine. "quit"
# goes only after the last "bestmove" (it would end the search), so the input
# stays open until then.
SEARCHES=${SEARCHES:-3}
nodes() {
  local out="$TMP/search.out" i n
  : >"$out"
  {
    printf 'uci\nsetoption name Threads value 1\nisready\n'
    for n in $(seq "$SEARCHES"); do
      printf 'setoption name Clear Hash\nposition startpos moves e2e4\ngo movetime 1000\n'
      for i in $(seq 100); do (($(grep -c '^bestmove' "$out") >= n)) && break; sleep 0.1; done
    done
    echo quit
  } | "$STOCKFISH" >"$out" 2>&1 || true
  # The last info line before each bestmove holds that search's count.
  awk '/ nodes / { for (i = 1; i < NF; i++) if ($i == "nodes") last = $(i + 1) }
       /^bestmove/ { print last }' "$out" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

click() {
  xdotool mousemove --window "$WINDOW" "$1" "$2" && sleep 0.2 && xdotool click 1 && sleep 0.4
}

wait_log() {
  for _ in $(seq 600); do grep -qF -- "$1" "$TMP/game.log" && return 0; sleep 0.1; done
  echo "'$1' did not appear" >&2; return 1
}

printf '%-8s %5s %-11s %7s %7s %9s %9s %6s\n' build round state "game%" "xvfb%" "alone" "w/game" ratio
for round in $(seq "$rounds"); do
  for build in "${builds[@]}"; do
    label=${build%%=*} dir=${build#*=}
    alone_before=$(nodes) # the game closed
    (cd "$dir" && exec stdbuf -oL ./kelvar >"$TMP/game.log" 2>&1) &
    GAME_PID=$!
    wait_log "Kelvar: gl_Init finished"
    WINDOW=$(xdotool search --sync --name '^Kelvar$' | head -n1)
    wait_log "Kelvar: CMap::MoveGameTokensIn"
    xdotool mousemove --window "$WINDOW" $RESTING_POINTER
    sleep 6 # the pieces land
    rows=()
    for state in idle human-turn; do
      if [[ $state == human-turn ]]; then
        click $LOCAL_GAME && click $ITEM_START && click $WHITE_BUTTON
        xdotool mousemove --window "$WINDOW" $RESTING_POINTER
        sleep 2
      fi
      read -r game xvfb < <(cpu_pair)
      rows+=("$state $game $xvfb $(nodes)")
    done
    kill "$GAME_PID"
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=""
    sleep 1
    alone_after=$(nodes)
    alone=$(((alone_before + alone_after) / 2))
    for row in "${rows[@]}"; do
      read -r state game xvfb with <<<"$row"
      printf '%-8s %5s %-11s %7s %7s %9s %9s %6s\n' "$label" "$round" "$state" "$game" "$xvfb" "$alone" "$with" \
        "$(awk -v a="$alone" -v w="$with" 'BEGIN { printf "%.2f", w / a }')"
    done
  done
done
