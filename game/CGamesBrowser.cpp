#include "game/CGamesBrowser.h"

#include "app/CApplication.h"
#include "chess/CPgnReader.h"
#include "engine/LevelRatings.h"
#include "platform/Platform.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"

#include <algorithm>
#include <map>

using namespace irr;

namespace {

const int LEVEL_COUNT = 8;
const int PAGE_ROWS = 10; // Page Up and Page Down move this many rows

// Widened as GuiText does; plain ASCII, the most of a row, straight into a
// string of the right size: a row is five of these, a library thousands of
// rows.
std::wstring Wide(const std::string &text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80)
      return GuiText(text).c_str();
  std::wstring wide(text.size(), L' ');
  for (size_t i = 0; i < text.size(); ++i)
    wide[i] = wchar_t(static_cast<unsigned char>(text[i]));
  return wide;
}

// How the game is named to the review and the log.
std::string SourceOf(const GameEntry &game) { return "the games library (game " + std::to_string(game.id) + ")"; }

void Tell(const std::string &text) {
  app.gui.ShowMessageBox(TrW("Games").c_str(), GuiText(text).c_str(), gui::EMBF_OK, -1);
}

// A game's source as the player reads it.
std::string ShownSourceOf(const GameEntry &game) {
  return platform::TrFormat("the games library (game {1})", {std::to_string(game.id)});
}

} // namespace

GameOutcome CGamesBrowser::OutcomeOf(const GameEntry &game) {
  if (game.result == "1/2-1/2")
    return GameOutcome::Draw;
  const bool black = game.side == PlayerSide::Black;
  if (game.result == "1-0")
    return black ? GameOutcome::Loss : GameOutcome::Win;
  if (game.result == "0-1")
    return black ? GameOutcome::Win : GameOutcome::Loss;
  return GameOutcome::Unfinished;
}

bool CGamesBrowser::Matches(const GameEntry &game, ResultFilter result, const std::optional<int> &level) {
  if (level && game.level != level)
    return false;
  switch (result) {
  case ResultFilter::Wins:
    return OutcomeOf(game) == GameOutcome::Win;
  case ResultFilter::Losses:
    return OutcomeOf(game) == GameOutcome::Loss;
  case ResultFilter::Draws:
    return OutcomeOf(game) == GameOutcome::Draw;
  case ResultFilter::All:
    break;
  }
  return true;
}

std::vector<LevelScore> CGamesBrowser::ScoresByLevel(const std::vector<GameEntry> &games) {
  std::map<int, LevelScore> byLevel;
  for (const GameEntry &game : games) {
    if (!game.level || game.side == PlayerSide::Both)
      continue; // no engine on the other side
    LevelScore &score = byLevel[*game.level];
    score.level = *game.level;
    switch (OutcomeOf(game)) {
    case GameOutcome::Win:
      ++score.wins;
      break;
    case GameOutcome::Draw:
      ++score.draws;
      break;
    case GameOutcome::Loss:
      ++score.losses;
      break;
    case GameOutcome::Unfinished:
      ++score.unfinished;
      break;
    }
  }
  std::vector<LevelScore> scores;
  for (const auto &entry : byLevel)
    scores.push_back(entry.second);
  return scores;
}

std::wstring CGamesBrowser::ScoreText(const LevelScore &score) {
  const std::string name = Utf8(CPlayerSettings::LevelName(score.level));
  std::string text =
      platform::TrFormat("Level {1}: ", {std::to_string(score.level) + (name.empty() ? "" : " " + name)});
  const int finished = score.Finished();
  if (finished == 0) {
    text += platform::Tr("no finished game");
  } else {
    // Points in half points, so that the percentage is rounded down exactly.
    const int percent = (200 * score.wins + 100 * score.draws) / (2 * finished);
    text += platform::TrFormatN("{1} game, +{2} ={3} -{4}, {5}%", "{1} games, +{2} ={3} -{4}, {5}%",
                                static_cast<unsigned long>(finished),
                                {std::to_string(finished), std::to_string(score.wins), std::to_string(score.draws),
                                 std::to_string(score.losses), std::to_string(percent)});
  }
  if (score.unfinished > 0)
    text += platform::TrFormat(" ({1} unfinished)", {std::to_string(score.unfinished)});
  return GuiText(text).c_str();
}

std::vector<double> CGamesBrowser::RatingSeries(const std::vector<GameEntry> &newestFirst) {
  std::vector<double> series;
  for (auto game = newestFirst.rbegin(); game != newestFirst.rend(); ++game)
    if (game->rated && game->ratingAfter)
      series.push_back(*game->ratingAfter);
  return series;
}

