#include "tests/support/SoundDevice.h"

#include "platform/Platform.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {
namespace {

std::string FreshFolder() {
  char pattern[] = "/tmp/kelvar-sound-XXXXXX";
  const char *dir = mkdtemp(pattern);
  return dir ? dir : "";
}

// Makes home the HOME, with an .asoundrc defining the default device as given.
void SetDefaultDevice(const std::string &home, const std::string &definition) {
  std::ofstream(home + "/.asoundrc") << "pcm.!default { " << definition << " }\n";
  setenv("HOME", home.c_str(), 1);
}

// Raw samples to a file. Without truncation ALSA never opens an existing
// file: each further sound gets the next free numbered name instead.
std::string FileDevice(const std::string &path, bool truncate) {
  return "type file; slave.pcm \"null\"; file \"" + path + "\"; format \"raw\"; truncate " +
         (truncate ? "true" : "false");
}

} // namespace

std::string SendSoundsToFiles() {
  const std::string home = FreshFolder();
  const std::string path = home + "/sound.raw";
  SetDefaultDevice(home, FileDevice(path, false));
  return path;
}

void SendSoundsNowhere() { SetDefaultDevice(FreshFolder(), "type hw; card 99"); }

platform::PcmSound ReadWavFile(const char *path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  platform::PcmSound sound;
  std::string error;
  EXPECT_TRUE(platform::DecodeWav(bytes, sound, error)) << path << ": " << error;
  return sound;
}

std::vector<int16_t> ReadRawSamples(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<int16_t> samples;
  int16_t sample;
  while (in.read(reinterpret_cast<char *>(&sample), sizeof sample))
    samples.push_back(sample);
  return samples;
}

double Loudness(const std::vector<int16_t> &samples) {
  double sum = 0;
  for (int16_t s : samples)
    sum += double(s) * s;
  return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}

BlockedSoundDevice::BlockedSoundDevice() {
  const std::string home = FreshFolder();
  pipePath = home + "/unread.pipe";
  mkfifo(pipePath.c_str(), 0600);
  SetDefaultDevice(home, FileDevice(pipePath, true));
}

BlockedSoundDevice::~BlockedSoundDevice() {
  // A reader lets the sound thread's open go through; what it writes is
  // thrown away until the thread has ended after its current sound.
  const int fd = open(pipePath.c_str(), O_RDONLY | O_NONBLOCK);
  std::atomic<bool> stopped{false};
  std::thread drain([&] {
    char buffer[4096];
    while (!stopped)
      if (fd < 0 || read(fd, buffer, sizeof buffer) <= 0)
        usleep(1000);
  });
  platform::StopSounds();
  stopped = true;
  drain.join();
  if (fd >= 0)
    close(fd);
}

} // namespace testing_support
