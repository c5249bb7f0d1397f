// The clock, the sleep and the tone of the platform layer.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

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

// The mate tone is made as samples and played like any sound: its length,
// its pitch (counted in sign changes) and its soft ends.
TEST(Tone, SamplesOfTheRightLengthPitchAndEnds) {
  const struct { uint32_t hz, ms; } cases[] = {{2500, 1000}, {440, 300}, {1000, 1}, {1000, 0}};
  for (const auto &c : cases) {
    const platform::PcmSound tone = platform::MakeTone(c.hz, c.ms);
    SCOPED_TRACE(std::to_string(c.hz) + " Hz, " + std::to_string(c.ms) + " ms");
    EXPECT_EQ(tone.rate, 44100u);
    EXPECT_EQ(tone.channels, 1u);
    ASSERT_EQ(tone.samples.size(), size_t(44100) * c.ms / 1000);
    if (c.ms < 100)
      continue;
    int crossings = 0, peak = 0;
    for (size_t i = 1; i < tone.samples.size(); ++i) {
      crossings += (tone.samples[i - 1] < 0) != (tone.samples[i] < 0);
      peak = std::max(peak, std::abs(int(tone.samples[i])));
    }
    const double expected = 2.0 * c.hz * c.ms / 1000;
    EXPECT_NEAR(crossings, expected, expected * 0.02);
    EXPECT_GT(peak, 4000);
    EXPECT_LT(std::abs(int(tone.samples.front())), 100);
    EXPECT_LT(std::abs(int(tone.samples.back())), 100);
  }
}
