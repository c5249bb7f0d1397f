#include "ui/CReviewWindow.h"

#include "app/CApplication.h"
#include "ui/CReviewGraph.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

#include <algorithm>
#include <cstdio>

using namespace irr;

namespace {

const s32 MARGIN = 10;
const s32 TOP = 30;         // under the menu bar
const s32 MAX_HEIGHT = 620; // enough for the graph, the figures and 20 moves
const s32 BOTTOM_ROOM = 50; // the camera buttons and the status line
const s32 PROGRESS_Y = 28;  // the progress line, then its bar
const s32 BAR_Y = 46;
const s32 BAR_HEIGHT = 8;
const s32 GRAPH_Y = 60;
const s32 SUMMARY_Y = GRAPH_Y + CReviewWindow::GRAPH_HEIGHT + 6;
const s32 MOVE_TEXT_Y = SUMMARY_Y + 60; // four lines: each side's accuracy and marks
const s32 LIST_Y = MOVE_TEXT_Y + 34;    // two lines: the move and the better one
const s32 BUTTON_HEIGHT = 26;
const video::SColor BAR_BACK(255, 70, 70, 70);
const video::SColor BAR_FILL(255, 60, 170, 80);
const video::SColor MARKER(255, 40, 120, 230);

// A count in the interface language's form for it ("1 mistake", "2 mistakes").
std::wstring TrCount(int count, const char *one, const char *many) {
  return GuiText(platform::TrFormatN(one, many, static_cast<unsigned long>(count), {std::to_string(count)})).c_str();
}

std::wstring OneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return GuiText(text).c_str();
}

} // namespace

std::wstring CReviewWindow::SideText(const chess::SideSummary &side, bool white) {
  if (side.moves == 0)
    return TrW(white ? platform::NoTr("White: no move") : platform::NoTr("Black: no move")).c_str();
  return TrFormatW(white ? platform::NoTr("White: accuracy {1}") : platform::NoTr("Black: accuracy {1}"),
                   {Utf8(OneDecimal(side.accuracy))})
             .c_str() +
         std::wstring(L"\n    ") + TrCount(side.inaccuracies, "{1} inaccuracy", "{1} inaccuracies") + L", " +
         TrCount(side.mistakes, "{1} mistake", "{1} mistakes") + L", " +
         TrCount(side.blunders, "{1} blunder", "{1} blunders");
}

std::wstring CReviewWindow::RowText(const chess::CGameAnalysis &analysis, const chess::GameReview *review, size_t ply) {
  const chess::Position &before = analysis.PositionAt(ply);
  std::string text =
      std::to_string(before.GetFullMoveNumber()) + (before.GetSideToMove() == chess::White ? ". " : "... ");
  text += analysis.SanAt(ply);
  if (review && review->ok && ply < review->moves.size())
    text += chess::MarkSuffix(review->moves[ply].mark);
  if (analysis.IsJudged(ply + 1) && analysis.PositionAt(ply + 1).HasLegalMove())
    text += "    " + chess::FormatEvaluation(analysis.FindingAt(ply + 1).eval);
  return GuiText(text).c_str();
}

void CReviewWindow::Open(const std::wstring &caption, const chess::CGameAnalysis &analysis) {
  Close();
  gui::IGUIEnvironment *env = app.guiEnvironment;
  const s32 height =
      std::max(Px(LIST_Y + 120), std::min(Px(MAX_HEIGHT), app.windowSize.Height - Px(TOP + BOTTOM_ROOM)));
  const s32 right = app.windowSize.Width - Px(MARGIN);
  window = env->addWindow(core::rect<s32>(right - Px(WIDTH), Px(TOP), right, Px(TOP) + height), false, caption.c_str(),
                          nullptr, ID_REVIEW_WINDOW);
  // Left through its Close button, so that the board is given back to the game.
  window->getCloseButton()->setVisible(false);
  positions = analysis.PositionCount();

  progressText =
      env->addStaticText(L"", Px(core::rect<s32>(MARGIN, PROGRESS_Y, WIDTH - MARGIN, BAR_Y - 2)), false, false, window);
  gui::IGUIStaticText *barBack = env->addStaticText(
      L"", Px(core::rect<s32>(MARGIN, BAR_Y, WIDTH - MARGIN, BAR_Y + BAR_HEIGHT)), false, false, window);
  barBack->setBackgroundColor(BAR_BACK);
  barBack->setDrawBackground(true);
  progressFill = env->addStaticText(L"", core::rect<s32>(0, 0, 0, Px(BAR_HEIGHT)), false, false, barBack);
  progressFill->setBackgroundColor(BAR_FILL);
  progressFill->setDrawBackground(true);

  const s32 graphX = (WIDTH - GRAPH_WIDTH) / 2;
  graph = env->addImage(Px(core::rect<s32>(graphX, GRAPH_Y, graphX + GRAPH_WIDTH, GRAPH_Y + GRAPH_HEIGHT)), window);
  graph->setScaleImage(false);
  graphMarker = env->addStaticText(L"", core::rect<s32>(0, 0, Px(2), Px(GRAPH_HEIGHT)), false, false, graph);
  graphMarker->setBackgroundColor(MARKER);
  graphMarker->setDrawBackground(true);

  summary = env->addStaticText(L"", Px(core::rect<s32>(MARGIN, SUMMARY_Y, WIDTH - MARGIN, MOVE_TEXT_Y - 2)), false,
                               true, window);
  moveText = env->addStaticText(L"", Px(core::rect<s32>(MARGIN, MOVE_TEXT_Y, WIDTH - MARGIN, LIST_Y - 4)), false, true,
                                window);
  list = env->addListBox(
      core::rect<s32>(Px(MARGIN), Px(LIST_Y), Px(WIDTH - MARGIN), height - Px(BUTTON_HEIGHT + 2 * MARGIN)), window,
      ID_REVIEW_MOVES, true);
  list->addItem(TrW("Start position").c_str());
  for (size_t ply = 0; ply < analysis.Plies(); ++ply)
    list->addItem(RowText(analysis, nullptr, ply).c_str());

  const s32 buttonY = height - Px(BUTTON_HEIGHT + MARGIN), buttonWidth = Px((WIDTH - 4 * MARGIN) / 3);
  auto button = [&](int i, s32 id, const char *text) {
    const s32 x = Px(MARGIN) + i * (buttonWidth + Px(MARGIN));
    return env->addButton(core::rect<s32>(x, buttonY, x + buttonWidth, buttonY + Px(BUTTON_HEIGHT)), window, id,
                          TrW(text).c_str());
  };
  cancelButton = button(0, ID_REVIEW_CANCEL, platform::NoTr("Cancel"));
  saveButton = button(1, ID_REVIEW_SAVE, platform::NoTr("Save..."));
  button(2, ID_REVIEW_CLOSE, platform::NoTr("Close"));
  ShowFindings(analysis, nullptr);
}

