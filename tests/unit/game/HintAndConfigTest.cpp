// The hint and the Config window, with the whole program on the null driver
// and the scripted engine: what reaches the engine, the board and the file.
#include "tests/unit/game/GameFixture.h"

#include "scene/CGameField.h"
#include "tests/support/LogCapture.h"
#include "ui/CConfigWindow.h"
#include "ui/GuiIds.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace fs = std::filesystem;

namespace {

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

// The squares under the hint's panes, each pane lying on its square.
std::vector<std::string> TintedSquares() {
  std::vector<std::string> tinted;
  const CHintMarks &marks = app.hint.GetMarks();
  for (int i = 0; i < marks.Count(); ++i) {
    const BoardSquare square = marks.Squares()[i];
    const irr::core::vector3df at = marks.Pane(i)->getPosition();
    const irr::core::vector3df field = app.map.GetField(square.X, square.Y)->GetWorldPosition();
    EXPECT_FLOAT_EQ(at.X, field.X);
    EXPECT_FLOAT_EQ(at.Z, field.Z);
    EXPECT_EQ(marks.Pane(i)->getID(), 0) << "a pane must never be picked";
    tinted.push_back({char('a' + square.X), char('1' + square.Y)});
  }
  std::sort(tinted.begin(), tinted.end());
  return tinted;
}

class HintTest : public GameFixture {};

class ConfigTest : public GameFixture {
protected:
  // Starts the program with its settings file in a folder of the test's own.
  void Start(const std::string &settingsText) {
    char pattern[] = "/tmp/kelvar-config-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    settingsFolder = pattern;
    settingsPath = settingsFolder + "/kelvar.ini";
    if (!settingsText.empty())
      std::ofstream(settingsPath) << settingsText;
    app.settings.SetPath(settingsPath);
    StartProgram("");
    log = std::make_unique<testing_support::LogCapture>(app.device);
  }
  void TearDown() override {
    log.reset();
    GameFixture::TearDown();
    fs::remove_all(settingsFolder);
    unsetenv("ABROK_ENGINE");
  }

  static CConfigWindow *OpenWindow() {
    CConfigWindow::Show();
    return CConfigWindow::GetOpen();
  }
  static irr::gui::IGUIComboBox *LevelList() {
    return static_cast<irr::gui::IGUIComboBox *>(
        app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_LEVEL, true));
  }
  static void Click(irr::s32 id) {
    irr::SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.EventType = irr::gui::EGET_BUTTON_CLICKED;
    event.GUIEvent.Caller = app.guiEnvironment->getRootGUIElement()->getElementFromId(id, true);
    ASSERT_NE(event.GUIEvent.Caller, nullptr);
    // As a button reports it: to its parent, up through the window.
    event.GUIEvent.Caller->getParent()->OnEvent(event);
  }

  void CheckLayout(irr::s32 width, irr::s32 height);

  std::string settingsFolder, settingsPath;
  std::unique_ptr<testing_support::LogCapture> log;
};

} // namespace

TEST_F(HintTest, ShowsTwoTintedSquaresOnThePlayersTurnOnly) {
  // The hint's search answers g1f3; the move e2e4 is answered with e7e5.
  StartProgram("bestmove g1f3 e7e5\n");
  EXPECT_FALSE(app.hint.Request()) << "no game yet";
  StartGame(White);
  ASSERT_TRUE(app.hint.Request());
  EXPECT_TRUE(EngineReceived("go movetime 500\n"));
  ASSERT_TRUE(FramesUntil([] { return app.hint.GetMarks().IsShown(); }));
  EXPECT_EQ(TintedSquares(), (std::vector<std::string>{"f3", "g1"}));
  // Advice only: nothing moved, still the player's turn.
  EXPECT_EQ(TokenOn("f3"), -1);
  EXPECT_EQ(app.game.GetActivePlayer(), White);

  // The next click takes the tint off.
  ClickSquare("e2");
  EXPECT_TRUE(TintedSquares().empty());
  ClickSquare("e4");
  EXPECT_FALSE(app.hint.Request()) << "the engine's turn";
  ASSERT_TRUE(FramesUntil([] { return TokenOn("e5") != -1; }));
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  EXPECT_TRUE(TintedSquares().empty());
  EXPECT_EQ(MovesSent(), "e2e4\ne7e5\n");
}

