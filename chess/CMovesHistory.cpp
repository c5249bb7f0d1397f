#include "chess/CMovesHistory.h"

#include "chess/CSanNotation.h"

namespace chess {

bool CMovesHistory::Continues(const PgnGame &game) const {
  if (game.startFen != startFen || game.moves.size() < moves.size())
    return false;
  // A result ends the text: only the same game with the same result continues it.
  if (result != "*" && (game.result != result || game.moves.size() != moves.size()))
    return false;
  for (size_t i = 0; i < moves.size(); ++i)
    if (!(game.moves[i] == moves[i]))
      return false;
  return true;
}

CMovesHistory::Change CMovesHistory::Follow(const PgnGame &game) {
  tail.clear();
  // An incomplete history stops at its bad move: a game going on past it is another game.
  const bool continues = Continues(game) && (complete || game.moves.size() == moves.size());
  if (!continues)
    Restart(game.startFen);
  const size_t before = text.size();
  for (size_t i = moves.size(); i < game.moves.size() && complete; ++i)
    complete = AppendMove(game.moves[i]);
  if (complete && game.result != result)
    AppendResult(game.result);
  if (!continues || !complete)
    return Change::Replaced;
  tail = text.substr(before);
  return tail.empty() ? Change::None : Change::Appended;
}

void CMovesHistory::Restart(const std::string &fen) {
  startFen = fen;
  moves.clear();
  result = "*";
  text.clear();
  std::string error;
  complete = position.SetFen(fen.empty() ? Position::START_FEN : fen, error);
}

bool CMovesHistory::AppendMove(const Move &move) {
  MoveCode code;
  if (!position.FindLegal(move, code))
    return false;
  const std::string san = CSanNotation::ToSan(position, move);
  const int number = position.GetFullMoveNumber();
  if (position.GetSideToMove() == White)
    text += (text.empty() ? "" : "\n") + std::to_string(number) + ". " + san;
  else if (text.empty()) // a game from a position with Black to move
    text += std::to_string(number) + "... " + san;
  else
    text += " " + san;
  position.DoMove(code);
  moves.push_back(move);
  return true;
}

void CMovesHistory::AppendResult(const std::string &gameResult) {
  result = gameResult;
  if (result != "*")
    text += (text.empty() ? "" : "\n") + result;
}

} // namespace chess
