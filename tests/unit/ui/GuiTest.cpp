// The interface on the null driver: CGui::Init on a bare device in the run
// folder (or a copy of it with one file missing).
#include "app/CApplication.h"
#include "platform/Platform.h"
#include "tests/support/NullDevice.h"
#include "ui/CGUITextWindow.h"
#include "ui/GuiIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace irr;
using testing_support::CreateNullDevice;
using testing_support::EnterCopyOfRunFolder;

namespace {

// A copy of the run folder as the working directory for one test, removed
// again at its end so that test runs leave no copies behind.
class TemporaryRunFolder {
public:
  explicit TemporaryRunFolder(const char *omitMediaFile = nullptr) : path(EnterCopyOfRunFolder(omitMediaFile)) {}
  ~TemporaryRunFolder() {
    if (!path.empty() && chdir(KELVAR_RUN_DIR) == 0)
      std::filesystem::remove_all(path);
  }
  bool Entered() const { return !path.empty(); }

private:
  std::string path;
};

// A translucent colour laid over an opaque one.
video::SColor Over(video::SColor top, video::SColor below) {
  const f32 a = top.getAlpha() / 255.f;
  auto mix = [a](u32 t, u32 b) { return u32(t * a + b * (1 - a) + 0.5f); };
  return video::SColor(255, mix(top.getRed(), below.getRed()), mix(top.getGreen(), below.getGreen()),
                       mix(top.getBlue(), below.getBlue()));
}

// Relative luminance and contrast ratio as the WCAG define them.
double Luminance(video::SColor c) {
  auto channel = [](u32 v) {
    const double x = v / 255.0;
    return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.getRed()) + 0.7152 * channel(c.getGreen()) + 0.0722 * channel(c.getBlue());
}

double ContrastRatio(video::SColor a, video::SColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class GuiTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(CreateNullDevice());
    ASSERT_TRUE(app.gui.Init());
  }

  static void PointAt(s32 x, s32 y) { app.device->getCursorControl()->setPosition(x, y); }
  static gui::IGUIElement *Root() { return app.guiEnvironment->getRootGUIElement(); }
  static gui::IGUIContextMenu *SubMenu(u32 i) { return app.gui.GetMenuBar()->getSubMenu(i); }

  // The first element of the given type at or below from, depth first.
  static gui::IGUIElement *FindOfType(gui::IGUIElement *from, gui::EGUI_ELEMENT_TYPE type) {
    if (from->getType() == type)
      return from;
    for (gui::IGUIElement *child : from->getChildren())
      if (gui::IGUIElement *found = FindOfType(child, type))
        return found;
    return nullptr;
  }
};

struct MenuItem {
  u32 menu, index;
  const wchar_t *text; // empty for a separator
  s32 command;         // -1 for a separator
  bool enabled;
};

const MenuItem MENU_TREE[] = {
    {0, 0, L"Config...", ID_MENU_CONFIG, true},
    {0, 1, L"", -1, true},
    {0, 2, L"Quit Program", ID_MENU_QUIT, true},
    {0, 3, L"Games...", ID_MENU_GAMES, true}, // appended: the items before it keep their places
    {1, 0, L"Start", ID_MENU_START, true},
    {1, 1, L"", -1, true},
    {1, 2, L"Abort", ID_MENU_ABORT, true},
    {1, 3, L"", -1, true},
    {1, 4, L"Load...", ID_MENU_LOAD, true},
    {1, 5, L"Save...", ID_MENU_SAVE, true},
    {1, 6, L"", -1, true},
    {1, 7, L"Take Back", ID_MENU_TAKE_BACK, false}, // no game: nothing to take back or resign
    {1, 8, L"Resign", ID_MENU_RESIGN, false},
    {1, 9, L"Hint", ID_MENU_HINT, true},
    {1, 10, L"Review", ID_MENU_REVIEW, true},
    {2, 0, L"Debug Window", ID_MENU_DEBUG_WINDOW, true},
    {2, 1, L"Help Window", ID_MENU_HELP_WINDOW, true},
    {2, 2, L"Moves History Window", ID_MENU_MOVES_HISTORY, true},
    {2, 3, L"", -1, true},
    {2, 4, L"Chessengine Info...", ID_MENU_ENGINE_INFO, true},
    {2, 5, L"", -1, true},
    {2, 6, L"About...", ID_MENU_ABOUT, true},
};

