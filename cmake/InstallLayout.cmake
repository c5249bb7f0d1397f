# The installed layout: the game in <prefix>/games (Debian's place for games),
# the engine program in <prefix>/lib/kelvar (a private program, kept out of
# the PATH and out of share/, which must hold no binaries), the media and the
# other data in <prefix>/share/kelvar.
include(GNUInstallDirs)
set(KELVAR_INSTALL_BINDIR games)
set(KELVAR_INSTALL_ENGINEDIR lib/kelvar)
set(KELVAR_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/kelvar)

# The game looks for the other two relative to its own folder, so the same
# binary works under any prefix and under DESTDIR.
file(RELATIVE_PATH KELVAR_DATA_FROM_BIN /p/${KELVAR_INSTALL_BINDIR} /p/${KELVAR_INSTALL_DATADIR})
file(RELATIVE_PATH KELVAR_ENGINE_FROM_BIN /p/${KELVAR_INSTALL_BINDIR} /p/${KELVAR_INSTALL_ENGINEDIR})
