#include "chess/MoveInput.h"

#include "chess/CSanNotation.h"

#include <algorithm>
#include <cctype>

namespace chess {

namespace {

// In PieceType order.
const char *const PIECE_NAMES[] = {"pawn", "rook", "bishop", "queen", "king", "knight"};

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
std::string WhyNot(const Position &position, const Move &move) {
  int type = Pawn, color = White;
  if (!position.PieceAt(move.from, type, color))
    return "there is no piece on " + SquareName(move.from);
  if (color != position.GetSideToMove())
    return "the " + std::string(PIECE_NAMES[type]) + " on " + SquareName(move.from) + " is not yours to move";
  return "the " + std::string(PIECE_NAMES[type]) + " on " + SquareName(move.from) + " cannot go to " +
         SquareName(move.to) + (position.IsInCheck() ? " (your king is in check)" : "");
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

MoveInput ReadTypedMove(const Position &position, const std::string &typed) {
  MoveInput input;
  const std::string text = Trimmed(typed);
  if (text.empty()) {
    input.reason = "nothing was typed";
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
      input.reason = WhyNot(position, move);
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
    input.reason = "\"" + text + "\" may be " + list;
  } else if (readable) {
    input.reason = "\"" + text + "\" is not a legal move here";
  } else {
    input.reason = "\"" + text + "\" is not a move (" + error + ")";
  }
  return input;
}

} // namespace chess
