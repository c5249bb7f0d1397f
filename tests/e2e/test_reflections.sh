#!/usr/bin/env bash
# The glossy board: started once with the reflections on and once with them
# off, the default side view shows a faint mirror image of a black pawn on
# the empty square in front of it, while a square far from every piece looks
# the same either way. Started without the setting, the game times its first
# frames with reflections and says whether it keeps them.
source "$(dirname "$0")/lib.sh"

shot() { echo "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png"; }
# Brightness of the 8 x 8 pixels around a point of a screenshot.
spot() { region_mean "$(shot "$1")" 8 8 $(($2 - 4)) $(($3 - 4)); }
# The absolute difference of two numbers, and whether it is above a bound.
differs() { awk -v a="$1" -v b="$2" -v bound="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d > bound) }'; }

# The black e-pawn's mirror image hangs straight below its base in the
# picture, on e6, seen from White's side: the spot looked at lies below the
# centre of e7 by seven tenths of the way down to e6's centre, clear of the
# pawn's foot. e4 is far from every piece: nothing mirrors there from this view.
read -r px py ex ey fx fy < <("$KELVAR_BINARY_DIR/tests/e2e/kelvar_squarepos" white-side e7 e6 e4 |
  grep -E '^[0-9]+ [0-9]+$' | tr '\n' ' '; echo)
[[ -n "$fy" ]] || fail "no window positions for e7, e6 and e4"
mx=$px my=$((py + (ey - py) * 7 / 10))

start_xvfb
for setting in on off; do
  write_settings "[game]" "reflections = $setting"
  launch_until_idle
  wait_for_log "Kelvar: settings loaded from $SETTINGS_FILE" 5
  screenshot "$setting"
  close_and_wait
done
(($(count "Kelvar: reflections ") == 0)) || fail "a chosen setting was timed: $(grep -F 'Kelvar: reflections' "$GAME_LOG")"

mirror_on=$(spot on "$mx" "$my") mirror_off=$(spot off "$mx" "$my")
far_on=$(spot on "$fx" "$fy") far_off=$(spot off "$fx" "$fy")
echo "in front of the e7 pawn: $mirror_on with reflections, $mirror_off without; e4: $far_on and $far_off"
differs "$mirror_on" "$mirror_off" 0.01 || fail "no mirror image in front of the e7 pawn ($mirror_on, $mirror_off)"
differs "$far_on" "$far_off" 0.004 && fail "e4, far from every piece, changed ($far_on, $far_off)"

# Left to the game: it times its first frames and keeps the reflections or
# turns them off for this run, saying why, and writes nothing down.
write_settings "[game]" "shadows = false"
launch_until_idle
wait_for_log "Kelvar: reflections " 60
grep -qE "^Kelvar: reflections (on|off: drawing takes [0-9.]+ ms a frame, more than 60 fps allows)$" "$GAME_LOG" ||
  fail "an unexpected decision: $(grep -F 'Kelvar: reflections' "$GAME_LOG")"
grep -F "Kelvar: reflections" "$GAME_LOG"
close_and_wait
grep -q reflections "$SETTINGS_FILE" && fail "the decision was saved: $(cat "$SETTINGS_FILE")"
echo "PASS"
