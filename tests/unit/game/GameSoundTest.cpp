// The game's sounds through ALSA for real: what a move, a capture and a mate
// send to the device, and a game that plays on whatever the device does.
#include "tests/unit/game/GameFixture.h"

#include "tests/support/SoundDevice.h"

#include <cstdio>
#include <fstream>

namespace {

std::string Numbered(const std::string &first, int n) {
  char suffix[8];
  snprintf(suffix, sizeof suffix, ".%04d", n);
  return n == 0 ? first : first + suffix;
}

// Scholar's mate played by the human as White, the engine's replies
// scripted: six quiet moves, then a capture that mates.
class GameSound : public GameFixture {
protected:
  void PlayScholarsMate() {
    StartProgram("bestmove e7e5 b8c6 g8f6\n");
    StartGame(White);
    const char *moves[][2] = {{"e2", "e4"}, {"f1", "c4"}, {"d1", "h5"}, {"h5", "f7"}};
    for (auto &move : moves) {
      ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.game.IsAwaitingEcho(); }))
          << move[0];
      ClickSquare(move[0]);
      ClickSquare(move[1]);
    }
    ASSERT_TRUE(app.game.IsGameOver());
    EXPECT_TRUE(BannerShown());
  }
};

} // namespace

TEST_F(GameSound, EveryMoveIsHeardWholeTheCaptureHeavierAndTheMateLast) {
  const std::string first = testing_support::SendSoundsToFiles();
  PlayScholarsMate();
  const platform::PcmSound click = testing_support::ReadWavFile("./media/move.wav"),
                           knock = testing_support::ReadWavFile("./media/capture.wav");
  const platform::PcmSound tone = platform::MakeTone(2500, 1000);
  // Six quiet moves, the capture, the mate tone: one file each, in order.
  ASSERT_TRUE(FramesUntil([&] { return std::ifstream(Numbered(first, 7)).good(); })) << "the mate tone was not heard";
  platform::StopSounds(); // after the tone, which is being played
  for (int i = 0; i < 8; ++i) {
    const platform::PcmSound &expected = i < 6 ? click : i == 6 ? knock : tone;
    const std::vector<int16_t> heard = testing_support::ReadRawSamples(Numbered(first, i));
    EXPECT_EQ(heard.size(), expected.samples.size()) << "sound " << i;
    EXPECT_TRUE(heard == expected.samples) << "sound " << i;
    EXPECT_GT(testing_support::Loudness(heard), 500) << "sound " << i;
  }
  EXPECT_FALSE(std::ifstream(Numbered(first, 8)).good()) << "a sound too many";
  EXPECT_GT(testing_support::Loudness(knock.samples), testing_support::Loudness(click.samples));
}

// No sound card, or one that never takes a sound: the game plays on as
// before, only silently; a sound call that waited for the device would hold
// the frame loop here for good.
TEST_F(GameSound, WithoutASoundCardTheGamePlaysOnSilently) {
  testing_support::SendSoundsNowhere();
  PlayScholarsMate();
}

TEST_F(GameSound, ADeviceThatNeverTakesASoundHoldsNoMoveAndNoMate) {
  testing_support::BlockedSoundDevice blocked;
  PlayScholarsMate();
  // A new game after the mate is there at once too.
  StartGame(White);
  EXPECT_FALSE(app.game.IsGameOver());
  EXPECT_EQ(app.game.GetActivePlayer(), White);
}