TEST_F(GuiTest, MenuBarHoldsEveryItemInOrder) {
  gui::IGUIContextMenu *bar = app.gui.GetMenuBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->getItemCount(), 3u);
  const wchar_t *titles[] = {L"Program", L"Local Game", L"Help"};
  const u32 counts[] = {4, 11, 7};
  for (u32 i = 0; i < 3; ++i) {
    EXPECT_STREQ(bar->getItemText(i), titles[i]);
    EXPECT_EQ(bar->getItemCommandId(i), -1);
    ASSERT_NE(SubMenu(i), nullptr);
    EXPECT_EQ(SubMenu(i)->getItemCount(), counts[i]) << i;
  }
  for (const MenuItem &item : MENU_TREE) {
    gui::IGUIContextMenu *sub = SubMenu(item.menu);
    SCOPED_TRACE(testing::Message() << "menu " << item.menu << " item " << item.index);
    EXPECT_STREQ(sub->getItemText(item.index), item.text);
    EXPECT_EQ(sub->getItemCommandId(item.index), item.command);
    if (item.command != -1) {
      EXPECT_EQ(sub->isItemEnabled(item.index), item.enabled);
    }
    EXPECT_EQ(sub->getSubMenu(item.index), nullptr);
  }
  // The skin uses the small font and draws faces, shadows and the boxes'
  // white (lists, drop-down lists, edit boxes) opaque.
  gui::IGUISkin *skin = app.guiEnvironment->getSkin();
  EXPECT_EQ(skin->getFont(), app.gui.GetSmallFont());
  for (gui::EGUI_DEFAULT_COLOR which : {gui::EGDC_3D_FACE, gui::EGDC_3D_SHADOW, gui::EGDC_3D_HIGH_LIGHT})
    EXPECT_EQ(skin->getColor(which).getAlpha(), 255u) << which;
}

TEST_F(GuiTest, GameStateSwitchesStartAbortAndStatusLine) {
  gui::IGUIContextMenu *local = SubMenu(1);
  EXPECT_EQ(app.gui.GetStatusText(), nullptr);
  for (s32 untouched : {0 /*Startup*/, 1 /*None*/}) {
    app.gui.OnGameStateChanged(untouched);
    EXPECT_TRUE(local->isItemEnabled(0));
    EXPECT_TRUE(local->isItemEnabled(2));
    EXPECT_EQ(app.gui.GetStatusText(), nullptr);
  }

  struct Row {
    s32 state;
    bool start, abort;
    const wchar_t *status;
  };
  const Row rows[] = {{Idle, true, false, L"Game Status: Idle"},
                      {LocalGame, false, true, L"Game Status: Local Game Running"},
                      {Startup, false, true, L"Game Status: Local Game Running"}, // unchanged
                      {Idle, true, false, L"Game Status: Idle"}};
  for (const Row &row : rows) {
    app.gui.OnGameStateChanged(row.state);
    EXPECT_EQ(local->isItemEnabled(0), row.start) << row.state;
    EXPECT_EQ(local->isItemEnabled(2), row.abort) << row.state;
    ASSERT_NE(app.gui.GetStatusText(), nullptr);
    EXPECT_STREQ(app.gui.GetStatusText()->getText(), row.status);
  }
}

