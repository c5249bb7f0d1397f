#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace chess;

namespace chess_testing {

Square Sq(const char *name) { return Square(name[0] - 'a', name[1] - '1'); }

Move Uci(const std::string &text) {
  Move move;
  EXPECT_TRUE(Move::FromUci(text, move)) << text;
  return move;
}

Position FromFen(const std::string &fen) {
  Position position;
  std::string error;
  EXPECT_TRUE(position.SetFen(fen, error)) << fen << ": " << error;
  return position;
}

bool PlayLine(Position &position, const std::string &line) {
  std::istringstream words(line);
  for (std::string text; words >> text;) {
    Move move;
    if (!Move::FromUci(text, move) || !position.Play(move))
      return false;
  }
  return true;
}

PgnGame RandomGame(const std::string &fen, int plies, unsigned seed) {
  PgnGame game;
  game.startFen = fen;
  Position position = fen.empty() ? Position() : FromFen(fen);
  std::mt19937 random(seed);
  for (int i = 0; i < plies; ++i) {
    const std::vector<Move> moves = position.LegalMoves();
    if (moves.empty())
      break;
    const Move move = moves[random() % moves.size()];
    position.Play(move);
    game.moves.push_back(move);
  }
  if (position.IsCheckmate())
    game.result = position.GetSideToMove() == White ? "0-1" : "1-0";
  else if (position.IsStalemate())
    game.result = "1/2-1/2";
  game.SetTag("Event", "Casual game");
  game.SetTag("White", "Player");
  game.SetTag("Black", "Stockfish 15.1");
  return game;
}

} // namespace chess_testing
