#include "ui/CGamesWindow.h"

#include "app/CApplication.h"
#include "ui/CRatingGraph.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

#include <algorithm>

using namespace irr;

namespace {

const s32 MAX_WIDTH = 880, MAX_HEIGHT = 700;
const s32 SIDE_ROOM = 10;  // at least this much of the screen left and right of the window
const s32 MENU_ROOM = 24;  // the menu bar above it
const s32 BOTTOM_ROOM = 4; // and a little below
const s32 MARGIN = 10;
const s32 FILTER_Y = 30, FIELD_HEIGHT = 20;
const s32 TABLE_Y = FILTER_Y + FIELD_HEIGHT + 8;
const s32 CAPTION_HEIGHT = 20; // the line above the graph and above the scores
const s32 BUTTON_WIDTH = 90, BUTTON_HEIGHT = 26;
const s32 SCROLLBAR_ROOM = 20;
// The table's columns: date, colour, opponent and result have fixed widths,
// the opening takes what is left.
const s32 COLUMN_WIDTHS[] = {84, 56, 180, 150};
const char *const COLUMN_NAMES[] = {platform::NoTr("Date"), platform::NoTr("Colour"), platform::NoTr("Opponent"),
                                    platform::NoTr("Result"), platform::NoTr("Opening")};
const char *const RESULT_NAMES[CGamesWindow::RESULT_CHOICES] = {platform::NoTr("All results"), platform::NoTr("Wins"),
                                                                platform::NoTr("Losses"), platform::NoTr("Draws")};
const s32 LEVEL_LINES = 8; // the scores: at most one line a level

} // namespace

