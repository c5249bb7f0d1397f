// The interface at each window size and interface scale, on the null driver:
// the scale the size and the setting call for, every piece inside the window
// and clear of the others, and every text within its element in the skin's
// font of that scale.
#include "app/CApplication.h"
#include "chess/CGameAnalysis.h"
#include "chess/CGameJudge.h"
#include "tests/support/NullDevice.h"
#include "ui/CConfigWindow.h"
#include "ui/CGUITextWindow.h"
#include "ui/CGameOverNotice.h"
#include "ui/CGamesWindow.h"
#include "ui/CGuiLayout.h"
#include "ui/CReviewWindow.h"
#include "ui/GuiIds.h"
#include "ui/UiScale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace irr;
namespace fs = std::filesystem;

namespace {

using Rect = core::rect<s32>;

std::string Describe(const Rect &r) {
  return "(" + std::to_string(r.UpperLeftCorner.X) + ", " + std::to_string(r.UpperLeftCorner.Y) + ", " +
         std::to_string(r.LowerRightCorner.X) + ", " + std::to_string(r.LowerRightCorner.Y) + ")";
}

std::string Describe(gui::IGUIElement *e) {
  return std::string(gui::GUIElementTypeNames[e->getType()]) + " \"" + core::stringc(e->getText()).c_str() + "\" " +
         Describe(e->getAbsolutePosition());
}

bool Inside(const Rect &inner, const Rect &outer) {
  return inner.UpperLeftCorner.X >= outer.UpperLeftCorner.X && inner.UpperLeftCorner.Y >= outer.UpperLeftCorner.Y &&
         inner.LowerRightCorner.X <= outer.LowerRightCorner.X && inner.LowerRightCorner.Y <= outer.LowerRightCorner.Y;
}

// Sharing an edge is not overlapping.
bool Overlap(const Rect &a, const Rect &b) { return a.isRectCollided(b); }

// The skin's font unless the element has its own.
gui::IGUIFont *FontOf(gui::IGUIElement *e) {
  if (e->getType() == gui::EGUIET_BUTTON)
    return static_cast<gui::IGUIButton *>(e)->getActiveFont();
  if (e->getType() == gui::EGUIET_STATIC_TEXT)
    return static_cast<gui::IGUIStaticText *>(e)->getActiveFont();
  return app.guiEnvironment->getSkin()->getFont();
}

// Fails unless the element's own text fits it in its font, and the same for
// every visible element inside it.
void ExpectTextsFit(gui::IGUIElement *e) {
  if (!e->isVisible())
    return;
  gui::IGUISkin *skin = app.guiEnvironment->getSkin();
  const Rect r = e->getAbsolutePosition();
  const wchar_t *text = e->getText();
  gui::IGUIFont *font = FontOf(e);
  if (font && text && *text) {
    const core::dimension2d<u32> need = font->getDimension(text);
    s32 width = r.getWidth(), height = r.getHeight();
    bool wraps = false;
    switch (e->getType()) {
    case gui::EGUIET_STATIC_TEXT:
      wraps = static_cast<gui::IGUIStaticText *>(e)->isWordWrapEnabled();
      if (wraps) {
        EXPECT_LE(static_cast<gui::IGUIStaticText *>(e)->getTextHeight(), height) << Describe(e);
      }
      break;
    case gui::EGUIET_CHECK_BOX: // the box, a gap, then the text
      width -= skin->getSize(gui::EGDS_CHECK_BOX_WIDTH) + skin->getSize(gui::EGDS_TEXT_DISTANCE_X);
      EXPECT_LE(skin->getSize(gui::EGDS_CHECK_BOX_WIDTH), height) << Describe(e);
      break;
    case gui::EGUIET_COMBO_BOX: // the text beside the drop-down button
      width -= skin->getSize(gui::EGDS_WINDOW_BUTTON_WIDTH);
      break;
    case gui::EGUIET_WINDOW: // the title in the title bar, short of its buttons
      width -= skin->getSize(gui::EGDS_WINDOW_BUTTON_WIDTH) + 5 + skin->getSize(gui::EGDS_TITLEBARTEXT_DISTANCE_X);
      height = skin->getSize(gui::EGDS_WINDOW_BUTTON_WIDTH) + 2;
      break;
    default:
      break;
    }
    if (!wraps) {
      EXPECT_LE(s32(need.Width), width) << Describe(e);
      EXPECT_LE(s32(need.Height), height) << Describe(e);
    }
  }
  if (e->getType() == gui::EGUIET_EDIT_BOX && font) { // a line of typing
    EXPECT_LE(s32(font->getDimension(L"Ag").Height), r.getHeight()) << Describe(e);
  }
  for (gui::IGUIElement *child : e->getChildren())
    ExpectTextsFit(child);
}

// Fails unless the visible pieces lie in the area and clear of each other.
void ExpectApart(const std::vector<std::pair<std::string, Rect>> &pieces, const Rect &area) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    EXPECT_TRUE(Inside(pieces[i].second, area))
        << pieces[i].first << " " << Describe(pieces[i].second) << " outside " << Describe(area);
    for (size_t j = i + 1; j < pieces.size(); ++j)
      EXPECT_FALSE(Overlap(pieces[i].second, pieces[j].second))
          << pieces[i].first << " " << Describe(pieces[i].second) << " over " << pieces[j].first << " "
          << Describe(pieces[j].second);
  }
}