GamesRow CGamesBrowser::RowOf(const GameEntry &game) {
  GamesRow row;
  // The PGN date ("2026.05.01") as ISO writes it; an unknown one from the time it was stored.
  std::string date =
      game.date.empty() || game.date.find('?') != std::string::npos ? game.storedAt.substr(0, 10) : game.date;
  std::replace(date.begin(), date.end(), '.', '-');
  row.date = Wide(date);
  row.colour = TrW(game.side == PlayerSide::White   ? platform::NoTr("White")
                   : game.side == PlayerSide::Black ? platform::NoTr("Black")
                                                    : platform::NoTr("Both"))
                   .c_str();
  row.opponent = Wide(game.opponent);
  if (game.result == "*")
    row.result = Wide(platform::Tr(game.reason.empty() ? platform::NoTr("unfinished") : game.reason.c_str()));
  else
    row.result = Wide(game.reason.empty() ? game.result : game.result + " (" + platform::Tr(game.reason.c_str()) + ")");
  row.opening = Wide(game.opening);
  return row;
}

std::wstring CGamesBrowser::DeleteQuestion(const GameEntry &game) {
  return TrFormatW("Delete the game of {1} against {2}?", {Utf8(RowOf(game).date), game.opponent}).c_str();
}

void CGamesBrowser::Update() {
  if (!IsOpen())
    return;
  if (refocus && !deleteQuestion)
    app.guiEnvironment->setFocus(window.GetTable());
  refocus = false;
  if (app.windowSize != builtForSize) {
    const s32 row = window.GetSelectedRow();
    Build();
    window.SelectRow(row);
  }
  // The rest of a long list, a part each frame.
  if (window.FillMore(CGamesWindow::ROWS_A_FRAME))
    app.framePacer.RequestFrame();
}

void CGamesBrowser::Show() {
  const uint32_t started = platform::GetTickCount();
  std::string error;
  const bool read = ReadLibrary(error);
  Build();
  LogMessage("games window: " + std::to_string(listed.size()) + " games listed in " +
             std::to_string(platform::GetTickCount() - started) + " ms");
  if (!read) {
    LogMessage("games window: " + error);
    Tell(platform::TrFormat("The games library could not be read:\n{1}", {error}));
  }
}

void CGamesBrowser::Close() {
  TakeQuestion(true);
  window.Close();
}

long long CGamesBrowser::TakeQuestion(bool removeBox) {
  if (deleteQuestion) {
    if (removeBox && deleteQuestion->getParent()) {
      deleteQuestion->remove(); // its modal screen goes with it, and then lets the focus go
      ReleaseFocusWithin(app.guiEnvironment, deleteQuestion);
    }
    deleteQuestion->drop();
    // The box's modal screen keeps the focus while it is there: the table
    // takes it back at once, or (the box closing itself) in the next Update.
    refocus = !removeBox;
    if (removeBox && IsOpen())
      app.guiEnvironment->setFocus(window.GetTable());
  }
  deleteQuestion = nullptr;
  const long long id = askedToDelete;
  askedToDelete = 0;
  return id;
}

bool CGamesBrowser::ReadGames(CGamesLibrary &library, const std::string &path, std::vector<GameEntry> &games,
                              std::vector<GamesRow> &rows, std::string &error, std::string &notice) {
  games.clear();
  rows.clear();
  notice.clear();
  if (path.empty()) {
    error = "no data folder (neither XDG_DATA_HOME nor HOME is set)";
    return false;
  }
  const bool ok = library.Open(path, error, notice) && library.ListWithoutPgn(games, error);
  library.Close();
  rows.reserve(games.size());
  for (const GameEntry &game : games)
    rows.push_back(RowOf(game));
  return ok;
}

bool CGamesBrowser::ReadLibrary(std::string &error) {
  std::string notice;
  const bool ok = ReadGames(library, CGameKeeper::LibraryPath(), games, rows, error, notice);
  if (!notice.empty()) {
    LogMessage("games library: " + notice);
    Tell(notice);
  }
  return ok;
}

void CGamesBrowser::Build() {
  window.Open(int(resultFilter), levelFilter.value_or(0));
  builtForSize = app.windowSize;
  Fill();
}

void CGamesBrowser::Fill() {
  ShowListed();
  std::vector<double> levelRatings;
  for (int level = 1; level <= LEVEL_COUNT; ++level)
    levelRatings.push_back(RatingOfLevel(level).rating);
  window.ShowRatings(RatingSeries(games), levelRatings);
  std::vector<std::wstring> lines;
  for (const LevelScore &score : ScoresByLevel(games))
    lines.push_back(ScoreText(score));
  window.ShowScores(lines);
}

