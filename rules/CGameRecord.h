// The game in progress as a history: the position it started from, every
// move played since, and per position what judging the game's end and taking
// moves back need (repetition key, half-move clock, the state a move changed).
#pragma once

#include "app/KelvarTypes.h"

#include <string>
#include <vector>

class CMap;

// One move as it was played on the board, with everything needed to put the
// position back exactly as it stood before it.
struct PlayedMove {
  static constexpr irr::s32 NONE = -1;

  BoardSquare from, to;
  irr::s32 token = NONE;      // index of the moving token
  irr::s32 promotion = NONE;  // kind a pawn became on the last rank, NONE otherwise
  irr::s32 captured = NONE;   // index of the token taken (en passant too), NONE otherwise
  BoardSquare capturedSquare; // where the taken token stood
  bool enPassant = false;     // the capture was en passant
  irr::s32 rook = NONE;       // the rook that castled with the king, NONE otherwise
  BoardSquare rookFrom;       // the rook's corner before castling
  bool moverHadMoved = false; // moved flags before the move: they carry castling rights
  bool capturedHadMoved = false;
  bool rookHadMoved = false;
  irr::s32 enPassantBefore = NONE; // the board's en-passant pawn before the move
  irr::s32 halfMoveClockBefore = 0;

  // Long algebraic notation as UCI writes it: "e2e4", "e7e8q".
  std::string ToText() const;
};

class CGameRecord {
public:
  // Begins a record at the board's current position (its legal targets up to
  // date) with sideToMove to move and the given half-move clock; forgets all
  // moves. A new game starts from the start position with a clock of 0.
  void Start(const CMap &map, irr::s32 sideToMove, irr::s32 halfMoveClock = 0);
  // Plays from->to on the board through its rules and records it. False, with
  // board and record unchanged, when no token of the side to move stands on
  // from or the rules refuse the move. The mover is left selected.
  bool Play(CMap &map, const BoardSquare &from, const BoardSquare &to);
  // Takes the last move back on the board: squares, a captured token shown
  // again, a promoted piece back to a pawn, the castling rook, moved flags,
  // en passant, the check marker. Nothing is selected afterwards. False when
  // no move has been played since Start.
  bool Undo(CMap &map);

  // Number of plies played since Start.
  size_t GetPlyCount() const { return moves.size(); }
  // Ply i (0 = the first move after Start).
  const PlayedMove &GetMove(size_t i) const { return moves[i]; }
  // Every move since Start in long algebraic notation, in order.
  std::vector<std::string> GetMoveTexts() const;
  irr::s32 GetStartSide() const { return startSide; }
  irr::s32 GetSideToMove() const { return moves.size() % 2 == 0 ? startSide : OtherColor(startSide); }
  // Plies since the last capture or pawn move (counting those before Start).
  irr::s32 GetHalfMoveClock() const { return clocks.back(); }
  // The repetition key of the current position.
  const std::string &GetCurrentKey() const { return keys.back(); }
  // How often the current position has stood on the board in this record,
  // itself included (1 for a position seen for the first time).
  int CountRepetitions() const;

  // The key under which two positions count as the same for repetition:
  // placement, side to move, castling rights, and the en-passant square only
  // when a legal en-passant capture exists. The board's targets must be up to date.
  static std::string PositionKey(const CMap &map, irr::s32 sideToMove);

private:
  irr::s32 startSide = White;
  std::vector<PlayedMove> moves;
  // Entry 0 belongs to the start position, entry i to the position after ply i.
  std::vector<std::string> keys{std::string()};
  std::vector<irr::s32> clocks{0};
};
