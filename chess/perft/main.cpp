// perft "<FEN>" <depth>: prints the number of legal move sequences of that
// length from the position, every promotion piece counted.
#include "chess/Perft.h"
#include "chess/Position.h"

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

  chess::Position position;
  std::string error;
  if (!position.SetFen(argv[1], error)) {
    std::fprintf(stderr, "perft: bad FEN: %s\n", error.c_str());
    return 1;
  }
  std::printf("%llu\n", static_cast<unsigned long long>(chess::Perft(position, int(depth))));
  return 0;
}
