#include "game/CGameReview.h"

#include "app/CApplication.h"
#include "chess/CPgnReader.h"
#include "platform/Platform.h"
#include "platform/ProgramFolders.h"
#include "ui/CEvalBar.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

#include <algorithm>
#include <cstdio>

using namespace irr;

namespace {

const s32 BAR_LEFT = 10, BAR_TOP = 40, BAR_WIDTH = 26;
const f32 BAR_SHARE_OF_HEIGHT = 0.6f;

std::string BaseName(const std::string &path) { return path.substr(path.rfind('/') + 1); }

// Where a reviewed game came from, as the player reads it: a file by its
// name, the game on the board or in the library in the interface language.
std::string ShownSource(const std::string &from) {
  if (from.find('/') != std::string::npos)
    return BaseName(from);
  const std::string library = "the games library (game ";
  if (from.compare(0, library.size(), library) == 0 && from.back() == ')')
    return platform::TrFormat("the games library (game {1})",
                              {from.substr(library.size(), from.size() - library.size() - 1)});
  return platform::Tr(from.c_str());
}

} // namespace

void CGameReview::Update() {
  if (!pendingPath.empty() && app.game.GetState() != Startup) {
    const std::string path = pendingPath;
    pendingPath.clear();
    std::string text, error;
    chess::PgnGame fileGame;
    chess::PgnError pgnError;
    if (!platform::ReadSmallFile(path, chess::CPgnReader::MAX_FILE_BYTES, text, error)) {
      pgnError.reason = error;
    } else if (chess::CPgnReader::Read(text, fileGame, pgnError)) {
      Open(fileGame, path);
      return;
    }
    LogMessage("review of " + path + " refused: line " + std::to_string(pgnError.line) + ": " + pgnError.reason);
    app.gui.ShowMessageBox(
        TrW("Review").c_str(),
        TrFormatW("Cannot review {1}\nline {2}: {3}", {path, std::to_string(pgnError.line), pgnError.reason}).c_str(),
        gui::EMBF_OK, -1);
  }
  if (run.GetStatus() != CAnalysisRun::Status::Running)
    return;
  const CAnalysisRun::Status status = run.Step(platform::GetTickCount());
  if (run.Judged() != judgedShown) {
    judgedShown = run.Judged();
    app.framePacer.RequestFrame(); // one frame shows the progress
    window.ShowFindings(run.Analysis(), nullptr);
    ShowPosition(shown); // the evaluation bar may now know the position shown
  }
  if (status == CAnalysisRun::Status::Running) {
    ShowProgress();
  } else {
    Finish();
    app.framePacer.RequestFrame();
  }
}

void CGameReview::Exit() {
  run.Cancel();
  window.Close();
}

bool CGameReview::ReviewCurrentGame() {
  if (app.game.GetRecord().GetPlyCount() == 0) {
    app.gui.ShowMessageBox(TrW("Review").c_str(), TrW("There is no move to review yet.").c_str(), gui::EMBF_OK, -1);
    return false;
  }
  if (!app.game.CanReview()) {
    app.gui.ShowMessageBox(TrW("Review").c_str(),
                           TrW("The engine is to move: review the game on your move or once it has ended.").c_str(),
                           gui::EMBF_OK, -1);
    return false;
  }
  return Open(app.gameFiles.CurrentGame(), platform::NoTr("the game on the board"));
}

