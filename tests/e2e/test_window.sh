#!/usr/bin/env bash
# The window as a window: the status line reads against what lies behind it
# (contrast measured on the screenshot's pixels), the window is resized to
# 1600 x 1000 and to 800 x 600 with the interface following its edges, and
# F11 goes full screen and back through the window manager's full-screen state
# (here a stand-in window manager, since Xvfb has none). The size and the
# full-screen state the game ends with are where the next start begins.
# Screenshots of each size go to $KELVAR_ARTIFACTS.
XVFB_SCREEN=1920x1200x24 # room for a 1600 x 1000 window
source "$(dirname "$0")/lib.sh"

HELP_X=186 MENU_Y=9 SUB_X_HELP=230 ITEM_MOVES_Y=60
WM_PID=""
trap '[[ -n "$WM_PID" ]] && kill "$WM_PID" 2>/dev/null; cleanup' EXIT

shot() { echo "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png"; }

# Contrast ratio (WCAG) between the brightest pixel of a region, the text, and
# its median pixel, the band behind the text: FILE W H X Y.
contrast() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -depth 8 txt:- | tail -n +2 |
    sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/' |
    awk 'function lin(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
         { print 0.2126 * lin($1) + 0.7152 * lin($2) + 0.0722 * lin($3) }' |
    sort -g | awk '{ l[NR] = $1 } END { printf "%.2f", (l[NR] + 0.05) / (l[int((NR + 1) / 2)] + 0.05) }'
}

# The status line of a W x H window: "Game Status: Idle" on its band, 4.5:1 or more.
check_status() {
  local file=$1 height=$3 ratio
  ratio=$(contrast "$file" 150 25 165 $((height - 34)))
  echo "status line contrast in $(basename "$file"): $ratio:1"
  awk -v r="$ratio" 'BEGIN { exit !(r >= 4.5) }' || fail "status line contrast $ratio:1 in $file is below 4.5:1"
}

# Pixels that differ (beyond a little noise) between two equally sized crops:
# A_FILE AX AY B_FILE BX BY W H.
crop_difference() {
  convert "$1" -crop "$7x$8+$2+$3" +repage "$E2E_TMP/a.png"
  convert "$4" -crop "$7x$8+$5+$6" +repage "$E2E_TMP/b.png"
  compare -metric AE -fuzz 12% "$E2E_TMP/a.png" "$E2E_TMP/b.png" null: 2>&1 | cut -d' ' -f1 || true
}

# The interface of a W x H screenshot sits where the 1024 x 768 one had it,
# relative to the window's edges: camera buttons bottom left, moves window at
# the right edge under the menu bar.
check_layout() {
  local file=$1 width=$2 height=$3 base diff
  base=$(shot 1024x768)
  [[ "$(identify -format '%wx%h' "$file")" == "${width}x${height}" ]] || fail "$file is not ${width}x${height}"
  check_status "$file" "$width" "$height"
  diff=$(crop_difference "$base" 5 730 "$file" 5 $((height - 38)) 148 33)
  ((diff < 150)) || fail "camera buttons not at the bottom left of $file ($diff pixels differ)"
  diff=$(crop_difference "$base" 879 25 "$file" $((width - 145)) 25 140 200)
  ((diff < 800)) || fail "moves window not at the right edge of $file ($diff pixels differ)"
}

# Takes the screenshot NAME of a W x H window once it shows its new size: the
# driver may show the first frame after a resize at the old size, so wait (up
# to 5 s) until the layout checks hold, then check them for good.
screenshot_at_size() {
  local name=$1 width=$2 height=$3 i
  for i in $(seq 25); do
    screenshot "$name" >/dev/null
    (check_layout "$(shot "$name")" "$width" "$height" >/dev/null 2>&1) && break
    sleep 0.2
  done
  echo "screenshot: $(shot "$name")"
  check_layout "$(shot "$name")" "$width" "$height"
}

