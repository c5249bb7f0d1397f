// libFuzzer target: arbitrary bytes through the PGN reader. A file it
// accepts must replay through the rules and write back to a file that reads
// to the same moves.
#include "rules/CPgnReader.h"
#include "rules/CPgnWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  PgnGame game;
  PgnError error;
  if (!CPgnReader::Read(text, game, error)) {
    if (error.line < 1 || error.reason.empty())
      __builtin_trap();
    return 0;
  }
  std::string written, reason;
  if (!CPgnWriter::Write(game, written, reason))
    __builtin_trap();
  PgnGame again;
  if (!CPgnReader::Read(written, again, error) || again.moves != game.moves || again.result != game.result)
    __builtin_trap();
  return 0;
}
