// A chess position without any picture: the pieces on a 64-square mailbox,
// side to move, castling rights, en passant and the move counters, with legal
// move generation, make and undo, check and attack tests and a Zobrist key
// kept up to date move by move.
#pragma once

#include "chess/Move.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace chess {

// A move as the generator hands it out: square indices (0..63) and what make
// and undo need to know about it.
struct MoveCode {
  enum Kind : std::uint8_t { Normal = 0, DoubleStep = 1, EnPassant = 2, Castling = 3 };

  std::uint8_t from = 0;
  std::uint8_t to = 0;
  std::uint8_t promotion = Pawn; // PieceType; Pawn for none
  std::uint8_t kind = Normal;

  bool operator==(const MoveCode &o) const {
    return from == o.from && to == o.to && promotion == o.promotion && kind == o.kind;
  }
  Move ToMove() const { return Move(Square::FromIndex(from), Square::FromIndex(to), promotion); }
};

// The legal moves of one position; no chess position has more than 218.
struct MoveList {
  static constexpr int CAPACITY = 256;
  MoveCode moves[CAPACITY];
  int size = 0;

  void Add(const MoveCode &move) { moves[size++] = move; }
  const MoveCode *begin() const { return moves; }
  const MoveCode *end() const { return moves + size; }
};

class Position {
public:
  static const char *const START_FEN;

  // Castling rights, one bit each.
  enum : int { WHITE_KINGSIDE = 1, WHITE_QUEENSIDE = 2, BLACK_KINGSIDE = 4, BLACK_QUEENSIDE = 8 };

  // The standard start position, White to move.
  Position();

  // Sets up a position from Forsyth-Edwards Notation. The move counters may
  // be left out (they read as 0 and 1). Refused, with error saying why and
  // the position unchanged: a placement that is not 8 ranks of 8 squares, an
  // unknown letter, not exactly one king per side, more than 16 pieces or 8
  // pawns of a side, a pawn on the first or last rank, a side to move other
  // than w or b, the side not to move in check, a castling right whose king
  // or rook is not on its home square, an en-passant square that is not
  // behind a pawn of the side that has just moved (with both squares it
  // passed over empty), counters out of range, more than six fields.
  // Every move played before is forgotten.
  bool SetFen(const std::string &fen, std::string &error);
  // The position in Forsyth-Edwards Notation. The en-passant square is
  // written after every double step, as FEN asks.
  std::string GetFen() const;

  int GetSideToMove() const { return sideToMove; }
  int GetHalfMoveClock() const { return halfMoveClock; }
  int GetFullMoveNumber() const { return fullMoveNumber; }
  int GetCastlingRights() const { return castlingRights; }
  // The square a pawn has just passed over with its double step; false
  // when the last move was none.
  bool GetEnPassantSquare(Square &square) const;
  // Kind and colour of the piece on a square; false on an empty square or
  // one off the board.
  bool PieceAt(const Square &square, int &type, int &color) const;
  Square GetKingSquare(int color) const;

  // The Zobrist key, kept up to date by every move and undo: pieces, side to
  // move, castling rights, and the en-passant file when a pawn of the side
  // to move stands beside the pawn that has just made its double step.
  std::uint64_t GetKey() const { return key; }
  // The same key worked out from scratch, to check the incremental one.
  std::uint64_t ComputeKey() const;
  // The key under which two positions count as the same for repetition:
  // GetKey, with the en-passant file only when an en-passant capture is legal.
  std::uint64_t RepetitionKey() const;

  // Every legal move of the side to move; a promotion appears four times.
  void GenerateLegal(MoveList &moves) const;
  // The moves of GenerateLegal as values, in the generator's order.
  std::vector<Move> LegalMoves() const;
  // The legal move that move names, promotion included (Pawn, for a
  // promotion, names none and is not legal); false if there is none.
  bool FindLegal(const Move &move, MoveCode &code) const;
  bool IsLegal(const Move &move) const;
  bool HasLegalMove() const;

  // Plays a legal move from GenerateLegal (anything else is undefined) and
  // remembers how to take it back.
  void DoMove(const MoveCode &move);
  // Takes back the last DoMove or Play; nothing when there is none.
  void UndoMove();
  // Plays a move if it is legal; false, with nothing changed, otherwise.
  bool Play(const Move &move);
  // How many moves can be taken back (those played since SetFen).
  std::size_t GetPlayedCount() const { return history.size(); }

  bool IsInCheck() const;
  bool IsCheckmate() const;
  bool IsStalemate() const;
  // Neither side can ever mate: bare kings, a single bishop or knight beside
  // them, or only bishops that all stand on squares of one colour.
  bool IsInsufficientMaterial() const;
  // Whether a piece of colour byColor attacks the square.
  bool IsAttacked(const Square &square, int byColor) const;
  // Whether the move's piece takes something (en passant included).
  bool IsCapture(const Move &move) const;
  // Whether the legal move gives check, and mate. The position is unchanged.
  void CheckAfter(const Move &move, bool &check, bool &mate) const;

private:
  // Piece codes on the board: 0 for an empty square, else 1 + kind + 6 * colour.
  static int Code(int type, int color) { return 1 + type + 6 * color; }

  // What UndoMove needs to take a move back.
  struct Undo {
    MoveCode move;
    std::uint8_t captured = 0; // piece code taken, 0 for none
    std::uint8_t castlingRights = 0;
    std::int8_t enPassant = -1;
    int halfMoveClock = 0;
    int fullMoveNumber = 1;
    std::uint64_t key = 0;
  };

  // Marks the constructor that leaves the board empty (no start position).
  struct EmptyBoard {};
  explicit Position(EmptyBoard) {}

  // Puts a piece code (0 to empty it) on a square, keeping the occupancy.
  void SetSquare(int index, int code);
  // Copies everything but the moves played.
  void CopyBoardFrom(const Position &other);
  // The en-passant part of the key: the file when a pawn of the side to move
  // stands beside the pawn that has just made its double step.
  std::uint64_t EnPassantKeyPart() const;
  bool EnPassantCaptureIsLegal() const;
  // SetFen's checks of the whole position once its fields are read.
  bool Validate(std::string &error) const;

  std::uint8_t board[64] = {};
  std::uint64_t occupied[2] = {}; // one bit per square holding a piece of the colour
  std::uint8_t kingIndex[2] = {4, 60};
  int sideToMove = White;
  int castlingRights = 0;
  int enPassant = -1; // index of the square passed over, -1 for none
  int halfMoveClock = 0;
  int fullMoveNumber = 1;
  std::uint64_t key = 0;
  std::vector<Undo> history;
};

} // namespace chess
