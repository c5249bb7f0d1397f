#!/usr/bin/env bash
# A whole game from White's default side view, every move of the player made
# by two clicks on what is drawn: the middle of the moving piece's body, then
# the middle of the target (the enemy piece standing there, else the bare
# square). The player's moves are Stockfish's best at full strength, the
# engine program plays at level 1, so the game ends in a mate by itself. The
# game's own log confirms each move of both sides as it is played; a click
# that picks the wrong thing leaves the move unplayed and fails the test.
# Screenshots: the board with captured pieces on the trays and the last move
# tinted, in the middle of the game and at its end. The sounds go through
# ALSA to files, one per sound: a click or a knock for every move, the mate
# tone last.
source "$(dirname "$0")/lib.sh"

STOCKFISH=/usr/games/stockfish
[[ -x "$STOCKFISH" ]] || fail "$STOCKFISH is missing (Debian package stockfish)"
mkdir -p "$XDG_CONFIG_HOME/kelvar"
printf '[engine]\nlevel = 1\n' >"$XDG_CONFIG_HOME/kelvar/kelvar.ini"
export ABROK_THINK_MS=150 # the engine's think time per move: a short game
# ALSA's default device, as the game finds it in its HOME: raw samples to
# sound.raw, then sound.raw.0001, ... (an existing file is never reused).
export HOME="$E2E_TMP/home"
SOUND="$E2E_TMP/sound.raw"
mkdir -p "$HOME"
printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw"; truncate false }\n' "$SOUND" >"$HOME/.asoundrc"

# The promotion window (354 x 136) is centred; its buttons, 86 pixels apart,
# hold queen, rook, bishop and knight.
PROMOTION_BUTTON_Y=388 PROMOTION_FIRST_X=383 PROMOTION_PITCH=86 PROMOTION_ORDER=qrbn
MAX_MOVES=80        # the player's moves; Stockfish mates level 1 far sooner
MIDGAME_SHOT_MOVE=12 # the player's move after whose reply the middle shot is taken
# The first places of the two trays as the view shows them (W H X Y): the
# white tray before rank 1 at the front left, the black one behind rank 8 at
# the far right (each side's first place is on its owner's left). Each box
# holds the body of the piece standing there and little else, so that a
# single piece taken, a pawn even, changes its brightness clearly. At the
# game's end the view is framed below the banner, the set drawn smaller: the
# boxes shrink with the distance between the two places.
tray_boxes() { # view -> NEAR FAR, each "W H X Y"
  "$KELVAR_BINARY_DIR/tests/e2e/kelvar_squarepos" "$1" white-tray-0 black-tray-0 | grep -E '^[0-9]+ [0-9]+$' |
    tr '\n' ' ' | awk -v ref="${2:-0}" '{ d = sqrt(($3 - $1)^2 + ($4 - $2)^2); s = ref ? d / ref : 1
      nw = int(24 * s); nh = int(30 * s); fw = int(12 * s); fh = int(14 * s)
      printf "%d %d %d %d|%d %d %d %d|%f\n", nw, nh, $1 - nw / 2, $2 - nh / 2, fw, fh, $3 - fw / 2, $4 - fh / 2, d }'
}
IFS='|' read -r NEAR_TRAY FAR_TRAY tray_span < <(tray_boxes white-side)
IFS='|' read -r NEAR_TRAY_OVER FAR_TRAY_OVER _ < <(tray_boxes white-side-banner "$tray_span")
[[ -n "$FAR_TRAY" && -n "$FAR_TRAY_OVER" ]] || fail "no tray places from kelvar_squarepos"

