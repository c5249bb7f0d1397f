#include "tests/unit/game/GameFixture.h"

#include "scene/CGameField.h"
#include "ui/GuiIds.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

uint32_t GameFixture::fakeNow = 0;

// Real time plus whatever the test has skipped: the engine link's waits still
// end, while the start-up phase passes when the test says so.
uint32_t GameFixture::Now() {
  platform::SetTickSource(nullptr);
  const uint32_t real = platform::GetTickCount();
  platform::SetTickSource(Now);
  return real + fakeNow;
}

void GameFixture::StartProgram(const std::string &script, bool passStartup) {
  folder = testing_support::EnterCopyOfRunFolder();
  ASSERT_FALSE(folder.empty());
  fs::copy_file(KELVAR_TEST_ENGINE, folder + "/Abrok_5_0.exe", fs::copy_options::overwrite_existing);
  std::ofstream(folder + "/test_engine.script") << "transcript " << folder << "/transcript.txt\n" << script;
  if (!presetAutosave.empty()) {
    fs::create_directories(folder + "/data/kelvar");
    std::ofstream(folder + "/data/kelvar/autosave.pgn") << presetAutosave;
  }
  if (!presetSettings.empty()) {
    fs::create_directories(folder + "/config/kelvar");
    std::ofstream(folder + "/config/kelvar/kelvar.ini") << presetSettings;
  }
  platform::SetTickSource(Now);
  ASSERT_TRUE(gl_Init(irr::video::EDT_NULL));
  if (passStartup) {
    AdvanceMs(5001);
    Frames(1);
    ASSERT_EQ(app.game.GetState(), Idle);
    // Entering the idle state lets the fields fall into place (from the next
    // frame on); a click before they have landed would pick whichever field
    // is passing by.
    ASSERT_TRUE(FramesUntil([] {
      for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
          for (irr::scene::ISceneNodeAnimator *fall : app.map.GetField(x, y)->GetNode()->getAnimators())
            if (!fall->hasFinished())
              return false;
      return true;
    }));
  }
  app.cameraRig.SetWhiteView(true); // straight down: no piece hides a square
}

void GameFixture::TearDown() {
  if (app.device)
    gl_Exit();
  platform::SetTickSource(nullptr);
  app.settings.SetPath(""); // the next test's settings come from its own folder
}

void GameFixture::AdvanceMs(uint32_t ms) { fakeNow += ms; }

void GameFixture::Frames(int n) { testing_support::RunFrames(n); }

bool GameFixture::ClickColorButton(irr::s32 id) {
  irr::gui::IGUIWindow *window = app.gui.GetColorWindow();
  irr::gui::IGUIElement *button = window ? window->getElementFromId(id, true) : nullptr;
  if (!button)
    return false;
  irr::SEvent event{};
  event.EventType = irr::EET_GUI_EVENT;
  event.GUIEvent.Caller = button;
  event.GUIEvent.EventType = irr::gui::EGET_BUTTON_CLICKED;
  return app.eventReceiver.OnEvent(event);
}

void GameFixture::StartGame(irr::s32 color) {
  app.gui.ShowColorWindow();
  ASSERT_TRUE(ClickColorButton(color == White ? ID_BUTTON_WHITE : ID_BUTTON_BLACK));
  ASSERT_EQ(app.game.GetState(), LocalGame);
  // The game puts the camera behind the human's side; from straight above that
  // side no piece hides a square's centre from the pointer.
  color == White ? app.cameraRig.SetWhiteView(true) : app.cameraRig.SetBlackView(true);
  Frames(1);
}

void GameFixture::ClickSquare(const char *square, bool left) {
  Frames(1); // the camera's matrices follow its latest position
  const BoardSquare s = Square(square);
  const irr::core::position2di pixel = app.sceneManager->getSceneCollisionManager()->getScreenCoordinatesFrom3DPosition(
      app.map.GetSquareWorldPosition(s.X, s.Y), app.cameraRig.GetCamera());
  testing_support::PostMouse(left ? irr::EMIE_LMOUSE_PRESSED_DOWN : irr::EMIE_RMOUSE_PRESSED_DOWN, pixel.X, pixel.Y);
  testing_support::PostMouse(left ? irr::EMIE_LMOUSE_LEFT_UP : irr::EMIE_RMOUSE_LEFT_UP, pixel.X, pixel.Y);
}

void GameFixture::PlayAndWaitForAnswer(const char *from, const char *to) {
  ClickSquare(from);
  ClickSquare(to);
  ASSERT_NE(TokenOn(to), -1) << from << to << " was not played";
  ASSERT_TRUE(
      FramesUntil([] { return !app.game.IsAwaitingEcho() && app.game.GetActivePlayer() == app.game.GetHumanColor(); }));
}

std::string GameFixture::Transcript() const {
  std::ifstream in(folder + "/transcript.txt");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string GameFixture::MovesSent() const {
  std::istringstream lines(Transcript());
  std::string line, moves;
  while (std::getline(lines, line)) {
    const bool looksLikeMove = (line.size() == 4 || line.size() == 5) && line[0] >= 'a' && line[0] <= 'h' &&
                               line[1] >= '1' && line[1] <= '8' && line[2] >= 'a' && line[2] <= 'h';
    if (looksLikeMove)
      moves += line + "\n";
  }
  return moves;
}

bool GameFixture::EngineReceived(const std::string &text) {
  return FramesUntil([&] { return Transcript().find(text) != std::string::npos; });
}

irr::s32 GameFixture::TokenOn(const char *square) {
  irr::s32 index = -1;
  return app.map.FindTokenAt(Square(square), index) ? index : -1;
}

bool GameFixture::BannerShown() const {
  irr::gui::IGUIStaticText *banner = app.gui.GetBannerText();
  return banner && banner->isVisible() && std::wstring(banner->getText()).rfind(L"CHECK MATE!\n", 0) == 0;
}

std::string GameFixture::WriteFile(const std::string &name, const std::string &text) const {
  const std::string path = folder + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

namespace {
bool BoxUnderSays(const std::wstring &part, irr::gui::IGUIElement *under, bool inBox) {
  for (irr::gui::IGUIElement *child : under->getChildren()) {
    const bool box = inBox || child->getType() == irr::gui::EGUIET_MESSAGE_BOX;
    if ((box && std::wstring(child->getText()).find(part) != std::wstring::npos) || BoxUnderSays(part, child, box))
      return true;
  }
  return false;
}
} // namespace

bool GameFixture::MessageBoxSays(const std::wstring &part) {
  return BoxUnderSays(part, app.guiEnvironment->getRootGUIElement(), false);
}

void GameFixture::Press(irr::EKEY_CODE key) {
  irr::SEvent event{};
  event.EventType = irr::EET_KEY_INPUT_EVENT;
  event.KeyInput.Key = key;
  event.KeyInput.PressedDown = true;
  app.eventReceiver.OnEvent(event);
}
