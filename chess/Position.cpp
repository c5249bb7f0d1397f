#include "chess/Position.h"

#include "chess/BoardTables.h"

#include <cassert>
#include <cstring>

namespace chess {

using namespace tables;

namespace {

constexpr int PAWN_STEP[2] = {BOARD_WIDTH, -BOARD_WIDTH};
constexpr int PAWN_START_RANK[2] = {1, 6};
constexpr int PROMOTION_RANK[2] = {7, 0};
constexpr int PROMOTION_PIECES[] = {Queen, Rook, Bishop, Knight};
// The king's castling squares: from, kingside and queenside targets, per colour.
constexpr int KING_HOME[2] = {E1, E8};
constexpr int KINGSIDE_RIGHT[2] = {WHITE_KINGSIDE, BLACK_KINGSIDE};
constexpr int QUEENSIDE_RIGHT[2] = {WHITE_QUEENSIDE, BLACK_QUEENSIDE};
constexpr int KINGSIDE_ROOK_OFFSET = 3;  // h-file rook, seen from the king
constexpr int QUEENSIDE_ROOK_OFFSET = 4; // a-file rook
constexpr std::uint64_t ALL_SQUARES = ~std::uint64_t(0);

// Colour of a board code; -1 for an empty square.
constexpr std::int8_t CODE_COLOR[PIECE_CODE_COUNT] = {-1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1};

bool HasColor(int code, int color) { return CODE_COLOR[code] == color; }

// Index of the lowest set bit; bits is not 0.
int LowestSquare(std::uint64_t bits) {
#if defined(__GNUC__) || defined(__clang__)
  return __builtin_ctzll(bits);
#else
  // De Bruijn multiplication: the isolated lowest bit picks a unique entry.
  constexpr std::uint64_t DE_BRUIJN = 0x03F79D71B4CB0A89ull;
  constexpr int INDEX[SQUARE_COUNT] = {0,  1,  48, 2,  57, 49, 28, 3,  61, 58, 50, 42, 38, 29, 17, 4,
                                       62, 55, 59, 36, 53, 51, 43, 22, 45, 39, 33, 30, 24, 18, 12, 5,
                                       63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21, 44, 32, 23, 11,
                                       46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9,  13, 8,  7,  6};
  return INDEX[((bits & (~bits + 1)) * DE_BRUIJN) >> 58];
#endif
}

// Whether a piece of colour byColor attacks the square on the given board.
bool SquareAttacked(const std::uint8_t *board, int index, int byColor) {
  const int pawn = PieceCode(Pawn, byColor);
  // A pawn of byColor attacks the square from where a pawn of the other
  // colour standing on it would attack.
  for (int s : ATTACKS.pawnCaptures[OtherColor(byColor)][index])
    if (board[s] == pawn)
      return true;
  const int knight = PieceCode(Knight, byColor);
  for (int s : ATTACKS.knight[index])
    if (board[s] == knight)
      return true;
  const int king = PieceCode(King, byColor);
  for (int s : ATTACKS.king[index])
    if (board[s] == king)
      return true;
  const int queen = PieceCode(Queen, byColor);
  for (int d = 0; d < DIRECTION_COUNT; ++d) {
    const int slider = PieceCode(d < FIRST_DIAGONAL ? Rook : Bishop, byColor);
    for (int s : ATTACKS.rays[index][d]) {
      const int code = board[s];
      if (code == NO_PIECE)
        continue;
      if (code == slider || code == queen)
        return true;
      break;
    }
  }
  return false;
}

// Pieces of the side to move that may only move along the line between
// their king and the enemy slider behind them.
struct Pins {
  std::uint64_t pinned = 0;
  int count = 0;
  std::uint8_t squares[DIRECTION_COUNT] = {};
  std::uint64_t lines[DIRECTION_COUNT] = {};

