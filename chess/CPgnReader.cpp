#include "chess/CPgnReader.h"

#include "chess/CSanNotation.h"

#include <cctype>

namespace chess {

namespace {

bool IsResult(const std::string &word) { return word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*"; }

// Characters that may make up a move, a move number or a result.
bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '#' || c == '=' || c == '-' || c == '/' ||
         c == '!' || c == '?' || c == ':' || c == '*' || c == '.';
}

// Walks the text once, keeping the line number; every step either consumes
// something or reports an error, so the reader always ends.
class Scanner {
public:
  Scanner(const std::string &text, PgnError &error) : text(text), error(error) {}

  bool Run(PgnGame &game);

private:
  bool Fail(const std::string &reason) {
    error.line = line;
    error.reason = reason;
    return false;
  }
  char Peek() const { return at < text.size() ? text[at] : '\0'; }
  bool AtLineStart() const { return at == 0 || text[at - 1] == '\n'; }
  void Advance() {
    if (text[at++] == '\n')
      ++line;
  }
  void SkipRestOfLine() {
    while (at < text.size() && text[at] != '\n')
      ++at;
  }
  bool ReadTag(PgnGame &game);
  bool SkipComment();
  bool ReadWord(std::string &word);
  bool TakeMove(const std::string &word, PgnGame &game);

  const std::string &text;
  PgnError &error;
  size_t at = 0;
  int line = 1;
  bool inMovetext = false;
  int variationDepth = 0;
  Position position;
  bool positionSet = false;
};

bool Scanner::ReadTag(PgnGame &game) {
  const int tagLine = line;
  Advance(); // '['
  while (Peek() == ' ' || Peek() == '\t')
    Advance();
  std::string name;
  while (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_')
    name += text[at++];
  while (Peek() == ' ' || Peek() == '\t')
    Advance();
  if (name.empty() || Peek() != '"')
    return Fail("malformed tag" + (name.empty() ? std::string() : " \"" + name + "\""));
  Advance();
  std::string value;
  for (;;) {
    const char c = Peek();
    if (c == '\0' || c == '\n')
      return Fail("tag \"" + name + "\" is not closed");
    Advance();
    if (c == '"')
      break;
    if (c == '\\' && (Peek() == '"' || Peek() == '\\'))
      value += text[at++];
    else
      value += c;
  }
  while (Peek() == ' ' || Peek() == '\t')
    Advance();
  if (Peek() != ']')
    return Fail("tag \"" + name + "\" is not closed");
  Advance();
  game.SetTag(name, value);
  if (name == "FEN") {
    std::string reason;
    if (!position.SetFen(value, reason)) {
      line = tagLine;
      return Fail("bad FEN tag \"" + value + "\": " + reason);
    }
    game.startFen = value;
    positionSet = true;
  }
  return true;
}

bool Scanner::SkipComment() {
  const int opened = line;
  while (at < text.size() && text[at] != '}')
    Advance();
  if (at >= text.size()) {
    line = opened;
    return Fail("comment is not closed (the file ends inside it)");
  }
  Advance();
  return true;
}

bool Scanner::ReadWord(std::string &word) {
  word.clear();
  while (IsWordChar(Peek()))
    word += text[at++];
  return !word.empty();
}

bool Scanner::TakeMove(const std::string &word, PgnGame &game) {
  Move move;
  std::string reason;
  if (!CSanNotation::FromSan(position, word, move, reason))
    return Fail(reason.find('"') == std::string::npos ? reason + " in move \"" + word + "\"" : reason);
  position.Play(move); // FromSan found it among the legal moves
  game.moves.push_back(move);
  return true;
}

bool Scanner::Run(PgnGame &game) {
  while (at < text.size()) {
    const char c = text[at];
    if (c == '%' && AtLineStart()) { // escape line: ignored whole
      SkipRestOfLine();
      continue;
    }
    if (c == '\n' || c == '\r' || c == ' ' || c == '\t' || c == '\f' || c == '\v') {
      Advance();
      continue;
    }
    if (c == '{') {
      if (!SkipComment())
        return false;
      continue;
    }
    if (c == ';') {
      SkipRestOfLine();
      continue;
    }
    if (c == '[' && variationDepth == 0) {
      if (inMovetext)
        return Fail("the game ends without a result (a tag follows its moves)");
      if (!ReadTag(game))
        return false;
      continue;
    }
    if (c == '(') {
      ++variationDepth;
      inMovetext = true;
      Advance();
      continue;
    }
    if (c == ')') {
      if (variationDepth == 0)
        return Fail("\")\" closes no variation");
      --variationDepth;
      Advance();
      continue;
    }
    if (c == '$') {
      Advance();
      if (!std::isdigit(static_cast<unsigned char>(Peek())))
        return Fail("\"$\" without a number");
      while (std::isdigit(static_cast<unsigned char>(Peek())))
        Advance();
      continue;
    }
    std::string word;
    if (!ReadWord(word)) {
      const unsigned char byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte >= 0x7f)
        return Fail("not a PGN text file (byte " + std::to_string(byte) + ")");
      return Fail(std::string("unexpected character '") + c + "'");
    }
    inMovetext = true;
    if (variationDepth > 0)
      continue; // moves of a variation are skipped unread
    if (IsResult(word)) {
      game.result = word;
      return true;
    }
    // A move number with its dots, possibly glued to the move: "12.e4".
    size_t digits = 0;
    while (digits < word.size() && std::isdigit(static_cast<unsigned char>(word[digits])))
      ++digits;
    if (digits > 0 && digits < word.size() && word[digits] == '.') {
      size_t rest = digits;
      while (rest < word.size() && word[rest] == '.')
        ++rest;
      word.erase(0, rest);
      if (word.empty())
        continue;
    } else if (digits == word.size()) {
      continue; // a move number written without its dot
    }
    if (!TakeMove(word, game))
      return false;
  }
  if (variationDepth > 0)
    return Fail("a variation is not closed (the file ends inside it)");
  if (!inMovetext && game.tags.empty())
    return Fail("no game in the file");
  return Fail("the game ends without a result (the file may be cut short)");
}

} // namespace

bool CPgnReader::Read(const std::string &text, PgnGame &game, PgnError &error) {
  if (text.size() > MAX_FILE_BYTES) {
    error.line = 1;
    error.reason = "the file is larger than " + std::to_string(MAX_FILE_BYTES / 1024) + " KB";
    return false;
  }
  PgnGame read;
  Scanner scanner(text, error);
  if (!scanner.Run(read))
    return false;
  game = read;
  return true;
}

} // namespace chess
