// The program's command line: "kelvar [GAME.pgn]", "kelvar --help",
// "kelvar --version".
#pragma once

#include <string>

class CCommandLine {
public:
  enum Action { RunGame, ShowHelp, ShowVersion, Misused };

  // Reads the arguments (argv[0] is the program). A PGN path to open once
  // the game has started goes into gamePath.
  static Action Parse(int argc, const char *const *argv, std::string &gamePath);
  // Prints what the action asks for (help and version on standard output,
  // the usage line on standard error) and returns the exit code, or -1 when
  // the game is to run.
  static int Perform(Action action);

  static const char *UsageLine() { return "usage: kelvar [--help] [--version] [GAME.pgn]"; }
  static std::string HelpText();
  static std::string VersionText();
};