# The player's moves come from Stockfish on two pipes, at full strength. It
# names its three best moves; the player makes the best one whose piece and
# target are both in sight from the default view (rarely a piece stands
# wholly behind another, where a player would turn the camera).
coproc STOCKFISH_PIPES { exec "$STOCKFISH" 2>/dev/null; }
STOCKFISH_PID=$STOCKFISH_PIPES_PID
trap '[[ -n "$STOCKFISH_PID" ]] && kill "$STOCKFISH_PID" 2>/dev/null; cleanup' EXIT
echo "setoption name MultiPV value 3" >&"${STOCKFISH_PIPES[1]}"
best_moves() { # played moves... -> up to three moves, best first, or nothing
  local line k
  local -A first=()
  echo "position startpos moves $*" >&"${STOCKFISH_PIPES[1]}"
  echo "go movetime 100" >&"${STOCKFISH_PIPES[1]}"
  while read -r -t 10 line <&"${STOCKFISH_PIPES[0]}"; do
    if [[ "$line" =~ \ multipv\ ([0-9]+)\ .*\ pv\ ([a-h][1-8][a-h][1-8][qrbn]?) ]]; then
      k=${BASH_REMATCH[1]}
      first[$k]=${BASH_REMATCH[2]}
    elif [[ "$line" == bestmove* ]]; then
      echo "$(cut -d' ' -f2 <<<"$line") ${first[2]:-} ${first[3]:-}"
      return 0
    fi
  done
}
# The best of the moves given that can be clicked from White's side view.
first_in_sight() {
  local move spots
  for move in "$@"; do
    # shellcheck disable=SC2046
    spots=$(move_spots white-side "$move" $(moves_played))
    [[ -n "$spots" ]] && { echo "$move"; return 0; }
  done
}

game_over() { grep -qF "Kelvar: CGame game over:" "$GAME_LOG"; }

