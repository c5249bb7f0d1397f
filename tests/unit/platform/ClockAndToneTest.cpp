// The clock, the sleep and the tone of the platform layer.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

long ElapsedMs(Clock::time_point since) {
  return long(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

uint32_t fakeNow = 0;
uint32_t FakeTick() { return fakeNow; }

} // namespace

TEST(Clock, TicksFollowRealTimeInMilliseconds) {
  const uint32_t before = platform::GetTickCount();
  const auto start = Clock::now();
  platform::Sleep(120);
  const uint32_t ticks = platform::GetTickCount() - before;
  EXPECT_GE(ElapsedMs(start), 120);
  EXPECT_GE(ticks, 119u);
  EXPECT_LT(ticks, 2000u);
}

TEST(Clock, ATickSourceReplacesTheClockUntilCleared) {
  platform::SetTickSource(FakeTick);
  fakeNow = 0xFFFFFF00u;
  EXPECT_EQ(platform::GetTickCount(), 0xFFFFFF00u);
  fakeNow = 0x10u; // wrapped: the unsigned difference still measures 0x110 ms
  EXPECT_EQ(platform::GetTickCount() - 0xFFFFFF00u, 0x110u);
  platform::SetTickSource(nullptr);
  EXPECT_NE(platform::GetTickCount(), 0x10u);
}

// With or without a sound device, the tone lasts its length before returning.
TEST(Tone, BlocksForItsWholeLength) {
  const auto start = Clock::now();
  platform::Beep(2500, 300);
  const long elapsed = ElapsedMs(start);
  EXPECT_GE(elapsed, 299);
  EXPECT_LT(elapsed, 3000);
}