TEST_F(GuiTest, CameraButtonsAndStatusLineSitInTheBottomLeftCorner) {
  const s32 ids[] = {ID_CAM_WHITE_TOP, ID_CAM_WHITE_SIDE, ID_CAM_BLACK_TOP, ID_CAM_BLACK_SIDE};
  const core::rect<s32> rects[] = {{5, 730, 38, 763}, {43, 730, 76, 763}, {81, 730, 114, 763}, {119, 730, 152, 763}};
  for (int i = 0; i < 4; ++i) {
    gui::IGUIButton *button = app.gui.GetCameraButton(i);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->getID(), ids[i]);
    EXPECT_EQ(button->getAbsolutePosition(), rects[i]) << i;
    EXPECT_EQ(button->getParent(), Root());
    EXPECT_STREQ(button->getText(), L"");
  }
  app.gui.SetStatusText(L"hello");
  gui::IGUIStaticText *status = app.gui.GetStatusText();
  ASSERT_NE(status, nullptr);
  gui::IGUIStaticText *band = app.gui.GetStatusBand();
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->getAbsolutePosition(), core::rect<s32>(162, 730, 462, 763));
  EXPECT_TRUE(band->getAbsolutePosition().isRectCollided(status->getAbsolutePosition()));
  EXPECT_EQ(status->getParent(), band);
  // Readable on the band whether the sky behind it is white or black.
  for (const video::SColor sky : {video::SColor(255, 255, 255, 255), video::SColor(255, 0, 0, 0)}) {
    const video::SColor behind = Over(band->getBackgroundColor(), sky);
    EXPECT_GE(ContrastRatio(Over(status->getOverrideColor(), behind), behind), 4.5) << sky.color;
  }
  EXPECT_STREQ(status->getText(), L"hello");
  app.gui.SetStatusText(L"again");
  EXPECT_EQ(app.gui.GetStatusText(), status);
  EXPECT_STREQ(status->getText(), L"again");
}

namespace {
uint32_t noticeClock = 0;
uint32_t NoticeClock() { return noticeClock; }
} // namespace

// A notice covers the game's status for its time; a status set meanwhile is
// the one that comes back.
TEST_F(GuiTest, AStatusNoticeGivesWayToTheLatestGameStatus) {
  platform::SetTickSource(NoticeClock);
  noticeClock = 1000;
  app.gui.SetStatusText(L"Game Status: Idle");
  app.gui.ShowStatusNotice(L"Engine restarted", 4000);
  EXPECT_STREQ(app.gui.GetStatusText()->getText(), L"Engine restarted");
  app.gui.SetStatusText(L"Game Status: Local Game Running");
  noticeClock += 3999;
  app.gui.Update();
  EXPECT_STREQ(app.gui.GetStatusText()->getText(), L"Engine restarted");
  noticeClock += 1;
  app.gui.Update();
  EXPECT_STREQ(app.gui.GetStatusText()->getText(), L"Game Status: Local Game Running");
  app.gui.SetStatusText(L"Game Status: Idle");
  EXPECT_STREQ(app.gui.GetStatusText()->getText(), L"Game Status: Idle");
  platform::SetTickSource(nullptr);
}

TEST_F(GuiTest, PointerOverButtonsCountsAllFourEdges) {
  struct Row {
    s32 x, y;
    bool over;
  };
  const Row rows[] = {
      {5, 730, true},  {38, 763, true},  {39, 763, false},  {42, 745, false},
      {43, 745, true}, {152, 763, true}, {153, 763, false}, {152, 764, false},
      {4, 745, false}, {20, 729, false}, {512, 384, false}, {300, 745, false}, // the status line does not count
  };
  for (const Row &row : rows) {
    PointAt(row.x, row.y);
    EXPECT_EQ(app.gui.IsPointerOverGui(), row.over) << row.x << "," << row.y;
  }
}

TEST_F(GuiTest, PointerTestFollowsTheOpenWindows) {
  PointAt(1019, 225);
  EXPECT_FALSE(app.gui.IsPointerOverGui());
  app.gui.ToggleMovesWindow();
  EXPECT_TRUE(app.gui.IsPointerOverGui());
  PointAt(879, 25);
  EXPECT_TRUE(app.gui.IsPointerOverGui());
  PointAt(1020, 225);
  EXPECT_FALSE(app.gui.IsPointerOverGui());

  PointAt(612, 434);
  EXPECT_FALSE(app.gui.IsPointerOverGui());
  app.gui.ShowColorWindow();
  EXPECT_TRUE(app.gui.IsPointerOverGui());
  PointAt(411, 400);
  EXPECT_FALSE(app.gui.IsPointerOverGui());

  // The help window counts as covering the whole screen.
  app.gui.ToggleHelpWindow();
  for (auto p : {core::position2d<s32>(0, 0), core::position2d<s32>(1000, 760), core::position2d<s32>(411, 400)}) {
    PointAt(p.X, p.Y);
    EXPECT_TRUE(app.gui.IsPointerOverGui()) << p.X << "," << p.Y;
  }
  app.gui.ToggleHelpWindow();
  EXPECT_FALSE(app.gui.IsPointerOverGui());
}