// The player moves before the advice has come: its late answer is dropped
// and the engine's real reply is played.
TEST_F(HintTest, AMoveBeforeTheAnswerDropsTheHint) {
  StartProgram("reply go {sleep 300}bestmove g1f3\\n\nbestmove e7e5\n");
  StartGame(White);
  ASSERT_TRUE(app.hint.Request());
  ClickSquare("e2");
  ClickSquare("e4");
  EXPECT_TRUE(EngineReceived("\nstop\n")) << "the advice's search is stopped";
  ASSERT_TRUE(FramesUntil([] { return TokenOn("e5") != -1; }));
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  EXPECT_EQ(TokenOn("f3"), -1);
  EXPECT_TRUE(TintedSquares().empty());
  Frames(20);
  EXPECT_TRUE(TintedSquares().empty());
}

TEST_F(HintTest, KeyHAsksUnlessTextIsBeingTyped) {
  StartProgram("bestmove d2d4\n");
  StartGame(White);
  irr::SEvent key{};
  key.EventType = irr::EET_KEY_INPUT_EVENT;
  key.KeyInput.Key = irr::KEY_KEY_H;
  key.KeyInput.PressedDown = true;
  // Typing into the Config window's engine path is not a command.
  CConfigWindow::Show();
  app.guiEnvironment->setFocus(app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_ENGINE, true));
  EXPECT_FALSE(app.eventReceiver.OnEvent(key));
  CConfigWindow::GetOpen()->Cancel();
  EXPECT_TRUE(app.eventReceiver.OnEvent(key));
  EXPECT_TRUE(app.hint.IsWaiting());
  ASSERT_TRUE(FramesUntil([] { return app.hint.GetMarks().IsShown(); }));
  EXPECT_EQ(TintedSquares(), (std::vector<std::string>{"d2", "d4"}));
}

TEST_F(ConfigTest, OkAppliesSavesAndSendsTheLevel) {
  Start("[engine]\nlevel = 2\n");
  EXPECT_EQ(app.settings.Get().level, 2);
  EXPECT_TRUE(EngineReceived("setoption name Level value 2\nsetoption name Think Time value 1000\n"))
      << "sent at start-up";

  CConfigWindow *window = OpenWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(LevelList()->getSelected(), 1);
  LevelList()->setSelected(4);
  Click(ID_CONFIG_OK);
  EXPECT_EQ(CConfigWindow::GetOpen(), nullptr);
  EXPECT_EQ(app.settings.Get().level, 5);
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager setoption name Level value 5"));
  EXPECT_TRUE(log->Contains("Kelvar: settings saved to " + settingsPath));
  EXPECT_TRUE(EngineReceived("setoption name Level value 5\n"));
  CSettings saved;
  saved.Load(settingsPath);
  EXPECT_EQ(saved.level, 5);

  // Cancel leaves the settings, the file and the engine alone.
  const std::string sentBefore = Transcript();
  ASSERT_NE(OpenWindow(), nullptr);
  LevelList()->setSelected(0);
  Click(ID_CONFIG_CANCEL);
  EXPECT_EQ(CConfigWindow::GetOpen(), nullptr);
  EXPECT_EQ(app.settings.Get().level, 5);
  saved.Load(settingsPath);
  EXPECT_EQ(saved.level, 5);
  Frames(5);
  EXPECT_FALSE(Contains(Transcript().substr(sentBefore.size()), "Level"));
}

// The reflections box shows what the board shows. Left alone, OK leaves the
// choice open (no line in the file); ticked off, the reflections go at once
// and the file says so; a chosen value is shown as chosen the next time.
TEST_F(ConfigTest, TheReflectionsBoxAppliesAtOnceAndIsSavedOnlyWhenChosen) {
  Start("[game]\nshadows = true\n");
  const auto box = [] {
    return static_cast<irr::gui::IGUICheckBox *>(
        app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_REFLECTIONS, true));
  };
  const auto saved = [this] {
    std::ifstream file(settingsPath);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  ASSERT_TRUE(app.reflection.IsEnabled());
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_NE(box(), nullptr);
  EXPECT_TRUE(box()->isChecked());
  LevelList()->setSelected(5);
  Click(ID_CONFIG_OK);
  EXPECT_FALSE(app.settings.Get().reflectionsChosen);
  EXPECT_EQ(saved().find("reflections"), std::string::npos) << saved();

  // The frame rate turned them off for this run: the box says so, and OK
  // alone does not make that a choice.
  app.reflection.SetEnabled(false);
  ASSERT_NE(OpenWindow(), nullptr);
  EXPECT_FALSE(box()->isChecked());
  box()->setChecked(true);
  Click(ID_CONFIG_OK);
  EXPECT_TRUE(app.reflection.IsEnabled());
  EXPECT_TRUE(app.settings.Get().reflectionsChosen);
  EXPECT_NE(saved().find("reflections = on\n"), std::string::npos) << saved();

  ASSERT_NE(OpenWindow(), nullptr);
  box()->setChecked(false);
  Click(ID_CONFIG_OK);
  EXPECT_FALSE(app.reflection.IsEnabled());
  EXPECT_NE(saved().find("reflections = off\n"), std::string::npos) << saved();
  ASSERT_NE(OpenWindow(), nullptr);
  EXPECT_FALSE(box()->isChecked());
  Click(ID_CONFIG_CANCEL);
  EXPECT_FALSE(app.reflection.IsEnabled());
}

