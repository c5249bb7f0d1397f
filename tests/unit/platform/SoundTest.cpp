// Decoding sound files, and playing them without a wait or a crash whatever
// the file holds.
#include "platform/Platform.h"
#include "tests/support/SoundDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <iterator>

namespace {

void PutLe(std::string &bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    bytes += char((value >> (8 * i)) & 0xFF);
}

std::string Chunk(const char *id, const std::string &body) {
  std::string bytes(id, 4);
  PutLe(bytes, uint32_t(body.size()), 4);
  return bytes + body + (body.size() % 2 ? std::string(1, '\0') : "");
}

std::string Format(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits) {
  std::string body;
  PutLe(body, format, 2);
  PutLe(body, channels, 2);
  PutLe(body, rate, 4);
  PutLe(body, rate * channels * bits / 8, 4);
  PutLe(body, channels * bits / 8, 2);
  PutLe(body, bits, 2);
  return Chunk("fmt ", body);
}

std::string Samples(std::initializer_list<int16_t> values) {
  std::string body;
  for (int16_t v : values)
    PutLe(body, uint16_t(v), 2);
  return Chunk("data", body);
}

std::string Wave(const std::string &chunks) {
  std::string bytes = "RIFF";
  PutLe(bytes, uint32_t(4 + chunks.size()), 4);
  return bytes + "WAVE" + chunks;
}

} // namespace

TEST(Wav, DecodesPcmAndStepsOverOtherChunks) {
  platform::PcmSound sound;
  std::string error;
  ASSERT_TRUE(platform::DecodeWav(Wave(Chunk("LIST", "odd") + Format(1, 2, 44100, 16) + Samples({1, -2, 300, -32768})),
                                  sound, error))
      << error;
  EXPECT_EQ(sound.channels, 2u);
  EXPECT_EQ(sound.rate, 44100u);
  EXPECT_EQ(sound.samples, (std::vector<int16_t>{1, -2, 300, -32768}));
}

TEST(Wav, AnythingElseIsRefusedWithAReason) {
  const std::string good = Format(1, 1, 22050, 16) + Samples({1, 2});
  const struct {
    const char *name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"not RIFF", "RIFX" + Wave(good).substr(4)},
      {"header only", Wave("")},
      {"truncated data", Wave(good).substr(0, Wave(good).size() - 3)},
      {"chunk size past the end", Wave(Format(1, 1, 22050, 16) + "data\xff\xff\xff\x7f")},
      {"8-bit", Wave(Format(1, 1, 22050, 8) + Samples({1}))},
      {"compressed", Wave(Format(3, 1, 22050, 16) + Samples({1}))},
      {"six channels", Wave(Format(1, 6, 22050, 16) + Samples({1, 2, 3, 4, 5, 6}))},
      {"rate zero", Wave(Format(1, 1, 0, 16) + Samples({1}))},
      {"samples before format", Wave(Samples({1, 2}) + Format(1, 1, 22050, 16))},
      {"no samples", Wave(Format(1, 1, 22050, 16) + Chunk("data", ""))},
  };
  for (const auto &c : cases) {
    platform::PcmSound sound;
    std::string error;
    EXPECT_FALSE(platform::DecodeWav(c.bytes, sound, error)) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

TEST(Sound, MissingBrokenAndManySoundsAreDroppedQuietly) {
  const char *garbage = "/tmp/kelvar-garbage.wav";
  std::ofstream(garbage) << "RIFF\x10\0\0\0WAVEjunkjunk";
  for (int i = 0; i < 20; ++i) {
    platform::PlaySound("/nonexistent/click.wav");
    platform::PlaySound(garbage);
    platform::PlaySound("");
    platform::PlaySound(nullptr);
  }
  platform::StopSounds();       // joins the sound thread: it has survived all of them
  platform::PlaySound(garbage); // after the stop: dropped
  std::remove(garbage);
}

namespace {

bool Exists(const std::string &path) { return std::ifstream(path).good(); }

} // namespace

// Through ALSA for real: the default device writes what it is given to
// files, one per sound, in the order they were queued.
TEST(Sound, EachSoundReachesTheDeviceWholeAndInOrder) {
  const std::string first = testing_support::SendSoundsToFiles();
  const struct {
    const char *what;
    platform::PcmSound sound;
    std::string file;
  } played[] = {{"click", testing_support::ReadWavFile("./media/move.wav"), first},
                {"knock", testing_support::ReadWavFile("./media/capture.wav"), first + ".0001"},
                {"mate tone", platform::MakeTone(2500, 1000), first + ".0002"}};
  platform::PlaySound("./media/move.wav");
  platform::PlaySound("./media/capture.wav");
  platform::PlaySamples(platform::MakeTone(2500, 1000));
  for (int i = 0; i < 1000 && !Exists(played[2].file); ++i)
    platform::Sleep(10);
  platform::StopSounds(); // after the sound being played, the last one
  for (const auto &p : played) {
    const std::vector<int16_t> samples = testing_support::ReadRawSamples(p.file);
    EXPECT_EQ(samples.size(), p.sound.samples.size()) << p.what;
    EXPECT_TRUE(samples == p.sound.samples) << p.what;
    EXPECT_GT(testing_support::Loudness(samples), 500) << p.what;
  }
  EXPECT_FALSE(Exists(first + ".0003"));
}

// A device that never takes a sound holds the sound thread only: queueing
// returns at once, and a full queue drops what comes on top.
TEST(Sound, ADeviceThatNeverOpensHoldsOnlyTheSoundThread) {
  std::future<void> queued; // ends after the device: a caller held there is let go
  testing_support::BlockedSoundDevice blocked;
  queued = std::async(std::launch::async, [] {
    for (int i = 0; i < 20; ++i) {
      platform::PlaySound("./media/move.wav");
      platform::PlaySamples(platform::MakeTone(2500, 1000));
    }
  });
  EXPECT_EQ(queued.wait_for(std::chrono::seconds(10)), std::future_status::ready)
      << "queueing a sound waited for the device";
}
