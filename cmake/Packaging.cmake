# "cpack -G DEB" in the build folder: kelvar_<version>_amd64.deb, installed
# under /usr, from the same install rules as "cmake --install".
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelvar developers")
set(CPACK_PACKAGE_CONTACT "Kelvar developers <kelvar@lists.kelvar.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kelvar.org/")
# The libraries come from dpkg-shlibdeps (Irrlicht, ALSA, libspeechd, the C++ runtime);
# the chess engine is a program the engine program starts, so it is named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "stockfish")
# Its ECO classification (/usr/share/pgn-extract/eco.pgn) names the openings;
# without it the game plays on without names.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pgn-extract")
# The speech server that "Speak moves" talks to (libspeechd comes through
# dpkg-shlibdeps); speech is off by default and the game is silent without it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "speech-dispatcher")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "3D chess game against the Stockfish engine
Kelvar is a chess game in three dimensions: one player plays against the
Stockfish chess engine on a board with shaded pieces and shadows, turning the
camera freely around it. Pieces are moved by clicking them; the game shows
the legal target squares, announces check-mate and keeps the moves history.
The engine plays like a casual player by default; its strength and think
time can be set.")
include(CPack)
