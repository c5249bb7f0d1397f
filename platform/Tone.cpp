// A sine tone as samples, for the sound thread to play like any sound file.
#include "platform/Platform.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

const unsigned TONE_RATE = 44100;
const double TONE_AMPLITUDE = 8000;
const unsigned FADE_MS = 5; // a ramp at both ends, so the tone neither starts nor stops with a click

} // namespace

PcmSound MakeTone(uint32_t frequencyHz, uint32_t durationMs) {
  PcmSound tone;
  tone.rate = TONE_RATE;
  tone.channels = 1;
  const size_t frames = size_t(TONE_RATE) * durationMs / 1000;
  const size_t fade = std::min(frames / 2, size_t(TONE_RATE) * FADE_MS / 1000);
  tone.samples.resize(frames);
  for (size_t i = 0; i < frames; ++i) {
    const size_t edge = std::min(i, frames - 1 - i);
    const double ramp = edge < fade ? double(edge) / double(fade) : 1.0;
    tone.samples[i] = int16_t(TONE_AMPLITUDE * ramp * std::sin(2 * M_PI * frequencyHz * double(i) / TONE_RATE));
  }
  return tone;
}

} // namespace platform
