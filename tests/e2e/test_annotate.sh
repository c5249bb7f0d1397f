#!/usr/bin/env bash
# The batch review with the real engine program and Stockfish, no window:
# "kelvar --annotate" marks the blunder of a short game, writes a file
# pgn-extract accepts with the engine's evaluations and both accuracies, and
# logs its summary; the node count comes from the settings. A missing file
# and a game with an illegal move are refused with a message and status 1,
# and no output file is written.
source "$(dirname "$0")/lib.sh"

mkdir -p "$XDG_CONFIG_HOME/kelvar"
printf '[review]\nnodes = 100000\n' >"$XDG_CONFIG_HOME/kelvar/kelvar.ini"

in="$E2E_TMP/scholar.pgn" out="$E2E_TMP/reviewed.pgn"
printf '[Event "Test"]\n[White "A"]\n[Black "B"]\n[Result "1-0"]\n\n1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0\n' >"$in"

# Started from another folder: the files are named relative to it.
code=0
(cd "$E2E_TMP" && timeout 60 "$KELVAR_RUN_DIR/kelvar" --annotate scholar.pgn reviewed.pgn \
  >"$GAME_LOG" 2>"$E2E_TMP/stderr") || code=$?
[[ $code -eq 0 ]] || fail "exit status $code: $(cat "$E2E_TMP/stderr")"
[[ -f "$out" ]] || fail "no $out"
cat "$out" >>"$GAME_LOG"
grep -qE 'Nf6 \$4 ' "$out" || fail "3...Nf6 is not marked as a blunder: $(cat "$out")"
grep -qF '[%eval ' "$out" || fail "no [%eval] comment"
grep -qF '[WhiteAccuracy "' "$out" || fail "no WhiteAccuracy tag"
grep -qF '[BlackAccuracy "' "$out" || fail "no BlackAccuracy tag"
grep -qE '^Kelvar: review done 7 plies in [0-9]+ ms: white accuracy [0-9.]+, black accuracy [0-9.]+; white 0/0/0, black [0-9]+/[0-9]+/[1-9]' \
  "$GAME_LOG" || fail "no summary line with Black's blunder"
grep -qF "Kelvar: settings loaded from $XDG_CONFIG_HOME/kelvar/kelvar.ini" "$GAME_LOG" || fail "the settings were not read"
grep -qF 'review: game 1, position 8/8' "$E2E_TMP/stderr" || fail "no progress: $(cat "$E2E_TMP/stderr")"
complaints=$(/usr/games/pgn-extract -r -s "$out" 2>&1) || fail "pgn-extract failed: $complaints"
[[ -z "$complaints" ]] || fail "pgn-extract: $complaints"

# Refused input: status 1, a message naming the file, nothing written.
printf '1. e4 e5 2. Qh7 *\n' >"$E2E_TMP/broken.pgn"
for name in missing.pgn broken.pgn; do
  code=0
  (cd "$E2E_TMP" && timeout 60 "$KELVAR_RUN_DIR/kelvar" --annotate "$name" "out-$name" \
    >>"$GAME_LOG" 2>"$E2E_TMP/stderr") || code=$?
  [[ $code -eq 1 ]] || fail "$name: exit status $code"
  grep -qF "kelvar: --annotate $E2E_TMP/$name: " "$E2E_TMP/stderr" || fail "$name: no message: $(cat "$E2E_TMP/stderr")"
  [[ ! -e "$E2E_TMP/out-$name" ]] || fail "$name: an output file was written"
done
echo "PASS ($E2E_NAME)"