# The interface at scale 1 at every size: here it follows the window's edges
# (test_ui_scale.sh grows it on a large window).
mkdir -p "$XDG_CONFIG_HOME/kelvar"
printf '[window]\nui_scale = 1\n' >"$XDG_CONFIG_HOME/kelvar/kelvar.ini"
start_xvfb
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
find_window
wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20
sleep 3 # the pieces land
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_MOVES_Y # the moves window, at the right edge
xdotool mousemove --window "$WINDOW" 600 500
sleep 0.5
screenshot 1024x768
check_status "$(shot 1024x768)" 1024 768

for size in "1600 1000" "800 600"; do
  read -r w h <<<"$size"
  xdotool windowsize "$WINDOW" "$w" "$h"
  wait_for_log "Kelvar: window size $w x $h" 10
  screenshot_at_size "${w}x${h}" "$w" "$h"
done

# F11 through a window manager that acts on the full-screen state.
xdotool windowsize "$WINDOW" 1024 768
wait_for_log "Kelvar: window size 1024 x 768" 10
"$KELVAR_BINARY_DIR/tests/e2e/kelvar_xfullscreen_wm" >"$E2E_TMP/wm.out" 2>&1 &
WM_PID=$!
for _ in $(seq 50); do grep -q ready "$E2E_TMP/wm.out" && break; sleep 0.1; done
grep -q ready "$E2E_TMP/wm.out" || fail "the stand-in window manager did not start: $(cat "$E2E_TMP/wm.out")"
press_key F11
wait_for_log "Kelvar: full screen on" 5
wait_for_log "Kelvar: window size 1920 x 1200" 10
grep -q "fullscreen add" "$E2E_TMP/wm.out" || fail "the window manager got no full-screen request"
screenshot_at_size fullscreen 1920 1200
press_key F11
wait_for_log "Kelvar: full screen off" 5
grep -q "fullscreen remove" "$E2E_TMP/wm.out" || fail "the window manager got no request to leave full screen"
for _ in $(seq 50); do (($(grep -cF "Kelvar: window size 1024 x 768" "$GAME_LOG") >= 2)) && break; sleep 0.1; done
(($(grep -cF "Kelvar: window size 1024 x 768" "$GAME_LOG") >= 2)) || fail "the window did not go back to 1024 x 768"

# The game ends full screen after the window was 1280 x 900: the next start
# opens at 1280 x 900 and goes full screen, and leaving full screen comes
# back to 1280 x 900.
xdotool windowsize "$WINDOW" 1280 900
wait_for_log "Kelvar: window size 1280 x 900" 10
press_key F11
wait_for_count "Kelvar: window size 1920 x 1200" 2 10
close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
settings="$XDG_CONFIG_HOME/kelvar/kelvar.ini"
for line in "width = 1280" "height = 900" "fullscreen = true" "ui_scale = 1"; do
  grep -qxF "$line" "$settings" || fail "the settings do not remember '$line': $(cat "$settings")"
done

: >"$GAME_LOG"
launch_game
wait_for_log "Kelvar: gl_Init finished" 60
wait_for_log "Kelvar: full screen on" 5
wait_for_log "Kelvar: window size 1920 x 1200" 10
find_window
wait_for_log "Kelvar: CMap::MoveGameTokensIn" 20
sleep 3
click $HELP_X $MENU_Y
click $SUB_X_HELP $ITEM_MOVES_Y
xdotool mousemove --window "$WINDOW" 600 500
screenshot_at_size fullscreen-at-start 1920 1200
press_key F11
wait_for_log "Kelvar: full screen off" 5
wait_for_log "Kelvar: window size 1280 x 900" 10
[[ "$(xdotool getwindowgeometry "$WINDOW" | grep Geometry)" == *1280x900 ]] ||
  fail "the window is not 1280 x 900 out of full screen: $(xdotool getwindowgeometry "$WINDOW")"
close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code after the second start"
grep -qxF "fullscreen = false" "$settings" || fail "leaving full screen was not remembered: $(cat "$settings")"
echo "PASS"