void CGamesBrowser::ShowListed() {
  listed.clear();
  for (size_t i = 0; i < games.size(); ++i)
    if (Matches(games[i], resultFilter, levelFilter))
      listed.push_back(i);
  window.ShowRows(rows, listed, games.size());
  window.SelectRow(listed.empty() ? -1 : 0);
}

void CGamesBrowser::SetFilter(ResultFilter result, std::optional<int> level) {
  resultFilter = result;
  levelFilter = level;
  if (!IsOpen())
    return;
  if (window.GetResultChoice() != int(result))
    window.GetResultBox()->setSelected(int(result));
  if (window.GetLevelChoice() != level.value_or(0))
    window.GetLevelBox()->setSelected(level.value_or(0));
  ShowListed();
}

void CGamesBrowser::SelectRow(s32 row) { window.SelectRow(row >= 0 && size_t(row) < listed.size() ? row : -1); }

const GameEntry *CGamesBrowser::Chosen() const {
  const s32 row = window.GetSelectedRow();
  return row >= 0 && size_t(row) < listed.size() ? &games[listed[size_t(row)]] : nullptr;
}

bool CGamesBrowser::ReadChosen(GameEntry &entry) {
  const GameEntry *chosen = Chosen();
  if (!chosen)
    return false;
  std::string error, notice;
  const bool read = library.Open(CGameKeeper::LibraryPath(), error, notice) && library.Get(chosen->id, entry, error);
  library.Close();
  if (!read) {
    Tell(error.empty() ? platform::Tr("The game is no longer in the library.")
                       : platform::TrFormat("The game could not be read:\n{1}", {error}));
    return false;
  }
  return true;
}

bool CGamesBrowser::OpenChosen() {
  GameEntry entry;
  if (!ReadChosen(entry))
    return false;
  Close();
  // As a file is opened: a finished game shows its end, an unfinished one
  // asks which side the player takes on.
  return app.gameFiles.OpenText(entry.pgn, SourceOf(entry));
}

bool CGamesBrowser::ReviewChosen() {
  GameEntry entry;
  if (!ReadChosen(entry))
    return false;
  chess::PgnGame game;
  chess::PgnError fault;
  if (!chess::CPgnReader::Read(entry.pgn, game, fault)) {
    Tell(platform::TrFormat("Cannot review {1}\nline {2}: {3}",
                            {ShownSourceOf(entry), std::to_string(fault.line), fault.reason}));
    return false;
  }
  Close();
  // The game on the board waits meanwhile and comes back when the review closes.
  return app.review.Open(game, SourceOf(entry));
}

void CGamesBrowser::AskDelete() {
  const GameEntry *chosen = Chosen();
  if (!chosen)
    return;
  TakeQuestion(true);
  askedToDelete = chosen->id;
  deleteQuestion = app.gui.ShowMessageBox(TrW("Delete Game").c_str(), DeleteQuestion(*chosen).c_str(),
                                          gui::EMBF_YES | gui::EMBF_NO, ID_GAMES_DELETE_BOX);
  if (deleteQuestion)
    deleteQuestion->grab(); // the box may go before the browser hears of it
}

bool CGamesBrowser::DeleteGame(long long id) {
  if (id == 0)
    return false;
  std::string error, notice;
  const bool deleted = library.Open(CGameKeeper::LibraryPath(), error, notice) && library.Delete(id, error);
  library.Close();
  if (!deleted) {
    LogMessage("games window: game " + std::to_string(id) + " not deleted: " + error);
    Tell(platform::TrFormat("The game was not deleted:\n{1}", {error}));
    return false;
  }
  LogMessage("games window: game " + std::to_string(id) + " deleted");
  if (!IsOpen())
    return true;
  // Read again (another copy of the game may have added games meanwhile);
  // the row that took the deleted one's place is chosen.
  const s32 row = window.GetSelectedRow();
  ReadLibrary(error);
  Fill();
  SelectRow(std::min(row, s32(listed.size()) - 1));
  return true;
}