void CGamesWindow::Open(int resultChoice, int levelChoice) {
  Close();
  gui::IGUIEnvironment *env = app.guiEnvironment;
  const core::dimension2d<s32> screen = app.windowSize;
  const s32 width = std::min(Px(MAX_WIDTH), screen.Width - 2 * Px(SIDE_ROOM));
  const s32 top = std::max(Px(MENU_ROOM), (screen.Height - Px(MAX_HEIGHT)) / 2);
  const s32 height = std::min(Px(MAX_HEIGHT), screen.Height - top - Px(BOTTOM_ROOM));
  const s32 left = (screen.Width - width) / 2;
  window = env->addWindow(core::rect<s32>(left, top, left + width, top + height), true /*modal*/, TrW("Games").c_str(),
                          nullptr, ID_GAMES_WINDOW);
  // Left through its Close button (or Escape), never removed behind the browser's back.
  window->getCloseButton()->setVisible(false);

  const auto label = [&](s32 x0, s32 x1, const char *text) {
    env->addStaticText(GuiText(text).c_str(), Px(core::rect<s32>(x0, FILTER_Y + 3, x1, FILTER_Y + FIELD_HEIGHT)), false,
                       false, window);
  };
  // TRANSLATORS: the short labels of the filters, 44 and 36 pixels wide.
  label(MARGIN, MARGIN + 44, platform::TrContext("games filter", "Result"));
  resultBox = env->addComboBox(Px(core::rect<s32>(MARGIN + 46, FILTER_Y, MARGIN + 166, FILTER_Y + FIELD_HEIGHT)),
                               window, ID_GAMES_RESULT);
  for (const char *name : RESULT_NAMES)
    resultBox->addItem(TrW(name).c_str());
  resultBox->setSelected(std::clamp(resultChoice, 0, RESULT_CHOICES - 1));
  label(MARGIN + 180, MARGIN + 216, platform::TrContext("games filter", "Level"));
  levelBox = env->addComboBox(Px(core::rect<s32>(MARGIN + 218, FILTER_Y, MARGIN + 378, FILTER_Y + FIELD_HEIGHT)),
                              window, ID_GAMES_LEVEL);
  levelBox->addItem(TrW("All levels").c_str());
  for (int level = 1; level < LEVEL_CHOICES; ++level)
    levelBox->addItem((core::stringw(level) + L"  " + CPlayerSettings::LevelName(level).c_str()).c_str());
  levelBox->setSelected(std::clamp(levelChoice, 0, LEVEL_CHOICES - 1));
  countText = env->addStaticText(
      L"", core::rect<s32>(Px(MARGIN + 392), Px(FILTER_Y + 3), width - Px(MARGIN), Px(FILTER_Y + FIELD_HEIGHT)), false,
      false, window);
  countText->setTextAlignment(gui::EGUIA_LOWERRIGHT, gui::EGUIA_UPPERLEFT);

  // Under the table: the graph on the left, the scores (a line a level) on
  // the right, as high as the larger of the two.
  const s32 lineHeight = s32(env->getSkin()->getFont()->getDimension(L"Ag").Height);
  const s32 lowerHeight = Px(CAPTION_HEIGHT) + std::max(Px(GRAPH_HEIGHT), LEVEL_LINES * lineHeight + Px(4));
  const s32 buttonY = height - Px(MARGIN) - Px(BUTTON_HEIGHT);
  const s32 lowerY = buttonY - Px(MARGIN) - lowerHeight;
  const s32 tableBottom = lowerY - Px(8);

  table = env->addTable(core::rect<s32>(Px(MARGIN), Px(TABLE_Y), width - Px(MARGIN), tableBottom), window,
                        ID_GAMES_TABLE, true);
  // A column's width is not dragged: every drag would break the text of
  // each of thousands of rows again.
  table->setResizableColumns(false);
  s32 fixed = 0;
  for (size_t i = 0; i < 5; ++i) {
    table->addColumn(TrW(COLUMN_NAMES[i]).c_str());
    const s32 columnWidth = i < 4 ? Px(COLUMN_WIDTHS[i]) : (width - 2 * Px(MARGIN)) - fixed - Px(SCROLLBAR_ROOM);
    table->setColumnWidth(u32(i), u32(columnWidth));
    table->setColumnOrdering(u32(i), gui::EGCO_NONE); // the library's order: newest first
    fixed += columnWidth;
  }

  const s32 graphRight = Px(MARGIN + GRAPH_WIDTH);
  ratingText = env->addStaticText(
      L"", core::rect<s32>(Px(MARGIN), lowerY + Px(2), graphRight, lowerY + Px(CAPTION_HEIGHT)), false, false, window);
  graph = env->addImage(core::rect<s32>(Px(MARGIN), lowerY + Px(CAPTION_HEIGHT), graphRight,
                                        lowerY + Px(CAPTION_HEIGHT) + Px(GRAPH_HEIGHT)),
                        window);
  graph->setScaleImage(false);
  noRatingText = env->addStaticText(TrW("No rated games yet").c_str(),
                                    core::rect<s32>(0, 0, Px(GRAPH_WIDTH), Px(GRAPH_HEIGHT)), false, false, graph);
  noRatingText->setTextAlignment(gui::EGUIA_CENTER, gui::EGUIA_CENTER);
  const s32 scoresLeft = graphRight + 2 * Px(MARGIN);
  scoresTitle =
      env->addStaticText(TrW("Score against each level").c_str(),
                         core::rect<s32>(scoresLeft, lowerY + Px(2), width - Px(MARGIN), lowerY + Px(CAPTION_HEIGHT)),
                         false, false, window);
  scoresText = env->addStaticText(
      L"", core::rect<s32>(scoresLeft, lowerY + Px(CAPTION_HEIGHT), width - Px(MARGIN), lowerY + lowerHeight), false,
      true, window);

  const auto button = [&](s32 x, s32 id, const char *text) {
    return env->addButton(core::rect<s32>(x, buttonY, x + Px(BUTTON_WIDTH), buttonY + Px(BUTTON_HEIGHT)), window, id,
                          TrW(text).c_str());
  };
  openButton = button(Px(MARGIN), ID_GAMES_OPEN, platform::NoTr("Open"));
  reviewButton = button(Px(MARGIN + (BUTTON_WIDTH + MARGIN)), ID_GAMES_REVIEW, platform::NoTr("Review"));
  deleteButton = button(Px(MARGIN + 2 * (BUTTON_WIDTH + MARGIN)), ID_GAMES_DELETE, platform::NoTr("Delete"));
  closeButton = button(width - Px(MARGIN) - Px(BUTTON_WIDTH), ID_GAMES_CLOSE, platform::NoTr("Close"));
  EnableActions();
  env->setFocus(table);
}

void CGamesWindow::Close() {
  if (window) {
    // No key goes to an element of the window once it is gone. Its modal
    // screen keeps the focus inside while it is there: the focus is let go
    // once the window (held until then) has left it.
    window->grab();
    window->remove(); // its modal screen goes with it
    ReleaseFocusWithin(app.guiEnvironment, window);
    window->drop();
  }
  window = nullptr;
  table = nullptr;
  resultBox = levelBox = nullptr;
  countText = ratingText = noRatingText = scoresTitle = scoresText = nullptr;
  graph = nullptr;
  openButton = reviewButton = deleteButton = closeButton = nullptr;
  pendingRows = nullptr;
  pendingShown.clear();
  filled = 0;
  if (graphTexture && app.driver)
    app.driver->removeTexture(graphTexture);
  graphTexture = nullptr;
}