// The board set chosen in the window is on the board as soon as OK is
// pressed, in a game too, and in the file; Cancel keeps the set shown.
TEST_F(ConfigTest, OkShowsTheChosenBoardSetAtOnce) {
  Start("[game]\ntheme = tournament\n");
  EXPECT_EQ(app.map.GetTheme().InUse(), EBoardTheme::Tournament) << "the settings' set at start-up";
  StartGame(White);
  ASSERT_NE(OpenWindow(), nullptr);
  auto *sets = static_cast<irr::gui::IGUIComboBox *>(
      app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_THEME, true));
  ASSERT_NE(sets, nullptr);
  ASSERT_EQ(sets->getItemCount(), irr::u32(BOARD_THEME_COUNT));
  EXPECT_EQ(sets->getSelected(), irr::s32(EBoardTheme::Tournament));
  sets->setSelected(irr::s32(EBoardTheme::Marble));
  Click(ID_CONFIG_OK);
  EXPECT_EQ(app.map.GetTheme().InUse(), EBoardTheme::Marble);
  EXPECT_TRUE(log->Contains("Kelvar: theme marble"));
  const irr::video::ITexture *shown = app.map.GetField(0, 0)->GetNode()->getMaterial(0).getTexture(0);
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(Contains(shown->getName().getPath().c_str(), "/media/marble/field_dg.jpg"));
  CSettings saved;
  saved.Load(settingsPath);
  EXPECT_EQ(saved.theme, EBoardTheme::Marble);

  ASSERT_NE(OpenWindow(), nullptr);
  static_cast<irr::gui::IGUIComboBox *>(
      app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_THEME, true))
      ->setSelected(irr::s32(EBoardTheme::Wood));
  Click(ID_CONFIG_CANCEL);
  EXPECT_EQ(app.map.GetTheme().InUse(), EBoardTheme::Marble);
  saved.Load(settingsPath);
  EXPECT_EQ(saved.theme, EBoardTheme::Marble);
}

TEST_F(ConfigTest, ANewEngineStartsWithTheNextGame) {
  Start("");
  EXPECT_TRUE(app.settings.EngineIsCurrent());
  CSettings changed = app.settings.Get();
  changed.enginePath = "/usr/games/ethereal-chess";
  changed.shadows = true;
  app.settings.Apply(changed);
  EXPECT_FALSE(app.settings.EngineIsCurrent());
  EXPECT_EQ(getenv("ABROK_ENGINE"), nullptr) << "not before the next game";
  StartGame(White);
  EXPECT_TRUE(app.settings.EngineIsCurrent());
  ASSERT_NE(getenv("ABROK_ENGINE"), nullptr);
  EXPECT_STREQ(getenv("ABROK_ENGINE"), "/usr/games/ethereal-chess");
  EXPECT_TRUE(log->Contains("CPlayerSettings::OnNewGame starting the engine program for /usr/games/ethereal-chess"));
  // The restarted program is told the level again once its handshake is done.
  EXPECT_TRUE(FramesUntil([&] { return log->Contains("Kelvar: CCEManager setoption name Level value 3"); }));
}

TEST_F(ConfigTest, TestButtonNamesTheEngineOrSaysWhatIsWrong) {
  Start("");
  ASSERT_NE(OpenWindow(), nullptr);
  irr::gui::IGUIElement *path = app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_ENGINE, true);
  const std::string testEngine = KELVAR_TEST_ENGINE;
  path->setText(std::wstring(testEngine.begin(), testEngine.end()).c_str());
  Click(ID_CONFIG_TEST);
  EXPECT_STREQ(CConfigWindow::GetOpen()->GetTestResult()->getText(), L"Found: Kelvar Test Engine");
  path->setText(L"/nonexistent/engine");
  Click(ID_CONFIG_TEST);
  EXPECT_STREQ(CConfigWindow::GetOpen()->GetTestResult()->getText(), L"Not usable: no program at /nonexistent/engine");
  path->setText(L"/bin/true"); // a program, but no engine
  Click(ID_CONFIG_TEST);
  EXPECT_STREQ(CConfigWindow::GetOpen()->GetTestResult()->getText(),
               L"Not usable: /bin/true does not answer as a UCI engine");
}

