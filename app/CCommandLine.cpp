#include "app/CCommandLine.h"

#include <cstdio>

#ifndef KELVAR_VERSION
#define KELVAR_VERSION "0.0.0"
#endif

CCommandLine::Action CCommandLine::Parse(int argc, const char *const *argv, std::string &gamePath) {
  gamePath.clear();
  if (argc <= 1)
    return RunGame;
  if (argc > 2)
    return Misused;
  const std::string argument = argv[1];
  if (argument == "--help" || argument == "-h")
    return ShowHelp;
  if (argument == "--version")
    return ShowVersion;
  // Anything else that looks like an option is a mistake, not a file name.
  if (argument.empty() || argument[0] == '-')
    return Misused;
  gamePath = argument;
  return RunGame;
}

int CCommandLine::Perform(Action action) {
  switch (action) {
  case ShowHelp:
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  case ShowVersion:
    std::fputs(VersionText().c_str(), stdout);
    return 0;
  case Misused:
    std::fprintf(stderr, "%s\n", UsageLine());
    return 2;
  case RunGame:
  default:
    return -1;
  }
}

std::string CCommandLine::HelpText() {
  return std::string(UsageLine()) + "\n\n"
                                    "Kelvar is a 3D chess game against a chess engine.\n\n"
                                    "  GAME.pgn    open the first game of this PGN file once the game has started\n"
                                    "  --help      show this text and exit\n"
                                    "  --version   show the version and exit\n\n"
                                    "Saved games and the unfinished game of the last session are kept in\n"
                                    "$XDG_DATA_HOME/kelvar (by default ~/.local/share/kelvar).\n";
}

std::string CCommandLine::VersionText() { return std::string("kelvar ") + KELVAR_VERSION + "\n"; }
