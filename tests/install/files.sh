# The files an installed Kelvar consists of, shared by the install checks.
# Expects KELVAR_RUN_DIR (the build's run folder, whose media/ is installed).

# Prints, sorted, every file an install under the prefix $1 holds.
kelvar_installed_files() {
  local p=$1
  {
    printf '%s\n' "$p/games/kelvar" "$p/lib/kelvar/Abrok_5_0.exe" \
      "$p/share/applications/kelvar.desktop" "$p/share/metainfo/org.kelvar.Kelvar.metainfo.xml" \
      "$p/share/man/man6/kelvar.6.gz" "$p/share/doc/kelvar/copyright" "$p/share/doc/kelvar/changelog.gz" \
      "$p/share/kelvar/screenshots/kelvar-board.png" \
      "$p/share/locale/de/LC_MESSAGES/kelvar.mo" "$p/share/locale/fr/LC_MESSAGES/kelvar.mo"
    for size in 48 64 128 256; do
      echo "$p/share/icons/hicolor/${size}x${size}/apps/kelvar.png"
    done
    (cd "$KELVAR_RUN_DIR" && find media -type f) | sed "s#^#$p/share/kelvar/#"
  } | sort
}

# Checks the desktop entry, the metadata, the manual page and the icons of an
# install under the prefix $1 with the desktop's own validators; prints what
# is wrong and returns non-zero if anything is.
kelvar_check_desktop_files() {
  local p=$1 bad=0 size
  desktop-file-validate "$p/share/applications/kelvar.desktop" || bad=1
  appstreamcli validate --no-net --explain "$p/share/metainfo/org.kelvar.Kelvar.metainfo.xml" || bad=1
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$p/share/man/man6/kelvar.6.gz" 2>&1 >/dev/null)
  [[ -z "$warnings" ]] || { echo "manual page: $warnings"; bad=1; }
  for size in 48 64 128 256; do
    local icon="$p/share/icons/hicolor/${size}x${size}/apps/kelvar.png" got
    got=$(identify -format '%m %wx%h' "$icon" 2>&1) || true
    [[ "$got" == "PNG ${size}x${size}" ]] || { echo "icon $icon: '$got', expected PNG ${size}x${size}"; bad=1; }
  done
  return $bad
}
