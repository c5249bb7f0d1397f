// The program's command line: "kelvar [--time-control TC] [--review GAME.pgn
// | GAME.pgn]", "kelvar --annotate IN.pgn OUT.pgn", "kelvar --help",
// "kelvar --export-games FILE.pgn", "kelvar --version".
#pragma once

#include "chess/TimeControl.h"

#include <string>

class CCommandLine {
public:
  enum Action { RunGame, ShowHelp, ShowVersion, Misused, BadValue, Annotate, ExportGames };

  // What a run of the game is given.
  struct Options {
    std::string gamePath;           // a PGN file to open once the game has started
    std::string reviewPath;         // a PGN file whose game is reviewed once the game has started
    bool hasTimeControl = false;    // --time-control was given: it holds for this run
    chess::TimeControl timeControl; // ... with this value
    std::string annotateIn;         // --annotate: the games to review
    std::string annotateOut;        // ... and the file the reviewed games go to
    std::string exportPath;         // --export-games: the file the games library goes to
    std::string error;              // why a value was refused (BadValue)
  };

  // Reads the arguments (argv[0] is the program).
  static Action Parse(int argc, const char *const *argv, Options &options);
  // Prints what the action asks for (help and version on standard output,
  // the usage line or the refused value on standard error) and returns the
  // exit code, or -1 when the program goes on: to run the game, or to
  // annotate the games of a file without a window.
  static int Perform(Action action, const std::string &error = "");

  static const char *UsageLine() {
    return "usage: kelvar [--help] [--version] [--time-control TC] [--review GAME.pgn | GAME.pgn]\n"
           "       kelvar --annotate IN.pgn OUT.pgn\n"
           "       kelvar --export-games FILE.pgn";
  }
  static std::string HelpText();
  static std::string VersionText();
};
