// Reading and writing Forsyth-Edwards Notation, with the checks that keep an
// impossible or inconsistent position out of the generator.
#include "chess/Position.h"

#include "chess/BoardTables.h"

#include <sstream>

namespace chess {

using namespace tables;

namespace {

constexpr int REQUIRED_FIELDS = 4; // placement, side, castling, en passant
constexpr int MAX_FIELDS = 6;
constexpr int MAX_PIECES = 16;
constexpr int MAX_PAWNS = 8;
constexpr int MAX_HALF_MOVE_CLOCK = 1000000;
constexpr int MAX_FULL_MOVE_NUMBER = 1000000;
constexpr int MAX_COUNTER_DIGITS = 7;
const char *const COLOR_NAMES[2] = {"White", "Black"};

// What each castling letter needs: the right, the king's and the rook's home.
struct CastlingLetter {
  char letter;
  int right;
  int color;
  int kingHome;
  int rookHome;
};

constexpr CastlingLetter CASTLING_LETTERS[] = {
    {'K', WHITE_KINGSIDE, White, E1, H1},
    {'Q', WHITE_QUEENSIDE, White, E1, A1},
    {'k', BLACK_KINGSIDE, Black, E8, H8},
    {'q', BLACK_QUEENSIDE, Black, E8, A8},
};

static_assert(WHITE_KINGSIDE == Position::WHITE_KINGSIDE && BLACK_QUEENSIDE == Position::BLACK_QUEENSIDE,
              "the tables and the position agree on castling bits");

std::string IndexName(int index) { return SquareName(Square::FromIndex(index)); }

// Reads a move counter: digits only, from low to high; false otherwise.
bool ReadCounter(const std::string &text, int low, int high, int &value) {
  if (text.empty() || text.size() > std::size_t(MAX_COUNTER_DIGITS))
    return false;
  int read = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    read = read * 10 + (c - '0');
  }
  if (read < low || read > high)
    return false;
  value = read;
  return true;
}

} // namespace

bool Position::SetFen(const std::string &fen, std::string &error) {
  std::istringstream in(fen);
  std::vector<std::string> fields;
  for (std::string field; in >> field;)
    fields.push_back(field);
  if (fields.empty()) {
    error = "empty FEN";
    return false;
  }
  if (fields.size() < std::size_t(REQUIRED_FIELDS)) {
    const char *const missing[] = {"", "the side to move", "the castling rights", "the en-passant square"};
    error = std::string("missing field: ") + missing[fields.size()];
    return false;
  }
  if (fields.size() > std::size_t(MAX_FIELDS)) {
    error = "more than six fields";
    return false;
  }

  Position read{EmptyBoard()};
  // Piece placement, rank 8 first.
  int rank = BOARD_WIDTH - 1, file = 0;
  for (char c : fields[0]) {
    if (c == '/') {
      if (file != BOARD_WIDTH) {
        error = "rank " + std::to_string(rank + 1) + " does not hold 8 squares";
        return false;
      }
      if (--rank < 0) {
        error = "more than 8 ranks";
        return false;
      }
      file = 0;
      continue;
    }
    if (c >= '1' && c <= '8') {
      file += c - '0';
    } else if (c >= '0' && c <= '9') {
      error = std::string("'") + c + "' is not a count of empty squares from 1 to 8";
      return false;
    } else {
      int type = Pawn;
      if (!PieceTypeOfLetter(c, type)) {
        error = std::string("unknown piece letter '") + c + "'";
        return false;
      }
      if (file < BOARD_WIDTH)
        read.SetSquare(rank * BOARD_WIDTH + file, PieceCode(type, c >= 'a' ? Black : White));
      ++file;
    }
    if (file > BOARD_WIDTH) {
      error = "rank " + std::to_string(rank + 1) + " holds more than 8 squares";
      return false;
    }
  }
  if (rank != 0 || file != BOARD_WIDTH) {
    error = rank != 0 ? "fewer than 8 ranks" : "rank 1 does not hold 8 squares";
    return false;
  }

  if (fields[1] != "w" && fields[1] != "b") {
    error = "the side to move is '" + fields[1] + "', not w or b";
    return false;
  }
  read.sideToMove = fields[1] == "w" ? White : Black;

  if (fields[2] != "-") {
    for (char c : fields[2]) {
      bool known = false;
      for (const CastlingLetter &l : CASTLING_LETTERS)
        if (l.letter == c) {
          if (read.castlingRights & l.right) {
            error = std::string("castling right '") + c + "' given twice";
            return false;
          }
          read.castlingRights |= l.right;
          known = true;
        }
      if (!known) {
        error = std::string("unknown castling letter '") + c + "'";
        return false;
      }
    }
  }

  if (fields[3] != "-") {
    Square square;
    if (!SquareFromName(fields[3], square)) {
      error = "the en-passant square '" + fields[3] + "' is not a square";
      return false;
    }
    read.enPassant = square.Index();
  }

  if (fields.size() > 4 && !ReadCounter(fields[4], 0, MAX_HALF_MOVE_CLOCK, read.halfMoveClock)) {
    error = "the half-move clock '" + fields[4] + "' is not a whole number from 0 to " +
            std::to_string(MAX_HALF_MOVE_CLOCK);
    return false;
  }
  if (fields.size() > 5 && !ReadCounter(fields[5], 1, MAX_FULL_MOVE_NUMBER, read.fullMoveNumber)) {
    error = "the full-move number '" + fields[5] + "' is not a whole number from 1 to " +
            std::to_string(MAX_FULL_MOVE_NUMBER);
    return false;
  }

  for (int s = 0; s < SQUARE_COUNT; ++s)
    if (read.board[s] != NO_PIECE && CodeType(read.board[s]) == King)
      read.kingIndex[CodeColor(read.board[s])] = std::uint8_t(s);
  if (!read.Validate(error))
    return false;
  read.key = read.ComputeKey();
  CopyBoardFrom(read);
  return true;
}

