#!/usr/bin/env bash
# Installs the Debian packages Kelvar needs. "build" installs what building
# and playing need; "test" adds what the test suite needs.
set -euo pipefail

BUILD_PACKAGES=(
  cmake g++ make pkg-config   # the build
  libirrlicht-dev             # the 3D engine (OpenGL driver, GUI, .x meshes)
  libfreetype-dev             # the media generator renders the bitmap fonts with it
  fonts-liberation            # Liberation Sans: the font the bitmap fonts are drawn from
  libasound2-dev              # the move, capture, check and mate sounds through ALSA
  libx11-dev libglx-dev       # the window's minimum size, full-screen state and vsync (platform/)
  stockfish                   # the chess engine our engine program drives
  libinih-dev                 # reads the settings file (kelvar.ini)
  libsqlite3-dev              # the library of finished games (games.sqlite) is an SQLite database
  pgn-extract                 # its ECO classification (eco.pgn) names the openings as a game is played
  libspeechd-dev              # "Speak moves": the game says the moves through speech-dispatcher
  gettext                     # xgettext and msgfmt: the message catalogues (po/), the translated desktop entry and metadata
)
TEST_PACKAGES=(
  libgtest-dev libgmock-dev   # unit tests
  libbenchmark-dev            # benchmarks
  clang libclang-rt-14-dev    # the fuzz target (libFuzzer) and sanitizer runtimes
  xvfb xdotool                # end-to-end tests: a virtual screen and real clicks
  x11-apps imagemagick        # screenshots of the game window (xwd, convert)
  x11-utils                   # xwininfo, to find the window
  ethereal-chess              # a second UCI engine: the engine program drives any UCI engine
  # pgn-extract (a build package) is also the independent PGN reader that checks the game files we write
  dpkg-dev                    # the Debian package: dpkg-shlibdeps finds its library dependencies
  lintian                     # checks the Debian package
  desktop-file-utils appstream # validate the desktop entry and the AppStream metadata
  man-db                      # checks the manual page for formatting warnings
)

packages=("${BUILD_PACKAGES[@]}")
if [[ "${1:-build}" == "test" ]]; then
  packages+=("${TEST_PACKAGES[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