bool CGameReview::Open(const chess::PgnGame &reviewed, const std::string &from) {
  chess::CGameAnalysis analysis;
  std::string error;
  if (!analysis.Start(reviewed, error)) {
    LogMessage("review of " + from + " refused: " + error);
    app.gui.ShowMessageBox(TrW("Review").c_str(),
                           TrFormatW("Cannot review {1}:\n{2}", {ShownSource(from), error}).c_str(), gui::EMBF_OK, -1);
    return false;
  }
  Close();
  const long long nodes = app.settings.Get().reviewNodes;
  if (!run.Start(analysis, platform::EngineProgramPath(), nodes, platform::GetTickCount(), error)) {
    LogMessage("review of " + from + " cannot start its engine: " + error);
    app.gui.ShowMessageBox(TrW("Review").c_str(),
                           TrFormatW("The engine for the review cannot be started:\n{1}", {error}).c_str(),
                           gui::EMBF_OK, -1);
    return false;
  }
  game = reviewed;
  source = from;
  review = chess::GameReview();
  judgedShown = run.Judged();
  LogMessage("review of " + from + ": " + std::to_string(analysis.Plies()) + " plies, " + std::to_string(nodes) +
             " nodes a position");

  app.hint.Clear();
  gui::IGUIStaticText *banner = app.gui.GetBannerText();
  bannerWasVisible = banner && banner->isVisible();
  app.gui.SetBannerVisible(false); // the banner would cover the board being reviewed
  window.Open(TrFormatW("Review: {1}", {ShownSource(from)}).c_str(), analysis);
  window.SetRunning(true, false);
  const s32 barHeight = s32(app.windowSize.Height * BAR_SHARE_OF_HEIGHT);
  evalBar = new CEvalBar(app.guiEnvironment, app.guiEnvironment->getRootGUIElement(), -1,
                         core::rect<s32>(Px(BAR_LEFT), Px(BAR_TOP), Px(BAR_LEFT + BAR_WIDTH), Px(BAR_TOP) + barHeight));
  evalBar->drop(); // the interface's root keeps it
  // The board is framed between the bar and the window.
  if (gui::IGUIWindow *side = window.GetWindow())
    app.cameraRig.SetSideRoom(Px(BAR_LEFT + BAR_WIDTH),
                              app.windowSize.Width - side->getAbsolutePosition().UpperLeftCorner.X);
  board.Begin(analysis);
  shown = analysis.Plies();
  ShowPosition(shown);
  ShowProgress();
  if (run.GetStatus() == CAnalysisRun::Status::Done)
    Finish(); // every position was judged by the rules (a game ended before it began)
  return true;
}

void CGameReview::Cancel() {
  if (run.GetStatus() != CAnalysisRun::Status::Running)
    return;
  run.Cancel();
  LogMessage("review cancelled after " + std::to_string(run.Judged()) + " of " + std::to_string(run.Total()) +
             " positions");
  ShowProgress();
  window.SetRunning(false, false);
}

void CGameReview::Close() {
  if (!IsOpen())
    return;
  Cancel();
  window.Close();
  if (evalBar)
    evalBar->remove();
  evalBar = nullptr;
  app.cameraRig.SetSideRoom(0, 0);
  board.End(app.game.GetRecord());
  if (bannerWasVisible && app.game.IsGameOver())
    app.gui.SetBannerVisible(true);
  review = chess::GameReview();
}

chess::PgnGame CGameReview::AnnotatedGame() const {
  chess::PgnGame annotated = game;
  run.Analysis().Annotate(annotated, review);
  return annotated;
}

void CGameReview::Save() {
  if (review.ok)
    app.gameFiles.SaveGame(AnnotatedGame(), TrW("Save Review").c_str());
}

void CGameReview::Finish() {
  if (run.GetStatus() == CAnalysisRun::Status::Done) {
    review = run.Analysis().Review();
    if (review.ok)
      LogMessage(chess::CGameAnalysis::SummaryLine(review, run.Analysis().Plies(), run.ElapsedMs()));
    else
      LogMessage("review failed: " + review.error);
  } else if (run.GetStatus() == CAnalysisRun::Status::Failed) {
    LogMessage("review failed: " + run.Error());
  }
  window.ShowFindings(run.Analysis(), review.ok ? &review : nullptr);
  window.SetRunning(false, review.ok);
  ShowProgress();
  ShowPosition(shown);
}

void CGameReview::ShowProgress() {
  const size_t judged = run.Judged(), total = run.Total();
  std::string text;
  switch (run.GetStatus()) {
  case CAnalysisRun::Status::Running:
    text = platform::TrFormat("Analysing: {1} of {2} positions", {std::to_string(judged), std::to_string(total)});
    break;
  case CAnalysisRun::Status::Done: {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", run.ElapsedMs() / 1000.0);
    text = platform::TrFormat("Reviewed {1} positions in {2} s", {std::to_string(total), seconds});
    break;
  }
  case CAnalysisRun::Status::Failed:
    text = platform::TrFormat("Analysis stopped: {1}", {run.Error()});
    break;
  default:
    text = platform::TrFormat("Analysis cancelled: {1} of {2} positions judged",
                              {std::to_string(judged), std::to_string(total)});
    break;
  }
  window.ShowProgress(judged, total, GuiText(text).c_str());
}