// The time control: a preset fills the PGN field, a typed value picks its
// preset or Custom, a broken one keeps the window open with the reason, and
// OK saves the control with its kind of increment.
TEST_F(ConfigTest, TheTimeControlIsAPresetOrTypedAndABrokenOneIsRefused) {
  Start("[clock]\ntime_control = 300+3\n");
  CConfigWindow *window = OpenWindow();
  ASSERT_NE(window, nullptr);
  const auto fire = [](irr::gui::IGUIElement *caller, irr::gui::EGUI_EVENT_TYPE type) {
    irr::SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.EventType = type;
    event.GUIEvent.Caller = caller;
    caller->getParent()->OnEvent(event);
  };
  const auto type = [&](const wchar_t *text) {
    window->GetTimeControl()->setText(text);
    fire(window->GetTimeControl(), irr::gui::EGET_EDITBOX_CHANGED);
  };
  EXPECT_STREQ(window->GetTimePreset()->getItem(window->GetTimePreset()->getSelected()), L"Blitz 5+3");
  EXPECT_STREQ(window->GetTimeNote()->getText(), L"5 min + 3 s");

  window->GetTimePreset()->setSelected(2);
  fire(window->GetTimePreset(), irr::gui::EGET_COMBO_BOX_CHANGED);
  EXPECT_STREQ(window->GetTimeControl()->getText(), L"180+2");
  type(L"40/5400:1800+30");
  EXPECT_STREQ(window->GetTimePreset()->getItem(window->GetTimePreset()->getSelected()), L"Custom");
  type(L"5 min");
  Click(ID_CONFIG_OK);
  ASSERT_EQ(CConfigWindow::GetOpen(), window) << "a broken value keeps the window open";
  EXPECT_EQ(std::wstring(window->GetTimeNote()->getText()).rfind(L"Not a time control: ", 0), 0u);

  type(L"600+5");
  static_cast<irr::gui::IGUIComboBox *>(
      app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_CONFIG_INCREMENT_KIND, true))
      ->setSelected(1);
  Click(ID_CONFIG_OK);
  EXPECT_EQ(CConfigWindow::GetOpen(), nullptr);
  CSettings saved;
  saved.Load(settingsPath);
  EXPECT_EQ(saved.timeControl.ToString(), "600+5");
  EXPECT_EQ(saved.incrementKind, chess::IncrementKind::Bronstein);
  EXPECT_EQ(app.settings.Get().timeControl, saved.timeControl);
}

// At the smallest window the game allows and at the default one, the Config
// window lies on the screen, every control inside it, none over another.
void ConfigTest::CheckLayout(irr::s32 width, irr::s32 height) {
  ASSERT_EQ(app.windowSize.Width, width);
  ASSERT_EQ(app.windowSize.Height, height);
  ASSERT_NE(OpenWindow(), nullptr);
  irr::gui::IGUIElement *window = *CConfigWindow::GetOpen()->getChildren().getLast();
  ASSERT_EQ(window->getType(), irr::gui::EGUIET_WINDOW);
  const auto within = [](const irr::core::recti &r, irr::s32 w, irr::s32 h) {
    return r.UpperLeftCorner.X >= 0 && r.UpperLeftCorner.Y >= 0 && r.LowerRightCorner.X <= w &&
           r.LowerRightCorner.Y <= h;
  };
  EXPECT_TRUE(within(window->getAbsolutePosition(), width, height));
  const irr::s32 windowWidth = window->getRelativePosition().getWidth();
  const irr::s32 windowHeight = window->getRelativePosition().getHeight();
  std::vector<irr::gui::IGUIElement *> controls;
  for (irr::gui::IGUIElement *child : window->getChildren())
    if (child->isVisible())
      controls.push_back(child);
  EXPECT_GE(controls.size(), 21u);
  for (size_t i = 0; i < controls.size(); ++i) {
    const irr::core::recti at = controls[i]->getRelativePosition();
    EXPECT_TRUE(within(at, windowWidth, windowHeight)) << "control " << controls[i]->getID() << " leaves the window";
    for (size_t j = i + 1; j < controls.size(); ++j)
      EXPECT_FALSE(at.isRectCollided(controls[j]->getRelativePosition()))
          << "controls " << controls[i]->getID() << " and " << controls[j]->getID() << " overlap";
  }
  const auto *speech = static_cast<irr::gui::IGUICheckBox *>(window->getElementFromId(ID_CONFIG_SPEECH));
  ASSERT_NE(speech, nullptr);
  EXPECT_FALSE(speech->isChecked()) << "off by default";
}

TEST_F(ConfigTest, ControlsFitWithoutOverlapAt800x600) {
  Start("[window]\nwidth = 800\nheight = 600\n");
  CheckLayout(800, 600);
}

TEST_F(ConfigTest, ControlsFitWithoutOverlapAt1024x768) {
  Start("");
  CheckLayout(1024, 768);
}