# The player's move: two clicks where the pieces are drawn, a choice in the
# promotion window when a pawn reaches the last rank (Enter for the queen,
# preselected; a click on any other piece).
play() {
  local move=$1 n=$2 played
  played=$(count "Kelvar: CGame played")
  # shellcheck disable=SC2046
  click_move white-side "$move" $(moves_played)
  case "${move:4:1}" in
  "") ;;
  q)
    sleep 0.3
    press_key Return
    ;;
  *)
    local before=${PROMOTION_ORDER%%"${move:4:1}"*}
    sleep 0.3
    click $((PROMOTION_FIRST_X + ${#before} * PROMOTION_PITCH)) $PROMOTION_BUTTON_Y
    ;;
  esac
  wait_for_count "Kelvar: CGame played" $((played + 1)) 5
  [[ "$(nth_played $((played + 1)))" == "$move" ]] || fail "move $n: clicked $move, the game played $(nth_played $((played + 1)))"
}

start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: settings loaded from $XDG_CONFIG_HOME/kelvar/kelvar.ini" 5
wait_for_log "Kelvar: CCEManager setoption name Level value 1" 5
start_game_as_white
sleep 0.5
screenshot start

started=$(date +%s)
for ((n = 1; n <= MAX_MOVES; n++)); do
  # shellcheck disable=SC2046
  candidates=$(best_moves $(moves_played))
  [[ "$candidates" =~ ^[a-h][1-8][a-h][1-8][qrbn]?( |$) ]] || fail "Stockfish gave no move after: $(moves_played)"
  # shellcheck disable=SC2086
  move=$(first_in_sight $candidates)
  [[ -n "$move" ]] || fail "none of Stockfish's moves ($candidates) can be clicked from the side view after: $(moves_played)"
  results=$(count "Kelvar: ProcessEngineResult:")
  played=$(count "Kelvar: CGame played")
  play "$move" "$n"
  game_over && break
  # The engine's move is played, then handed back; the answer to the
  # hand-back ends its turn.
  wait_for_count "Kelvar: CGame played" $((played + 2)) 30
  reply=$(nth_played $((played + 2)))
  sent=$(awk -v n=$((played + 2)) '/^Kelvar: bestmove / { b = $3 } /^Kelvar: CGame played / && ++i == n { print b; exit }' "$GAME_LOG")
  [[ "$reply" == "$sent" ]] || fail "after move $n the engine sent $sent, the game played $reply"
  game_over && break
  wait_for_count "Kelvar: ProcessEngineResult:" $((results + 2)) 30
  if ((n == MIDGAME_SHOT_MOVE)); then
    sleep 0.7 # the reply has landed
    screenshot midgame
  fi
done
elapsed=$(($(date +%s) - started))
game_over || fail "no end of the game after $MAX_MOVES moves: $(moves_played)"
sleep 1 # the last move has landed
screenshot game-over
result=$(grep -F "Kelvar: CGame game over:" "$GAME_LOG" | head -n1)
echo "$((n)) moves of the player in ${elapsed}s; $result"
echo "moves: $(moves_played)"
[[ "$result" == "Kelvar: CGame game over: 1-0 (checkmate)" ]] || fail "expected White to mate: $result"
# shellcheck disable=SC2046
"$KELVAR_BINARY_DIR/tests/e2e/kelvar_legalmove" 0 $(moves_played) | grep -qx none || fail "the game did not reach its end"

# The pieces taken stand on the trays: white ones light up the dark near
# plank, black ones darken the far plank and the sky behind it.
# shellcheck disable=SC2046
read -r white_left black_left < <("$KELVAR_BINARY_DIR/tests/e2e/kelvar_legalmove" pieces $(moves_played))
# shellcheck disable=SC2086 # the region is four numbers
tray() { region_mean "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png" $2; }
near_before=$(tray start "$NEAR_TRAY") near_after=$(tray game-over "$NEAR_TRAY_OVER")
far_before=$(tray start "$FAR_TRAY") far_after=$(tray game-over "$FAR_TRAY_OVER")
echo "taken: $((16 - white_left)) white, $((16 - black_left)) black;" \
  "near tray brightness $near_before -> $near_after, far tray $far_before -> $far_after"
((black_left < 16)) || fail "Stockfish mated without taking a piece: no tray to look at"
awk -v b="$far_before" -v a="$far_after" 'BEGIN { exit !(a < b - 0.05) }' || fail "no black piece stands on the far tray"
if ((white_left < 16)); then
  awk -v b="$near_before" -v a="$near_after" 'BEGIN { exit !(a > b + 0.08) }' || fail "no white piece stands on the near tray"
else
  awk -v b="$near_before" -v a="$near_after" 'BEGIN { d = a - b; exit !(d < 0.02 && d > -0.02) }' ||
    fail "the near tray changed though White lost nothing"
fi

# The sounds heard, in order: each file is one of the generated sounds,
# sample for sample (a WAV file's samples follow its 44-byte header), or the
# mate tone: a second of 44100 Hz samples, loud.
sound_kind() {
  local kind
  for kind in move capture check; do
    tail -c +45 "$KELVAR_RUN_DIR/media/$kind.wav" | cmp -s - "$1" && { echo "$kind"; return; }
  done
  local loudness
  loudness=$(od -An -v -td2 -w2 "$1" | awk '{ s += $1 * $1 } END { print (NR ? int(sqrt(s / NR)) : 0) }')
  if (($(stat -c %s "$1") == 88200 && loudness > 1000)); then echo mate; else echo "unknown($(stat -c %s "$1") bytes)"; fi
}
heard=$(for f in "$SOUND" "$SOUND".*; do [[ -f "$f" ]] && sound_kind "$f"; done | grep -vx check | tr '\n' ' ')
# What the moves should sound like: a knock where a piece was taken.
expected="" before=32 prefix=()
for move in $(moves_played); do
  prefix+=("$move")
  read -r w b < <("$KELVAR_BINARY_DIR/tests/e2e/kelvar_legalmove" pieces "${prefix[@]}")
  if ((w + b < before)); then expected+="capture "; else expected+="move "; fi
  before=$((w + b))
done
expected+="mate "
echo "sounds heard (checks left out): $heard"
[[ "$heard" == "$expected" ]] || fail "expected the sounds $expected"

close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
echo "PASS"