// Checks what the fields say together, once the kings are found.
bool Position::Validate(std::string &error) const {
  for (int color = White; color <= Black; ++color) {
    int kings = 0;
    int pawns = 0;
    int pieces = 0;
    for (int s = 0; s < SQUARE_COUNT; ++s) {
      if (board[s] == NO_PIECE || CodeColor(board[s]) != color)
        continue;
      ++pieces;
      kings += CodeType(board[s]) == King;
      pawns += CodeType(board[s]) == Pawn;
    }
    const std::string side = COLOR_NAMES[color];
    if (kings != 1) {
      error = side + " has " + std::to_string(kings) + " kings, not one";
      return false;
    }
    if (pieces > MAX_PIECES) {
      error = side + " has more than 16 pieces";
      return false;
    }
    if (pawns > MAX_PAWNS) {
      error = side + " has more than 8 pawns";
      return false;
    }
  }
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    const int rank = RankOf(s);
    if (board[s] != NO_PIECE && CodeType(board[s]) == Pawn && (rank == 0 || rank == BOARD_WIDTH - 1)) {
      error = "a pawn stands on the first or last rank (" + IndexName(s) + ")";
      return false;
    }
  }

  for (const CastlingLetter &l : CASTLING_LETTERS)
    if ((castlingRights & l.right) &&
        (board[l.kingHome] != PieceCode(King, l.color) || board[l.rookHome] != PieceCode(Rook, l.color))) {
      error = std::string("castling right '") + l.letter + "' needs the king on " + IndexName(l.kingHome) +
              " and a rook on " + IndexName(l.rookHome);
      return false;
    }

  if (enPassant >= 0) {
    // The side not to move has just made a double step over the square.
    const int mover = OtherColor(sideToMove);
    const int forward = mover == White ? BOARD_WIDTH : -BOARD_WIDTH;
    const int expectedRank = mover == White ? 2 : 5;
    const std::string name = IndexName(enPassant);
    if (RankOf(enPassant) != expectedRank) {
      error = "the en-passant square " + name + " is not on rank " + std::to_string(expectedRank + 1) + " with " +
              COLOR_NAMES[sideToMove] + " to move";
      return false;
    }
    const int pawnSquare = enPassant + forward;
    const int startSquare = enPassant - forward;
    if (board[pawnSquare] != PieceCode(Pawn, mover)) {
      error = "the en-passant square " + name + " has no " + (mover == White ? "white" : "black") + " pawn on " +
              IndexName(pawnSquare) + " in front of it";
      return false;
    }
    if (board[enPassant] != NO_PIECE || board[startSquare] != NO_PIECE) {
      error =
          "the en-passant square " + name + " or the pawn's start square " + IndexName(startSquare) + " is not empty";
      return false;
    }
  }

  const int waiting = OtherColor(sideToMove);
  if (IsAttacked(GetKingSquare(waiting), sideToMove)) {
    error = std::string("the side not to move (") + COLOR_NAMES[waiting] + ") is in check";
    return false;
  }
  return true;
}

std::string Position::GetFen() const {
  std::string fen;
  for (int rank = BOARD_WIDTH - 1; rank >= 0; --rank) {
    int empty = 0;
    for (int file = 0; file < BOARD_WIDTH; ++file) {
      const int code = board[rank * BOARD_WIDTH + file];
      if (code == NO_PIECE) {
        ++empty;
        continue;
      }
      if (empty)
        fen += char('0' + empty);
      empty = 0;
      const char letter = PieceLetter(CodeType(code));
      fen += CodeColor(code) == White ? char(letter - 'a' + 'A') : letter;
    }
    if (empty)
      fen += char('0' + empty);
    if (rank > 0)
      fen += '/';
  }
  fen += sideToMove == White ? " w " : " b ";
  if (castlingRights == 0)
    fen += '-';
  for (const CastlingLetter &l : CASTLING_LETTERS)
    if (castlingRights & l.right)
      fen += l.letter;
  fen += ' ';
  fen += enPassant >= 0 ? IndexName(enPassant) : "-";
  fen += ' ' + std::to_string(halfMoveClock) + ' ' + std::to_string(fullMoveNumber);
  return fen;
}

} // namespace chess
