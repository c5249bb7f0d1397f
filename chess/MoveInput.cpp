#include "chess/MoveInput.h"

#include "chess/CSanNotation.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace chess {

namespace {

// In PieceType order.
const char *const PIECE_NAMES[] = {"the pawn", "the rook", "the bishop", "the queen", "the king", "the knight"};

// Sets the input's reason from a pattern and its values.
void Refuse(MoveInput &input, const std::string &pattern, std::vector<std::string> values) {
  input.reasonPattern = pattern;
  input.reasonValues = std::move(values);
  input.reason = FillReason(input.reasonPattern, input.reasonValues);
}

std::string Trimmed(const std::string &text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
  for (char &c : text)
    c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Why a move from-to in UCI form cannot be played.
void WhyNot(const Position &position, const Move &move, MoveInput &input) {
  int type = Pawn, color = White;
  if (!position.PieceAt(move.from, type, color))
    return Refuse(input, "there is no piece on {1}", {SquareName(move.from)});
  if (color != position.GetSideToMove())
    return Refuse(input, "{1} on {2} is not yours to move", {PIECE_NAMES[type], SquareName(move.from)});
  if (position.IsInCheck())
    return Refuse(input, "{1} on {2} cannot go to {3} (your king is in check)",
                  {PIECE_NAMES[type], SquareName(move.from), SquareName(move.to)});
  Refuse(input, "{1} on {2} cannot go to {3}", {PIECE_NAMES[type], SquareName(move.from), SquareName(move.to)});
}

// The readings a typed SAN text may have: as typed, with a lower-case piece
// letter raised ("nf3" is Nf3; "bc4" may be a pawn's or the bishop's) and a
// lower-case promotion letter raised ("e8=q").
std::vector<std::string> Readings(const std::string &text) {
  std::string raised = text;
  const size_t equals = raised.find('=');
  if (equals != std::string::npos && equals + 1 < raised.size())
    raised[equals + 1] = char(std::toupper(static_cast<unsigned char>(raised[equals + 1])));
  std::vector<std::string> readings{raised};
  if (raised.size() >= 3 && std::string("nbrqk").find(raised[0]) != std::string::npos) {
    std::string piece = raised;
    piece[0] = char(std::toupper(static_cast<unsigned char>(piece[0])));
    // "b" stays a pawn's file too; the other letters name no file.
    if (raised[0] == 'b')
      readings.push_back(piece);
    else
      readings[0] = piece;
  }
  return readings;
}

} // namespace

std::string FillReason(const std::string &pattern, const std::vector<std::string> &values) {
  std::string text = pattern;
  for (size_t i = 0; i < values.size(); ++i) {
    const std::string mark = "{" + std::to_string(i + 1) + "}";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + values[i].size()))
      text.replace(at, mark.size(), values[i]);
  }
  return text;
}

MoveInput ReadTypedMove(const Position &position, const std::string &typed) {
  MoveInput input;
  const std::string text = Trimmed(typed);
  if (text.empty()) {
    Refuse(input, "nothing was typed", {});
    return input;
  }
  Move move;
  if (IsMoveText(Lower(text)) && Move::FromUci(Lower(text), move)) {
    // A pawn's move to the last rank without a letter becomes a queen.
    if (!position.IsLegal(move) && move.promotion == Pawn)
      move.promotion = Queen;
    if (position.IsLegal(move)) {
      input.verdict = MoveInput::Verdict::Move;
      input.move = move;
    } else {
      WhyNot(position, move, input);
    }
    return input;
  }
  std::vector<Move> found;
  std::string error;
  bool readable = false;
  for (const std::string &reading : Readings(text)) {
    std::vector<Move> moves;
    std::string why;
    if (!CSanNotation::Candidates(position, reading, moves, why)) {
      error = why;
      continue;
    }
    readable = true;
    for (const Move &m : moves)
      if (std::find(found.begin(), found.end(), m) == found.end())
        found.push_back(m);
  }
  if (found.size() == 1) {
    input.verdict = MoveInput::Verdict::Move;
    input.move = found.front();
  } else if (found.size() > 1) {
    input.verdict = MoveInput::Verdict::Ambiguous;
    for (const Move &m : found)
      input.candidates.push_back(CSanNotation::ToSan(position, m));
    std::string list;
    for (const std::string &san : input.candidates)
      list += (list.empty() ? "" : " or ") + san;
    Refuse(input, "\"{1}\" may be {2}", {text, list});
  } else if (readable) {
    Refuse(input, "\"{1}\" is not a legal move here", {text});
  } else {
    Refuse(input, "\"{1}\" is not a move ({2})", {text, error});
  }
  return input;
}

} // namespace chess
