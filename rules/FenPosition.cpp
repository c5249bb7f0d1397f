#include "rules/FenPosition.h"

#include "rules/CGameToken.h"
#include "scene/CMap.h"

#include <sstream>
#include <vector>

namespace {

constexpr irr::s32 PAWN_SLOTS = 16;
constexpr irr::s32 FILES = 8, RANKS = 8;
constexpr irr::s32 KING_FILE = 4;

struct Piece {
  irr::s32 type;
  irr::s32 color;
  BoardSquare square;
};

// Kind and colour of token slot i in the start position: pawns 0..15
// alternate white/black, then rooks, knights, bishops (two per colour each),
// queens and kings (one per colour each).
irr::s32 SlotType(irr::s32 i) {
  if (i < PAWN_SLOTS)
    return Pawn;
  static const irr::s32 pieces[] = {Rook,   Rook,   Rook,   Rook,   Knight, Knight, Knight, Knight,
                                    Bishop, Bishop, Bishop, Bishop, Queen,  Queen,  King,   King};
  return pieces[i - PAWN_SLOTS];
}

irr::s32 SlotColor(irr::s32 i) {
  if (i < PAWN_SLOTS || i >= 28)
    return i % 2 == 0 ? White : Black;
  return (i - PAWN_SLOTS) / 2 % 2 == 0 ? White : Black;
}

bool PieceFromLetter(char letter, Piece &piece) {
  static const char letters[] = "prbqkn"; // in TokenType order
  const char lower = char(letter | 0x20);
  for (irr::s32 type = Pawn; type <= Knight; ++type)
    if (letters[type] == lower) {
      piece.type = type;
      piece.color = letter == lower ? Black : White;
      return true;
    }
  return false;
}

bool ParsePlacement(const std::string &text, std::vector<Piece> &pieces, std::string &error) {
  irr::s32 y = RANKS - 1, x = 0;
  for (char ch : text) {
    if (ch == '/') {
      if (x != FILES || y == 0) {
        error = "placement: a rank does not hold 8 squares, or more than 8 ranks";
        return false;
      }
      --y;
      x = 0;
    } else if (ch >= '1' && ch <= '8') {
      x += ch - '0';
    } else {
      Piece piece;
      if (!PieceFromLetter(ch, piece)) {
        error = std::string("placement: unknown piece letter '") + ch + "'";
        return false;
      }
      if (x >= FILES) {
        error = "placement: a rank holds more than 8 squares";
        return false;
      }
      if (piece.type == Pawn && (y == 0 || y == RANKS - 1)) {
        error = "placement: a pawn on the first or last rank";
        return false;
      }
      piece.square = BoardSquare(x++, y);
      pieces.push_back(piece);
    }
    if (x > FILES) {
      error = "placement: a rank holds more than 8 squares";
      return false;
    }
  }
  if (y != 0 || x != FILES) {
    error = "placement: fewer than 8 full ranks";
    return false;
  }
  return true;
}

// Puts every piece into a token slot: its own kind's slot first, then a free
// pawn slot of its colour. slotOf[i] is the piece in slot i, or -1.
bool AssignSlots(const std::vector<Piece> &pieces, std::vector<irr::s32> &slotOf, std::string &error) {
  irr::s32 kings[2] = {0, 0};
  for (const Piece &piece : pieces)
    if (piece.type == King)
      ++kings[piece.color];
  if (kings[White] != 1 || kings[Black] != 1) {
    error = "placement: each side needs exactly one king";
    return false;
  }
  slotOf.assign(CMap::TOKEN_COUNT, -1);
  std::vector<bool> placed(pieces.size(), false);
  for (size_t p = 0; p < pieces.size(); ++p)
    for (irr::s32 i = 0; i < CMap::TOKEN_COUNT && !placed[p]; ++i)
      if (slotOf[i] < 0 && SlotType(i) == pieces[p].type && SlotColor(i) == pieces[p].color) {
        slotOf[i] = irr::s32(p);
        placed[p] = true;
      }
  for (size_t p = 0; p < pieces.size(); ++p)
    for (irr::s32 i = 0; i < PAWN_SLOTS && !placed[p]; ++i)
      if (slotOf[i] < 0 && SlotColor(i) == pieces[p].color && pieces[p].type != King) {
        slotOf[i] = irr::s32(p);
        placed[p] = true;
      }
  for (size_t p = 0; p < pieces.size(); ++p)
    if (!placed[p]) {
      error = "placement: more pieces of one colour than the 16 tokens can show";
      return false;
    }
  return true;
}

// Gives a token colour and kind; a token on screen gets the kind's mesh.
void PutKind(CGameToken &token, irr::s32 color, irr::s32 type) {
  if (token.GetColor() != color)
    token.SetColorAndType(color, token.GetType());
  token.ChangeType(type);
}

// Which corners still allow castling; the king's own right follows from them.
struct CastlingRights {
  bool kingside[2] = {false, false};
  bool queenside[2] = {false, false};
};

bool ParseCastling(const std::string &text, CastlingRights &rights, std::string &error) {
  if (text == "-")
    return true;
  for (char ch : text) {
    switch (ch) {
    case 'K':
      rights.kingside[White] = true;
      break;
    case 'Q':
      rights.queenside[White] = true;
      break;
    case 'k':
      rights.kingside[Black] = true;
      break;
    case 'q':
      rights.queenside[Black] = true;
      break;
    default:
      error = std::string("castling: unknown letter '") + ch + "'";
      return false;
    }
  }
  return true;
}

// Whether the piece keeps the unmoved state castling needs: a king on its
// start square with a right, or a rook on a corner whose right is kept.
bool MayCastleWith(const Piece &piece, const CastlingRights &rights) {
  const irr::s32 rank = piece.color == White ? 0 : RANKS - 1;
  if (piece.square.Y != rank)
    return false;
  if (piece.type == King)
    return piece.square.X == KING_FILE && (rights.kingside[piece.color] || rights.queenside[piece.color]);
  if (piece.type == Rook)
    return (piece.square.X == FILES - 1 && rights.kingside[piece.color]) ||
           (piece.square.X == 0 && rights.queenside[piece.color]);
  return false;
}

// Whether the side that is not to move stands in check, which no legal game
// can reach: it would have left its own king attacked.
bool WaitingSideInCheck(const CMap &map, const std::vector<Piece> &pieces, irr::s32 mover) {
  CGameToken scratchTokens[CMap::TOKEN_COUNT];
  CGameToken *scratch[CMap::TOKEN_COUNT];
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    scratch[i] = &scratchTokens[i];
    scratch[i]->SetCaptured(true);
  }
  for (size_t p = 0; p < pieces.size() && p < size_t(CMap::TOKEN_COUNT); ++p) {
    scratch[p]->SetColorAndType(pieces[p].color, pieces[p].type);
    scratch[p]->SetSquare(pieces[p].square);
    scratch[p]->SetCaptured(false);
    scratch[p]->SetMoved(true);
  }
  map.GenerateAllTargets(scratch);
  irr::s32 king = -1;
  return map.IsKingAttacked(scratch, OtherColor(mover), king);
}

} // namespace

