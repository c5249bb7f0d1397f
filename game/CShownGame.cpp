#include "game/CShownGame.h"

#include "app/CApplication.h"

#include <algorithm>

void CShownGame::Start(const chess::Position &position, bool setUpBoard) {
  if (setUpBoard)
    app.map.SetUpPosition(position);
  record.Start(position);
  ++revision;
  ++gameId;
}

bool CShownGame::Play(const BoardSquare &from, const BoardSquare &to, irr::s32 promotion, bool animate) {
  const std::vector<BoardSquare> targets = TargetsOf(from);
  if (!record.Play(from, to, promotion))
    return false;
  ++revision;
  irr::s32 mover = -1;
  if (app.map.FindTokenAt(from, mover) && app.map.GetSelectedToken() != mover)
    app.map.SelectToken(mover, targets);
  app.map.ShowMove(GetLastMove(), record.GetPosition(), animate);
  return true;
}

bool CShownGame::TakeBack() {
  if (!record.Undo())
    return false;
  ++revision;
  app.map.TakeBackMove(record.GetPosition()); // captured pieces back from the trays
  if (record.GetPlyCount() > 0)
    app.map.SetLastMove(GetLastMove().from, GetLastMove().to);
  else
    app.map.ClearLastMove();
  return true;
}

std::vector<BoardSquare> CShownGame::TargetsOf(const BoardSquare &from) const {
  std::vector<BoardSquare> targets;
  for (const chess::Move &move : record.GetPosition().LegalMoves())
    if (move.from == from && std::find(targets.begin(), targets.end(), move.to) == targets.end())
      targets.push_back(move.to);
  return targets;
}

void CShownGame::SelectToken(irr::s32 token) const {
  BoardSquare square;
  if (token < 0 || token >= CMap::TOKEN_COUNT || !app.map.GetTokenSquare(token, square))
    return;
  app.map.SelectToken(token, TargetsOf(square));
}
