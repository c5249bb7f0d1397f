// Tables the position works from, all computed at compile time: piece codes,
// the squares a knight, king or pawn reaches from each square, the rays of the
// sliding pieces, the castling rights a move through a square keeps, and the
// Zobrist numbers of the position key. Only Position's own files use them.
#pragma once

#include "chess/Types.h"

#include <cstdint>

namespace chess {
namespace tables {

constexpr int SQUARE_COUNT = 64;
constexpr int BOARD_WIDTH = 8;

// Board codes: 0 for empty, else 1 + kind + 6 * colour (as Position::Code).
constexpr int NO_PIECE = 0;
constexpr int PIECE_CODE_COUNT = 1 + 2 * PIECE_TYPE_COUNT;

constexpr std::uint8_t PieceCode(int type, int color) { return std::uint8_t(1 + type + PIECE_TYPE_COUNT * color); }
constexpr int CodeType(int code) { return (code - 1) % PIECE_TYPE_COUNT; }
constexpr int CodeColor(int code) { return (code - 1) / PIECE_TYPE_COUNT; }

constexpr int FileOf(int index) { return index % BOARD_WIDTH; }
constexpr int RankOf(int index) { return index / BOARD_WIDTH; }
constexpr std::uint64_t Bit(int index) { return std::uint64_t(1) << index; }

// The eight directions a queen moves in: the first four are a rook's, the
// last four a bishop's.
constexpr int DIRECTION_COUNT = 8;
constexpr int FIRST_DIAGONAL = 4;
constexpr int DIRECTION_DX[DIRECTION_COUNT] = {0, 0, 1, -1, 1, -1, 1, -1};
constexpr int DIRECTION_DY[DIRECTION_COUNT] = {1, -1, 0, 0, 1, 1, -1, -1};
constexpr int MAX_RAY_LENGTH = 7;

// A short list of squares.
template <int N> struct SquareList {
  std::uint8_t count = 0;
  std::uint8_t squares[N] = {};

  constexpr void Add(int index) { squares[count++] = std::uint8_t(index); }
  constexpr const std::uint8_t *begin() const { return squares; }
  constexpr const std::uint8_t *end() const { return squares + count; }
};

struct AttackTables {
  SquareList<8> knight[SQUARE_COUNT];
  SquareList<8> king[SQUARE_COUNT];
  // The squares a pawn of a colour attacks from each square.
  SquareList<2> pawnCaptures[2][SQUARE_COUNT];
  // From each square outwards, per direction, the squares up to the edge.
  SquareList<MAX_RAY_LENGTH> rays[SQUARE_COUNT][DIRECTION_COUNT];
};

constexpr bool OnBoard(int x, int y) { return x >= 0 && x < BOARD_WIDTH && y >= 0 && y < BOARD_WIDTH; }

constexpr AttackTables MakeAttackTables() {
  constexpr int KNIGHT_DX[8] = {1, 2, 2, 1, -1, -2, -2, -1};
  constexpr int KNIGHT_DY[8] = {2, 1, -1, -2, -2, -1, 1, 2};
  AttackTables t{};
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    const int x = FileOf(s), y = RankOf(s);
    for (int i = 0; i < 8; ++i)
      if (OnBoard(x + KNIGHT_DX[i], y + KNIGHT_DY[i]))
        t.knight[s].Add((y + KNIGHT_DY[i]) * BOARD_WIDTH + x + KNIGHT_DX[i]);
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
      const int dx = DIRECTION_DX[d], dy = DIRECTION_DY[d];
      if (OnBoard(x + dx, y + dy))
        t.king[s].Add((y + dy) * BOARD_WIDTH + x + dx);
      for (int k = 1; OnBoard(x + k * dx, y + k * dy); ++k)
        t.rays[s][d].Add((y + k * dy) * BOARD_WIDTH + x + k * dx);
    }
    for (int color = White; color <= Black; ++color) {
      const int ahead = y + (color == White ? 1 : -1);
      for (int dx : {-1, 1})
        if (OnBoard(x + dx, ahead))
          t.pawnCaptures[color][s].Add(ahead * BOARD_WIDTH + x + dx);
    }
  }
  return t;
}

inline constexpr AttackTables ATTACKS = MakeAttackTables();

// Castling rights left after a move from or to each square: moving the king
// or a rook, or taking a rook on its corner, loses the rights that need it.
struct CastlingKeep {
  std::uint8_t keep[SQUARE_COUNT] = {};
};

constexpr int ALL_CASTLING = 15;
constexpr int WHITE_KINGSIDE = 1, WHITE_QUEENSIDE = 2, BLACK_KINGSIDE = 4, BLACK_QUEENSIDE = 8;
constexpr int A1 = 0, E1 = 4, H1 = 7, A8 = 56, E8 = 60, H8 = 63;

constexpr CastlingKeep MakeCastlingKeep() {
  CastlingKeep c{};
  for (int s = 0; s < SQUARE_COUNT; ++s)
    c.keep[s] = ALL_CASTLING;
  c.keep[A1] = ALL_CASTLING & ~WHITE_QUEENSIDE;
  c.keep[H1] = ALL_CASTLING & ~WHITE_KINGSIDE;
  c.keep[E1] = ALL_CASTLING & ~(WHITE_KINGSIDE | WHITE_QUEENSIDE);
  c.keep[A8] = ALL_CASTLING & ~BLACK_QUEENSIDE;
  c.keep[H8] = ALL_CASTLING & ~BLACK_KINGSIDE;
  c.keep[E8] = ALL_CASTLING & ~(BLACK_KINGSIDE | BLACK_QUEENSIDE);
  return c;
}

inline constexpr CastlingKeep CASTLING_KEEP = MakeCastlingKeep();

// The random numbers XORed into the position key: one per piece code and
// square, one for Black to move, one per set of castling rights, one per
// en-passant file. Fixed, so keys are the same in every run.
struct ZobristTables {
  std::uint64_t piece[PIECE_CODE_COUNT][SQUARE_COUNT] = {};
  std::uint64_t blackToMove = 0;
  std::uint64_t castling[ALL_CASTLING + 1] = {};
  std::uint64_t enPassantFile[BOARD_WIDTH] = {};
};

// SplitMix64: a small generator whose output is well spread for any seed.
constexpr std::uint64_t SplitMix64(std::uint64_t &state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

constexpr std::uint64_t ZOBRIST_SEED = 0x4B656C766172ull; // "Kelvar"

constexpr ZobristTables MakeZobristTables() {
  ZobristTables z{};
  std::uint64_t state = ZOBRIST_SEED;
  for (int code = 1; code < PIECE_CODE_COUNT; ++code)
    for (int s = 0; s < SQUARE_COUNT; ++s)
      z.piece[code][s] = SplitMix64(state);
  z.blackToMove = SplitMix64(state);
  for (int rights = 1; rights <= ALL_CASTLING; ++rights)
    z.castling[rights] = SplitMix64(state);
  for (int file = 0; file < BOARD_WIDTH; ++file)
    z.enPassantFile[file] = SplitMix64(state);
  return z;
}

inline constexpr ZobristTables ZOBRIST = MakeZobristTables();

} // namespace tables
} // namespace chess