void CReviewWindow::Close() {
  if (window)
    window->remove();
  window = nullptr;
  progressText = progressFill = summary = moveText = graphMarker = nullptr;
  graph = nullptr;
  list = nullptr;
  cancelButton = saveButton = nullptr;
  if (graphTexture && app.driver)
    app.driver->removeTexture(graphTexture);
  graphTexture = nullptr;
}

void CReviewWindow::ShowProgress(size_t judged, size_t total, const std::wstring &text) {
  if (!window)
    return;
  progressText->setText(text.c_str());
  const s32 width = progressFill->getParent()->getRelativePosition().getWidth();
  const s32 filled = total == 0 ? width : s32(double(width) * double(std::min(judged, total)) / double(total));
  progressFill->setRelativePosition(
      core::rect<s32>(0, 0, filled, progressFill->getParent()->getRelativePosition().getHeight()));
}

void CReviewWindow::SetRunning(bool running, bool reviewed) {
  if (!window)
    return;
  cancelButton->setEnabled(running);
  saveButton->setEnabled(reviewed);
}

void CReviewWindow::ShowFindings(const chess::CGameAnalysis &analysis, const chess::GameReview *review) {
  if (!window)
    return;
  std::vector<double> whiteWin;
  std::vector<bool> known;
  for (size_t i = 0; i < analysis.PositionCount(); ++i) {
    known.push_back(analysis.IsJudged(i));
    whiteWin.push_back(known.back() ? chess::WinPercent(analysis.FindingAt(i).eval) : 50);
  }
  std::vector<chess::MoveMark> marks;
  if (review && review->ok)
    for (const chess::MoveReview &move : review->moves)
      marks.push_back(move.mark);
  if (video::IImage *image = app.driver->createImage(
          video::ECF_A8R8G8B8,
          core::dimension2d<u32>(graph->getRelativePosition().getWidth(), graph->getRelativePosition().getHeight()))) {
    CReviewGraph::Draw(image, whiteWin, known, marks);
    SetGraphPicture(image);
    image->drop();
  }
  for (size_t ply = 0; ply < analysis.Plies() && ply + 1 < list->getItemCount(); ++ply)
    list->setItem(u32(ply + 1), RowText(analysis, review, ply).c_str(), -1);
  if (review && review->ok)
    summary->setText(
        (SideText(review->sides[chess::White], true) + L"\n" + SideText(review->sides[chess::Black], false)).c_str());
}

void CReviewWindow::SetGraphPicture(video::IImage *image) {
  video::ITexture *old = graphTexture;
  // A new name each time: the driver keeps textures by name.
  const std::string name = "review-graph-" + std::to_string(++pictureCount);
  graphTexture = app.driver->addTexture(name.c_str(), image);
  graph->setImage(graphTexture);
  if (old)
    app.driver->removeTexture(old);
}

void CReviewWindow::ShowPosition(size_t position, const std::wstring &text) {
  if (!window)
    return;
  if (position < list->getItemCount())
    list->setSelected(s32(position));
  const core::rect<s32> area = graph->getRelativePosition();
  const s32 x = CReviewGraph::XOfPosition(position, area.getWidth(), positions);
  graphMarker->setRelativePosition(
      core::rect<s32>(std::max(0, x - 1), 0, std::max(0, x - 1) + Px(2), area.getHeight()));
  moveText->setText(text.c_str());
}

bool CReviewWindow::GraphHit(const core::position2d<s32> &point, size_t &position) const {
  if (!graph || !window->isVisible() || !graph->getAbsolutePosition().isPointInside(point))
    return false;
  position = CReviewGraph::PositionAtX(point.X - graph->getAbsolutePosition().UpperLeftCorner.X,
                                       graph->getAbsolutePosition().getWidth(), positions);
  return true;
}
