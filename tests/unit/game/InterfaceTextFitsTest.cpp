// Every text of the interface fits its element in the smallest window
// (800 x 600) in each language: menus, the status line, the Config window
// at each level and time control, the colour, promotion, Games, review and
// game-list windows, the message boxes and the game-over banners. A text is
// measured with the font it is drawn with.
#include "GameFixture.h"

#include "chess/CPgnReader.h"
#include "chess/PgnGame.h"
#include "game/CGamesBrowser.h"
#include "platform/Language.h"
#include "ui/CConfigWindow.h"
#include "ui/CGameOverNotice.h"
#include "ui/CReviewWindow.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"

#include <cstdlib>
#include <functional>
#include <sstream>

using namespace irr;

namespace {

struct SLanguageCase {
  const char *language; // LANGUAGE
  const char *expected; // the language the game reports
};

void PrintTo(const SLanguageCase &c, std::ostream *os) { *os << c.language; }

const core::rect<s32> SCREEN(0, 0, 800, 600);

std::string Narrow(const wchar_t *text) { return Utf8(text ? text : L""); }

gui::IGUIFont *SkinFont() { return app.guiEnvironment->getSkin()->getFont(); }
s32 SkinSize(gui::EGUI_DEFAULT_SIZE which) { return app.guiEnvironment->getSkin()->getSize(which); }
s32 Width(gui::IGUIFont *font, const wchar_t *text) { return s32(font->getDimension(text).Width); }

// The texts of the elements at or below from that do not fit, one line each.
void CollectOverflows(gui::IGUIElement *from, std::ostringstream &out) {
  if (!from->isVisible())
    return;
  const core::rect<s32> box = from->getAbsolutePosition();
  const std::string name = "'" + Narrow(from->getText()) + "'";
  const wchar_t *text = from->getText();
  const bool hasText = text && *text;
  const bool inside = box.UpperLeftCorner.X >= SCREEN.UpperLeftCorner.X && box.UpperLeftCorner.Y >= 0 &&
                      box.LowerRightCorner.X <= SCREEN.LowerRightCorner.X &&
                      box.LowerRightCorner.Y <= SCREEN.LowerRightCorner.Y;
  if (!inside)
    out << "element " << name << " leaves the window\n";
  switch (from->getType()) {
  case gui::EGUIET_STATIC_TEXT: {
    auto *label = static_cast<gui::IGUIStaticText *>(from);
    if (!hasText)
      break;
    if (label->isWordWrapEnabled()) {
      if (label->getTextHeight() > box.getHeight() || label->getTextWidth() > box.getWidth())
        out << "wrapped text " << name << " needs " << label->getTextWidth() << "x" << label->getTextHeight()
            << ", has " << box.getWidth() << "x" << box.getHeight() << "\n";
    } else {
      const core::dimension2d<u32> need = label->getActiveFont()->getDimension(text);
      if (s32(need.Width) > box.getWidth() || s32(need.Height) > box.getHeight() + 4)
        out << "text " << name << " needs " << need.Width << "x" << need.Height << ", has " << box.getWidth() << "x"
            << box.getHeight() << "\n";
    }
    break;
  }
  case gui::EGUIET_BUTTON:
    if (hasText && Width(static_cast<gui::IGUIButton *>(from)->getActiveFont(), text) > box.getWidth() - 4)
      out << "button " << name << " is " << box.getWidth() << " wide\n";
    break;
  case gui::EGUIET_CHECK_BOX:
    if (Width(SkinFont(), text) + SkinSize(gui::EGDS_CHECK_BOX_WIDTH) + 5 > box.getWidth())
      out << "check box " << name << " is " << box.getWidth() << " wide\n";
    break;
  case gui::EGUIET_COMBO_BOX: {
    auto *combo = static_cast<gui::IGUIComboBox *>(from);
    for (u32 i = 0; i < combo->getItemCount(); ++i)
      if (Width(SkinFont(), combo->getItem(i)) + SkinSize(gui::EGDS_WINDOW_BUTTON_WIDTH) + 4 > box.getWidth())
        out << "combo item '" << Narrow(combo->getItem(i)) << "' is wider than its box (" << box.getWidth() << ")\n";
    break;
  }
  case gui::EGUIET_WINDOW: {
    auto *window = static_cast<gui::IGUIWindow *>(from);
    const s32 closeRoom = window->getCloseButton()->isVisible() ? SkinSize(gui::EGDS_WINDOW_BUTTON_WIDTH) + 4 : 0;
    if (Width(SkinFont(), text) + closeRoom + 6 > box.getWidth())
      out << "window caption " << name << " is wider than its window (" << box.getWidth() << ")\n";
    break;
  }
  default:
    break;
  }
  for (gui::IGUIElement *child : from->getChildren())
    CollectOverflows(child, out);
}

std::string Overflows() {
  std::ostringstream out;
  CollectOverflows(app.guiEnvironment->getRootGUIElement(), out);
  return out.str();
}

// The menu bar lays its titles out at their text's width plus 20 pixels; a
// sub-menu opens under its title and is as wide as its widest item plus the
// room for its check marks and sub-menu arrows (about 40 pixels).
std::string MenuOverflows() {
  std::ostringstream out;
  gui::IGUIContextMenu *bar = app.gui.GetMenuBar();
  s32 x = 0;
  for (u32 i = 0; i < bar->getItemCount(); ++i) {
    const s32 left = x;
    x += Width(SkinFont(), bar->getItemText(i)) + 20;
    gui::IGUIContextMenu *sub = bar->getSubMenu(i);
    s32 widest = 0;
    for (u32 k = 0; sub && k < sub->getItemCount(); ++k)
      widest = std::max(widest, Width(SkinFont(), sub->getItemText(k)));
    if (left + widest + 40 > SCREEN.getWidth())
      out << "the menu '" << Narrow(bar->getItemText(i)) << "' opens past the window's edge\n";
  }
  if (x > SCREEN.getWidth())
    out << "the menu bar is " << x << " wide\n";
  return out.str();
}

// Sends the window a combo box change, as a choice in the box does.
void ChooseIn(gui::IGUIElement *window, s32 comboId, s32 item) {
  auto *combo = static_cast<gui::IGUIComboBox *>(window->getElementFromId(comboId, true));
  ASSERT_NE(combo, nullptr);
  combo->setSelected(item);
  SEvent event{};
  event.EventType = EET_GUI_EVENT;
  event.GUIEvent.Caller = combo;
  event.GUIEvent.EventType = gui::EGET_COMBO_BOX_CHANGED;
  window->OnEvent(event);
}

class InterfaceTextFits : public GameFixture, public testing::WithParamInterface<SLanguageCase> {
protected:
  void SetUp() override {
    setenv("LANGUAGE", GetParam().language, 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    presetSettings = "[window]\nwidth = 800\nheight = 600\n";
    StartProgram("");
    ASSERT_EQ(app.windowSize, core::dimension2d<s32>(800, 600));
    ASSERT_EQ(platform::InterfaceLanguage(), GetParam().expected);
  }

  // Removes the message boxes and windows left on the screen.
  static void RemoveWindows() {
    std::vector<gui::IGUIElement *> gone;
    for (gui::IGUIElement *child : app.guiEnvironment->getRootGUIElement()->getChildren())
      if (child->getType() == gui::EGUIET_MODAL_SCREEN || child->getType() == gui::EGUIET_WINDOW)
        gone.push_back(child);
    for (gui::IGUIElement *e : gone)
      e->remove();
  }
};

TEST_P(InterfaceTextFits, MenusStatusAndDialogs) {
  EXPECT_EQ(MenuOverflows(), "");
  EXPECT_EQ(Overflows(), "") << "the idle screen";
  const std::function<void()> dialogs[] = {
      [] { app.gui.ShowQuitDialog(); },
      [] { app.gui.ShowAboutDialog(); },
      [] { app.gui.ShowEngineInfoDialog(); },
      [] { app.gui.ShowEngineNoMoveDialog(); },
      [] { app.gui.ShowColorWindow(); },
      [] { app.gui.GetPromotionWindow().Open(White); },
      [] {
        chess::PgnGameEntry fine, broken;
        fine.ok = true;
        fine.summary.white = "Player";
        fine.summary.black = "Stockfish 15.1 level 5";
        fine.summary.date = "2026.12.08";
        fine.summary.result = "1/2-1/2";
        broken.ok = false;
        broken.error.line = 1234;
        app.gui.GetGameList().Show("/home/player/games/club-championship.pgn", {fine, broken});
      },
  };
  for (const auto &open : dialogs) {
    open();
    EXPECT_EQ(Overflows(), "");
    app.gui.CloseColorWindow();
    app.gui.GetPromotionWindow().Close();
    app.gui.GetGameList().Close();
    RemoveWindows();
  }
}

TEST_P(InterfaceTextFits, ConfigWindowAtEveryLevelAndTimeControl) {
  CConfigWindow::Show();
  gui::IGUIElement *window = CConfigWindow::GetOpen();
  ASSERT_NE(window, nullptr);
  for (s32 level = 0; level <= CSettings::LEVEL_MAX; ++level) { // the last item: Match my rating
    ChooseIn(window, ID_CONFIG_LEVEL, level);
    EXPECT_EQ(Overflows(), "") << "level item " << level;
  }
  auto *presets = static_cast<gui::IGUIComboBox *>(window->getElementFromId(ID_CONFIG_TIME_PRESET, true));
  ASSERT_NE(presets, nullptr);
  for (s32 preset = 0; preset + 1 < s32(presets->getItemCount()); ++preset) { // the last: Custom
    ChooseIn(window, ID_CONFIG_TIME_PRESET, preset);
    EXPECT_EQ(Overflows(), "") << "time control " << Narrow(presets->getItem(u32(preset)));
  }
  for (s32 set = 0; set < BOARD_THEME_COUNT; ++set) {
    ChooseIn(window, ID_CONFIG_THEME, set);
    EXPECT_EQ(Overflows(), "") << "board set " << set;
  }
  CConfigWindow::Shutdown();
}

TEST_P(InterfaceTextFits, GamesAndReviewWindows) {
  Press(KEY_KEY_G);
  ASSERT_TRUE(FramesUntil([] { return app.gamesBrowser.IsOpen(); }));
  EXPECT_EQ(Overflows(), "") << "the Games window";
  // The scores: a line a level, within the space right of the graph.
  gui::IGUIFont *font = SkinFont();
  for (int level = 1; level <= CSettings::LEVEL_MAX; ++level) {
    LevelScore score;
    score.level = level;
    score.wins = 128;
    score.draws = 64;
    score.losses = 256;
    score.unfinished = 12;
    const std::wstring line = CGamesBrowser::ScoreText(score);
    // The window is the screen less 10 pixels a side; the scores start 30
    // pixels right of the graph and end 10 pixels before the window's edge.
    EXPECT_LE(Width(font, line.c_str()), 800 - 2 * 10 - CGamesWindow::GRAPH_WIDTH - 4 * 10) << Narrow(line.c_str());
  }
  app.gamesBrowser.Close();
  RemoveWindows();

  chess::PgnGame game;
  chess::PgnError error;
  ASSERT_TRUE(chess::CPgnReader::Read("1. e4 e5 2. Nf3 Nc6 3. Bb5 *\n", game, error)) << error.reason;
  ASSERT_TRUE(app.review.Open(game, platform::NoTr("the game on the board")));
  EXPECT_EQ(Overflows(), "") << "the review window";
  // Each side's summary: its lines within the window's text width.
  chess::SideSummary side;
  side.moves = 40;
  side.accuracy = 88.8;
  side.inaccuracies = side.mistakes = side.blunders = 12;
  for (const bool white : {true, false}) {
    std::wistringstream lines(CReviewWindow::SideText(side, white));
    for (std::wstring line; std::getline(lines, line);)
      EXPECT_LE(Width(font, line.c_str()), CReviewWindow::WIDTH - 20) << Narrow(line.c_str());
  }
  app.review.Exit();
}

TEST_P(InterfaceTextFits, GameOverBannersAndNotes) {
  using chess::GameEnd;
  for (const GameEnd reason :
       {GameEnd::Checkmate, GameEnd::Stalemate, GameEnd::Repetition, GameEnd::FiftyMoves, GameEnd::InsufficientMaterial,
        GameEnd::Resignation, GameEnd::Recorded, GameEnd::TimeForfeit, GameEnd::TimeForfeitInsufficientMaterial})
    for (const int winner : {int(White), int(Black)}) {
      chess::GameVerdict verdict;
      verdict.reason = reason;
      verdict.winner = winner;
      CGameOverNotice::Show(verdict);
      EXPECT_EQ(Overflows(), "") << Narrow(CGameOverNotice::BannerText(verdict).c_str());
    }
  std::vector<core::stringw> notes = {TrFormatW("Rating {1} -> {2} (not saved)", {"1500", "1438"})};
  for (const char *reason : {"the game was continued from earlier moves", "a move was taken back",
                             "a hint was asked for", "the level was changed", "two players"})
    notes.push_back(TrFormatW("Casual game: {1}", {platform::Tr(reason)}));
  for (const core::stringw &note : notes) {
    app.gui.ShowBannerNote(note.c_str());
    EXPECT_EQ(Overflows(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, InterfaceTextFits,
                         testing::Values(SLanguageCase{"en", "en"}, SLanguageCase{"de", "de"},
                                         SLanguageCase{"fr", "fr"}));

} // namespace
