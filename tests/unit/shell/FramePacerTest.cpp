// The frame loop's pacing decision, driven by a fake clock: when a pass draws
// and how long the loop then sleeps, while things move and while they rest.
#include "app/CFramePacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

CFramePacer::Settings TestSettings() {
  CFramePacer::Settings s;
  s.activeFrameMs = 16;
  s.idleFrameMs = 1000;
  s.lingerMs = 250;
  s.pollMs = 10;
  return s;
}

// Runs the loop as the game does, from start to end (ms), with activity at
// the given times; returns the times at which frames were drawn.
std::vector<uint32_t> Simulate(CFramePacer &pacer, uint32_t start, uint32_t end, const std::vector<uint32_t> &activity,
                               uint32_t frameCostMs = 0) {
  std::vector<uint32_t> frames;
  size_t next = 0;
  for (uint32_t now = start; uint32_t(now - start) < uint32_t(end - start);) {
    while (next < activity.size() && uint32_t(activity[next] - start) <= uint32_t(now - start))
      pacer.NoteActivity(activity[next++]);
    if (pacer.ShouldDraw(now)) {
      pacer.FrameDrawn(now);
      frames.push_back(now);
      now += frameCostMs;
    }
    const uint32_t sleep = pacer.SleepTime(now);
    EXPECT_LE(sleep, pacer.GetSettings().pollMs) << "a pass must come at least every pollMs";
    now += sleep == 0 ? 1 : sleep;
  }
  return frames;
}

} // namespace

TEST(FramePacer, FirstPassDrawsAtOnce) {
  CFramePacer pacer(TestSettings());
  EXPECT_TRUE(pacer.ShouldDraw(5000));
  EXPECT_EQ(pacer.SleepTime(5000), 0u);
}

TEST(FramePacer, RestingScreenIsRedrawnOnlyByTheSafetyRefresh) {
  CFramePacer pacer(TestSettings());
  const std::vector<uint32_t> frames = Simulate(pacer, 0, 5000, {});
  // The first frame, then one a second.
  EXPECT_EQ(frames, (std::vector<uint32_t>{0, 1000, 2000, 3000, 4000}));
}

TEST(FramePacer, NoIdleRefreshMeansNoFramesUntilSomethingHappens) {
  CFramePacer::Settings s = TestSettings();
  s.idleFrameMs = 0;
  CFramePacer pacer(s);
  EXPECT_EQ(Simulate(pacer, 0, 3000, {}).size(), 1u);
  EXPECT_EQ(pacer.SleepTime(3000), s.pollMs);
  pacer.NoteActivity(3000);
  EXPECT_TRUE(pacer.ShouldDraw(3000));
}

TEST(FramePacer, MovingPictureGetsSixtyFramesASecondAndThenRests) {
  CFramePacer pacer(TestSettings());
  std::vector<uint32_t> activity; // an animation from 1000 to 2000 ms
  for (uint32_t t = 1000; t <= 2000; t += 10)
    activity.push_back(t);
  const std::vector<uint32_t> frames = Simulate(pacer, 0, 4000, activity);
  int during = 0, lingering = 0, after = 0;
  for (uint32_t f : frames) {
    during += f >= 1000 && f < 2000;
    lingering += f >= 2000 && f < 2250;
    after += f >= 2250;
  }
  EXPECT_GE(during, 60);
  EXPECT_LE(during, 63);    // never more than one frame per 16 ms
  EXPECT_GE(lingering, 14); // the fast rate outlasts the activity a little
  EXPECT_LE(after, 2);      // then back to the safety refresh
  for (size_t i = 1; i < frames.size(); ++i)
    EXPECT_GE(frames[i] - frames[i - 1], 16u) << "frames at " << frames[i - 1] << " and " << frames[i];
}

TEST(FramePacer, SlowFramesAreDrawnBackToBackWithoutSleeping) {
  CFramePacer pacer(TestSettings());
  pacer.NoteActivity(0);
  pacer.FrameDrawn(0);
  // A frame that took 30 ms: the next one is already due.
  EXPECT_TRUE(pacer.ShouldDraw(30));
  EXPECT_EQ(pacer.SleepTime(30), 0u);
  // A frame that took 4 ms: sleep out the rest of the 16 ms, in passes of at most 10.
  pacer.NoteActivity(30);
  pacer.FrameDrawn(30);
  EXPECT_FALSE(pacer.ShouldDraw(34));
  EXPECT_EQ(pacer.SleepTime(34), 10u);
  EXPECT_EQ(pacer.SleepTime(40), 6u);
  EXPECT_TRUE(pacer.ShouldDraw(46));
}

TEST(FramePacer, RequestedFrameIsDrawnOnTheNextPassOnly) {
  CFramePacer pacer(TestSettings());
  pacer.FrameDrawn(0);
  EXPECT_FALSE(pacer.ShouldDraw(100));
  pacer.RequestFrame(); // a new window size
  EXPECT_TRUE(pacer.ShouldDraw(100));
  EXPECT_EQ(pacer.SleepTime(100), 0u);
  pacer.FrameDrawn(100);
  EXPECT_FALSE(pacer.ShouldDraw(101));
  EXPECT_EQ(pacer.GetFramesDrawn(), 2u);

  pacer.RequestFrame(3); // three frames in a row, then the rate applies again
  pacer.RequestFrame(1); // a smaller request does not cut a larger one short
  for (uint32_t now = 102; now < 105; ++now) {
    EXPECT_TRUE(pacer.ShouldDraw(now));
    pacer.FrameDrawn(now);
  }
  EXPECT_FALSE(pacer.ShouldDraw(105));
}

// The tick wraps after 49.7 days; pacing goes on across the wrap.
TEST(FramePacer, KeepsPacingAcrossTheTickWrapAround) {
  CFramePacer pacer(TestSettings());
  const uint32_t start = 0xFFFFFF00u;
  std::vector<uint32_t> activity;
  for (uint32_t t = start; t != start + 600; t += 10)
    activity.push_back(t);
  const std::vector<uint32_t> frames = Simulate(pacer, start, start + 600, activity);
  EXPECT_GE(frames.size(), 36u); // 600 ms at 60 a second
  EXPECT_LE(frames.size(), 38u);
  EXPECT_TRUE(pacer.IsActive(start + 600));
  EXPECT_FALSE(pacer.IsActive(start + 600 + 250));
}
