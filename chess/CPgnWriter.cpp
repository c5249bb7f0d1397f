#include "chess/CPgnWriter.h"

#include "chess/CSanNotation.h"

#include <vector>

namespace chess {

namespace {

const char *const ROSTER[] = {"Event", "Site", "Date", "Round", "White", "Black", "Result"};

// The moves of the game in standard notation, and where numbering starts.
struct SanLine {
  std::vector<std::string> moves;
  int firstSide = White;
  int firstNumber = 1;
};

bool ToSanLine(const PgnGame &game, SanLine &line, std::string &error) {
  Position position;
  if (!game.startFen.empty() && !position.SetFen(game.startFen, error)) {
    error = "bad start position: " + error;
    return false;
  }
  line.firstSide = position.GetSideToMove();
  line.firstNumber = position.GetFullMoveNumber();
  for (const Move &move : game.moves) {
    MoveCode code;
    if (!position.FindLegal(move, code)) {
      error = "move " + move.ToUci() + " is not legal in " + position.GetFen();
      return false;
    }
    line.moves.push_back(CSanNotation::ToSan(position, move));
    position.DoMove(code);
  }
  return true;
}

// A tag value between quotes, with backslash and quote escaped. A tag keeps
// to its line: a line break in the value becomes a blank, which keeps the
// fields of a FEN apart ("w -\r- 0 1" read from a file is "w - - 0 1").
std::string Quoted(const std::string &value) {
  std::string text = "\"";
  for (char c : value) {
    if (c == '\\' || c == '"')
      text += '\\';
    text += c == '\n' || c == '\r' ? ' ' : c;
  }
  return text + "\"";
}

bool IsRosterOrSetUp(const std::string &name) {
  for (const char *roster : ROSTER)
    if (name == roster)
      return true;
  return name == "SetUp" || name == "FEN";
}

} // namespace

bool CPgnWriter::Write(const PgnGame &game, std::string &text, std::string &error) {
  SanLine line;
  if (!ToSanLine(game, line, error))
    return false;

  text.clear();
  for (const char *name : ROSTER) {
    const std::string *value = game.FindTag(name);
    const std::string shown = std::string(name) == "Result" ? game.result : value ? *value : "?";
    text += std::string("[") + name + " " + Quoted(shown) + "]\n";
  }
  if (!game.startFen.empty())
    text += "[SetUp \"1\"]\n[FEN " + Quoted(game.startFen) + "]\n";
  for (const auto &tag : game.tags)
    if (!IsRosterOrSetUp(tag.first))
      text += "[" + tag.first + " " + Quoted(tag.second) + "]\n";
  text += "\n";

  // Words joined by blanks, a new line before a word that would pass the limit.
  std::string current;
  auto add = [&](const std::string &word) {
    if (!current.empty() && current.size() + 1 + word.size() > LINE_LIMIT) {
      text += current + "\n";
      current.clear();
    }
    current += (current.empty() ? "" : " ") + word;
  };
  int side = line.firstSide, number = line.firstNumber;
  for (size_t i = 0; i < line.moves.size(); ++i) {
    if (side == White)
      add(std::to_string(number) + ". " + line.moves[i]);
    else if (i == 0)
      add(std::to_string(number) + "... " + line.moves[i]);
    else
      add(line.moves[i]);
    if (side == Black)
      ++number;
    side = OtherColor(side);
  }
  add(game.result);
  text += current + "\n\n";
  return true;
}

bool CPgnWriter::MovesList(const PgnGame &game, std::string &text) {
  SanLine line;
  std::string error;
  if (!ToSanLine(game, line, error))
    return false;
  text.clear();
  int side = line.firstSide, number = line.firstNumber;
  for (size_t i = 0; i < line.moves.size(); ++i) {
    if (side == White)
      text += std::to_string(number) + ". " + line.moves[i];
    else if (i == 0)
      text += std::to_string(number) + "... " + line.moves[i];
    else
      text += " " + line.moves[i];
    if (side == Black) {
      text += "\n";
      ++number;
    }
    side = OtherColor(side);
  }
  if (!text.empty() && text.back() != '\n')
    text += "\n";
  if (game.IsFinished())
    text += game.result + "\n";
  return true;
}

} // namespace chess
