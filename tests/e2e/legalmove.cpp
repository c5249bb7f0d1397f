// Picks a legal move for the side to move after the given moves, so an
// end-to-end test can play a whole game by clicking. Promotions are to a
// queen, as the game plays them. Prints the move, or "none" when the game is
// over. Usage: kelvar_legalmove SEED [MOVE...]
// With "pieces" in place of the seed it prints how many white and black
// pieces stand on the board after the moves instead: "16 13".
#include "bridge/CBoard.h"

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
  CBoard board;
  for (int i = 2; i < argc; ++i) {
    if (!board.IsLegal(argv[i])) {
      fprintf(stderr, "%s is not legal here\n", argv[i]);
      return 1;
    }
    board.Apply(argv[i]);
  }
  if (strcmp(argv[1], "pieces") == 0) {
    int white = 0, black = 0;
    for (char file = 'a'; file <= 'h'; ++file)
      for (char rank = '1'; rank <= '8'; ++rank) {
        const char piece = board.PieceAt(std::string{file, rank});
        white += piece >= 'A' && piece <= 'Z';
        black += piece >= 'a' && piece <= 'z';
      }
    printf("%d %d\n", white, black);
    return 0;
  }
  std::vector<std::string> moves;
  for (const std::string &move : board.LegalMoves())
    if (move.size() == 4 || move[4] == 'q')
      moves.push_back(move);
  if (moves.empty()) {
    puts("none");
    return 0;
  }
  std::mt19937 random(unsigned(atoi(argv[1])));
  puts(moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(random)].c_str());
  return 0;
}