// The visible elements a dialog is made of (not the engine's own parts of
// them, such as a window's close button), inside the window and apart, the
// title bar kept clear.
void ExpectDialogLaidOut(gui::IGUIElement *dialog) {
  ASSERT_NE(dialog, nullptr);
  SCOPED_TRACE(Describe(dialog));
  const Rect screen(0, 0, app.windowSize.Width, app.windowSize.Height);
  EXPECT_TRUE(Inside(dialog->getAbsolutePosition(), screen)) << Describe(dialog);
  gui::IGUIElement *window = dialog;
  if (window->getType() != gui::EGUIET_WINDOW && !dialog->getChildren().empty())
    window = *dialog->getChildren().begin(); // the Config window holds its window
  Rect client = window->getAbsolutePosition();
  client.UpperLeftCorner.Y += app.guiEnvironment->getSkin()->getSize(gui::EGDS_WINDOW_BUTTON_WIDTH) + 2;
  std::vector<std::pair<std::string, Rect>> pieces;
  for (gui::IGUIElement *child : window->getChildren())
    if (child->isVisible() && !child->isSubElement())
      pieces.emplace_back(Describe(child), child->getAbsolutePosition());
  ExpectApart(pieces, client);
  ExpectTextsFit(dialog);
}

// The banner's lines as drawn: each centred in the box, one under another.
Rect BannerInk(gui::IGUIStaticText *banner) {
  gui::IGUIFont *font = banner->getActiveFont();
  const Rect box = banner->getAbsolutePosition();
  const std::wstring text = banner->getText();
  s32 width = 0, lines = 0;
  for (size_t start = 0; start <= text.size(); ++lines) {
    const size_t end = std::min(text.find(L'\n', start), text.size());
    width = std::max(width, s32(font->getDimension(text.substr(start, end - start).c_str()).Width));
    start = end + 1;
  }
  const s32 middle = box.getCenter().X, lineHeight = s32(font->getDimension(L"Ag").Height);
  return Rect(middle - width / 2, box.UpperLeftCorner.Y, middle + width - width / 2,
              box.UpperLeftCorner.Y + lines * lineHeight);
}

struct LayoutCase {
  s32 width, height;
  const char *setting; // [window] ui_scale
  float scale;         // the scale the interface takes
};

void PrintTo(const LayoutCase &c, std::ostream *out) {
  *out << c.width << "x" << c.height << " ui_scale=" << c.setting;
}

