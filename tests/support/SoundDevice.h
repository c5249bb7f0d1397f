// Where the sounds of the process under test go: ALSA's default playback
// device is redefined in an .asoundrc in a fresh HOME, read when the process
// first opens a sound device (so set it up before the first sound).
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// Every sound opened from now on is written as raw samples to a file of its
// own in a fresh folder: sound.raw, then sound.raw.0001, sound.raw.0002...
// Returns the path of the first file.
std::string SendSoundsToFiles();

// The default device names a sound card that is not there: nothing can be
// opened, as on a machine without sound.
void SendSoundsNowhere();

// The samples of a WAV file, as the sound thread decodes them (a failure
// of the test, and no samples, when it cannot).
platform::PcmSound ReadWavFile(const char *path);

// The samples of a raw 16-bit file (empty when it cannot be read).
std::vector<int16_t> ReadRawSamples(const std::string &path);

// Root mean square of samples: 0 for silence.
double Loudness(const std::vector<int16_t> &samples);

// A device that never takes a sound: the sound goes to a named pipe that no
// one reads, so opening the device blocks. Destroying it reads the pipe dry
// and stops the sound thread, so that the process can end.
class BlockedSoundDevice {
public:
  BlockedSoundDevice();
  ~BlockedSoundDevice();
  BlockedSoundDevice(const BlockedSoundDevice &) = delete;
  BlockedSoundDevice &operator=(const BlockedSoundDevice &) = delete;

private:
  std::string pipePath;
};

} // namespace testing_support
