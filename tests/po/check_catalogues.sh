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
  # Each form of a translation holds the placeholders of its message, no
  # more and no fewer.
  msgcat --no-wrap "$po" | awk '
    function holds(text, from,   rest, mark) {
      rest = from
      while (match(rest, /[{][0-9][}]/)) {
        mark = substr(rest, RSTART, RLENGTH)
        if (!index(text, mark)) return 0
        rest = substr(rest, RSTART + RLENGTH)
      }
      return 1
    }
    function check(   n, forms, i) {
      if (id == "") return
      n = split(strs, forms, "\001")
      for (i = 2; i <= n; i++)
        if (!holds(forms[i], id) || !holds(id, forms[i]))
          print id " and its translation " forms[i]
    }
    /^msgid / { check(); id = substr($0, 7); strs = ""; cur = "id"; next }
    /^msgid_plural / { cur = "plural"; next }
    /^msgstr/ { sub(/^msgstr(\[[0-9]\])? /, ""); strs = strs "\001" $0; cur = "str"; next }
    /^"/ { if (cur == "id") id = id $0; else if (cur == "str") strs = strs $0; next }
    END { check() }
  ' >"$work/marks"
  [[ -s "$work/marks" ]] && fail "$lang: placeholders differ: $(head -n 20 "$work/marks")"
done <"$src/po/LINGUAS"
exit $bad
