// The game as the engine knows it: the position it started from, the moves
// since, and the options the game set. Each engine program the link starts is
// told all of it, so it outlives any one program and is kept apart from the
// conversation with it. Plain strings in and out: tested without a process.
#pragma once

#include <irrlicht.h>

#include <string>
#include <utility>
#include <vector>

class CEngineGame {
public:
  // A new game from the standard start.
  void Clear() { Set("", {}); }
  // Replaces the start (an empty FEN is the standard start) and the moves.
  void Set(const std::string &startFen, const std::vector<std::string> &moves);
  // Appends a move text such as e2e4 or e7e8q.
  void Add(const std::string &move);

  // "position startpos" or "position fen <FEN>", then " moves ..." when there
  // are any, and a line feed.
  std::string PositionCommand() const;

  const std::vector<std::string> &Moves() const { return moves; }
  // Empty for the standard start.
  const std::string &StartFen() const { return startFen; }
  // The moves one a line, as the moves window shows them.
  const irr::core::stringw &History() const { return history; }

  // Keeps an option the game set (the level, the think time); setting a name
  // again replaces its value. Hash and Ponder are the link's own and are set
  // on every handshake anyway, so they are not kept.
  void KeepOption(const char *name, const char *value);
  // The options kept, in the order they were first set: name and value.
  const std::vector<std::pair<std::string, std::string>> &Options() const { return options; }

private:
  std::vector<std::string> moves;
  std::string startFen;
  irr::core::stringw history;
  std::vector<std::pair<std::string, std::string>> options;
};
