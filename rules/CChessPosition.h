// A chess position played move by move through the board's own rules, on
// tokens without scene nodes: what the notation, the game files and the
// moves history replay games on.
#pragma once

#include "rules/ChessMove.h"
#include "scene/CMap.h"

#include <string>
#include <vector>

class CChessPosition {
public:
  static const char *const START_FEN;

  // The standard start position, White to move.
  CChessPosition();
  CChessPosition(const CChessPosition &) = delete;
  CChessPosition &operator=(const CChessPosition &) = delete;

  // Sets up a position from Forsyth-Edwards Notation, move counters included
  // (missing counters read as 0 and 1). On false nothing changes and error
  // says why.
  bool SetFen(const std::string &fen, std::string &error);
  // The position in Forsyth-Edwards Notation.
  std::string GetFen() const;

  irr::s32 GetSideToMove() const { return sideToMove; }
  irr::s32 GetFullMoveNumber() const { return fullMoveNumber; }
  irr::s32 GetHalfMoveClock() const { return halfMoveClock; }
  const CMap &GetBoard() const { return board; }

  // Every legal move of the side to move, in the board's token order. A
  // promotion is listed once, to a queen.
  std::vector<ChessMove> LegalMoves() const;
  // Whether the move is legal; a listed promotion may name any of the four
  // pieces, and is played as that piece.
  bool IsLegal(const ChessMove &move) const;
  // Plays a legal move; false (nothing changed) for any other.
  bool Play(const ChessMove &move);

  bool IsInCheck() const;
  bool IsCheckmate() const;
  bool IsStalemate() const;
  // Kind and colour of the piece on a square; false on an empty square.
  bool PieceAt(const BoardSquare &square, irr::s32 &type, irr::s32 &color) const;
  // Whether the move's piece takes something (en passant included).
  bool IsCapture(const ChessMove &move) const;
  // Plays a legal move and takes it back: whether it gives check, and mate.
  void CheckAfter(const ChessMove &move, bool &check, bool &mate);

private:
  CMap board;
  irr::s32 sideToMove = White;
  irr::s32 halfMoveClock = 0;
  irr::s32 fullMoveNumber = 1;
};
