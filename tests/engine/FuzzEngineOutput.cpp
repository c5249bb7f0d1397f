// libFuzzer target: arbitrary engine output through the engine link's line
// handling, its bounded line buffer and the parse of its result lines.
//
// Input layout: a sequence of frames, each a length byte (1 + byte * 16
// bytes follow, so long lines and floods occur) and its bytes. Before each
// frame the link owes a result, as if a search had been asked for.
#include "app/CApplication.h"
#include "engine/CEngineLineBuffer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

struct CCEManagerProbe {
  static void Feed(CCEManager &engine, const uint8_t *data, size_t size) {
    engine.OnEngineBytes(reinterpret_cast<const char *>(data), size);
  }
  static void ExpectResult(CCEManager &engine) { engine.search.Owe(); }
  static size_t PendingBytes(const CCEManager &engine) { return engine.lineBuffer.PendingSize(); }
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  CCEManager engine; // no process: commands go nowhere
  size_t at = 0;
  while (at < size) {
    size_t frame = 1 + size_t(data[at++]) * 16;
    if (frame > size - at)
      frame = size - at;
    CCEManagerProbe::ExpectResult(engine);
    CCEManagerProbe::Feed(engine, data + at, frame);
    at += frame;

    // The line in the making never outgrows its bound.
    if (CCEManagerProbe::PendingBytes(engine) > CEngineLineBuffer::MAX_LINE)
      __builtin_trap();

    // Squares of a result are both on the board, or both the off-board
    // square that says the engine has no move ("(none)", the null move);
    // a result is handed out once.
    BoardSquare from(3, 3), to(5, 5);
    if (engine.ProcessEngineResult(from, to)) {
      const BoardSquare none(-1, -1);
      const bool move = from.IsOnBoard() && to.IsOnBoard();
      if (!move && (from != none || to != none))
        __builtin_trap();
      BoardSquare again;
      if (engine.ProcessEngineResult(again, again))
        __builtin_trap();
    }
  }
  return 0;
}
