// Decides, pass by pass, whether the frame loop draws a frame and how long it
// then sleeps. While something on screen can change it allows a frame every
// activeFrameMs (60 a second); once nothing has changed for lingerMs it draws
// only every idleFrameMs (0: not at all) and the loop mostly sleeps, leaving
// the processor to the engine. A pass still comes at least every pollMs, so
// input and the engine's answer are looked at that often whatever the rate.
// Times are milliseconds of a wrapping 32-bit tick; the pacer reads no clock
// itself, so tests drive it with any times they like.
#pragma once

#include <cstdint>

class CFramePacer {
public:
  struct Settings {
    uint32_t activeFrameMs = 16; // at most 60 frames a second while something moves
    uint32_t idleFrameMs = 5000; // a safety refresh while nothing moves; 0 for none
    uint32_t lingerMs = 250;     // the fast rate lasts this long after the last activity
    uint32_t pollMs = 10;        // the longest sleep between two passes
  };

  CFramePacer() = default;
  explicit CFramePacer(const Settings &settings) : settings(settings) {}

  // Something that can change the picture happened at nowMs: input, a running
  // animation, a changed game state.
  void NoteActivity(uint32_t nowMs);
  // The next count passes draw whatever the rate (a new window size, a lost
  // picture). More than one frame helps drivers that size their buffers to a
  // new window size only a frame or two later.
  void RequestFrame(int count = 1) { framesRequested = count > framesRequested ? count : framesRequested; }
  // Whether the pass at nowMs draws. The first pass always does.
  bool ShouldDraw(uint32_t nowMs) const;
  // A frame was drawn by the pass that started at nowMs.
  void FrameDrawn(uint32_t nowMs);
  // How long the loop may sleep at nowMs before its next pass.
  uint32_t SleepTime(uint32_t nowMs) const;
  // Whether the fast rate applies at nowMs.
  bool IsActive(uint32_t nowMs) const;

  const Settings &GetSettings() const { return settings; }
  // Frames drawn so far (the benchmarks count them).
  uint64_t GetFramesDrawn() const { return framesDrawn; }

private:
  uint32_t FramePeriod(uint32_t nowMs) const;

  Settings settings;
  bool anyActivity = false;
  uint32_t lastActivityMs = 0;
  bool anyFrame = false;
  uint32_t lastFrameMs = 0;
  int framesRequested = 0;
  uint64_t framesDrawn = 0;
};