// Presses meant for the menus, the debug window or a message box must not
// reach the board below them; the passive status line and banner let them through.
TEST_F(GuiTest, PointerOverMenusDialogsAndDebugWindowCountsAsInterface) {
  app.gui.SetStatusText(L"Game Status: Idle");
  app.gui.ShowBanner(core::rect<s32>(292, 70, 732, 120), L"CHECK MATE!", video::SColor(150, 220, 0, 0));
  app.gui.SetBannerVisible(true);
  struct Row {
    s32 x, y;
    bool over;
  };
  const Row withoutDialogs[] = {
      {10, 5, true}, {1000, 5, true}, {300, 745, false}, {500, 100, false}, {500, 400, false}};
  for (const Row &row : withoutDialogs) {
    PointAt(row.x, row.y);
    EXPECT_EQ(app.gui.IsPointerOverGui(), row.over) << row.x << "," << row.y;
  }
  app.debugWindow.Toggle();
  PointAt(100, 200);
  EXPECT_TRUE(app.gui.IsPointerOverGui());
  app.debugWindow.Toggle();
  EXPECT_FALSE(app.gui.IsPointerOverGui());

  app.gui.ShowAboutDialog();
  for (const Row &row : withoutDialogs) {
    PointAt(row.x, row.y);
    EXPECT_TRUE(app.gui.IsPointerOverGui()) << row.x << "," << row.y;
  }
}

TEST_F(GuiTest, BannerKeepsItsFirstRectangleAndColour) {
  app.gui.SetBannerVisible(true);
  EXPECT_EQ(app.gui.GetBannerText(), nullptr);

  const core::rect<s32> first(292, 70, 732, 120);
  app.gui.ShowBanner(first, L"CHECK MATE!", video::SColor(150, 220, 0, 0));
  gui::IGUIStaticText *banner = app.gui.GetBannerText();
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->getOverrideFont(), app.gui.GetLargeFont());

  app.gui.ShowBanner(core::rect<s32>(0, 0, 10, 10), L"second", video::SColor(255, 0, 255, 0));
  app.gui.ShowBanner(core::rect<s32>(1, 1, 5, 5), nullptr, video::SColor(255, 0, 0, 255));
  EXPECT_EQ(app.gui.GetBannerText(), banner);
  EXPECT_EQ(banner->getAbsolutePosition(), first);
  EXPECT_EQ(banner->getOverrideColor(), video::SColor(150, 220, 0, 0));
  EXPECT_STREQ(banner->getText(), L"second");

  app.gui.SetBannerVisible(true);
  EXPECT_TRUE(banner->isVisible());
  app.gui.ResetGameDisplay();
  EXPECT_FALSE(banner->isVisible());
}

TEST_F(GuiTest, ColourWindowOpensOnceAndClosesWithoutLeavingFocus) {
  app.gui.CloseColorWindow(); // none open: nothing happens
  const u32 before = Root()->getChildren().size();
  app.gui.ShowColorWindow();
  gui::IGUIWindow *window = app.gui.GetColorWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->getAbsolutePosition(), core::rect<s32>(412, 334, 612, 474));
  EXPECT_STREQ(window->getText(), L"Select your color...");
  EXPECT_FALSE(window->getCloseButton()->isVisible());
  auto *white = static_cast<gui::IGUIButton *>(window->getElementFromId(ID_BUTTON_WHITE));
  auto *black = static_cast<gui::IGUIButton *>(window->getElementFromId(ID_BUTTON_BLACK));
  ASSERT_NE(white, nullptr);
  ASSERT_NE(black, nullptr);
  EXPECT_EQ(white->getRelativePosition(), core::rect<s32>(10, 30, 90, 80));
  EXPECT_EQ(black->getRelativePosition(), core::rect<s32>(110, 30, 190, 80));
  EXPECT_STREQ(white->getText(), L"WHITE");
  EXPECT_STREQ(black->getText(), L"BLACK");
  auto *both = static_cast<gui::IGUIButton *>(window->getElementFromId(ID_BUTTON_TWO_PLAYERS));
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(both->getRelativePosition(), core::rect<s32>(10, 90, 190, 130));
  EXPECT_STREQ(both->getText(), L"TWO PLAYERS");

  app.gui.ShowColorWindow();
  EXPECT_EQ(app.gui.GetColorWindow(), window);
  EXPECT_EQ(Root()->getChildren().size(), before + 1);

  // WHITE has the focus from the start, so that Enter takes it; a focused
  // button keeps it, and closing must take it back.
  white->grab();
  EXPECT_EQ(app.guiEnvironment->getFocus(), white);
  app.gui.CloseColorWindow();
  EXPECT_EQ(app.gui.GetColorWindow(), nullptr);
  EXPECT_EQ(app.guiEnvironment->getFocus(), nullptr);
  EXPECT_EQ(Root()->getChildren().size(), before);
  white->drop();
}

