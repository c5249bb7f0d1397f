#include "game/CReviewBoard.h"

#include "app/CApplication.h"

void CReviewBoard::ShowWhole(const chess::CGameRecord &game) {
  app.map.SetUpPosition(game.GetStartPosition());
  chess::CGameRecord replay;
  replay.Start(game.GetStartPosition());
  for (size_t ply = 0; ply < game.GetPlyCount(); ++ply) {
    replay.Play(game.GetMove(ply).ToMove());
    app.map.ShowMove(replay.GetMove(ply), replay.GetPosition(), false);
  }
  app.map.ClearSelection();
}

void CReviewBoard::Begin(const chess::CGameAnalysis &analysis) {
  arrow.Clear();
  moves.clear();
  record.Start(analysis.PositionAt(0));
  for (size_t ply = 0; ply < analysis.Plies(); ++ply) {
    moves.push_back(analysis.MoveAt(ply));
    record.Play(moves.back());
  }
  ShowWhole(record);
  active = true;
}

void CReviewBoard::Show(size_t index) {
  if (!active)
    return;
  index = std::min(index, moves.size());
  const bool oneStepOn = index == record.GetPlyCount() + 1;
  const bool oneStepBack = index + 1 == record.GetPlyCount();
  while (record.GetPlyCount() > index) {
    const chess::PlayedMove undone = record.GetMove(record.GetPlyCount() - 1);
    record.Undo();
    CMap::Placement before;
    app.map.SnapshotPlacement(before);
    app.map.TakeBackMove(record.GetPosition());
    // One step back glides too: the mover travels back to its square.
    irr::s32 mover = -1;
    if (oneStepBack && app.map.FindTokenAt(undone.from, mover))
      app.map.AnimateMove(before, mover);
  }
  while (record.GetPlyCount() < index) {
    record.Play(moves[record.GetPlyCount()]);
    app.map.ShowMove(record.GetMove(record.GetPlyCount() - 1), record.GetPosition(), oneStepOn);
  }
  if (record.GetPlyCount() > 0) {
    const chess::PlayedMove &last = record.GetMove(record.GetPlyCount() - 1);
    app.map.SetLastMove(last.from, last.to);
  } else {
    app.map.ClearLastMove();
  }
  app.map.ClearSelection();
}

void CReviewBoard::ShowArrow(const chess::Move *better) {
  if (better)
    arrow.Show(app.map, better->from, better->to);
  else
    arrow.Clear();
}

void CReviewBoard::End(const chess::CGameRecord &game) {
  arrow.Clear();
  if (!active)
    return;
  active = false;
  ShowWhole(game);
}
