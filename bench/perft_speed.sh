#!/usr/bin/env bash
# Perft speed of the move generator of an older revision against this tree's,
# side by side in one run. Builds the older revision's perft tool in a git
# worktree under a temporary folder and this tree's perft tool in another
# (both RelWithDebInfo), then times each case ROUNDS times, the tools
# alternating so a busy machine touches them alike, and prints per tool the
# leaf count, the median time and nodes per second.
#
# The older generator promotes to a queen only, so its counts agree with this
# tree's only where the tree holds no promotion (the start position to depth
# 5, Kiwipete to depth 3); where they differ both counts are shown.
#
#   bench/perft_speed.sh [OLD_REVISION]     (default 17e308f)
#   ROUNDS=5 JOBS=2 bench/perft_speed.sh
set -euo pipefail

OLD_REVISION=${1:-17e308f}
ROUNDS=${ROUNDS:-3}
JOBS=${JOBS:-2}
ROOT=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)

START="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
KIWIPETE="r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
# label | FEN | depth | tools that run it
CASES=(
  "start|$START|5|old new"
  "kiwipete|$KIWIPETE|3|old new"
  "kiwipete|$KIWIPETE|4|old new"
  "start|$START|6|new"
  "kiwipete|$KIWIPETE|5|new"
)

TMP=$(mktemp -d /tmp/kelvar-perft.XXXXXX)
cleanup() {
  git -C "$ROOT" worktree remove --force "$TMP/old" >/dev/null 2>&1 || true
  git -C "$ROOT" worktree prune >/dev/null 2>&1 || true
  rm -rf "$TMP"
}
trap cleanup EXIT

# Configures and builds the perft target of a source tree; prints the tool's path.
build_perft() {
  local source=$1 build=$2
  cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVAR_TESTS=OFF -DKELVAR_BENCH=OFF \
    >"$build.log" 2>&1 || { cat "$build.log" >&2; return 1; }
  cmake --build "$build" -j"$JOBS" --target perft >>"$build.log" 2>&1 || { tail -30 "$build.log" >&2; return 1; }
  find "$build" -name perft -type f -perm -u+x | head -1
}

echo "building perft of $OLD_REVISION and of this tree ($ROOT)..." >&2
git -C "$ROOT" worktree add --detach "$TMP/old" "$OLD_REVISION" >/dev/null 2>&1
declare -A TOOL
TOOL[old]=$(build_perft "$TMP/old" "$TMP/old-build")
TOOL[new]=$(build_perft "$ROOT" "$TMP/new-build")
[[ -x "${TOOL[old]}" && -x "${TOOL[new]}" ]] || { echo "perft tool missing after the build" >&2; exit 1; }

# Runs one tool once; prints "<count> <seconds>".
time_perft() {
  local tool=$1 fen=$2 depth=$3 begin end count
  begin=$(date +%s%N)
  count=$("$tool" "$fen" "$depth" | tail -1)
  end=$(date +%s%N)
  echo "$count $(awk -v ns=$((end - begin)) 'BEGIN { printf "%.3f", ns / 1e9 }')"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-10s %5s %-4s %12s %9s %14s\n' position depth tool nodes seconds nodes/s
for entry in "${CASES[@]}"; do
  IFS='|' read -r label fen depth tools <<<"$entry"
  declare -A counts=() times=()
  for ((round = 0; round < ROUNDS; ++round)); do
    for tool in $tools; do
      read -r count seconds < <(time_perft "${TOOL[$tool]}" "$fen" "$depth")
      counts[$tool]=$count
      times[$tool]+="$seconds "
    done
  done
  for tool in $tools; do
    seconds=$(tr ' ' '\n' <<<"${times[$tool]}" | grep . | median)
    rate=$(awk -v n="${counts[$tool]}" -v s="$seconds" 'BEGIN { printf "%.0f", (s > 0 ? n / s : 0) }')
    printf '%-10s %5s %-4s %12s %9s %14s\n' "$label" "$depth" "$tool" "${counts[$tool]}" "$seconds" "$rate"
  done
  if [[ -n "${counts[old]:-}" && -n "${counts[new]:-}" && "${counts[old]}" != "${counts[new]}" ]]; then
    echo "           (counts differ: the old tool counts a promotion once, the new one four times)"
  fi
  unset counts times
done
