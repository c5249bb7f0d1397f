#!/usr/bin/env bash
# The interface on a large window: started at 1600 x 1000 it is drawn at
# scale 1.5 (the log says so), a game's colour window, moves window, status
# line, banner and camera buttons with it; resized to 1024 x 768 it goes back
# to scale 1 and the camera buttons are 33 pixels again, and at 1600 x 1000
# once more it is as it first was. Screenshots go to $KELVAR_ARTIFACTS.
XVFB_SCREEN=1920x1200x24 # room for a 1600 x 1000 window
source "$(dirname "$0")/lib.sh"

keys() { local k; for k in "$@"; do press_key "$k"; done; }
shot() { echo "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png"; }

# Pixels that differ (beyond a little noise) between a crop of one picture,
# resized to W x H, and a W x H crop of another: A AX AY AW AH B BX BY W H.
crop_difference() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -resize "${9}x${10}!" "$E2E_TMP/a.png"
  convert "$6" -crop "${9}x${10}+$7+$8" +repage "$E2E_TMP/b.png"
  compare -metric AE -fuzz 15% "$E2E_TMP/a.png" "$E2E_TMP/b.png" null: 2>&1 | cut -d' ' -f1 || true
}

# Waits (up to 5 s) for the driver to show a resized window at its new size.
screenshot_at_size() {
  local name=$1 size=$2 i
  for i in $(seq 25); do
    screenshot "$name" >/dev/null
    [[ "$(identify -format '%wx%h' "$(shot "$name")")" == "$size" ]] && break
    sleep 0.2
  done
  sleep 0.5 # a frame or two at the new scale
  screenshot "$name"
}

mkdir -p "$XDG_CONFIG_HOME/kelvar"
printf '[window]\nwidth = 1600\nheight = 1000\n' >"$XDG_CONFIG_HOME/kelvar/kelvar.ini"
start_xvfb
launch_until_idle
grep -qF "Kelvar: interface scale 1.5 (auto) at 1600 x 1000" "$GAME_LOG" || fail "no scale 1.5 at 1600 x 1000"

keys m ctrl+n # the moves window, then the colour window
sleep 0.5
screenshot colour
keys Return
wait_for_log "Kelvar: CMap::Reset" 10
keys Up space Up Up space # e2-e4 with the board cursor
wait_for_log "Kelvar: CGame played e2e4" 5
wait_for_count "Kelvar: CGame played " 2 30
keys ctrl+r
wait_for_log "Kelvar: CGame game over: 0-1" 5
xdotool mousemove --window "$WINDOW" 800 700
sleep 1
screenshot 1600x1000
[[ "$(identify -format '%wx%h' "$(shot 1600x1000)")" == 1600x1000 ]] || fail "the window is not 1600 x 1000"

xdotool windowsize "$WINDOW" 1024 768
wait_for_log "Kelvar: window size 1024 x 768" 10
wait_for_log "Kelvar: interface scale 1 at 1024 x 768" 5
screenshot_at_size 1024x768 1024x768

# Each camera button: 33 pixels at scale 1, 38 apart from 5 off the
# bottom-left corner; at 1.5 the same picture grown to 50 (edges and frame
# drawn a little differently), and not what stands at the scale-1 place.
for b in 0 1 2 3; do
  x1=$((5 + 38 * b)) x15=$(((15 + 114 * b + 1) / 2))
  grown=$(crop_difference "$(shot 1024x768)" "$x1" 730 33 33 "$(shot 1600x1000)" "$x15" 942 50 50)
  in_place=$(crop_difference "$(shot 1024x768)" "$x1" 730 33 33 "$(shot 1600x1000)" "$x1" 962 33 33)
  echo "camera button $b: $grown of 2500 pixels differ from the one at scale 1 grown, $in_place of 1089 in its place"
  ((grown < 750)) || fail "camera button $b at 1600 x 1000 is not the one of 1024 x 768 grown by 1.5"
  ((in_place > 650)) || fail "camera button $b at 1600 x 1000 stands where scale 1 puts it"
done

xdotool windowsize "$WINDOW" 1600 1000
wait_for_log "Kelvar: window size 1600 x 1000" 10
wait_for_log "Kelvar: interface scale 1.5 at 1600 x 1000" 5
xdotool mousemove --window "$WINDOW" 800 700
screenshot_at_size again 1600x1000
again=$(crop_difference "$(shot 1600x1000)" 0 900 700 100 "$(shot again)" 0 900 700 100)
echo "the bottom-left corner before and after the two resizes: $again of 70000 pixels differ"
((again < 3000)) || fail "the bottom-left corner differs after going back to 1600 x 1000 ($again pixels)"

close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
echo "PASS"