  void Add(int square, std::uint64_t line) {
    pinned |= Bit(square);
    squares[count] = std::uint8_t(square);
    lines[count++] = line;
  }
  std::uint64_t LineOf(int square) const {
    for (int i = 0; i < count; ++i)
      if (squares[i] == square)
        return lines[i];
    return ALL_SQUARES;
  }
};

void AddPawnMove(MoveList &moves, int from, int to, int color) {
  if (RankOf(to) != PROMOTION_RANK[color]) {
    moves.Add({std::uint8_t(from), std::uint8_t(to), Pawn, MoveCode::Normal});
    return;
  }
  for (int piece : PROMOTION_PIECES)
    moves.Add({std::uint8_t(from), std::uint8_t(to), std::uint8_t(piece), MoveCode::Normal});
}

} // namespace

const char *const Position::START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

Position::Position() {
  std::string error;
  const bool set = SetFen(START_FEN, error);
  assert(set);
  (void)set;
}

void Position::SetSquare(int index, int code) {
  const int old = board[index];
  if (old != NO_PIECE)
    occupied[CodeColor(old)] &= ~Bit(index);
  board[index] = std::uint8_t(code);
  if (code != NO_PIECE)
    occupied[CodeColor(code)] |= Bit(index);
}

void Position::CopyBoardFrom(const Position &other) {
  std::memcpy(board, other.board, sizeof board);
  std::memcpy(occupied, other.occupied, sizeof occupied);
  std::memcpy(kingIndex, other.kingIndex, sizeof kingIndex);
  sideToMove = other.sideToMove;
  castlingRights = other.castlingRights;
  enPassant = other.enPassant;
  halfMoveClock = other.halfMoveClock;
  fullMoveNumber = other.fullMoveNumber;
  key = other.key;
  history.clear();
}

bool Position::GetEnPassantSquare(Square &square) const {
  if (enPassant < 0)
    return false;
  square = Square::FromIndex(enPassant);
  return true;
}

bool Position::PieceAt(const Square &square, int &type, int &color) const {
  if (!square.IsOnBoard() || board[square.Index()] == NO_PIECE)
    return false;
  type = CodeType(board[square.Index()]);
  color = CodeColor(board[square.Index()]);
  return true;
}

Square Position::GetKingSquare(int color) const { return Square::FromIndex(kingIndex[color]); }

std::uint64_t Position::EnPassantKeyPart() const {
  if (enPassant < 0)
    return 0;
  const int pawnSquare = enPassant - PAWN_STEP[sideToMove];
  const int ourPawn = PieceCode(Pawn, sideToMove);
  const int file = FileOf(enPassant);
  const bool beside =
      (file > 0 && board[pawnSquare - 1] == ourPawn) || (file < BOARD_WIDTH - 1 && board[pawnSquare + 1] == ourPawn);
  return beside ? ZOBRIST.enPassantFile[file] : 0;
}

std::uint64_t Position::ComputeKey() const {
  std::uint64_t k = 0;
  for (int s = 0; s < SQUARE_COUNT; ++s)
    k ^= ZOBRIST.piece[board[s]][s];
  if (sideToMove == Black)
    k ^= ZOBRIST.blackToMove;
  return k ^ ZOBRIST.castling[castlingRights] ^ EnPassantKeyPart();
}

bool Position::EnPassantCaptureIsLegal() const {
  if (EnPassantKeyPart() == 0)
    return false;
  MoveList moves;
  GenerateLegal(moves);
  for (const MoveCode &m : moves)
    if (m.kind == MoveCode::EnPassant)
      return true;
  return false;
}

std::uint64_t Position::RepetitionKey() const {
  const std::uint64_t part = EnPassantKeyPart();
  return EnPassantCaptureIsLegal() ? key : key ^ part;
}

// Generates legal moves directly: with the checkers and pinned pieces known,
// a move of a piece other than the king is legal when it lands on the check
// line (if any) and stays on its pin line (if any). King moves and en passant
// are tried on a copy of the board.
void Position::GenerateLegal(MoveList &moves) const {
  moves.size = 0;
  const int us = sideToMove;
  const int them = OtherColor(us);
  const int kingSquare = kingIndex[us];

  // Checkers and pins, looking outwards from the king.
  int checkers = 0;
  std::uint64_t checkLine = ALL_SQUARES;
  Pins pins;
  const int theirQueen = PieceCode(Queen, them);
  for (int d = 0; d < DIRECTION_COUNT; ++d) {
    const int slider = PieceCode(d < FIRST_DIAGONAL ? Rook : Bishop, them);
    std::uint64_t line = 0;
    int shield = -1;
    for (int s : ATTACKS.rays[kingSquare][d]) {
      line |= Bit(s);
      const int code = board[s];
      if (code == NO_PIECE)
        continue;
      if (code == slider || code == theirQueen) {
        if (shield < 0) {
          ++checkers;
          checkLine &= line;
        } else {
          pins.Add(shield, line);
        }
      } else if (HasColor(code, us) && shield < 0) {
        shield = s;
        continue;
      }
      break;
    }
  }
  const int theirKnight = PieceCode(Knight, them);
  for (int s : ATTACKS.knight[kingSquare])
    if (board[s] == theirKnight) {
      ++checkers;
      checkLine &= Bit(s);
    }
  const int theirPawn = PieceCode(Pawn, them);
  for (int s : ATTACKS.pawnCaptures[us][kingSquare])
    if (board[s] == theirPawn) {
      ++checkers;
      checkLine &= Bit(s);
    }

  // The king may not step along the line of a slider checking it, so its
  // moves are tested with the king off the board.
  std::uint8_t open[SQUARE_COUNT];
  std::memcpy(open, board, sizeof open);
  open[kingSquare] = NO_PIECE;
  for (int s : ATTACKS.king[kingSquare])
    if (!HasColor(board[s], us) && !SquareAttacked(open, s, them))
      moves.Add({std::uint8_t(kingSquare), std::uint8_t(s), Pawn, MoveCode::Normal});
  if (checkers > 1)
    return;

  // Castling: never out of, through or into check; the rights promise the
  // king and rook on their home squares.
  if (checkers == 0 && kingSquare == KING_HOME[us]) {
    const int k = kingSquare;
    if ((castlingRights & KINGSIDE_RIGHT[us]) && board[k + 1] == NO_PIECE && board[k + 2] == NO_PIECE &&
        !SquareAttacked(board, k + 1, them) && !SquareAttacked(board, k + 2, them))
      moves.Add({std::uint8_t(k), std::uint8_t(k + 2), Pawn, MoveCode::Castling});
    if ((castlingRights & QUEENSIDE_RIGHT[us]) && board[k - 1] == NO_PIECE && board[k - 2] == NO_PIECE &&
        board[k - 3] == NO_PIECE && !SquareAttacked(board, k - 1, them) && !SquareAttacked(board, k - 2, them))
      moves.Add({std::uint8_t(k), std::uint8_t(k - 2), Pawn, MoveCode::Castling});
  }

  for (std::uint64_t own = occupied[us] & ~Bit(kingSquare); own; own &= own - 1) {
    const int from = LowestSquare(own);
    std::uint64_t allowed = checkLine;
    if (pins.pinned & Bit(from))
      allowed &= pins.LineOf(from);
    if (!allowed)
      continue;
    const int type = CodeType(board[from]);
    if (type == Pawn) {
      const int one = from + PAWN_STEP[us];
      if (board[one] == NO_PIECE) {
        if (allowed & Bit(one))
          AddPawnMove(moves, from, one, us);
        const int two = one + PAWN_STEP[us];
        if (RankOf(from) == PAWN_START_RANK[us] && board[two] == NO_PIECE && (allowed & Bit(two)))
          moves.Add({std::uint8_t(from), std::uint8_t(two), Pawn, MoveCode::DoubleStep});
      }
      for (int to : ATTACKS.pawnCaptures[us][from])
        if (HasColor(board[to], them) && (allowed & Bit(to)))
          AddPawnMove(moves, from, to, us);
    } else if (type == Knight) {
      for (int to : ATTACKS.knight[from])
        if (!HasColor(board[to], us) && (allowed & Bit(to)))
          moves.Add({std::uint8_t(from), std::uint8_t(to), Pawn, MoveCode::Normal});
    } else {
      const int first = type == Bishop ? FIRST_DIAGONAL : 0;
      const int last = type == Rook ? FIRST_DIAGONAL : DIRECTION_COUNT;
      for (int d = first; d < last; ++d)
        for (int to : ATTACKS.rays[from][d]) {
          const int code = board[to];
          if (code == NO_PIECE || HasColor(code, them)) {
            if (allowed & Bit(to))
              moves.Add({std::uint8_t(from), std::uint8_t(to), Pawn, MoveCode::Normal});
          }
          if (code != NO_PIECE)
            break;
        }
    }
  }

  // En passant removes two pawns from one rank at once, which can open a
  // line to the king no pin test sees; it is tried on the board copy.
  if (enPassant >= 0) {
    const int ourPawn = PieceCode(Pawn, us);
    const int taken = enPassant - PAWN_STEP[us];
    for (int from : ATTACKS.pawnCaptures[them][enPassant]) {
      if (board[from] != ourPawn)
        continue;
      open[from] = NO_PIECE;
      open[taken] = NO_PIECE;
      open[enPassant] = std::uint8_t(ourPawn);
      if (!SquareAttacked(open, kingSquare, them))
        moves.Add({std::uint8_t(from), std::uint8_t(enPassant), Pawn, MoveCode::EnPassant});
      open[from] = std::uint8_t(ourPawn);
      open[taken] = std::uint8_t(theirPawn);
      open[enPassant] = NO_PIECE;
    }
  }
}

std::vector<Move> Position::LegalMoves() const {
  MoveList moves;
  GenerateLegal(moves);
  std::vector<Move> result;
  result.reserve(moves.size);
  for (const MoveCode &m : moves)
    result.push_back(m.ToMove());
  return result;
}

bool Position::FindLegal(const Move &move, MoveCode &code) const {
  if (!move.from.IsOnBoard() || !move.to.IsOnBoard())
    return false;
  MoveList moves;
  GenerateLegal(moves);
  for (const MoveCode &m : moves)
    if (m.from == move.from.Index() && m.to == move.to.Index() && m.promotion == move.promotion) {
      code = m;
      return true;
    }
  return false;
}

bool Position::IsLegal(const Move &move) const {
  MoveCode unused;
  return FindLegal(move, unused);
}

bool Position::HasLegalMove() const {
  MoveList moves;
  GenerateLegal(moves);
  return moves.size > 0;
}

void Position::DoMove(const MoveCode &move) {
  const int us = sideToMove;
  const int them = OtherColor(us);
  const int from = move.from, to = move.to;
  const int mover = board[from];
  assert(HasColor(mover, us));

  Undo &undo = history.emplace_back();
  undo.move = move;
  undo.castlingRights = std::uint8_t(castlingRights);
  undo.enPassant = std::int8_t(enPassant);
  undo.halfMoveClock = halfMoveClock;
  undo.fullMoveNumber = fullMoveNumber;
  undo.key = key;

  key ^= EnPassantKeyPart();
  const int takenSquare = move.kind == MoveCode::EnPassant ? to - PAWN_STEP[us] : to;
  const int taken = board[takenSquare];
  undo.captured = std::uint8_t(taken);
  if (taken != NO_PIECE) {
    key ^= ZOBRIST.piece[taken][takenSquare];
    board[takenSquare] = NO_PIECE;
    occupied[them] &= ~Bit(takenSquare);
  }

  const int landed = move.promotion != Pawn ? PieceCode(move.promotion, us) : mover;
  key ^= ZOBRIST.piece[mover][from] ^ ZOBRIST.piece[landed][to];
  board[from] = NO_PIECE;
  board[to] = std::uint8_t(landed);
  occupied[us] ^= Bit(from) | Bit(to);

  if (move.kind == MoveCode::Castling) {
    const bool kingside = to > from;
    const int rookFrom = kingside ? from + KINGSIDE_ROOK_OFFSET : from - QUEENSIDE_ROOK_OFFSET;
    const int rookTo = kingside ? from + 1 : from - 1;
    const int rook = board[rookFrom];
    key ^= ZOBRIST.piece[rook][rookFrom] ^ ZOBRIST.piece[rook][rookTo];
    board[rookFrom] = NO_PIECE;
    board[rookTo] = std::uint8_t(rook);
    occupied[us] ^= Bit(rookFrom) | Bit(rookTo);
  }
  if (CodeType(mover) == King)
    kingIndex[us] = std::uint8_t(to);

  const int rights = castlingRights & CASTLING_KEEP.keep[from] & CASTLING_KEEP.keep[to];
  key ^= ZOBRIST.castling[castlingRights] ^ ZOBRIST.castling[rights];
  castlingRights = rights;

  halfMoveClock = CodeType(mover) == Pawn || taken != NO_PIECE ? 0 : halfMoveClock + 1;
  if (us == Black)
    ++fullMoveNumber;
  enPassant = move.kind == MoveCode::DoubleStep ? (from + to) / 2 : -1;
  sideToMove = them;
  key ^= ZOBRIST.blackToMove;
  key ^= EnPassantKeyPart();
}

void Position::UndoMove() {
  if (history.empty())
    return;
  const Undo undo = history.back();
  history.pop_back();
  const int them = sideToMove;
  const int us = OtherColor(them);
  const int from = undo.move.from, to = undo.move.to;

  const int mover = undo.move.promotion != Pawn ? PieceCode(Pawn, us) : board[to];
  board[to] = NO_PIECE;
  board[from] = std::uint8_t(mover);
  occupied[us] ^= Bit(from) | Bit(to);
  if (undo.captured != NO_PIECE) {
    const int takenSquare = undo.move.kind == MoveCode::EnPassant ? to - PAWN_STEP[us] : to;
    board[takenSquare] = undo.captured;
    occupied[them] |= Bit(takenSquare);
  }
  if (undo.move.kind == MoveCode::Castling) {
    const bool kingside = to > from;
    const int rookFrom = kingside ? from + KINGSIDE_ROOK_OFFSET : from - QUEENSIDE_ROOK_OFFSET;
    const int rookTo = kingside ? from + 1 : from - 1;
    board[rookFrom] = board[rookTo];
    board[rookTo] = NO_PIECE;
    occupied[us] ^= Bit(rookFrom) | Bit(rookTo);
  }
  if (CodeType(mover) == King)
    kingIndex[us] = std::uint8_t(from);

  sideToMove = us;
  castlingRights = undo.castlingRights;
  enPassant = undo.enPassant;
  halfMoveClock = undo.halfMoveClock;
  fullMoveNumber = undo.fullMoveNumber;
  key = undo.key;
}

bool Position::Play(const Move &move) {
  MoveCode code;
  if (!FindLegal(move, code))
    return false;
  DoMove(code);
  return true;
}

bool Position::IsInsufficientMaterial() const {
  int knights = 0, bishops = 0;
  bool bishopOnLight = false, bishopOnDark = false;
  for (std::uint64_t pieces = occupied[White] | occupied[Black]; pieces; pieces &= pieces - 1) {
    const int square = LowestSquare(pieces);
    switch (CodeType(board[square])) {
    case King:
      break;
    case Knight:
      ++knights;
      break;
    case Bishop:
      ++bishops;
      ((RankOf(square) + FileOf(square)) % 2 == 0 ? bishopOnDark : bishopOnLight) = true;
      break;
    default:
      return false; // a pawn, rook or queen can always mate
    }
  }
  if (knights == 0)
    return !(bishopOnLight && bishopOnDark); // bishops of one square colour never mate
  return knights == 1 && bishops == 0;
}

bool Position::IsAttacked(const Square &square, int byColor) const {
  return square.IsOnBoard() && SquareAttacked(board, square.Index(), byColor);
}

bool Position::IsInCheck() const { return SquareAttacked(board, kingIndex[sideToMove], OtherColor(sideToMove)); }

bool Position::IsCheckmate() const { return IsInCheck() && !HasLegalMove(); }

bool Position::IsStalemate() const { return !IsInCheck() && !HasLegalMove(); }

bool Position::IsCapture(const Move &move) const {
  if (!move.from.IsOnBoard() || !move.to.IsOnBoard())
    return false;
  const int mover = board[move.from.Index()];
  if (mover == NO_PIECE)
    return false;
  const int target = board[move.to.Index()];
  if (target != NO_PIECE)
    return !HasColor(target, CodeColor(mover));
  return CodeType(mover) == Pawn && move.to.Index() == enPassant && move.from.X != move.to.X;
}

void Position::CheckAfter(const Move &move, bool &check, bool &mate) const {
  check = mate = false;
  MoveCode code;
  if (!FindLegal(move, code))
    return;
  Position after{EmptyBoard()};
  after.CopyBoardFrom(*this);
  after.DoMove(code);
  check = after.IsInCheck();
  mate = check && !after.HasLegalMove();
}

} // namespace chess