void CGamesWindow::ShowRows(const std::vector<GamesRow> &rows, const std::vector<size_t> &shown, size_t total) {
  if (!window)
    return;
  table->clearRows();
  pendingRows = &rows;
  pendingShown.clear();
  for (size_t index : shown)
    if (index < rows.size())
      pendingShown.push_back(index);
  filled = 0;
  FillMore(FIRST_ROWS);
  const std::string shownCount = std::to_string(pendingShown.size()), totalCount = std::to_string(total);
  countText->setText(
      (pendingShown.size() != total
           ? GuiText(platform::TrFormatN("{1} of {2} game", "{1} of {2} games", total, {shownCount, totalCount}))
           : GuiText(platform::TrFormatN("{1} game", "{1} games", total, {shownCount})))
          .c_str());
  EnableActions();
}

bool CGamesWindow::FillMore(size_t count) {
  if (!window || IsFilled())
    return false;
  const size_t end = std::min(pendingShown.size(), filled + count);
  for (; filled < end; ++filled) {
    const GamesRow &cells = (*pendingRows)[pendingShown[filled]];
    const u32 row = table->addRow(u32(filled));
    table->setCellText(row, 0, cells.date.c_str());
    table->setCellText(row, 1, cells.colour.c_str());
    table->setCellText(row, 2, cells.opponent.c_str());
    table->setCellText(row, 3, cells.result.c_str());
    table->setCellText(row, 4, cells.opening.c_str());
  }
  return true;
}

void CGamesWindow::SelectRow(s32 row) {
  if (!window)
    return;
  if (row >= 0 && size_t(row) >= filled)
    FillMore(size_t(row) + 1 - filled);
  table->setSelected(row);
  EnableActions();
}

s32 CGamesWindow::GetSelectedRow() const { return table ? table->getSelected() : -1; }

int CGamesWindow::GetResultChoice() const { return resultBox ? std::max(0, resultBox->getSelected()) : 0; }

int CGamesWindow::GetLevelChoice() const { return levelBox ? std::max(0, levelBox->getSelected()) : 0; }

void CGamesWindow::EnableActions() {
  const bool chosen = GetSelectedRow() >= 0;
  openButton->setEnabled(chosen);
  reviewButton->setEnabled(chosen);
  deleteButton->setEnabled(chosen);
}

gui::IGUIButton *CGamesWindow::GetButton(s32 id) const {
  switch (id) {
  case ID_GAMES_OPEN:
    return openButton;
  case ID_GAMES_REVIEW:
    return reviewButton;
  case ID_GAMES_DELETE:
    return deleteButton;
  case ID_GAMES_CLOSE:
    return closeButton;
  default:
    return nullptr;
  }
}

void CGamesWindow::ShowRatings(const std::vector<double> &ratings, const std::vector<double> &levelRatings) {
  if (!window)
    return;
  noRatingText->setVisible(ratings.empty());
  if (ratings.empty()) {
    ratingText->setText(TrW("Rating").c_str());
  } else {
    const std::string text =
        platform::TrFormatN("Rating {1} after {2} rated game", "Rating {1} after {2} rated games", ratings.size(),
                            {std::to_string(int(ratings.back() + 0.5)), std::to_string(ratings.size())});
    ratingText->setText(GuiText(text).c_str());
  }
  if (video::IImage *image =
          app.driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(Px(GRAPH_WIDTH), Px(GRAPH_HEIGHT)))) {
    CRatingGraph::Draw(image, ratings, levelRatings);
    SetGraphPicture(image);
    image->drop();
  }
}

void CGamesWindow::SetGraphPicture(video::IImage *image) {
  video::ITexture *old = graphTexture;
  // A new name each time: the driver keeps textures by name.
  const std::string name = "games-rating-graph-" + std::to_string(++pictureCount);
  graphTexture = app.driver->addTexture(name.c_str(), image);
  graph->setImage(graphTexture);
  if (old)
    app.driver->removeTexture(old);
}

void CGamesWindow::ShowScores(const std::vector<std::wstring> &lines) {
  if (!window)
    return;
  std::wstring text;
  for (const std::wstring &line : lines)
    text += (text.empty() ? L"" : L"\n") + line;
  scoresText->setText(lines.empty() ? TrW("No games against the engine yet").c_str() : text.c_str());
}
