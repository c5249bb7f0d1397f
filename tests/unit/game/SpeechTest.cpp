// The spoken game against the scripted engine, through a speech client that
// writes down what it was given: moves said in order as they are played,
// the keys that say more, silence with speech off, a missing server logged
// once, and the real speech-dispatcher client without a server.
#include "tests/unit/game/GameFixture.h"

#include "access/CSpeechDispatcher.h"
#include "tests/support/LogCapture.h"
#include "ui/CConfigWindow.h"
#include "ui/GuiIds.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

// What the clients the game made were given.
struct Heard {
  std::vector<std::string> said;
  std::vector<bool> interrupting;
  int clientsMade = 0;
  int cancels = 0;
  std::string failure; // the clients fail with this reason, unless empty
};

class FakeClient : public CSpeechClient {
public:
  explicit FakeClient(std::shared_ptr<Heard> heard) : heard(std::move(heard)) {}
  void Open() override { opened = true; }
  State GetState(std::string &reason) const override {
    reason = heard->failure;
    return !opened ? State::Connecting : heard->failure.empty() ? State::Ready : State::Failed;
  }
  void Say(const std::string &text, bool interrupt) override {
    heard->said.push_back(text);
    heard->interrupting.push_back(interrupt);
  }
  void Cancel() override { ++heard->cancels; }

private:
  std::shared_ptr<Heard> heard;
  bool opened = false;
};

class Speech : public GameFixture {
protected:
  // Starts the program with speech on or off in a settings file of the
  // test's own, the game's clients being fakes.
  void Start(bool speechOn, const std::string &script, const std::string &moreSettings = "") {
    char pattern[] = "/tmp/kelvar-speech-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    settingsFolder = pattern;
    std::ofstream(settingsFolder + "/kelvar.ini") << "[access]\nspeech = " << (speechOn ? "true" : "false") << "\n"
                                                  << moreSettings;
    app.settings.SetPath(settingsFolder + "/kelvar.ini");
    std::shared_ptr<Heard> shared = heard;
    app.speech.SetClientMaker([shared] {
      ++shared->clientsMade;
      return std::make_unique<FakeClient>(shared);
    });
    StartProgram(script);
    log = std::make_unique<testing_support::LogCapture>(app.device);
  }
  void TearDown() override {
    log.reset();
    GameFixture::TearDown();
    fs::remove_all(settingsFolder);
  }

  // Turns speech on or off as the Config window's check box and OK do.
  static void SetSpeechInConfig(bool on) {
    CConfigWindow::Show();
    auto *box = static_cast<irr::gui::IGUICheckBox *>(
        app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_SPEECH, true));
    ASSERT_NE(box, nullptr);
    box->setChecked(on);
    CConfigWindow::GetOpen()->Accept();
  }

  // What has been said since the last call.
  std::vector<std::string> TakeSaid() {
    std::vector<std::string> said;
    said.swap(heard->said);
    heard->interrupting.clear();
    return said;
  }

  size_t LogCount(const std::string &part) const {
    size_t count = 0;
    for (const std::string &line : log->Lines())
      count += line.find(part) != std::string::npos;
    return count;
  }

  std::shared_ptr<Heard> heard = std::make_shared<Heard>();
  std::string settingsFolder;
  std::unique_ptr<testing_support::LogCapture> log;
};

using Said = std::vector<std::string>;

} // namespace

// Fool's mate, the engine playing Black: each move is said as it is played,
// the end after the mating move (without cutting it off), each logged.
TEST_F(Speech, AShortGameIsSaidInOrderAndTheKeysSayMore) {
  Start(true, "bestmove e7e5 d8h4\n");
  EXPECT_EQ(heard->clientsMade, 1) << "opened at start";
  StartGame(White);
  PlayAndWaitForAnswer("f2", "f3");
  PlayAndWaitForAnswer("g2", "g4");
  ASSERT_TRUE(app.game.IsGameOver());
  EXPECT_EQ(heard->said, (Said{"White: pawn to f3", "Black: pawn to e5", "White: pawn to g4",
                               "Black: queen to h4, checkmate", "Checkmate. Black wins."}));
  EXPECT_EQ(heard->interrupting, (std::vector<bool>{true, true, true, true, false}));
  for (const std::string &phrase : heard->said)
    EXPECT_TRUE(log->Contains("Kelvar: say \"" + phrase + "\"")) << phrase;
  TakeSaid();

  Press(irr::KEY_KEY_L);
  Press(irr::KEY_KEY_P);
  Press(irr::KEY_KEY_K);
  EXPECT_EQ(TakeSaid(), (Said{"Black: queen to h4, checkmate",
                              "White: king e1, queen d1, rooks a1 and h1, bishops c1 and f1, knights b1 and g1, "
                              "pawns a2, b2, c2, d2, e2, f3, g4 and h2",
                              "No clock in this game."}));
  EXPECT_TRUE(heard->interrupting.empty());

  // A take back goes back to the player's move; L says the move now last.
  app.game.TakeBack();
  Press(irr::KEY_KEY_L);
  EXPECT_EQ(TakeSaid(), (Said{"Black: pawn to e5"}));
  EXPECT_EQ(heard->clientsMade, 1);
}

