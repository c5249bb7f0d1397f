#include "chess/CPgnWriter.h"

#include "chess/CSanNotation.h"

#include <cctype>
#include <vector>

namespace chess {

namespace {

constexpr int MAX_NAG = 255;

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

// A name a reader can read back: letters, digits and underscores.
bool IsTagName(const std::string &name) {
  if (name.empty())
    return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
      return false;
  return true;
}

bool IsCommentSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A comment as the pieces a line may break between, braces included. A
// reader takes a line break inside a comment, with the blanks around it, for
// one blank, so a line may break at a lone blank between two other
// characters, or where the text itself breaks its line; any other run of
// blanks stays inside its piece, as it is. A comment cannot hold its closing
// brace: a '}' in the text is written as ')', the nearest sign that still
// reads as a closing bracket.
std::vector<std::string> CommentPieces(const std::string &comment) {
  std::vector<std::string> pieces;
  std::string piece = "{";
  for (size_t i = 0; i < comment.size();) {
    if (!IsCommentSpace(comment[i])) {
      piece += comment[i] == '}' ? ')' : comment[i];
      ++i;
      continue;
    }
    size_t end = i;
    bool lineBreak = false;
    for (; end < comment.size() && IsCommentSpace(comment[end]); ++end)
      lineBreak = lineBreak || comment[end] == '\n' || comment[end] == '\r';
    if (lineBreak || (end - i == 1 && comment[i] == ' ')) {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece.append(comment, i, end - i);
    }
    i = end;
  }
  pieces.push_back(piece + "}");
  return pieces;
}

// Joins words with blanks into lines under the limit, breaking before a word
// that would pass it. A word is never broken, so a longer one stands alone on
// its line. No line starts with '%', which would make it an escape line: such
// a word takes the word before it along to the new line.
class LineFiller {
public:
  explicit LineFiller(std::string &text) : text(text) {}
  void Add(const std::string &word) {
    if (!current.empty() && current.size() + 1 + word.size() > CPgnWriter::LINE_LIMIT) {
      if (word[0] != '%') {
        text += current + "\n";
        current.clear();
      } else if (lastWord > 0) {
        text += current.substr(0, lastWord - 1) + "\n";
        current.erase(0, lastWord);
      }
    }
    lastWord = current.empty() ? 0 : current.size() + 1;
    current += (current.empty() ? "" : " ") + word;
  }
  void AddComment(const std::string &comment) {
    for (const std::string &piece : CommentPieces(comment))
      Add(piece);
  }
  void Finish() { text += current + "\n"; }

private:
  std::string &text;
  std::string current;
  size_t lastWord = 0; // where the last word of current starts
};

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
  // Other tags in their own order; a name no reader could read is left out.
  for (const auto &tag : game.tags)
    if (!IsRosterOrSetUp(tag.first) && IsTagName(tag.first))
      text += "[" + tag.first + " " + Quoted(tag.second) + "]\n";
  text += "\n";

  LineFiller filler(text);
  for (const std::string &comment : game.gameComments)
    filler.AddComment(comment);
  int side = line.firstSide, number = line.firstNumber;
  bool interrupted = true; // Black's move is numbered at the start and after a comment
  for (size_t i = 0; i < line.moves.size(); ++i) {
    if (side == White)
      filler.Add(std::to_string(number) + ". " + line.moves[i]);
    else if (interrupted)
      filler.Add(std::to_string(number) + "... " + line.moves[i]);
    else
      filler.Add(line.moves[i]);
    const MoveNotes &notes = game.NotesOf(i);
    for (int nag : notes.nags)
      if (nag >= 0 && nag <= MAX_NAG) // anything else is no NAG and would not read back
        filler.Add("$" + std::to_string(nag));
    for (const std::string &comment : notes.comments)
      filler.AddComment(comment);
    interrupted = !notes.comments.empty();
    if (side == Black)
      ++number;
    side = OtherColor(side);
  }
  filler.Add(game.result);
  filler.Finish();
  text += "\n";
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
