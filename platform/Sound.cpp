// Sound effects: WAV files decoded here and played through ALSA's default
// device on a thread of their own, so that the frame loop never waits.
#include "platform/Platform.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#ifdef KELVAR_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace platform {
namespace {

const size_t QUEUE_LIMIT = 4;      // sounds waiting; more are dropped
const unsigned LATENCY_US = 50000; // ALSA buffer: short, for a prompt click
const size_t CHUNK_HEADER = 8;     // four-letter id and 32-bit size
const size_t WAVE_HEADER = 12;     // "RIFF", size, "WAVE"
const uint16_t FORMAT_PCM = 1;

uint32_t ReadLe(const std::string &bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i)
    value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
  return value;
}

#ifdef KELVAR_HAVE_ALSA
void IgnoreAlsaError(const char *, int, const char *, int, const char *, ...) {}

// Plays the sound to its end; false if no device took it.
bool PlayOnDevice(const PcmSound &sound) {
  snd_lib_error_set_handler(IgnoreAlsaError);
  snd_pcm_t *pcm = nullptr;
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
    return false;
  bool played = false;
  if (snd_pcm_nonblock(pcm, 0) >= 0 && snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                                                          sound.channels, sound.rate, 1, LATENCY_US) >= 0) {
    const size_t frames = sound.samples.size() / sound.channels;
    size_t written = 0;
    while (written < frames) {
      snd_pcm_sframes_t n = snd_pcm_writei(pcm, sound.samples.data() + written * sound.channels, frames - written);
      if (n < 0)
        n = snd_pcm_recover(pcm, int(n), 1);
      if (n < 0)
        break;
      written += size_t(n);
    }
    played = written == frames;
    snd_pcm_drain(pcm);
  }
  snd_pcm_close(pcm);
  return played;
}
#else
bool PlayOnDevice(const PcmSound &) { return false; }
#endif

// One sound waiting: a file to read on the thread, or samples made already.
struct QueuedSound {
  std::string path;
  PcmSound samples;
};

// The sound thread and the queue of sounds it is to play.
class CSoundThread {
public:
  ~CSoundThread() { Stop(); }

  void Enqueue(QueuedSound sound) {
    std::lock_guard<std::mutex> lock(mutex);
    if (stopped || queue.size() >= QUEUE_LIMIT)
      return;
    if (!worker.joinable())
      worker = std::thread([this] { Run(); });
    queue.push_back(std::move(sound));
    wake.notify_one();
  }

  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopped = true;
      queue.clear();
    }
    wake.notify_one();
    if (worker.joinable())
      worker.join();
  }

private:
  void Run() {
    for (;;) {
      QueuedSound next;
      {
        std::unique_lock<std::mutex> lock(mutex);
        wake.wait(lock, [this] { return stopped || !queue.empty(); });
        if (stopped)
          return;
        next = std::move(queue.front());
        queue.pop_front();
      }
      if (!next.path.empty()) {
        std::ifstream in(next.path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string error;
        if (!DecodeWav(bytes, next.samples, error))
          continue;
      }
      if (!next.samples.samples.empty() && next.samples.channels > 0)
        PlayOnDevice(next.samples);
    }
  }

  std::mutex mutex;
  std::condition_variable wake;
  std::deque<QueuedSound> queue;
  std::thread worker;
  bool stopped = false;
};

CSoundThread &Sounds() {
  static CSoundThread sounds;
  return sounds;
}

} // namespace

bool DecodeWav(const std::string &bytes, PcmSound &sound, std::string &error) {
  if (bytes.size() < WAVE_HEADER || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    error = "not a RIFF/WAVE file";
    return false;
  }
  bool haveFormat = false;
  for (size_t at = WAVE_HEADER; at + CHUNK_HEADER <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const uint32_t size = ReadLe(bytes, at + 4, 4);
    const size_t body = at + CHUNK_HEADER;
    if (size > bytes.size() - body) {
      error = "chunk '" + id + "' runs past the end of the file";
      return false;
    }
    if (id == "fmt ") {
      if (size < 16 || ReadLe(bytes, body, 2) != FORMAT_PCM || ReadLe(bytes, body + 14, 2) != 16) {
        error = "only 16-bit PCM is played";
        return false;
      }
      sound.channels = ReadLe(bytes, body + 2, 2);
      sound.rate = ReadLe(bytes, body + 4, 4);
      if (sound.channels < 1 || sound.channels > 2 || sound.rate < 8000 || sound.rate > 192000) {
        error = "unplayable channel count or rate";
        return false;
      }
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat) {
        error = "samples before the format";
        return false;
      }
      const size_t count = size / 2 / sound.channels * sound.channels;
      if (count == 0) {
        error = "no samples";
        return false;
      }
      sound.samples.resize(count);
      std::memcpy(sound.samples.data(), bytes.data() + body, count * 2); // little-endian like the file
      return true;
    }
    at = body + size + (size & 1); // chunks are padded to even sizes
  }
  error = haveFormat ? "no samples" : "no format chunk";
  return false;
}

void PlaySound(const char *path) {
  if (path && *path)
    Sounds().Enqueue(QueuedSound{path, {}});
}

void PlaySamples(PcmSound sound) { Sounds().Enqueue(QueuedSound{{}, std::move(sound)}); }

void StopSounds() { Sounds().Stop(); }

} // namespace platform
