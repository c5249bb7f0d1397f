// libFuzzer target: arbitrary bytes through the PGN reader. Every game a file
// holds, whole or up to its fault, must replay on the chess core and write
// back to a file that reads to the same moves, NAGs, comments and result; the
// first game read alone, whole or in part, must be the first game of the
// file; a fault must name its line.
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "chess/Position.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The position a FEN sets up, as the core writes it: a line break in a tag
// value is written as a blank, which the FEN reads alike.
std::string Normalised(const std::string &fen) {
  chess::Position position;
  std::string error;
  if (!fen.empty() && !position.SetFen(fen, error))
    __builtin_trap();
  return position.GetFen();
}

void CheckRoundTrip(const chess::PgnGame &game) {
  std::string written, reason;
  if (!chess::CPgnWriter::Write(game, written, reason))
    __builtin_trap();
  chess::PgnGame again;
  chess::PgnError error;
  if (!chess::CPgnReader::Read(written, again, error))
    __builtin_trap();
  if (again.moves != game.moves || again.result != game.result || again.gameComments != game.gameComments ||
      Normalised(again.startFen) != Normalised(game.startFen))
    __builtin_trap();
  for (size_t ply = 0; ply < game.moves.size(); ++ply)
    if (again.NotesOf(ply) != game.NotesOf(ply))
      __builtin_trap();
  // Tags: the file written from what was read back is the same file.
  std::string rewritten;
  if (!chess::CPgnWriter::Write(again, rewritten, reason) || rewritten != written)
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);

  chess::PgnGame part;
  chess::PgnError partError;
  const bool whole = chess::CPgnReader::ReadUpToFault(text, part, partError);
  if (!whole && (partError.line < 1 || partError.reason.empty()))
    __builtin_trap();
  if (part.notes.size() != part.moves.size() || (!whole && part.result != "*"))
    __builtin_trap();
  CheckRoundTrip(part);

  chess::PgnGame game;
  chess::PgnError error;
  const bool read = chess::CPgnReader::Read(text, game, error);
  if (read != whole || (read && !(game == part)) || (!read && error.line != partError.line))
    __builtin_trap();

  std::vector<chess::PgnGameEntry> games;
  if (!chess::CPgnReader::ReadAll(text, games, error)) {
    if (error.line < 1 || error.reason.empty() || !games.empty())
      __builtin_trap();
    return 0;
  }
  if (games[0].ok != whole || !(games[0].game == part))
    __builtin_trap();
  int line = 0;
  for (const chess::PgnGameEntry &entry : games) {
    if (entry.line < line || (!entry.ok && (entry.error.line < entry.line || entry.error.reason.empty())))
      __builtin_trap();
    if (entry.summary.plies != entry.game.moves.size() || entry.summary.result != entry.game.result)
      __builtin_trap();
    line = entry.line;
    CheckRoundTrip(entry.game);
  }
  return 0;
}
