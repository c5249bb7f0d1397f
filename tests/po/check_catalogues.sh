#!/usr/bin/env bash
# Checks the message catalogues (po/<ll>.po of po/LINGUAS): msgfmt finds no
# error and counts every message translated, none fuzzy or untranslated;
# every message of the sources (code, help text, desktop entry, AppStream
# metadata) is in each catalogue; po/kelvar.pot is up to date; and every
# translation keeps the {1}, {2}, ... its message fills in.
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/kelvar-po.XXXXXX)
trap 'rm -rf "$work"' EXIT
bad=0
fail() { echo "FAIL: $*"; bad=1; }

"$src/po/make-pot.sh" "$work/kelvar.pot" || fail "the template cannot be made from the sources"
msgcmp --use-untranslated "$src/po/kelvar.pot" "$work/kelvar.pot" >/dev/null 2>&1 ||
  fail "po/kelvar.pot is out of date: cmake --build build --target pot"

while read -r lang; do
  [[ "$lang" =~ ^[a-z] ]] || continue
  po="$src/po/$lang.po"
  stats=$(msgfmt --check --statistics -o /dev/null "$po" 2>&1) || fail "$lang: msgfmt --check: $stats"
  echo "$lang: $stats"
  [[ "$stats" =~ ^[0-9]+\ translated\ messages?\.$ ]] || fail "$lang: not every message is translated: $stats"
  msgcmp "$po" "$work/kelvar.pot" >"$work/cmp" 2>&1 || fail "$lang: messages missing from $lang.po: $(head -n 20 "$work/cmp")"
  # The placeholders of the message and of its translation, sorted.
  msgexec -i "$po" sh -c '
    marks() { grep -o "{[0-9]}" | sort -u | tr -d "\n"; }
    [ -z "$MSGEXEC_MSGID" ] && exit 0
    want=$(printf "%s" "$MSGEXEC_MSGID" | marks); got=$(marks)
    [ "$want" = "$got" ] || printf "%s: %s has %s, its translation %s\n" "$MSGEXEC_LOCATION" "$MSGEXEC_MSGID" "$want" "$got"
  ' >"$work/marks" 2>&1
  [[ -s "$work/marks" ]] && fail "$lang: placeholders differ: $(head -n 20 "$work/marks")"
done <"$src/po/LINGUAS"
exit $bad
