// libFuzzer target: arbitrary bytes through the PGN reader. A file it
// accepts must replay on the chess core and write back to a file that reads
// to the same moves.
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  chess::PgnGame game;
  chess::PgnError error;
  if (!chess::CPgnReader::Read(text, game, error)) {
    if (error.line < 1 || error.reason.empty())
      __builtin_trap();
    return 0;
  }
  std::string written, reason;
  if (!chess::CPgnWriter::Write(game, written, reason))
    __builtin_trap();
  chess::PgnGame again;
  if (!chess::CPgnReader::Read(written, again, error) || again.moves != game.moves || again.result != game.result)
    __builtin_trap();
  return 0;
}