TEST_F(GuiTest, MessageBoxesAreModalWithoutCloseButton) {
  struct Row {
    void (CGui::*show)();
    const wchar_t *caption;
    s32 id;
  };
  const Row rows[] = {{&CGui::ShowQuitDialog, L"Notification", ID_QUIT_BOX},
                      {&CGui::ShowAboutDialog, L"About the Program...", -1},
                      {&CGui::ShowEngineInfoDialog, L"About the ChessEngine...", -1}};
  for (const Row &row : rows) {
    const u32 before = Root()->getChildren().size();
    (app.gui.*row.show)();
    ASSERT_EQ(Root()->getChildren().size(), before + 1) << "one modal screen holding the box";
    gui::IGUIElement *modal = Root()->getChildren().getLast().operator*();
    auto *box = static_cast<gui::IGUIWindow *>(FindOfType(modal, gui::EGUIET_MESSAGE_BOX));
    ASSERT_NE(box, nullptr);
    EXPECT_STREQ(box->getText(), row.caption);
    EXPECT_EQ(box->getID(), row.id);
    EXPECT_FALSE(box->getCloseButton()->isVisible());
    modal->remove();
  }
}

TEST_F(GuiTest, TextWindowsOpenInTheirPlacesAndExitClosesThem) {
  app.gui.Exit(); // nothing open: nothing happens
  app.gui.ToggleHelpWindow();
  app.gui.ToggleMovesWindow();
  ASSERT_NE(app.gui.GetHelpWindow(), nullptr);
  ASSERT_NE(app.gui.GetMovesWindow(), nullptr);
  EXPECT_EQ(app.gui.GetHelpWindow()->getAbsolutePosition(), core::rect<s32>(256, 50, 768, 718));
  EXPECT_EQ(app.gui.GetMovesWindow()->getAbsolutePosition(), core::rect<s32>(879, 25, 1019, 225));
  EXPECT_EQ(app.gui.GetHelpWindow()->GetTextArea()->getOverrideFont(), app.gui.GetSmallFont());
  EXPECT_STREQ(app.gui.GetMovesWindow()->GetTextArea()->getText(), L""); // no game, no moves
  // The help text shows from its first line.
  EXPECT_EQ(app.gui.GetHelpWindow()->GetScrollBar()->getPos(), 0);

  const u32 withWindows = Root()->getChildren().size();
  app.gui.Exit();
  EXPECT_EQ(app.gui.GetHelpWindow(), nullptr);
  EXPECT_EQ(app.gui.GetMovesWindow(), nullptr);
  EXPECT_EQ(Root()->getChildren().size(), withWindows - 2);

  app.gui.RefreshMovesWindow(); // closed: nothing happens
  EXPECT_EQ(app.gui.GetMovesWindow(), nullptr);
}

TEST_F(GuiTest, SplashIsSetAndClearedByTheGame) {
  app.gui.ShowSplash(true);
  EXPECT_NE(app.gui.GetSplashTexture(), nullptr);
  app.gui.Draw();
  app.gui.ShowSplash(false);
  EXPECT_EQ(app.gui.GetSplashTexture(), nullptr);
}

