#!/usr/bin/env bash
# The board sets as a player picks them: Program > Config..., the "Board set"
# list, OK. Each set is on the board at once: its log line, and in a
# screenshot an empty light and an empty dark square take the set's colours
# (maple and walnut, white and dark green-black stone, cream and green). The
# choice is saved and is the board of the next start. In the marble set the
# promotion window's pictures show a white marble piece on the marble's
# dark square.
source "$(dirname "$0")/lib.sh"

# The Config window (440 x 448) is centred at 1024 x 768: its top-left corner
# is (292, 160). The board set's list box is at y 530..550; its rows drop down
# below it, 19 pixels apart: Wood, Marble, Tournament.
SET_BOX="507 540" SET_ROW_X=500 SET_FIRST_ROW_Y=560 SET_ROW_H=19
OK_BUTTON="577 582"
SETTINGS="$XDG_CONFIG_HOME/kelvar/kelvar.ini"
WHITE_BUTTON="462 389" # the colour window's WHITE
# The promotion window's first picture (the queen) at 1024 x 768, as
# test_promotion.sh finds it.
PICTURE_LEFT=351 PICTURE_TOP=356
SET_NUMBER_wood=0 SET_NUMBER_marble=1 SET_NUMBER_tournament=2

shot() { echo "$KELVAR_ARTIFACTS/$E2E_NAME-$1.png"; }

# Chooses the set NAME in the Config window, presses OK and waits for the
# set to be shown.
choose_set() {
  local name=$1 row n
  row=SET_NUMBER_$name
  n=$(count "Kelvar: theme $name")
  open_config
  click $SET_BOX
  sleep 0.3
  click $SET_ROW_X $((SET_FIRST_ROW_Y + ${!row} * SET_ROW_H))
  click $OK_BUTTON
  wait_for_count "Kelvar: theme $name" $((n + 1)) 5
  grep -qx "theme = $name" "$SETTINGS" || fail "$name was not saved: $(cat "$SETTINGS")"
  sleep 1 # a frame or two, the pointer away from the board
}

# The light square e4 and the dark square d4, empty at the start, as White's
# side view draws them.
read -r LIGHT_X LIGHT_Y < <(square_spot white-side e4; echo)
read -r DARK_X DARK_Y < <(square_spot white-side d4; echo)
[[ -n "$LIGHT_Y" && -n "$DARK_Y" ]] || fail "no window spots for e4 and d4"

# Checks SHOT against the set NAME's square colours.
check_squares() {
  local file lr lg lb dr dg db ok
  file=$(shot "$1")
  read -r lr lg lb < <(region_rgb "$file" 8 8 $((LIGHT_X - 4)) $((LIGHT_Y - 4)); echo)
  read -r dr dg db < <(region_rgb "$file" 8 8 $((DARK_X - 4)) $((DARK_Y - 4)); echo)
  echo "$1 ($2): light square $lr $lg $lb, dark square $dr $dg $db"
  case $2 in
  # Warm maple, and a walnut brown clearly darker.
  wood) ((lr > lb + 50 && lg > lb + 20 && dr > dg && dg > db && dr + dg + db < lr + lg + lb - 150)) && ok=1 ;;
  # White stone, nearly grey; dark stone, dark and a little green.
  marble) ((lr > 150 && lr - lb < 30 && lb - lr < 30 && dr + dg + db < 240 && dg >= dr)) && ok=1 ;;
  # Cream (warm, not grey); green.
  tournament) ((lr > lb + 25 && lg > lb + 20 && dg > dr + 25 && dg > db + 15)) && ok=1 ;;
  esac
  [[ -n "${ok:-}" ]] || fail "$1: the squares do not look like the $2 set"
}

# The board's middle differs clearly between two screenshots.
differ() {
  local a b
  a=$(region_rgb "$(shot "$1")" 240 120 392 330)
  b=$(region_rgb "$(shot "$2")" 240 120 392 330)
  awk -v a="$a" -v b="$b" 'BEGIN { split(a, x, " "); split(b, y, " "); d = 0
    for (i = 1; i <= 3; i++) d += (x[i] > y[i] ? x[i] - y[i] : y[i] - x[i])
    exit !(d > 30) }' || fail "$1 and $2 show the same board ($a against $b)"
}

start_xvfb
launch_until_idle
wait_for_log "Kelvar: theme wood" 1 # the default set, at start-up
screenshot wood
check_squares wood wood

choose_set marble
screenshot marble
check_squares marble marble
differ wood marble

choose_set tournament
screenshot tournament
check_squares tournament tournament
differ marble tournament
differ wood tournament

# A restart keeps the set.
close_window
wait_for_exit 20 || fail "the game did not exit cleanly"
n=$(count "Kelvar: theme tournament")
launch_and_wait_startup
sleep 2
(($(count "Kelvar: theme tournament") == n + 1)) || fail "the next start did not show the tournament set"
screenshot restart-tournament
check_squares restart-tournament tournament

choose_set wood
screenshot wood-again
check_squares wood-again wood

# Promotion in the marble set: the pictures are drawn from the set in use.
choose_set marble
close_window
wait_for_exit 20 || fail "the game did not exit cleanly"
FEN="r6k/1P6/8/8/8/8/6PP/6K1 w - - 0 1"
game="$E2E_TMP/promotion.pgn"
printf '[Event "Promotion"]\n[SetUp "1"]\n[FEN "%s"]\n\n*\n' "$FEN" >"$game"
n=$(count "Kelvar: theme marble")
launch_game "$game"
wait_for_count "Kelvar: theme marble" $((n + 1)) 60
find_window
wait_for_log "Kelvar: PGN loaded 0 plies from $game" 30
sleep 3
click $WHITE_BUTTON
wait_for_log "Kelvar: CGame plays on as White" 5
click_move --fen "$FEN" white-side b7a8
sleep 0.5
screenshot promotion-marble
read -r r g b < <(region_rgb "$(shot promotion-marble)" 6 6 $((PICTURE_LEFT + 2)) $((PICTURE_TOP + 2)); echo)
body=$(region_mean "$(shot promotion-marble)" 6 10 $((PICTURE_LEFT + 29)) $((PICTURE_TOP + 34)))
echo "promotion picture: corner $r $g $b, body brightness $body"
((r + g + b < 200 && g >= r)) || fail "the picture's corner ($r $g $b) is not the marble's dark square"
awk -v v="$body" 'BEGIN { exit !(v > 0.6) }' || fail "no white marble piece in the picture ($body)"
echo "PASS"