bool LoadFen(CMap &map, const std::string &fen, irr::s32 &sideToMove, std::string &error) {
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i)
    if (!map.GetToken(i)) {
      error = "the board has no tokens";
      return false;
    }

  std::istringstream fields(fen);
  std::string placement, side, castling = "-", enPassant = "-";
  fields >> placement >> side >> castling >> enPassant;
  if (placement.empty() || side.empty()) {
    error = "expected at least the placement and the side to move";
    return false;
  }
  std::vector<Piece> pieces;
  if (!ParsePlacement(placement, pieces, error))
    return false;
  if (side != "w" && side != "b") {
    error = "side to move must be w or b";
    return false;
  }
  const irr::s32 mover = side == "w" ? White : Black;
  CastlingRights rights;
  if (!ParseCastling(castling, rights, error))
    return false;
  std::vector<irr::s32> slotOf;
  if (!AssignSlots(pieces, slotOf, error))
    return false;
  if (WaitingSideInCheck(map, pieces, mover)) {
    error = "the side that is not to move is in check";
    return false;
  }

  // The en-passant square lies behind the pawn that has just made its double
  // step, which belongs to the side that is not to move.
  irr::s32 enPassantPawn = -1;
  if (enPassant != "-") {
    const irr::s32 x = enPassant.size() == 2 ? enPassant[0] - 'a' : -1;
    const irr::s32 y = enPassant.size() == 2 ? enPassant[1] - '1' : -1;
    const irr::s32 pushed = mover == White ? Black : White;
    const BoardSquare pawnSquare(x, pushed == White ? 3 : 4);
    if (x < 0 || x >= FILES || y != (pushed == White ? 2 : 5)) {
      error = "en passant: not a square behind a pawn of the side that just moved";
      return false;
    }
    for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i)
      if (slotOf[i] >= 0 && pieces[slotOf[i]].type == Pawn && pieces[slotOf[i]].color == pushed &&
          pieces[slotOf[i]].square == pawnSquare)
        enPassantPawn = i;
    if (enPassantPawn < 0) {
      error = "en passant: no pawn has just made a double step there";
      return false;
    }
  }

  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    CGameToken *token = map.GetToken(i);
    if (slotOf[i] < 0) {
      PutKind(*token, SlotColor(i), SlotType(i));
      token->SetCaptured(true);
      token->SetMoved(true);
      continue;
    }
    const Piece &piece = pieces[slotOf[i]];
    PutKind(*token, piece.color, piece.type);
    token->SetCaptured(false);
    token->SetSquare(piece.square);
    token->SetMoved(!MayCastleWith(piece, rights));
  }
  map.SetEnPassantPawn(enPassantPawn);
  map.ClearSelection();
  map.SetUpTrays();
  map.UpdateMoves();
  sideToMove = mover;
  return true;
}
