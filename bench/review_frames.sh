#!/usr/bin/env bash
# The review inside the game, measured as a player sees it: the game started
# under a virtual X screen with "--review" on the first 60 plies of Kasparov -
# Topalov (Wijk aan Zee 1999), the real engine program and Stockfish judging
# every position at [review] nodes (300000 unless NODES is set). Prints the
# review's wall time from the game's summary line and, from the frame log
# (KELVAR_FRAME_LOG), the frames drawn and the longest pass (input, updates
# and drawing) and longest update (the program's own work, the review's step
# included) over the seconds while the analysis ran. Settings and data go to a scratch
# folder, never the home folder. Needs Xvfb.
#
#   bench/review_frames.sh RUN_DIR        e.g. bench/review_frames.sh build/run
set -euo pipefail

RUN_DIR=$(cd "${1:?usage: $0 RUN_DIR}" && pwd)
NODES=${NODES:-300000}
TMP=$(mktemp -d /tmp/kelvar-review-frames.XXXXXX)
XVFB_PID="" GAME_PID=""
cleanup() {
  [[ -n "$GAME_PID" ]] && kill "$GAME_PID" 2>/dev/null || true
  [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$TMP"
}
trap cleanup EXIT

cat >"$TMP/game.pgn" <<'PGN'
[White "Kasparov"]
[Black "Topalov"]

1. e4 d6 2. d4 Nf6 3. Nc3 g6 4. Be3 Bg7 5. Qd2 c6 6. f3 b5 7. Nge2 Nbd7 8. Bh6 Bxh6
9. Qxh6 Bb7 10. a3 e5 11. O-O-O Qe7 12. Kb1 a6 13. Nc1 O-O-O 14. Nb3 exd4 15. Rxd4 c5
16. Rd1 Nb6 17. g3 Kb8 18. Na5 Ba8 19. Bh3 d5 20. Qf4+ Ka7 21. Rhe1 d4 22. Nd5 Nbxd5
23. exd5 Qd6 24. Rxd4 cxd4 25. Re7+ Kb6 26. Qxd4+ Kxa5 27. b4+ Ka4 28. Qc3 Qxd5
29. Ra7 Bb7 30. Rxb7 Qc4 *
PGN
mkdir -p "$TMP/config/kelvar" "$TMP/data"
printf '[review]\nnodes = %s\n' "$NODES" >"$TMP/config/kelvar/kelvar.ini"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$TMP/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [[ -s "$TMP/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$TMP/display")"

log="$TMP/game.log"
(cd "$RUN_DIR" && XDG_CONFIG_HOME="$TMP/config" XDG_DATA_HOME="$TMP/data" KELVAR_FRAME_LOG=1 \
  exec ./kelvar --review "$TMP/game.pgn" >"$log" 2>&1) &
GAME_PID=$!
for _ in $(seq 1800); do
  grep -qE "Kelvar: review (done|failed)" "$log" && break
  kill -0 "$GAME_PID" 2>/dev/null || { tail -n 20 "$log"; exit 1; }
  sleep 0.1
done
[[ -n "${KEEP_LOG:-}" ]] && cp "$log" "$KEEP_LOG"
grep -E "Kelvar: review (of|done|failed)" "$log"
# The seconds from the review's start to its end.
awk '/Kelvar: review of / { on = 1; next }
     /Kelvar: review (done|failed)/ { on = 0 }
     on && /frames in the last second/ {
       match($0, /frames in the last second: [0-9]+/); f = substr($0, RSTART + 27, RLENGTH - 27)
       match($0, /longest pass: [0-9]+/); l = substr($0, RSTART + 14, RLENGTH - 14) + 0
       match($0, /longest update: [0-9]+/); u = substr($0, RSTART + 16, RLENGTH - 16) + 0
       n++; frames += f; if (l > longest) longest = l; if (u > update) update = u; passes[n] = l
     }
     END {
       if (!n) { print "no frame log during the review"; exit 1 }
       over = 0; for (i = 1; i <= n; i++) if (passes[i] > 50) over++
       printf "%d seconds logged: %.1f frames drawn a second on average; longest pass %d ms (longest update %d ms); seconds with a pass over 50 ms: %d\n", n, frames / n, longest, update, over
     }' "$log"
