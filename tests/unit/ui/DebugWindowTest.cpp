// The debug data window: its text's exact form, and the window on the null driver.
#include "app/CApplication.h"
#include "tests/support/NullDevice.h"
#include "ui/DebugText.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

using namespace irr;

namespace {

std::wstring Format(const DebugValues &v) {
  wchar_t buffer[1000];
  return FormatDebugText(v, buffer, 1000);
}

DebugValues StartupValues() {
  DebugValues v;
  v.width = 1024;
  v.height = 768;
  v.colorBits = 32;
  return v;
}

TEST(DebugText, FreshProgramReadsExactly) {
  EXPECT_EQ(Format(StartupValues()), L"1024x768@32\n"
                                     L"FPS: 0\n"
                                     L"CamPos: 0.0 0.0 0.0\n"
                                     L"CamRot: 0.0, 0.0, 0.0\n"
                                     L"CamLookAt: 0.0, 0.0, 0.0\n"
                                     L"Primitives: 0\n"
                                     L"MeshCache: 0\n"
                                     L"MouseButtons: 0/0\n"
                                     L"Game State: #undefined#\n"
                                     L"Active Player: white\n"
                                     L"SelTokenAt: 0.0, 0.0, 0.0\n");
}

TEST(DebugText, LiveValuesKeepOneDecimal) {
  DebugValues v = StartupValues();
  v.fps = 48;
  v.cameraPosition = core::vector3df(-35.04f, 65.96f, -75.f);
  v.cameraRotation = core::vector3df(0.25f, -180.f, 12345.67f);
  v.cameraTarget = core::vector3df(1.f, 2.f, 3.f);
  v.primitives = 123456;
  v.meshCount = 17;
  v.leftButton = true;
  v.gameState = LocalGame;
  v.activePlayer = Black;
  v.selectedTokenPosition = core::vector3df(-5.f, 0.f, 25.f);
  const std::wstring text = Format(v);
  for (const wchar_t *line :
       {L"\nFPS: 48\n", L"\nCamPos: -35.0 66.0 -75.0\n", L"\nCamRot: 0.2, -180.0, 12345.7\n",
        L"\nCamLookAt: 1.0, 2.0, 3.0\n", L"\nPrimitives: 123456\n", L"\nMeshCache: 17\n", L"\nMouseButtons: 1/0\n",
        L"\nGame State: localgame\n", L"\nActive Player: black\n", L"\nSelTokenAt: -5.0, 0.0, 25.0\n"})
    EXPECT_NE(text.find(line), std::wstring::npos) << std::wstring(line).c_str();
}

TEST(DebugText, WordsForStatesAndPlayers) {
  const std::pair<s32, const wchar_t *> states[] = {{Startup, L"#undefined#"}, {None, L"none"},
                                                    {Idle, L"idle"},           {LocalGame, L"localgame"},
                                                    {4, L"#undefined#"},       {-1, L"#undefined#"}};
  for (const auto &s : states)
    EXPECT_STREQ(GameStateWord(s.first), s.second) << s.first;
  const std::pair<s32, const wchar_t *> players[] = {{White, L"white"}, {Black, L"black"}, {2, L""}, {-1, L""}};
  for (const auto &p : players)
    EXPECT_STREQ(ActivePlayerWord(p.first), p.second) << p.first;
}

TEST(DebugText, NeverWritesPastTheBuffer) {
  DebugValues v = StartupValues();
  v.cameraPosition = core::vector3df(3e38f, -3e38f, 3e38f);
  wchar_t buffer[40];
  for (wchar_t &c : buffer)
    c = L'#';
  FormatDebugText(v, buffer, 30);
  EXPECT_LT(wcsnlen(buffer, 30), 30u);
  for (int i = 30; i < 40; ++i)
    EXPECT_EQ(buffer[i], L'#') << i;
}

class DebugWindowTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(testing_support::CreateNullDevice()); }
};

TEST_F(DebugWindowTest, ToggleOpensAndClosesTheWindow) {
  gui::IGUIElement *root = app.guiEnvironment->getRootGUIElement();
  EXPECT_FALSE(app.debugWindow.IsOpen());
  app.debugWindow.Update(); // closed: nothing to do

  app.debugWindow.Toggle();
  gui::IGUIWindow *window = app.debugWindow.GetWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->getParent(), root);
  EXPECT_EQ(window->getRelativePosition(), core::rect<s32>(20, 40, 230, 300));
  EXPECT_STREQ(window->getText(), L"Debug Data");
  EXPECT_FALSE(window->getCloseButton()->isVisible());
  gui::IGUIStaticText *text = app.debugWindow.GetTextElement();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->getParent(), window);
  EXPECT_EQ(text->getRelativePosition(), core::rect<s32>(5, 20, 225, 295));
  EXPECT_TRUE(text->isWordWrapEnabled());

  app.debugWindow.Toggle();
  EXPECT_FALSE(app.debugWindow.IsOpen());
  for (gui::IGUIElement *child : root->getChildren())
    EXPECT_NE(child->getType(), gui::EGUIET_WINDOW);
}

// Before any game: start-up state, White to move, nothing selected.
TEST_F(DebugWindowTest, UpdateShowsTheProgramsLiveValues) {
  app.debugWindow.Toggle();
  app.debugWindow.Update();
  const std::wstring text = app.debugWindow.GetTextElement()->getText();
  EXPECT_EQ(text.rfind(L"1024x768@32\nFPS: ", 0), 0u) << text;
  for (const wchar_t *line : {L"\nMouseButtons: 0/0\n", L"\nGame State: #undefined#\n", L"\nActive Player: white\n"})
    EXPECT_NE(text.find(line), std::wstring::npos) << text;
  const std::wstring last = L"SelTokenAt: 0.0, 0.0, 0.0\n";
  ASSERT_GE(text.size(), last.size());
  EXPECT_EQ(text.substr(text.size() - last.size()), last);

  // A held left button shows at once.
  SEvent press;
  press.EventType = EET_MOUSE_INPUT_EVENT;
  press.MouseInput.Event = EMIE_LMOUSE_PRESSED_DOWN;
  press.MouseInput.X = 600;
  press.MouseInput.Y = 10;
  press.MouseInput.Wheel = 0;
  press.MouseInput.Shift = press.MouseInput.Control = false;
  press.MouseInput.ButtonStates = EMBSM_LEFT;
  app.eventReceiver.OnEvent(press);
  app.debugWindow.Update();
  EXPECT_NE(std::wstring(app.debugWindow.GetTextElement()->getText()).find(L"\nMouseButtons: 1/0\n"),
            std::wstring::npos);
}

} // namespace
