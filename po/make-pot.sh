#!/usr/bin/env bash
# Writes the template of Kelvar's messages (kelvar.pot) to $1: the texts of
# the code (marked with Tr, TrW, TrFormat, TrN, TrCount, NoTr, ...), the help text one
# message a paragraph (the lines between blank lines, as the game looks them
# up), the desktop entry and the AppStream metadata.
set -euo pipefail
out=$1
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/kelvar-pot.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$src"

# The chess core says why a typed move is refused with Refuse(input, "...").
{ find app engine game platform ui -name '*.cpp' -o -name '*.h'; echo chess/MoveInput.cpp; } | LC_ALL=C sort >"$work/files"
xgettext --from-code=UTF-8 --language=C++ --keyword= \
  --keyword=Tr --keyword=TrW --keyword=NoTr --keyword=TrFormat --keyword=TrFormatW \
  --keyword=TrN:1,2 --keyword=TrFormatN:1,2 --keyword=TrCount:2,3 --keyword=TrContext:1c,2 --keyword=Refuse:2 --add-comments=TRANSLATORS: \
  --package-name=kelvar --msgid-bugs-address=kelvar@lists.kelvar.org \
  --files-from="$work/files" -o "$work/code.pot"
xgettext --from-code=UTF-8 --language=Desktop -o "$work/desktop.pot" data/kelvar.desktop
xgettext --from-code=UTF-8 --its=/usr/share/gettext/its/metainfo.its -o "$work/metainfo.pot" \
  data/org.kelvar.Kelvar.metainfo.xml.in

# The help: awk's paragraph mode splits records at blank lines.
awk 'BEGIN { RS = ""; printf "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n" }
{
  gsub(/\\/, "\\\\"); gsub(/"/, "\\\"")
  n = split($0, lines, "\n")
  printf "\n#: media/chess_helptext.txt:%d\nmsgid \"\"\n", NR
  for (i = 1; i <= n; i++)
    printf "\"%s%s\"\n", lines[i], i < n ? "\\n" : ""
  printf "msgstr \"\"\n"
}' media/chess_helptext.txt >"$work/help.pot"

msgcat --use-first -o "$work/all.pot" "$work/code.pot" "$work/desktop.pot" "$work/metainfo.pot" \
  "$work/help.pot"
# The date of the template changes with every run; the messages only with the sources.
sed '/^"POT-Creation-Date:/d' "$work/all.pot" >"$out"
