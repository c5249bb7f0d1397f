// perft "<FEN>" <depth>: prints the number of legal move sequences of that
// length from the position, found by the game's own rules (no scene).
#include "rules/FenPosition.h"
#include "rules/Perft.h"
#include "scene/CMap.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int MAX_DEPTH = 8;

int Usage(const char *reason) {
  std::fprintf(stderr, "perft: %s\nusage: perft \"<FEN>\" <depth 0..%d>\n", reason, MAX_DEPTH);
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3)
    return Usage("expected a FEN and a depth");
  char *end = nullptr;
  const long depth = std::strtol(argv[2], &end, 10);
  if (end == argv[2] || *end != '\0' || depth < 0 || depth > MAX_DEPTH)
    return Usage("the depth is not a whole number in range");

  // A board of its own: its tokens get no meshes, since there is no scene.
  CMap board;
  board.InitGameTokens();
  irr::s32 side = White;
  std::string error;
  if (!LoadFen(board, argv[1], side, error)) {
    std::fprintf(stderr, "perft: bad FEN: %s\n", error.c_str());
    return 1;
  }
  std::printf("%llu\n", static_cast<unsigned long long>(Perft(board, side, int(depth))));
  return 0;
}
