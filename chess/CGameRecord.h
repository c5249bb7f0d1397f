// The game in progress as a history: the position it started from, every
// move played since, and per position what judging the game's end and taking
// moves back need (repetition key, half-move clock).
#pragma once

#include "chess/Position.h"

#include <cstdint>
#include <string>
#include <vector>

namespace chess {

// One move as it was played, with what a picture of the board needs to
// follow it: the piece that moved, what it took and where, the castling rook.
struct PlayedMove {
  static constexpr int NONE = -1;

  Square from, to;
  int piece = Pawn;       // kind of the moving piece before the move
  int color = White;      // colour of the mover
  int promotion = NONE;   // kind a pawn became on the last rank, NONE otherwise
  int captured = NONE;    // kind of the piece taken (en passant too), NONE otherwise
  Square capturedSquare;  // where the taken piece stood
  bool enPassant = false; // the capture was en passant
  bool castling = false;  // the king castled; the rook went rookFrom -> rookTo
  Square rookFrom, rookTo;

  // The move as the game and the files exchange it.
  Move ToMove() const { return Move(from, to, promotion == NONE ? Pawn : promotion); }
  // Long algebraic notation as UCI writes it: "e2e4", "e7e8q".
  std::string ToText() const { return ToMove().ToUci(); }
};

class CGameRecord {
public:
  // A record of no moves at the standard start position.
  CGameRecord();

  // Begins a record at the position (its own moves played before are not
  // part of the record) and forgets all moves.
  void Start(const Position &start);
  // Plays from->to and records it. A pawn reaching the last rank becomes
  // promotion (a queen unless it names a rook, bishop or knight). False,
  // with the record unchanged, when the move is not legal.
  bool Play(const Square &from, const Square &to, int promotion = Queen);
  // Play for a move as the files hold it (promotion Pawn means a queen).
  bool Play(const Move &move) { return Play(move.from, move.to, move.promotion == Pawn ? Queen : move.promotion); }
  // Takes the last move back. False when no move has been played since Start.
  bool Undo();

  // The position after the last move.
  const Position &GetPosition() const { return position; }
  // The position the record started from.
  const Position &GetStartPosition() const { return start; }

  // Number of plies played since Start.
  std::size_t GetPlyCount() const { return moves.size(); }
  // Ply i (0 = the first move after Start).
  const PlayedMove &GetMove(std::size_t i) const { return moves[i]; }
  // Every move since Start in long algebraic notation, in order.
  std::vector<std::string> GetMoveTexts() const;
  // Every move since Start, as the files hold them.
  std::vector<Move> GetMoves() const;
  int GetStartSide() const { return start.GetSideToMove(); }
  int GetSideToMove() const { return position.GetSideToMove(); }
  // Plies since the last capture or pawn move (counting those before Start).
  int GetHalfMoveClock() const { return position.GetHalfMoveClock(); }
  // The repetition key of the current position.
  std::uint64_t GetCurrentKey() const { return keys.back(); }
  // Whether the side to move has a legal move, found once as the position
  // was reached, so that judging the game reads it at no cost.
  bool SideToMoveCanMove() const { return canMove.back(); }
  // How often the current position has stood on the board in this record,
  // itself included (1 for a position seen for the first time).
  int CountRepetitions() const;

  // What playing from->to (promotion as in Play) on the position would be,
  // without playing it; false when it is not legal there.
  static bool Describe(const Position &position, const Square &from, const Square &to, int promotion,
                       PlayedMove &played, MoveCode &code);

private:
  Position start;
  Position position;
  std::vector<PlayedMove> moves;
  // Entry 0 belongs to the start position, entry i to the position after ply i.
  std::vector<std::uint64_t> keys;
  std::vector<bool> canMove;
};

} // namespace chess
