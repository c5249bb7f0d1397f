// The game as it stands, shown on the board: the chess core's game record and
// the board's tokens following it move by move. Every move played or taken
// back goes through here, so the record and the picture never part.
#pragma once

#include "app/KelvarTypes.h"
#include "chess/CGameRecord.h"

#include <cstdint>
#include <vector>

class CShownGame {
public:
  // A new record at the position; with setUpBoard the board is set up there
  // too (the tokens as the position has them, nothing travelling), without
  // it the board keeps what it shows.
  void Start(const chess::Position &position, bool setUpBoard);
  // Plays from-to in the record and shows it: the mover is lit with the
  // squares it could go to (as a click selects it), then travels, or with
  // animate false stands on its target at once. False, with nothing
  // changed, when the move is not legal.
  bool Play(const BoardSquare &from, const BoardSquare &to, irr::s32 promotion = Queen, bool animate = true);
  // Takes the last move back in the record and on the board, and tints the
  // move now last. False when no move is left.
  bool TakeBack();

  // Where the piece on a square may move in the game's position, each
  // square once; none for an empty square or a piece not to move.
  std::vector<BoardSquare> TargetsOf(const BoardSquare &from) const;
  // Selects the token and lights the squares it may move to.
  void SelectToken(irr::s32 token) const;

  const chess::CGameRecord &GetRecord() const { return record; }
  // Counts every change of the record (a start, a move, a take back), so
  // that whoever keeps a copy of the game sees when it is out of date.
  uint64_t GetRevision() const { return revision; }
  // Changes with each Start only: tells one game from the next.
  uint64_t GetGameId() const { return gameId; }
  const chess::Position &GetPosition() const { return record.GetPosition(); }
  const chess::PlayedMove &GetLastMove() const { return record.GetMove(record.GetPlyCount() - 1); }

private:
  chess::CGameRecord record;
  uint64_t revision = 0;
  uint64_t gameId = 0;
};
