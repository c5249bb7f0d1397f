// libFuzzer target: arbitrary engine output through the engine link's
// per-frame line handling and the parse of its result lines.
//
// Input layout: a sequence of frames, each one length byte (1 + byte % 9
// bytes follow, as the poll reads at most nine per frame) and its bytes.
#include "app/CApplication.h"

#include <cstddef>
#include <cstdint>

struct CCEManagerProbe {
  static void Feed(CCEManager &engine, const uint8_t *data, size_t size) {
    engine.OnEngineBytes(reinterpret_cast<const char *>(data), size);
  }
  static void ForgetPartialLine() { CCEManager::ForgetPartialLine(); }
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  CCEManager engine; // no process: the stop command goes nowhere
  CCEManagerProbe::ForgetPartialLine();
  size_t at = 0;
  while (at < size) {
    size_t frame = 1 + data[at++] % 9;
    if (frame > size - at)
      frame = size - at;
    CCEManagerProbe::Feed(engine, data + at, frame);
    at += frame;

    // Squares that start on the board stay on it, and a result is handed out once.
    BoardSquare from(3, 3), to(5, 5);
    if (engine.ProcessEngineResult(from, to)) {
      if (!from.IsOnBoard() || !to.IsOnBoard())
        __builtin_trap();
      BoardSquare again;
      if (engine.ProcessEngineResult(again, again))
        __builtin_trap();
    }
  }
  return 0;
}
