#include "chess/CPgnReader.h"

#include "chess/CSanNotation.h"

#include <cctype>
#include <iterator>
#include <utility>

namespace chess {

namespace {

// Numeric annotation glyphs run from 0 to 255; a larger number is no NAG.
constexpr int MAX_NAG = 255;

// The suffix marks a move may carry, as the NAGs they stand for (1 to 6).
const char *const MARKS[] = {"!", "?", "!!", "??", "!?", "?!"};

bool IsResult(const std::string &word) { return word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*"; }

// Characters that may make up a move, a move number or a result.
bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '#' || c == '=' || c == '-' || c == '/' ||
         c == '!' || c == '?' || c == ':' || c == '*' || c == '.';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsCommentSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text of a comment as the game keeps it: every byte as written, except
// that a line break with the blanks around it reads as one blank. Writers
// break long comments wherever a blank falls, so line breaks are layout.
std::string FoldLineBreaks(const std::string &raw) {
  std::string text;
  for (size_t i = 0; i < raw.size();) {
    if (!IsCommentSpace(raw[i])) {
      text += raw[i++];
      continue;
    }
    size_t end = i;
    bool lineBreak = false;
    for (; end < raw.size() && IsCommentSpace(raw[end]); ++end)
      lineBreak = lineBreak || raw[end] == '\n' || raw[end] == '\r';
    if (lineBreak)
      text += ' ';
    else
      text.append(raw, i, end - i);
    i = end;
  }
  return text;
}

// The NAG of a suffix mark ("!?" is 5), or 0 for a run of marks PGN does not
// name ("!!!").
int NagOfMark(const std::string &mark) {
  for (size_t i = 0; i < std::size(MARKS); ++i)
    if (mark == MARKS[i])
      return int(i) + 1;
  return 0;
}

enum class Outcome { Game, Fault, NoGame };

// Walks the text once, game after game, keeping the line number; every step
// either consumes something or reports an error, so the reader always ends.
class Scanner {
public:
  explicit Scanner(const std::string &text) : text(text) {}

  // Reads the game that starts where the scanner stands, up to and with its
  // result. On a fault, game holds what was read before it. NoGame when only
  // blanks, comments and escape lines are left.
  Outcome Next(PgnGame &game, PgnError &error);
  // After a fault: moves on to the first tag line that looks like the start
  // of another game (one after movetext or after a blank line).
  void SkipToNextGame();
  int GetFirstLine() const { return firstLine; }

private:
  bool Fail(const std::string &reason) { return FailAt(line, reason); }
  Outcome Broken(const std::string &reason) {
    Fail(reason);
    return Outcome::Fault;
  }
  bool FailAt(int where, const std::string &reason) {
    error->line = where;
    error->reason = reason;
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
  bool IsTagLine(size_t start) const;
  void Begin();
  bool ReadTag();
  bool ReadComment(std::string &comment);
  std::string ReadLineComment();
  bool ReadNag();
  bool ReadWord(std::string &word);
  bool TakeMove(const std::string &word);
  void AddComment(const std::string &comment);
  void AddNag(int nag);

  const std::string &text;
  size_t at = 0;
  int line = 1;

  // The game being read.
  PgnGame *game = nullptr;
  PgnError *error = nullptr;
  bool started = false; // a tag or movetext was seen
  size_t firstToken = 0;
  int firstLine = 1;
  bool inMovetext = false;
  int variationDepth = 0;
  Position position;
};

bool Scanner::IsTagLine(size_t start) const {
  while (start < text.size() && IsBlank(text[start]))
    ++start;
  if (start >= text.size() || text[start] != '[')
    return false;
  ++start;
  while (start < text.size() && IsBlank(text[start]))
    ++start;
  return start < text.size() && (std::isalnum(static_cast<unsigned char>(text[start])) || text[start] == '_');
}

void Scanner::Begin() {
  if (started)
    return;
  started = true;
  firstToken = at;
  firstLine = line;
}

bool Scanner::ReadTag() {
  const int tagLine = line;
  Advance(); // '['
  while (IsBlank(Peek()))
    Advance();
  std::string name;
  while (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_')
    name += text[at++];
  while (IsBlank(Peek()))
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
  while (IsBlank(Peek()))
    Advance();
  if (Peek() != ']')
    return Fail("tag \"" + name + "\" is not closed");
  Advance();
  game->SetTag(name, value);
  // Comments before or among the tags belong to no move and are dropped.
  game->gameComments.clear();
  if (name == "FEN") {
    std::string reason;
    if (!position.SetFen(value, reason))
      return FailAt(tagLine, "bad FEN tag \"" + value + "\": " + reason);
    game->startFen = value;
  }
  return true;
}

bool Scanner::ReadComment(std::string &comment) {
  const int opened = line;
  Advance(); // '{'
  const size_t start = at;
  while (at < text.size() && text[at] != '}')
    Advance();
  if (at >= text.size())
    return FailAt(opened, "comment is not closed (the file ends inside it)");
  comment = FoldLineBreaks(text.substr(start, at - start));
  Advance(); // '}'
  return true;
}

// A rest-of-line comment is kept as a brace comment would hold it: its '}'
// becomes ')', as the writer writes a '}' of any comment.
std::string Scanner::ReadLineComment() {
  const size_t start = ++at; // past ';'
  SkipRestOfLine();
  size_t end = at;
  if (end > start && text[end - 1] == '\r')
    --end;
  std::string comment = FoldLineBreaks(text.substr(start, end - start));
  for (char &c : comment)
    if (c == '}')
      c = ')';
  return comment;
}

bool Scanner::ReadNag() {
  Advance(); // '$'
  if (!std::isdigit(static_cast<unsigned char>(Peek())))
    return Fail("\"$\" without a number");
  int nag = 0;
  while (std::isdigit(static_cast<unsigned char>(Peek()))) {
    if (nag <= MAX_NAG) // stops growing once out of range
      nag = nag * 10 + (text[at] - '0');
    Advance();
  }
  if (nag <= MAX_NAG) // a larger number names no annotation: dropped
    AddNag(nag);
  return true;
}

bool Scanner::ReadWord(std::string &word) {
  word.clear();
  while (IsWordChar(Peek()))
    word += text[at++];
  return !word.empty();
}

bool Scanner::TakeMove(const std::string &word) {
  Move move;
  std::string reason;
  if (!CSanNotation::FromSan(position, word, move, reason))
    return Fail(reason.find('"') == std::string::npos ? reason + " in move \"" + word + "\"" : reason);
  position.Play(move); // FromSan found it among the legal moves
  game->AppendMove(move);
  return true;
}

// Comments and NAGs of the main line annotate the move before them; a
// comment before the first move is the game's. Those inside variations go
// with the variation.
void Scanner::AddComment(const std::string &comment) {
  if (variationDepth > 0)
    return;
  if (game->moves.empty())
    game->gameComments.push_back(comment);
  else
    game->NotesAt(game->moves.size() - 1).comments.push_back(comment);
}

void Scanner::AddNag(int nag) {
  if (variationDepth == 0 && !game->moves.empty()) // a NAG before any move annotates nothing
    game->NotesAt(game->moves.size() - 1).nags.push_back(nag);
}

Outcome Scanner::Next(PgnGame &read, PgnError &fault) {
  game = &read;
  error = &fault;
  started = false;
  firstToken = at;
  firstLine = line;
  inMovetext = false;
  variationDepth = 0;
  position = Position();
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
      std::string comment;
      if (!ReadComment(comment))
        return Outcome::Fault;
      AddComment(comment);
      continue;
    }
    if (c == ';') {
      AddComment(ReadLineComment());
      continue;
    }
    Begin();
    if (c == '[' && variationDepth == 0) {
      if (inMovetext)
        return Broken("the game ends without a result (a tag follows its moves)");
      if (!ReadTag())
        return Outcome::Fault;
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
        return Broken("\")\" closes no variation");
      --variationDepth;
      Advance();
      continue;
    }
    if (c == '$') {
      if (!ReadNag())
        return Outcome::Fault;
      continue;
    }
    std::string word;
    if (!ReadWord(word)) {
      const unsigned char byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte >= 0x7f)
        return Broken("not a PGN text file (byte " + std::to_string(byte) + ")");
      return Broken(std::string("unexpected character '") + c + "'");
    }
    inMovetext = true;
    if (variationDepth > 0)
      continue; // moves of a variation are skipped unread
    if (IsResult(word)) {
      game->result = word;
      return Outcome::Game;
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
    // Suffix marks, glued to the move ("e4!?") or standing alone ("e4 !?").
    size_t markStart = word.size();
    while (markStart > 0 && (word[markStart - 1] == '!' || word[markStart - 1] == '?'))
      --markStart;
    const std::string mark = word.substr(markStart);
    word.erase(markStart);
    if (!word.empty() && !TakeMove(word))
      return Outcome::Fault;
    if (const int nag = mark.empty() ? 0 : NagOfMark(mark))
      AddNag(nag);
  }
  if (variationDepth > 0)
    return Broken("a variation is not closed (the file ends inside it)");
  if (!started) {
    Fail("no game in the file");
    return Outcome::NoGame;
  }
  return Broken("the game ends without a result (the file may be cut short)");
}

void Scanner::SkipToNextGame() {
  // From the start of the line at fault: a fault at a tag that follows moves
  // has found the next game's first line already.
  while (at > 0 && text[at - 1] != '\n')
    --at;
  bool afterMovetext = inMovetext, afterBlank = false;
  while (at < text.size()) {
    if (at > firstToken && IsTagLine(at) && (afterMovetext || afterBlank))
      return;
    size_t end = at;
    while (end < text.size() && text[end] != '\n')
      ++end;
    bool blank = true;
    for (size_t i = at; i < end; ++i)
      blank = blank && (IsBlank(text[i]) || text[i] == '\r');
    if (!blank && !IsTagLine(at) && text[at] != '%')
      afterMovetext = true;
    afterBlank = blank;
    at = end;
    if (at < text.size())
      Advance(); // the line break
  }
}

bool TooLarge(const std::string &text, PgnError &error) {
  if (text.size() <= CPgnReader::MAX_FILE_BYTES)
    return false;
  error.line = 1;
  error.reason = "the file is larger than " + std::to_string(CPgnReader::MAX_FILE_BYTES / 1024) + " KB";
  return true;
}

} // namespace

bool CPgnReader::Read(const std::string &text, PgnGame &game, PgnError &error) {
  PgnGame read;
  if (!ReadUpToFault(text, read, error))
    return false;
  game = std::move(read);
  return true;
}

bool CPgnReader::ReadUpToFault(const std::string &text, PgnGame &game, PgnError &error) {
  game = PgnGame();
  if (TooLarge(text, error))
    return false;
  Scanner scanner(text);
  return scanner.Next(game, error) == Outcome::Game;
}

bool CPgnReader::ReadAll(const std::string &text, std::vector<PgnGameEntry> &games, PgnError &error) {
  games.clear();
  if (TooLarge(text, error))
    return false;
  Scanner scanner(text);
  for (;;) {
    PgnGameEntry entry;
    const Outcome outcome = scanner.Next(entry.game, entry.error);
    if (outcome == Outcome::NoGame) {
      if (games.empty())
        error = entry.error;
      break;
    }
    entry.ok = outcome == Outcome::Game;
    entry.line = scanner.GetFirstLine();
    entry.summary = entry.game.Summary();
    if (entry.ok)
      entry.error = PgnError();
    else
      scanner.SkipToNextGame();
    games.push_back(std::move(entry));
  }
  return !games.empty();
}

} // namespace chess
