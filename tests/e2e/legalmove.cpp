// Picks a legal move for the side to move after the given moves, so an
// end-to-end test can play a whole game by clicking. Promotions are to a
// queen, as the game plays them. Prints the move, or "none" when the game is
// over. Usage: kelvar_legalmove SEED [MOVE...]
// With "pieces" in place of the seed it prints how many white and black
// pieces stand on the board after the moves instead: "16 13".
#include "chess/Position.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

int main(int argc, char **argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s SEED [MOVE...]\n", argv[0]);
    return 2;
  }
  chess::Position position;
  for (int i = 2; i < argc; ++i) {
    chess::Move move;
    if (!chess::Move::FromUci(argv[i], move) || !position.Play(move)) {
      fprintf(stderr, "%s is not legal here\n", argv[i]);
      return 1;
    }
  }
  if (strcmp(argv[1], "pieces") == 0) {
    int count[2] = {0, 0};
    for (int index = 0; index < 64; ++index) {
      int type = 0, color = 0;
      if (position.PieceAt(chess::Square::FromIndex(index), type, color))
        ++count[color];
    }
    printf("%d %d\n", count[chess::White], count[chess::Black]);
    return 0;
  }
  std::vector<std::string> moves;
  for (const chess::Move &move : position.LegalMoves())
    if (move.promotion == chess::Pawn || move.promotion == chess::Queen)
      moves.push_back(move.ToUci());
  if (moves.empty()) {
    puts("none");
    return 0;
  }
  std::mt19937 random(unsigned(atoi(argv[1])));
  puts(moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(random)].c_str());
  return 0;
}