// Each size automatically, then each scale as set; in the last two the window
// is too small for the scale set, which gives way to the largest that fits.
const LayoutCase LAYOUT_CASES[] = {
    {800, 600, "auto", 1.f}, {1024, 768, "auto", 1.f}, {1600, 1000, "auto", 1.5f}, {2560, 1440, "auto", 2.f},
    {1024, 768, "1", 1.f},   {2560, 1440, "1", 1.f},   {1280, 960, "1.5", 1.5f},   {3840, 2160, "1.5", 1.5f},
    {1600, 1200, "2", 2.f},  {800, 600, "2", 1.f},     {1600, 1000, "2", 1.5f},
};

class ScaleLayout : public testing::TestWithParam<LayoutCase> {
protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("kelvar-scale-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "kelvar.ini") << "[window]\nui_scale = " << GetParam().setting << "\n";
    app.settings.SetPath((folder / "kelvar.ini").string());
    app.settings.Load();
    ASSERT_TRUE(testing_support::CreateNullDevice(GetParam().width, GetParam().height));
    ASSERT_TRUE(app.gui.Init());
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path folder;
};

TEST_P(ScaleLayout, PiecesLieInsideApartAndHoldTheirTexts) {
  const LayoutCase &c = GetParam();
  ASSERT_EQ(app.gui.GetScale(), c.scale);
  EXPECT_EQ(UiScale(), c.scale);
  const Rect screen(0, 0, c.width, c.height);

  // A game under way: the status line with its clock, the moves window, the
  // move box, the menu bar and the camera buttons.
  app.gui.SetStatusText(L"Game Status: Local Game Running");
  app.gui.SetStatusClock("White 14:59 <   Black 15:00");
  app.gui.ToggleMovesWindow();
  gui::IGUIEditBox *moveBox = app.guiEnvironment->addEditBox(L"Nxe4", CGuiLayout::MoveBox(app.windowSize, c.scale),
                                                             true, app.guiEnvironment->getRootGUIElement());
  app.gui.SetMoveBoxShown(true);
  app.guiEnvironment->drawAll(); // the menu bar takes its height from the font here
  const auto gamePieces = [&] {
    std::vector<std::pair<std::string, Rect>> pieces;
    for (int i = 0; i < CGuiLayout::CAMERA_BUTTON_COUNT; ++i)
      pieces.emplace_back("camera button " + std::to_string(i), app.gui.GetCameraButton(i)->getAbsolutePosition());
    pieces.emplace_back("status line", app.gui.GetStatusBand()->getAbsolutePosition());
    pieces.emplace_back("moves window", app.gui.GetMovesWindow()->getAbsolutePosition());
    pieces.emplace_back("menu bar", app.gui.GetMenuBar()->getAbsolutePosition());
    if (moveBox->isVisible())
      pieces.emplace_back("move box", moveBox->getAbsolutePosition());
    return pieces;
  };
  ExpectApart(gamePieces(), screen);
  ExpectTextsFit(app.gui.GetStatusBand());
  ExpectTextsFit(moveBox);
  EXPECT_EQ(app.gui.GetCameraButton(0)->getAbsolutePosition().getWidth(), Px(33, c.scale));
  // A long opening's name is cut short of the move box, never laid over it.
  app.gui.SetStatusOpening("C60 Ruy Lopez (Spanish opening), Cozio defence, Paulsen variation");
  ExpectApart(gamePieces(), screen);
  app.gui.SetStatusOpening("");

  // Each way a game ends, the move box gone: its banner within the box (no
  // line wrapped into a third), the status line holding its text, everything apart.
  moveBox->setVisible(false);
  app.gui.SetMoveBoxShown(false);
  for (int reason = int(chess::GameEnd::Checkmate); reason <= int(chess::GameEnd::TimeForfeitInsufficientMaterial);
       ++reason)
    for (int winner : {int(White), int(Black)}) {
      CGameOverNotice::Show(chess::GameVerdict{chess::GameEnd(reason), winner});
      app.gui.ShowBannerNote(L"Rating 1523 (+12)");
      gui::IGUIStaticText *banner = app.gui.GetBannerText();
      ASSERT_NE(banner, nullptr);
      SCOPED_TRACE(core::stringc(banner->getText()).c_str());
      const Rect ink = BannerInk(banner);
      EXPECT_TRUE(Inside(ink, banner->getAbsolutePosition())) << Describe(ink);
      EXPECT_LE(banner->getTextHeight(), banner->getAbsolutePosition().getHeight());
      std::vector<std::pair<std::string, Rect>> pieces = gamePieces();
      pieces.emplace_back("banner", ink);
      pieces.emplace_back("banner button", app.gui.GetBannerButton()->getAbsolutePosition());
      pieces.emplace_back("banner note", app.gui.GetBannerNote()->getAbsolutePosition());
      ExpectApart(pieces, screen);
      for (gui::IGUIElement *e : std::initializer_list<gui::IGUIElement *>{
               app.gui.GetStatusBand(), app.gui.GetBannerButton(), app.gui.GetBannerNote()})
        ExpectTextsFit(e);
    }
}

TEST_P(ScaleLayout, DialogsFitTheWindowAndHoldTheirTexts) {
  // One at a time over the board, as they come.
  const std::vector<std::pair<std::function<gui::IGUIElement *()>, std::function<void()>>> dialogs = {
      {[] {
         app.gui.ShowColorWindow();
         return app.gui.GetColorWindow();
       },
       [] { app.gui.CloseColorWindow(); }},
      {[] {
         CConfigWindow::Show();
         return CConfigWindow::GetOpen();
       },
       [] { CConfigWindow::Shutdown(); }},
      {[] {
         app.gui.GetPromotionWindow().Open(White);
         return app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_PROMOTION_WINDOW, true);
       },
       [] { app.gui.GetPromotionWindow().Close(); }},
      {[] {
         chess::PgnGameEntry entry;
         entry.ok = true;
         entry.summary.white = "Kelvar";
         entry.summary.black = "A player with a long name";
         entry.summary.date = "2026.12.08";
         entry.summary.result = "1/2-1/2";
         app.gui.GetGameList().Show("/tmp/games.pgn", {entry, entry});
         return app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_GAME_LIST_WINDOW, true);
       },
       [] { app.gui.GetGameList().Close(); }},
  };
  for (const auto &dialog : dialogs) {
    ExpectDialogLaidOut(dialog.first());
    dialog.second();
  }

  CGamesWindow games;
  games.Open(0, 0);
  ExpectDialogLaidOut(app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_GAMES_WINDOW, true));
  games.Close();

  chess::CGameAnalysis analysis;
  analysis.Start(chess::CGameRecord());
  CReviewWindow review;
  review.Open(L"Review: a game", analysis);
  ExpectDialogLaidOut(app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_REVIEW_WINDOW, true));
  review.Close();

  // Irrlicht's own message box, built from the skin's sizes and font.
  gui::IGUIWindow *about =
      app.gui.ShowMessageBox(L"About the Program...", L"Kelvar\nChess on a board", gui::EMBF_OK, -1);
  ExpectDialogLaidOut(about);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScaleLayout, testing::ValuesIn(LAYOUT_CASES));

