// The tone through ALSA's default device; a silent wait of the same length
// where there is no sound device.
#include "platform/Platform.h"

#include <cmath>
#include <vector>

#ifdef KELVAR_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace platform {
namespace {

#ifdef KELVAR_HAVE_ALSA
const unsigned SAMPLE_RATE = 44100;
const unsigned LATENCY_US = 100000;

// ALSA reports a missing card on standard error; a game without sound is normal.
void IgnoreAlsaError(const char *, int, const char *, int, const char *, ...) {}

// Plays the tone and returns once it has sounded; false if no device took it.
bool PlayTone(uint32_t frequencyHz, uint32_t durationMs) {
  snd_lib_error_set_handler(IgnoreAlsaError);
  snd_pcm_t *pcm = nullptr;
  // Open without waiting for a busy device, then write blocking.
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
    return false;
  bool played = false;
  if (snd_pcm_nonblock(pcm, 0) >= 0 && snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                                                          SAMPLE_RATE, 1, LATENCY_US) >= 0) {
    const size_t frames = size_t(SAMPLE_RATE) * durationMs / 1000;
    std::vector<int16_t> samples(frames);
    for (size_t i = 0; i < frames; ++i)
      samples[i] = int16_t(8000 * std::sin(2 * M_PI * frequencyHz * double(i) / SAMPLE_RATE));
    size_t written = 0;
    while (written < frames) {
      snd_pcm_sframes_t n = snd_pcm_writei(pcm, samples.data() + written, frames - written);
      if (n < 0)
        n = snd_pcm_recover(pcm, int(n), 1);
      if (n < 0)
        break;
      written += size_t(n);
    }
    played = written == frames && snd_pcm_drain(pcm) >= 0;
  }
  snd_pcm_close(pcm);
  return played;
}
#else
bool PlayTone(uint32_t, uint32_t) { return false; }
#endif

} // namespace

void Beep(uint32_t frequencyHz, uint32_t durationMs) {
  const uint32_t start = GetTickCount();
  PlayTone(frequencyHz, durationMs);
  // Whatever the device did, the call lasts the tone's length.
  const uint32_t elapsed = GetTickCount() - start;
  if (elapsed < durationMs)
    Sleep(durationMs - elapsed);
}

} // namespace platform