// Reads the help text that the window shows after writing the file.
std::wstring HelpTextFor(const std::string &bytes) {
  {
    std::ofstream out("media/chess_helptext.txt", std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  app.gui.ToggleHelpWindow();
  const std::wstring text = app.gui.GetHelpWindow()->GetTextArea()->getText();
  app.gui.ToggleHelpWindow();
  return text;
}

TEST(GuiHelpFile, WindowsLineEndsReadLikeUnixOnes) {
  TemporaryRunFolder folder;
  ASSERT_TRUE(folder.Entered());
  ASSERT_TRUE(CreateNullDevice());
  ASSERT_TRUE(app.gui.Init());
  const std::wstring lf = HelpTextFor("KELVAR\nline two\n\nlast");
  EXPECT_EQ(lf, L"KELVAR\nline two\n\nlast");
  EXPECT_EQ(HelpTextFor("KELVAR\r\nline two\r\n\r\nlast"), lf);
  // Bytes above 127 are Latin-1 characters, not negative numbers.
  EXPECT_EQ(HelpTextFor("caf\xe9"), L"caf\u00e9");
  EXPECT_EQ(HelpTextFor(""), L"");
}

TEST(GuiHelpFile, MissingFileShowsANotice) {
  TemporaryRunFolder folder("chess_helptext.txt");
  ASSERT_TRUE(folder.Entered());
  ASSERT_TRUE(CreateNullDevice());
  ASSERT_TRUE(app.gui.Init());
  app.gui.ToggleHelpWindow();
  ASSERT_NE(app.gui.GetHelpWindow(), nullptr);
  EXPECT_STREQ(app.gui.GetHelpWindow()->GetTextArea()->getText(), L"Helpfile not found.");
}

TEST(GuiHelpFile, ShippedHelpIsPlainAsciiWithShortLines) {
  std::ifstream in("media/chess_helptext.txt", std::ios::binary);
  ASSERT_TRUE(in) << "the build copies the help text into the run folder";
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) {
    ++lines;
    EXPECT_LE(line.size(), 64u) << "line " << lines;
    for (unsigned char c : line)
      EXPECT_TRUE(c >= 32 && c < 127) << "line " << lines;
  }
  EXPECT_GT(lines, 20);
}

// Each asset Init needs: without it Init fails and builds nothing after it.
struct MissingAsset {
  const char *file;
  bool hasSmallFont, hasLargeFont, hasMenu;
  int buttons; // camera buttons created before the failure
};

void PrintTo(const MissingAsset &row, std::ostream *out) { *out << row.file; }

// "Chess_Arial_12.bmp" -> "Chess_Arial_12": test names take letters, digits and _.
std::string AssetName(const testing::TestParamInfo<MissingAsset> &info) {
  const std::string file = info.param.file;
  return file.substr(0, file.find('.'));
}

class GuiMissingAsset : public testing::TestWithParam<MissingAsset> {};

TEST_P(GuiMissingAsset, InitFailsAndStopsThere) {
  const MissingAsset &row = GetParam();
  TemporaryRunFolder folder(row.file);
  ASSERT_TRUE(folder.Entered());
  ASSERT_TRUE(CreateNullDevice());
  EXPECT_FALSE(app.gui.Init());
  EXPECT_EQ(app.gui.GetSmallFont() != nullptr, row.hasSmallFont);
  EXPECT_EQ(app.gui.GetLargeFont() != nullptr, row.hasLargeFont);
  EXPECT_EQ(app.gui.GetMenuBar() != nullptr, row.hasMenu);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(app.gui.GetCameraButton(i) != nullptr, i < row.buttons) << i;
}

INSTANTIATE_TEST_SUITE_P(Assets, GuiMissingAsset,
                         testing::Values(MissingAsset{"Chess_Arial_12.bmp", false, false, false, 0},
                                         MissingAsset{"Chess_Arial_48.bmp", true, false, false, 0},
                                         MissingAsset{"cam_w_top.bmp", true, true, true, 1},
                                         MissingAsset{"cam_b_side.bmp", true, true, true, 4}),
                         AssetName);

} // namespace