std::string CGameReview::PositionText(size_t index, bool translated) const {
  // The log keeps the English words; the window shows the player's language.
  const auto say = [translated](const char *msgid, std::initializer_list<std::string> args) {
    return translated ? platform::TrFormat(msgid, args) : platform::FillIn(msgid, args);
  };
  const chess::CGameAnalysis &analysis = run.Analysis();
  if (index == 0)
    return say("Start position", {});
  const size_t ply = index - 1;
  const chess::Position &before = analysis.PositionAt(ply);
  std::string text = std::to_string(before.GetFullMoveNumber()) +
                     (before.GetSideToMove() == chess::White ? ". " : "... ") + analysis.SanAt(ply);
  if (review.ok && ply < review.moves.size() && review.moves[ply].mark != chess::MoveMark::None) {
    static const char *const NAMES[] = {"", platform::NoTr("{1} is an inaccuracy"), platform::NoTr("{1} is a mistake"),
                                        platform::NoTr("{1} is a blunder")};
    text = say(NAMES[int(review.moves[ply].mark)], {text + chess::MarkSuffix(review.moves[ply].mark)});
    const std::string better = analysis.BetterMoveSan(review, ply);
    if (!better.empty())
      text += "\n" + say("Better was {1} ({2})", {better, chess::FormatEvaluation(analysis.FindingAt(ply).eval)});
  }
  return text;
}

void CGameReview::ShowPosition(size_t index) {
  if (!IsOpen())
    return;
  const chess::CGameAnalysis &analysis = run.Analysis();
  const size_t before = shown;
  shown = std::min(index, analysis.Plies());
  if (board.Shown() != shown)
    board.Show(shown);
  chess::Move better;
  const bool hasBetter = shown > 0 && analysis.BetterMove(review, shown - 1, better);
  board.ShowArrow(hasBetter ? &better : nullptr);
  if (evalBar)
    evalBar->SetEvaluation(analysis.IsJudged(shown), analysis.FindingAt(shown).eval);
  window.ShowPosition(shown, GuiText(PositionText(shown, true)).c_str());
  std::string text = PositionText(shown, false);
  std::replace(text.begin(), text.end(), '\n', ';');
  if (shown != before)
    LogMessage("review position " + std::to_string(shown) + ": " + text +
               (hasBetter ? " (arrow " + better.ToUci().substr(0, 4) + ")" : ""));
}

bool CGameReview::OnKey(const SEvent::SKeyInput &key) {
  if (!IsOpen() || !key.PressedDown)
    return false;
  const size_t last = run.Analysis().Plies();
  switch (key.Key) {
  case KEY_LEFT:
    ShowPosition(shown > 0 ? shown - 1 : 0);
    return true;
  case KEY_RIGHT:
    ShowPosition(shown + 1);
    return true;
  case KEY_HOME:
    ShowPosition(0);
    return true;
  case KEY_END:
    ShowPosition(last);
    return true;
  default:
    return false;
  }
}

bool CGameReview::OnGuiEvent(const SEvent::SGUIEvent &event) {
  const s32 id = event.Caller ? event.Caller->getID() : -1;
  if (event.EventType == gui::EGET_BUTTON_CLICKED && id == ID_BANNER_REVIEW) {
    ReviewCurrentGame();
    return true;
  }
  if (!IsOpen())
    return false;
  if (event.EventType == gui::EGET_BUTTON_CLICKED) {
    switch (id) {
    case ID_REVIEW_CANCEL:
      Cancel();
      return true;
    case ID_REVIEW_SAVE:
      Save();
      return true;
    case ID_REVIEW_CLOSE:
      Close();
      return true;
    default:
      return false;
    }
  }
  if ((event.EventType == gui::EGET_LISTBOX_CHANGED || event.EventType == gui::EGET_LISTBOX_SELECTED_AGAIN) &&
      id == ID_REVIEW_MOVES) {
    const s32 row = window.GetList()->getSelected();
    if (row >= 0)
      ShowPosition(size_t(row));
    return true;
  }
  return false;
}

bool CGameReview::OnLeftMouseDown(const core::position2d<s32> &point) {
  size_t position = 0;
  if (!IsOpen() || !window.GraphHit(point, position))
    return false;
  ShowPosition(position);
  return true;
}
