#include "platform/Platform.h"

#include <time.h>

namespace platform {
namespace {

TickSource tickSource = nullptr;

uint32_t MonotonicTick() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t ms = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
  return uint32_t(ms); // wraps like the 32-bit tick counter callers expect
}

} // namespace

uint32_t GetTickCount() { return tickSource ? tickSource() : MonotonicTick(); }

void SetTickSource(TickSource source) { tickSource = source; }

void Sleep(uint32_t milliseconds) {
  timespec wait{time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
  // Resume after signals until the whole time has passed.
  while (nanosleep(&wait, &wait) != 0) {
  }
}

} // namespace platform