TEST(ScaleChoice, FollowsTheWindowUnlessSetAndNeverOverflowsIt) {
  struct Case {
    s32 width, height;
    float setting, scale;
  };
  const Case cases[] = {
      {800, 600, 0, 1},     {1024, 768, 0, 1},    {1366, 768, 0, 1},    {1599, 1000, 0, 1},    {1600, 999, 0, 1},
      {1600, 1000, 0, 1.5}, {1920, 1080, 0, 1.5}, {2559, 1440, 0, 1.5}, {2560, 1439, 0, 1.5},  {2560, 1440, 0, 2},
      {3840, 2160, 0, 2},   {2560, 1440, 1, 1},   {1024, 768, 1.5, 1},  {1200, 900, 1.5, 1.5}, {1600, 1200, 2, 2},
      {1600, 1199, 2, 1.5}, {800, 600, 2, 1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(CGuiLayout::ChooseScale(CGuiLayout::Size(c.width, c.height), c.setting), c.scale)
        << c.width << " x " << c.height << " setting " << c.setting;
}

TEST(ScaleChoice, RescaledBoxesKeepToTheirEdgeOrTheMiddle) {
  const CGuiLayout::Size from(1024, 768), to(1600, 1000);
  struct Case {
    Rect box, expected;
  };
  const Case cases[] = {
      {Rect(412, 234, 612, 534), Rect(650, 275, 950, 725)},  // centred both ways
      {Rect(714, 30, 1014, 650), Rect(1135, 45, 1585, 975)}, // the right edge, under the menu bar
      {Rect(10, 600, 36, 758), Rect(15, 748, 54, 985)},      // the bottom-left corner
      {Rect(0, 0, 1000, 700), Rect(0, 0, 1500, 1050)},       // taller than the window: at its top
  };
  for (const Case &c : cases)
    EXPECT_EQ(CGuiLayout::Rescaled(from, to, c.box, 1.5f), c.expected) << Describe(c.box);
}

} // namespace

namespace {

// The window system reports a new size; the next pass follows it.
void Resize(s32 width, s32 height) {
  app.driver->OnResize(core::dimension2d<u32>(u32(width), u32(height)));
  app.window.Update();
}

} // namespace

// Dialogs open across a resize to another scale take the new scale with
// their place: centred ones stay centred, the review window keeps to the
// right edge, and everything in them still fits. (The review window keeps
// the height it was opened with, at its scale: a window made shorter than
// that while it is open is not followed.)
TEST(ScaleFollowsResize, OpenDialogsTakeTheNewScale) {
  ASSERT_TRUE(testing_support::CreateNullDevice(1024, 768));
  ASSERT_TRUE(app.gui.Init());
  ASSERT_TRUE(app.window.Init());
  CConfigWindow::Show();
  chess::CGameAnalysis analysis;
  analysis.Start(chess::CGameRecord());
  CReviewWindow review;
  review.Open(L"Review: a game", analysis);
  app.gui.ShowMessageBox(L"Chess Engine", L"The engine has no move in this position", gui::EMBF_OK, -1);
  gui::IGUIElement *root = app.guiEnvironment->getRootGUIElement();

  struct Step {
    s32 width, height;
    float scale;
  };
  for (const Step step : {Step{1600, 1000, 1.5f}, Step{2560, 1440, 2.f}, Step{1024, 768, 1.f}}) {
    SCOPED_TRACE(testing::Message() << step.width << " x " << step.height);
    Resize(step.width, step.height);
    ASSERT_EQ(app.gui.GetScale(), step.scale);
    const Rect config = CConfigWindow::GetOpen()->getAbsolutePosition();
    EXPECT_NEAR(config.getWidth(), CConfigWindow::WIDTH * step.scale, 2);
    EXPECT_NEAR(config.getHeight(), CConfigWindow::HEIGHT * step.scale, 2);
    EXPECT_NEAR(config.getCenter().X, step.width / 2, 2);
    EXPECT_NEAR(config.getCenter().Y, step.height / 2, 2);
    ExpectDialogLaidOut(CConfigWindow::GetOpen());
    gui::IGUIElement *reviewWindow = root->getElementFromId(ID_REVIEW_WINDOW, true);
    EXPECT_NEAR(reviewWindow->getAbsolutePosition().LowerRightCorner.X, step.width - 10 * step.scale, 2);
    EXPECT_NEAR(reviewWindow->getAbsolutePosition().getWidth(), CReviewWindow::WIDTH * step.scale, 2);
    ExpectDialogLaidOut(reviewWindow);
    for (gui::IGUIElement *modal : root->getChildren())
      if (modal->getType() == gui::EGUIET_MODAL_SCREEN)
        for (gui::IGUIElement *box : modal->getChildren())
          ExpectDialogLaidOut(box);
  }
  CConfigWindow::Shutdown();
  review.Close();
}
