// The generated sounds: valid WAV files the game can decode, each with the
// character it is meant to have.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

struct Measure {
  double ms = 0;        // length
  double peak = 0;      // of full scale
  double crossings = 0; // zero crossings per second: how high it sounds
  double tailPeak = 0;  // in the last millisecond
  int bursts = 0;       // separate sounding stretches, apart by at least 20 ms of near silence
};

Measure Load(const char *name) {
  std::ifstream in(std::string("./media/") + name, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  platform::PcmSound sound;
  std::string error;
  EXPECT_TRUE(platform::DecodeWav(bytes, sound, error)) << name << ": " << error;
  Measure m;
  if (sound.samples.empty())
    return m;
  EXPECT_EQ(sound.channels, 1u) << name;
  EXPECT_EQ(sound.rate, 22050u) << name;
  m.ms = 1000.0 * sound.samples.size() / sound.rate;
  size_t crossings = 0;
  for (size_t i = 0; i < sound.samples.size(); ++i) {
    m.peak = std::fmax(m.peak, std::abs(sound.samples[i]) / 32767.0);
    if (i > 0 && (sound.samples[i - 1] < 0) != (sound.samples[i] < 0))
      ++crossings;
    if (i + sound.rate / 1000 >= sound.samples.size())
      m.tailPeak = std::fmax(m.tailPeak, std::abs(sound.samples[i]) / 32767.0);
  }
  m.crossings = crossings * 1000.0 / m.ms;
  // A stretch sounds where a sample reaches a fifth of the peak; it ends
  // after 20 ms without one.
  const size_t gap = sound.rate / 50;
  size_t quietFor = gap;
  for (int16_t sample : sound.samples) {
    if (std::abs(sample) / 32767.0 >= 0.2 * m.peak) {
      m.bursts += quietFor >= gap;
      quietFor = 0;
    } else {
      ++quietFor;
    }
  }
  return m;
}

} // namespace

TEST(SoundFiles, AClickAHeavierKnockASoftToneAndTwoQuietBeeps) {
  const Measure move = Load("move.wav"), capture = Load("capture.wav"), check = Load("check.wav");
  const Measure lowTime = Load("lowtime.wav");
  for (const Measure *m : {&move, &capture, &check, &lowTime}) {
    EXPECT_GT(m->peak, 0.1);
    EXPECT_LT(m->peak, 0.95) << "no clipping";
    EXPECT_LT(m->tailPeak, 0.02) << "fades out to silence";
    EXPECT_LT(m->ms, 400.0) << "short enough never to lag behind the moves";
  }
  EXPECT_LT(move.ms, 120.0) << "a move is a short click";
  EXPECT_GT(capture.ms, move.ms);
  EXPECT_GT(capture.peak, move.peak) << "a capture is louder";
  EXPECT_LT(capture.crossings, move.crossings) << "and lower";
  EXPECT_LT(check.peak, move.peak) << "check is a soft tone";
  EXPECT_EQ(lowTime.bursts, 2) << "the low-time warning is two beeps";
  EXPECT_GT(lowTime.ms, 200.0);
  EXPECT_LT(lowTime.ms, 350.0);
  EXPECT_LT(lowTime.peak, move.peak) << "a quiet reminder";
  EXPECT_GT(lowTime.crossings, check.crossings) << "a beep, higher than the check tone";
}