void CGamesBrowser::MoveSelection(int by, bool toEnd) {
  if (listed.empty())
    return;
  const int last = int(listed.size()) - 1;
  const int row = toEnd ? (by < 0 ? 0 : last) : std::clamp(window.GetSelectedRow() + by, 0, last);
  SelectRow(row);
  // The table scrolls with its scroll bar only: keep the chosen row in sight.
  gui::IGUITable *table = window.GetTable();
  const s32 rowHeight = s32(app.guiEnvironment->getSkin()->getFont()->getDimension(L"A").Height) + 4;
  for (gui::IGUIElement *child : table->getChildren()) {
    if (child->getType() != gui::EGUIET_SCROLL_BAR || !child->isVisible())
      continue;
    auto *bar = static_cast<gui::IGUIScrollBar *>(child);
    if (bar->getAbsolutePosition().getHeight() < bar->getAbsolutePosition().getWidth())
      continue; // the horizontal one
    const s32 visible = table->getAbsolutePosition().getHeight() - 2 * rowHeight;
    const s32 top = row * rowHeight, pos = bar->getPos();
    if (top < pos)
      bar->setPos(top);
    else if (top + rowHeight > pos + visible)
      bar->setPos(top + rowHeight - visible);
  }
}

bool CGamesBrowser::OnGuiEvent(const SEvent::SGUIEvent &event) {
  const s32 id = event.Caller ? event.Caller->getID() : -1;
  if ((event.EventType == gui::EGET_MESSAGEBOX_YES || event.EventType == gui::EGET_MESSAGEBOX_NO) &&
      id == ID_GAMES_DELETE_BOX) {
    const long long id = TakeQuestion(false); // the box closes itself
    if (event.EventType == gui::EGET_MESSAGEBOX_YES)
      DeleteGame(id);
    return false;
  }
  if (!IsOpen())
    return false;
  switch (event.EventType) {
  case gui::EGET_COMBO_BOX_CHANGED:
    if (id != ID_GAMES_RESULT && id != ID_GAMES_LEVEL)
      return false;
    SetFilter(ResultFilter(window.GetResultChoice()),
              window.GetLevelChoice() == 0 ? std::nullopt : std::optional<int>(window.GetLevelChoice()));
    return true;
  case gui::EGET_TABLE_CHANGED:
  case gui::EGET_TABLE_SELECTED_AGAIN:
    if (id != ID_GAMES_TABLE)
      return false;
    SelectRow(window.GetSelectedRow()); // the buttons follow the choice
    return true;
  case gui::EGET_BUTTON_CLICKED:
    switch (id) {
    case ID_GAMES_OPEN:
      OpenChosen();
      return true;
    case ID_GAMES_REVIEW:
      ReviewChosen();
      return true;
    case ID_GAMES_DELETE:
      AskDelete();
      return true;
    case ID_GAMES_CLOSE:
      Close();
      return true;
    default:
      return false;
    }
  default:
    return false;
  }
}

bool CGamesBrowser::OnDoubleClick(const core::position2d<s32> &point) {
  if (!IsOpen() || !Chosen())
    return false;
  const core::rect<s32> table = window.GetTable()->getAbsolutePosition();
  const s32 headerBottom =
      table.UpperLeftCorner.Y + s32(app.guiEnvironment->getSkin()->getFont()->getDimension(L"A").Height) + 4;
  if (!table.isPointInside(point) || point.Y <= headerBottom)
    return false;
  OpenChosen();
  return true;
}

bool CGamesBrowser::OnKey(const SEvent::SKeyInput &key) {
  if (!key.PressedDown || key.Control)
    return false;
  // The question before a delete: Enter is Yes, Escape No (as the resume question).
  if (deleteQuestion && (key.Key == KEY_RETURN || key.Key == KEY_ESCAPE)) {
    const long long id = TakeQuestion(true);
    if (key.Key == KEY_RETURN)
      DeleteGame(id);
    return true;
  }
  if (!IsOpen())
    return false;
  gui::IGUIElement *focus = app.guiEnvironment->getFocus();
  // A message box above the window (the delete question) takes the keys.
  if (focus && !IsInsideElement(focus, window.GetWindow()))
    return false;
  if (key.Key == KEY_ESCAPE) {
    Close();
    return true;
  }
  // The filters' lists and the buttons use the keys themselves.
  if (focus && focus != window.GetTable())
    return false;
  switch (key.Key) {
  case KEY_UP:
    MoveSelection(-1, false);
    return true;
  case KEY_DOWN:
    MoveSelection(1, false);
    return true;
  case KEY_PRIOR:
    MoveSelection(-PAGE_ROWS, false);
    return true;
  case KEY_NEXT:
    MoveSelection(PAGE_ROWS, false);
    return true;
  case KEY_HOME:
    MoveSelection(-1, true);
    return true;
  case KEY_END:
    MoveSelection(1, true);
    return true;
  case KEY_RETURN:
    OpenChosen();
    return true;
  case KEY_DELETE:
    AskDelete();
    return true;
  default:
    return false;
  }
}
