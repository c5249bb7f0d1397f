#include "chess/CGameRecord.h"

#include <algorithm>

namespace chess {

namespace {

// The rank a pawn of each colour promotes on.
constexpr int WHITE_LAST_RANK = 7, BLACK_LAST_RANK = 0;
constexpr int KINGSIDE_ROOK_FILE = 7, QUEENSIDE_ROOK_FILE = 0;
// Where the rook lands beside the castled king.
constexpr int KINGSIDE_ROOK_TO_FILE = 5, QUEENSIDE_ROOK_TO_FILE = 3;

// The piece a pawn reaching the last rank becomes: a queen unless a rook,
// bishop or knight is asked for.
int PromotionPiece(int asked) { return asked == Rook || asked == Bishop || asked == Knight ? asked : Queen; }

} // namespace

CGameRecord::CGameRecord() : keys{position.RepetitionKey()}, canMove{position.HasLegalMove()} {}

void CGameRecord::Start(const Position &startPosition) {
  // The copy keeps the moves that led to the position; Undo stops at the
  // start all the same, since it counts the record's own moves.
  start = startPosition;
  position = startPosition;
  moves.clear();
  keys.assign(1, position.RepetitionKey());
  canMove.assign(1, position.HasLegalMove());
}

bool CGameRecord::Describe(const Position &position, const Square &from, const Square &to, int promotion,
                           PlayedMove &played, MoveCode &code) {
  int type, color;
  if (!from.IsOnBoard() || !to.IsOnBoard() || !position.PieceAt(from, type, color) || color != position.GetSideToMove())
    return false;
  const int lastRank = color == White ? WHITE_LAST_RANK : BLACK_LAST_RANK;
  const bool promotes = type == Pawn && to.Y == lastRank;
  if (!position.FindLegal(Move(from, to, promotes ? PromotionPiece(promotion) : Pawn), code))
    return false;

  PlayedMove move;
  move.from = from;
  move.to = to;
  move.piece = type;
  move.color = color;
  move.promotion = promotes ? int(code.promotion) : PlayedMove::NONE;
  int takenType, takenColor;
  if (code.kind == MoveCode::EnPassant) {
    // The pawn taken stands beside the mover, not on the target square.
    move.enPassant = true;
    move.captured = Pawn;
    move.capturedSquare = Square(to.X, from.Y);
  } else if (position.PieceAt(to, takenType, takenColor)) {
    move.captured = takenType;
    move.capturedSquare = to;
  }
  if (code.kind == MoveCode::Castling) {
    const bool kingside = to.X > from.X;
    move.castling = true;
    move.rookFrom = Square(kingside ? KINGSIDE_ROOK_FILE : QUEENSIDE_ROOK_FILE, from.Y);
    move.rookTo = Square(kingside ? KINGSIDE_ROOK_TO_FILE : QUEENSIDE_ROOK_TO_FILE, from.Y);
  }
  played = move;
  return true;
}

bool CGameRecord::Play(const Square &from, const Square &to, int promotion) {
  PlayedMove move;
  MoveCode code;
  if (!Describe(position, from, to, promotion, move, code))
    return false;
  position.DoMove(code);
  moves.push_back(move);
  keys.push_back(position.RepetitionKey());
  canMove.push_back(position.HasLegalMove());
  return true;
}

bool CGameRecord::Undo() {
  if (moves.empty())
    return false;
  position.UndoMove();
  moves.pop_back();
  keys.pop_back();
  canMove.pop_back();
  return true;
}

std::vector<std::string> CGameRecord::GetMoveTexts() const {
  std::vector<std::string> texts;
  texts.reserve(moves.size());
  for (const PlayedMove &move : moves)
    texts.push_back(move.ToText());
  return texts;
}

std::vector<Move> CGameRecord::GetMoves() const {
  std::vector<Move> played;
  played.reserve(moves.size());
  for (const PlayedMove &move : moves)
    played.push_back(move.ToMove());
  return played;
}

int CGameRecord::CountRepetitions() const {
  // Only positions since the last capture or pawn move can be the same one,
  // and only those with the same side to move; the clock may count plies
  // from before Start, hence the bound.
  const std::size_t last = keys.size() - 1;
  const std::size_t reach = std::min(std::size_t(position.GetHalfMoveClock()), last);
  int count = 0;
  for (std::size_t back = 0; back <= reach; back += 2)
    if (keys[last - back] == keys[last])
      ++count;
  return count;
}

} // namespace chess