// The keys are letters like H and R: typed into the move box or pressed
// while a window holds the focus, they say nothing; with Ctrl neither.
TEST_F(Speech, KeysSayNothingWhileTextIsTypedOrAWindowHasTheKeys) {
  Start(true, "bestmove e7e5\n");
  StartGame(White);
  PlayAndWaitForAnswer("e2", "e4");
  TakeSaid();

  Press(irr::KEY_TAB);
  ASSERT_TRUE(app.typedMoves.HasFocus());
  Press(irr::KEY_KEY_L);
  Press(irr::KEY_ESCAPE);
  CConfigWindow::Show();
  app.guiEnvironment->setFocus(app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_SPEECH, true));
  Press(irr::KEY_KEY_P);
  CConfigWindow::GetOpen()->Cancel();
  irr::SEvent control{};
  control.EventType = irr::EET_KEY_INPUT_EVENT;
  control.KeyInput.Key = irr::KEY_KEY_L;
  control.KeyInput.PressedDown = true;
  control.KeyInput.Control = true;
  app.eventReceiver.OnEvent(control);
  EXPECT_TRUE(TakeSaid().empty());

  Press(irr::KEY_KEY_L);
  EXPECT_EQ(TakeSaid(), (Said{"Black: pawn to e5"}));
}

// Off (the default) is silent: no client, nothing said or logged. Turned on
// in the Config window, the next move is said at once; turned off again, what
// is being said stops and nothing more is said.
TEST_F(Speech, OffIsSilentAndTheConfigWindowTurnsItOnWithoutARestart) {
  Start(false, "bestmove e7e5 b8c6 g8f6\n");
  StartGame(White);
  PlayAndWaitForAnswer("e2", "e4");
  Press(irr::KEY_KEY_L);
  EXPECT_EQ(heard->clientsMade, 0);
  EXPECT_TRUE(heard->said.empty());
  EXPECT_EQ(LogCount("Kelvar: say "), 0u);

  SetSpeechInConfig(true);
  EXPECT_TRUE(app.settings.Get().speech);
  PlayAndWaitForAnswer("g1", "f3");
  EXPECT_EQ(heard->clientsMade, 1);
  EXPECT_EQ(TakeSaid(), (Said{"White: knight to f3", "Black: knight to c6"}));
  CSettings saved;
  saved.Load(settingsFolder + "/kelvar.ini");
  EXPECT_TRUE(saved.speech);

  SetSpeechInConfig(false);
  Frames(1);
  EXPECT_EQ(heard->cancels, 1);
  PlayAndWaitForAnswer("f1", "c4");
  Press(irr::KEY_KEY_L);
  EXPECT_TRUE(TakeSaid().empty());
  EXPECT_EQ(LogCount("Kelvar: say "), 2u);
}

// Without a server the game plays on; the failure is logged once, the
// phrases still are.
TEST_F(Speech, NoServerIsLoggedOnceAndTheGameGoesOn) {
  heard->failure = "cannot connect to the socket";
  Start(false, "bestmove e7e5 b8c6\n");
  CSettings on = app.settings.Get();
  on.speech = true;
  app.settings.Apply(on);
  Frames(3);
  StartGame(White);
  PlayAndWaitForAnswer("e2", "e4");
  PlayAndWaitForAnswer("g1", "f3");
  Press(irr::KEY_KEY_L);
  Frames(3);
  EXPECT_EQ(LogCount("Kelvar: speech: no speech server (cannot connect to the socket); the game stays silent"), 1u);
  EXPECT_EQ(LogCount("no speech server"), 1u);
  EXPECT_EQ(LogCount("Kelvar: say "), 5u);
  EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 4u);
}

// K reads both clocks in a game on the clock: the player's runs, the
// engine's stands at its full time.
TEST_F(Speech, KSaysTheClocks) {
  Start(true, "bestmove e7e5\n", "[clock]\ntime_control = 300\n");
  StartGame(White);
  AdvanceMs(28000);
  Frames(1);
  Press(irr::KEY_KEY_K);
  const Said said = TakeSaid();
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(said[0].rfind("White 4 minutes 3", 0), 0u) << said[0];
  EXPECT_EQ(said[0].substr(said[0].size() - 17), ", Black 5 minutes") << said[0];
}

// The real client, with no server where it looks: it fails without holding
// the caller, says why, and drops what it is given.
TEST(SpeechDispatcher, WithoutAServerItFailsAndSaysWhy) {
  setenv("SPEECHD_ADDRESS", "unix_socket:/nonexistent/kelvar-test/speechd.sock", 1);
  const auto start = std::chrono::steady_clock::now();
  {
    CSpeechDispatcher client;
    std::string reason;
    EXPECT_EQ(client.GetState(reason), CSpeechClient::State::Connecting);
    client.Open();
    client.Say("White: pawn to e4", true);
    client.Cancel();
    for (int i = 0; i < 1000 && client.GetState(reason) != CSpeechClient::State::Failed; ++i)
      platform::Sleep(10);
    ASSERT_EQ(client.GetState(reason), CSpeechClient::State::Failed);
    EXPECT_NE(reason.find("/nonexistent/kelvar-test/speechd.sock"), std::string::npos) << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos);
    client.Say("Black: pawn to e5", false);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  unsetenv("SPEECHD_ADDRESS");
}
