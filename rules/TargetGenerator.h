// The move generator shared by the target lists of the board and by the
// legality trial: it hands every pseudo-legal target of one token to a sink,
// so the trial can test for an attacked king without building lists.
#pragma once

#include "app/KelvarTypes.h"
#include "rules/CGameToken.h"

#include <initializer_list>

namespace rules_detail {

constexpr irr::s32 BOARD_SIZE = 8;
constexpr irr::s32 TOKEN_SLOTS = 32;
constexpr irr::s8 NO_TOKEN = -1;

// Which token stands on each square, answered as a scan of the array from
// index 0 upwards would: the first uncaptured token on the square wins.
// Built once per pass so a lookup costs one read instead of 32 comparisons.
struct Occupancy {
  irr::s8 at[BOARD_SIZE * BOARD_SIZE];

  explicit Occupancy(CGameToken *const *array) {
    for (irr::s8 &entry : at)
      entry = NO_TOKEN;
    for (irr::s32 i = TOKEN_SLOTS - 1; i >= 0; --i) {
      const CGameToken *token = array[i];
      const BoardSquare s = token->GetSquare();
      if (!token->IsCaptured() && s.IsOnBoard())
        at[s.X * BOARD_SIZE + s.Y] = irr::s8(i);
    }
  }

  // Index of the token on an on-board square, or NO_TOKEN.
  irr::s32 Find(const BoardSquare &s) const { return at[s.X * BOARD_SIZE + s.Y]; }
};

struct Step {
  irr::s32 dx, dy;
};

constexpr Step ROOK_DIRECTIONS[] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
constexpr Step BISHOP_DIRECTIONS[] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
constexpr Step QUEEN_DIRECTIONS[] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
constexpr Step KNIGHT_OFFSETS[] = {{-2, 1}, {-1, 2}, {1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}};

// Home rank of a colour's pieces: 0 for White, 7 for Black, -1 for any
// other colour value (such a king never castles).
inline irr::s32 BackRank(irr::s32 color) { return color == White ? 0 : color == Black ? 7 : -1; }

// Every pseudo-legal target of token i, in the board's fixed order, handed to
// emit(BoardSquare). enPassantPawn is the pawn that may be taken en passant
// (-1 for none). The token must not be captured.
template <typename Emit>
void EmitTargets(CGameToken *const *array, const Occupancy &occ, irr::s32 i, irr::s32 enPassantPawn, Emit &&emit) {
  const CGameToken *token = array[i];
  const irr::s32 color = token->GetColor();
  const irr::s32 enemy = OtherColor(color);
  const BoardSquare s = token->GetSquare();

  auto tokenAt = [&](const BoardSquare &q) { return occ.Find(q); };
  auto isEnemy = [&](irr::s32 j) { return j != NO_TOKEN && array[j]->GetColor() == enemy; };
  // Knight and king steps: onto an empty square or an enemy token.
  auto step = [&](const Step &d) {
    const BoardSquare q = s + BoardSquare(d.dx, d.dy);
    if (!q.IsOnBoard())
      return;
    const irr::s32 j = tokenAt(q);
    if (j == NO_TOKEN || isEnemy(j))
      emit(q);
  };
  // Sliding: up to the first token, which is taken if it is an enemy.
  auto slide = [&](const Step &d) {
    for (irr::s32 k = 1; k < BOARD_SIZE; ++k) {
      const BoardSquare q = s + BoardSquare(k * d.dx, k * d.dy);
      if (!q.IsOnBoard())
        return;
      const irr::s32 j = tokenAt(q);
      if (j != NO_TOKEN && array[j]->GetColor() == color)
        return;
      emit(q);
      if (j != NO_TOKEN)
        return;
    }
  };

  switch (token->GetType()) {
  case Pawn: {
    const irr::s32 d = color == White ? 1 : -1;
    const irr::s32 startRank = color == White ? 1 : 6;
    const BoardSquare one = s + BoardSquare(0, d);
    if (one.IsOnBoard() && tokenAt(one) == NO_TOKEN) {
      emit(one);
      const BoardSquare two = s + BoardSquare(0, 2 * d);
      if (s.Y == startRank && two.IsOnBoard() && tokenAt(two) == NO_TOKEN)
        emit(two);
    }
    // Captures to the right, then to the left. A diagonal step onto an empty
    // square is allowed only en passant: beside the pawn stands the enemy pawn
    // that has just made its double step.
    for (irr::s32 dx : {1, -1}) {
      const BoardSquare q = s + BoardSquare(dx, d);
      if (!q.IsOnBoard())
        continue;
      const irr::s32 j = tokenAt(q);
      if (j != NO_TOKEN) {
        if (isEnemy(j))
          emit(q);
      } else if (enPassantPawn >= 0 && enPassantPawn < TOKEN_SLOTS) {
        const CGameToken *victim = array[enPassantPawn];
        if (!victim->IsCaptured() && victim->GetType() == Pawn && victim->GetColor() == enemy &&
            victim->GetSquare() == BoardSquare(q.X, s.Y))
          emit(q);
      }
    }
    break;
  }
  case Rook:
    for (const Step &d : ROOK_DIRECTIONS)
      slide(d);
    break;
  case Bishop:
    for (const Step &d : BISHOP_DIRECTIONS)
      slide(d);
    break;
  case Queen:
    for (const Step &d : QUEEN_DIRECTIONS)
      slide(d);
    break;
  case Knight:
    for (const Step &d : KNIGHT_OFFSETS)
      step(d);
    break;
  case King: {
    const irr::s32 r = BackRank(color);
    if (!token->HasMoved() && r >= 0) {
      // An unmoved token on a corner can only be that corner's own rook.
      auto unmovedAt = [&](irr::s32 x) {
        const irr::s32 j = tokenAt(BoardSquare(x, r));
        return j != NO_TOKEN && !array[j]->HasMoved();
      };
      auto emptyAt = [&](irr::s32 x) { return tokenAt(BoardSquare(x, r)) == NO_TOKEN; };
      if (unmovedAt(7) && emptyAt(5) && emptyAt(6))
        emit(BoardSquare(6, r));
      if (unmovedAt(0) && emptyAt(1) && emptyAt(2) && emptyAt(3))
        emit(BoardSquare(2, r));
    }
    for (const Step &d : QUEEN_DIRECTIONS)
      step(d);
    break;
  }
  default:
    break; // unknown kinds have no targets
  }
}

} // namespace rules_detail
