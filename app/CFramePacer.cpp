#include "app/CFramePacer.h"

#include <algorithm>

// All differences are unsigned, so they stay right across the tick's wrap-around.

void CFramePacer::NoteActivity(uint32_t nowMs) {
  anyActivity = true;
  lastActivityMs = nowMs;
}

bool CFramePacer::IsActive(uint32_t nowMs) const {
  return anyActivity && uint32_t(nowMs - lastActivityMs) < settings.lingerMs;
}

// 0 means no frame is due by time at all.
uint32_t CFramePacer::FramePeriod(uint32_t nowMs) const {
  return IsActive(nowMs) ? settings.activeFrameMs : settings.idleFrameMs;
}

bool CFramePacer::ShouldDraw(uint32_t nowMs) const {
  if (framesRequested > 0 || !anyFrame)
    return true;
  const uint32_t period = FramePeriod(nowMs);
  return period != 0 && uint32_t(nowMs - lastFrameMs) >= period;
}

void CFramePacer::FrameDrawn(uint32_t nowMs) {
  anyFrame = true;
  lastFrameMs = nowMs;
  if (framesRequested > 0)
    --framesRequested;
  ++framesDrawn;
}

uint32_t CFramePacer::SleepTime(uint32_t nowMs) const {
  if (framesRequested > 0 || !anyFrame)
    return 0;
  const uint32_t period = FramePeriod(nowMs);
  if (period == 0)
    return settings.pollMs;
  const uint32_t sinceFrame = nowMs - lastFrameMs;
  const uint32_t untilFrame = sinceFrame >= period ? 0 : period - sinceFrame;
  return std::min(untilFrame, settings.pollMs);
}
