#include "tools/SoundMedia.h"

#include <cmath>
#include <cstdint>

namespace mediagen {

namespace {

constexpr double kPi = 3.14159265358979323846;

// One resonance of a struck piece of wood: a sine dying away exponentially.
struct SMode {
  double hz;
  double amplitude;
  double decayMs; // time to fall to 1/e
};

// Deterministic white noise in -1..1 (a linear congruential generator).
class CNoise {
public:
  explicit CNoise(uint32_t seed) : state(seed) {}
  double Next() {
    state = state * 1664525u + 1013904223u;
    return double(state >> 8) / double(1u << 23) - 1.0;
  }

private:
  uint32_t state;
};

// A knock: a few decaying wood resonances plus a very short noise burst for
// the contact, after an optional delay, added into samples.
void AddKnock(std::vector<double> &samples, double delayMs, const std::vector<SMode> &modes, double noise,
              double noiseMs, uint32_t seed) {
  CNoise random(seed);
  const size_t start = size_t(delayMs * kSoundRate / 1000);
  for (size_t i = start; i < samples.size(); ++i) {
    const double t = double(i - start) / kSoundRate;
    double v = 0;
    for (const SMode &m : modes)
      v += m.amplitude * std::exp(-t * 1000 / m.decayMs) * std::sin(2 * kPi * m.hz * t);
    v += noise * std::exp(-t * 1000 / noiseMs) * random.Next();
    samples[i] += v;
  }
}

// Scales to the given peak (of full scale) and converts to 16 bits; the last
// few milliseconds fade to silence so that no click is heard at the end.
std::vector<int16_t> ToPcm(std::vector<double> samples, double peak) {
  double largest = 1e-9;
  for (double v : samples)
    largest = std::fmax(largest, std::fabs(v));
  const size_t fade = kSoundRate * 5 / 1000;
  std::vector<int16_t> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    const size_t left = samples.size() - i;
    const double gain = left < fade ? double(left) / fade : 1.0;
    pcm[i] = int16_t(std::lround(32767.0 * peak * gain * samples[i] / largest));
  }
  return pcm;
}

std::vector<double> Silence(double ms) { return std::vector<double>(size_t(ms * kSoundRate / 1000), 0.0); }

void PutLe(std::string &bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    bytes += char((value >> (8 * i)) & 0xFF);
}

} // namespace

std::vector<int16_t> MakeMoveClick() {
  std::vector<double> s = Silence(90);
  AddKnock(s, 0, {{1850, 1.0, 9}, {3100, 0.5, 5}, {5200, 0.25, 3}}, 0.6, 1.5, 11u);
  return ToPcm(s, 0.55);
}

std::vector<int16_t> MakeCaptureKnock() {
  // Lower, longer resonances and two strikes: the piece taken and the one landing.
  std::vector<double> s = Silence(200);
  const std::vector<SMode> modes = {{620, 1.0, 28}, {1150, 0.6, 18}, {2300, 0.3, 8}};
  AddKnock(s, 0, modes, 0.8, 2.5, 23u);
  AddKnock(s, 55, modes, 0.6, 2.5, 37u);
  return ToPcm(s, 0.8);
}

std::vector<int16_t> MakeCheckTone() {
  // Two soft sine partials with a gentle rise and a long fall.
  std::vector<double> s = Silence(320);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kSoundRate;
    const double envelope = std::fmin(1.0, t / 0.02) * std::exp(-t / 0.12);
    s[i] = envelope * (std::sin(2 * kPi * 880 * t) + 0.3 * std::sin(2 * kPi * 1320 * t));
  }
  return ToPcm(s, 0.3);
}

std::string WavBytes(const std::vector<int16_t> &samples, unsigned rate) {
  const uint32_t dataSize = uint32_t(samples.size() * 2);
  std::string bytes = "RIFF";
  PutLe(bytes, 36 + dataSize, 4);
  bytes += "WAVEfmt ";
  PutLe(bytes, 16, 4);       // format chunk size
  PutLe(bytes, 1, 2);        // PCM
  PutLe(bytes, 1, 2);        // mono
  PutLe(bytes, rate, 4);     // frames per second
  PutLe(bytes, rate * 2, 4); // bytes per second
  PutLe(bytes, 2, 2);        // bytes per frame
  PutLe(bytes, 16, 2);       // bits per sample
  bytes += "data";
  PutLe(bytes, dataSize, 4);
  for (int16_t v : samples)
    PutLe(bytes, uint16_t(v), 2);
  return bytes;
}

bool WriteSoundMedia(const CMediaFolder &folder) {
  bool ok = true;
  const struct {
    const char *name;
    std::vector<int16_t> samples;
  } sounds[] = {{"move.wav", MakeMoveClick()}, {"capture.wav", MakeCaptureKnock()}, {"check.wav", MakeCheckTone()}};
  for (const auto &sound : sounds) {
    const std::string bytes = WavBytes(sound.samples, kSoundRate);
    ok &= folder.WriteBytes(sound.name, bytes.data(), bytes.size());
  }
  return ok;
}

} // namespace mediagen
