#include "app/CCommandLine.h"

#include <cstdio>

#ifndef KELVAR_VERSION
#define KELVAR_VERSION "0.0.0"
#endif

namespace {

// A file name given as an option's value: not empty, and not an option.
bool IsFileArgument(const std::string &argument) { return !argument.empty() && argument[0] != '-'; }

} // namespace

CCommandLine::Action CCommandLine::Parse(int argc, const char *const *argv, Options &options) {
  options = Options();
  // The batch review stands alone: two files and nothing else.
  if (argc >= 2 && std::string(argv[1]) == "--annotate") {
    if (argc != 4 || !IsFileArgument(argv[2]) || !IsFileArgument(argv[3]))
      return Misused;
    options.annotateIn = argv[2];
    options.annotateOut = argv[3];
    return Annotate;
  }
  if (argc >= 2 && std::string(argv[1]) == "--export-games") {
    if (argc != 3 || !IsFileArgument(argv[2]))
      return Misused;
    options.exportPath = argv[2];
    return ExportGames;
  }
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argc == 2 && (argument == "--help" || argument == "-h"))
      return ShowHelp;
    if (argc == 2 && argument == "--version")
      return ShowVersion;
    if (argument == "--review") {
      if (i + 1 >= argc || !IsFileArgument(argv[i + 1]) || !options.reviewPath.empty() || !options.gamePath.empty())
        return Misused;
      options.reviewPath = argv[++i];
      continue;
    }
    if (argument == "--time-control" && !options.hasTimeControl) {
      if (i + 1 >= argc)
        return Misused;
      const std::string value = argv[++i];
      std::string reason;
      if (!chess::TimeControl::Parse(value, options.timeControl, reason)) {
        options.error = "kelvar: --time-control " + value + ": " + reason;
        return BadValue;
      }
      options.hasTimeControl = true;
      continue;
    }
    // Anything else that looks like an option is a mistake, not a file name.
    if (!IsFileArgument(argument) || !options.gamePath.empty() || !options.reviewPath.empty())
      return Misused;
    options.gamePath = argument;
  }
  return RunGame;
}

int CCommandLine::Perform(Action action, const std::string &error) {
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
  case BadValue:
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  case RunGame:
  case Annotate:
  case ExportGames:
  default:
    return -1;
  }
}

std::string CCommandLine::HelpText() {
  return std::string(UsageLine()) +
         "\n\n"
         "Kelvar is a 3D chess game against a chess engine.\n\n"
         "  GAME.pgn              open the first game of this PGN file once the game has started\n"
         "  --review GAME.pgn     open the first game of this PGN file in a review once the\n"
         "                        game has started: the engine judges every move\n"
         "  --annotate IN.pgn OUT.pgn\n"
         "                        review every game of IN.pgn without a window and write\n"
         "                        them to OUT.pgn with the engine's evaluations ([%eval]),\n"
         "                        the marks of inaccuracies ($6), mistakes ($2) and\n"
         "                        blunders ($4), and each side's accuracy; the engine\n"
         "                        searches [review] nodes of the settings (300000) a\n"
         "                        position; exits with 1 if a game cannot be reviewed\n"
         "  --export-games FILE.pgn\n"
         "                        write every game of the games library as one PGN file\n"
         "  --time-control TC     play this run's new games under the time control TC, in\n"
         "                        the PGN TimeControl form: - (none), 300 (5 min), 300+3\n"
         "                        (5 min + 3 s a move), 40/5400:1800+30 (40 moves in\n"
         "                        90 min, then 30 min + 30 s a move); the settings keep theirs\n"
         "  --help                show this text and exit\n"
         "  --version             show the version and exit\n\n"
         "Saved games, the games library (games.sqlite) and the unfinished game of the\n"
         "last session are kept in $XDG_DATA_HOME/kelvar (by default ~/.local/share/kelvar).\n";
}

std::string CCommandLine::VersionText() { return std::string("kelvar ") + KELVAR_VERSION + "\n"; }
