// The engine link: keeps the game's moves, speaks the reduced UCI with the
// engine program, turns its answers into board squares, and keeps the game
// going when the program dies, hangs or answers with a move it must not play.
#include "engine/CCEManager.h"

#include "app/CApplication.h"
#include "engine/CEngineReply.h"
#include "ui/GuiText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using irr::core::stringw;

namespace {

const char *const &ENGINE_PATH = platform::EngineProgramPath(); // follows the data folder
const uint32_t QUIT_GRACE_MS = 500;                             // time the engine gets to quit by itself at shut-down
const size_t READ_CHUNK = 4096;                                 // one read from the pipe
const size_t READ_LIMIT_PER_FRAME = 1 << 16;                    // a flood is taken over several frames
const uint32_t NOTICE_MS = 4000;                                // how long the status line says "Engine restarted"
const uint32_t FAULT_NOTICE_MS = 8000;                          // ... and the longer text on a broken answer

} // namespace

// --- Process --------------------------------------------------------------------

bool CCEManager::Init() {
  handshake.ClearInfo();
  hint.Forget();
  failure.Begin();
  watch.Timings().thinkMs = ThinkMsFromEnvironment();
  if (!Launch()) {
    const std::string why = strerror(errno);
    LogMessage(std::string("CCEManager::Init cannot start ") + ENGINE_PATH + ": " + why);
    Fail(CEngineFailure::Kind::Program, CEngineFailure::CannotRun(ENGINE_PATH, why, false));
  }
  return true; // the program runs without an engine too
}

bool CCEManager::Launch() {
  lineBuffer.Clear();
  watch.ClearFences();
  handshake.Begin();
  search.ClearCurrMoves();
  if (!process.Launch(ENGINE_PATH))
    return false;
  state = LinkState::Handshake;
  watch.HandshakeBegan(platform::GetTickCount());
  return true;
}

void CCEManager::StopProcess() {
  process.Kill(); // a broken engine gets no grace: its group is ended at once
  state = LinkState::Off;
  lineBuffer.Clear();
  watch.ClearFences();
}

void CCEManager::Exit() {
  if (!process.IsStarted())
    return;
  // Shut-down only: the engine gets its pause to quit by itself, then its group is ended.
  if (!process.Quit(QUIT_GRACE_MS))
    LogMessage("CCEManager::Exit WriteToEngine Error");
  state = LinkState::Off;
}

bool CCEManager::WriteToEngine(const char *text) { return text && *text && process.Write(text); }

// --- Watching ---------------------------------------------------------------------

void CCEManager::Update() {
  if (state == LinkState::Failed) {
    // Shown once the splash has gone, so that nothing covers the box.
    std::string message;
    if (app.game.GetState() != Startup && failure.TakeMessage(message))
      app.gui.ShowEngineMessage(GuiText(message).c_str());
    return;
  }
  if (state == LinkState::Off)
    return;

  char buffer[READ_CHUNK];
  size_t total = 0;
  bool drained = false;
  while (total < READ_LIMIT_PER_FRAME && state != LinkState::Off && state != LinkState::Failed) {
    const size_t count = process.Read(buffer, sizeof(buffer));
    if (count == 0) {
      drained = true;
      break;
    }
    total += count;
    const unsigned before = process.Generation();
    OnEngineBytes(buffer, count);
    if (process.Generation() != before)
      return; // the engine was replaced while its output was handled
  }
  if (state == LinkState::Off || state == LinkState::Failed)
    return;
  const std::string ended = process.EndReason(drained);
  if (!ended.empty())
    Restart(ended);
  else
    Watch();
}

void CCEManager::Watch() {
  if (state != LinkState::Handshake && state != LinkState::Ready)
    return;
  const std::string overdue = watch.Overdue(platform::GetTickCount(), state == LinkState::Handshake,
                                            state == LinkState::Ready && search.IsOwed());
  if (!overdue.empty())
    Restart(overdue);
}

void CCEManager::Restart(const std::string &reason, const std::wstring &notice) {
  LogMessage("CCEManager engine fault (" + reason + ")");
  StopProcess();
  const uint32_t now = platform::GetTickCount();
  if (!watch.MayRestart(now)) {
    Fail(CEngineFailure::Kind::Link, CEngineFailure::TooManyRestarts(watch.RestartsInWindow(now) + 1, reason));
    return;
  }
  hint.Forget(); // a new engine owes no advice
  LogMessage("CCEManager starting the engine program again");
  handshake.Restarting(reason);
  if (!Launch()) {
    Fail(CEngineFailure::Kind::Program, CEngineFailure::CannotRun(ENGINE_PATH, strerror(errno), true));
    return;
  }
  handshake.NoticeShown(!notice.empty());
  if (!notice.empty())
    app.gui.ShowStatusNotice(notice.c_str(), FAULT_NOTICE_MS);
}

void CCEManager::Fail(CEngineFailure::Kind kind, const std::string &reason) {
  if (process.IsStarted())
    StopProcess();
  state = LinkState::Failed;
  failure.Set(kind, reason);
  search.Drop();
  LogMessage("CCEManager engine unavailable (" + reason + ")");
}

// --- Reading the engine's output ---------------------------------------------------

void CCEManager::OnEngineBytes(const char *data, size_t size) {
  std::vector<std::string> lines;
  if (const size_t dropped = lineBuffer.Feed(data, size, lines))
    LogMessage("CCEManager dropped " + std::to_string(dropped) + " over-long engine line(s)");
  const unsigned before = process.Generation();
  for (const std::string &line : lines) {
    OnEngineLine(line);
    if (process.Generation() != before || state == LinkState::Failed)
      return; // what remains came from an engine that is gone
  }
}

void CCEManager::OnEngineLine(const std::string &line) {
  const CEngineReply reply = CEngineReply::Parse(line);
  if (reply.kind == CEngineReply::Kind::Unavailable) {
    Fail(CEngineFailure::Kind::Engine, reply.fault);
    return;
  }
  if (reply.kind == CEngineReply::Kind::MoveFault) {
    // The engine program found its engine's answer broken and sent no
    // "bestmove": the search is over without a move.
    LogMessage("CCEManager the engine program reports: " + reply.fault);
    OnMoveFault(reply.fault);
    return;
  }
  if (state == LinkState::Handshake) {
    if (handshake.Line(line))
      OnHandshakeDone();
    return;
  }
  switch (reply.kind) {
  case CEngineReply::Kind::ReadyOk:
    watch.FenceAnswered();
    LogMessage("readyok");
    break;
  case CEngineReply::Kind::BestMove:
  case CEngineReply::Kind::NoMove:
  case CEngineReply::Kind::Malformed:
    OnResultLine(line, reply.move, reply.kind == CEngineReply::Kind::Malformed, reply.fault);
    break;
  case CEngineReply::Kind::CurrMove:
    // Long searches are cut short; UCI then requires the engine to answer
    // with its "bestmove" line.
    if (search.CurrMove())
      SendCommand("\nstop\n");
    break;
  default:
    break;
  }
}

void CCEManager::OnResultLine(const std::string &line, const std::string &move, bool malformed,
                              const std::string &fault) {
  if (hint.TakeAnswer(move, !watch.HasOpenFence() && !malformed)) {
    LogMessage("CCEManager hint " + line);
    return;
  }
  LogMessage(line);
  search.ClearCurrMoves();
  if (watch.HasOpenFence() || !search.IsOwed()) {
    LogMessage("CCEManager dropped a result nothing asked for");
    return;
  }
  if (malformed) {
    LogMessage("CCEManager refused the engine's result: " + line);
    OnMoveFault(fault);
    return;
  }
  // "(none)": the side to move has no move; "0000", the null move, may
  // answer a hand-back. Both are handed out as squares off the board.
  search.Answered(move);
}

void CCEManager::OnMoveFault(const std::string &fault) {
  search.DropAnswer();
  if (!process.IsStarted()) {
    LogMessage("CCEManager engine fault (" + fault + ")");
    return; // no engine process to start afresh
  }
  if (watch.MoveFaultGivesUp(platform::GetTickCount())) {
    LogMessage("CCEManager engine fault (" + fault + ")");
    Fail(CEngineFailure::Kind::Link, CEngineFailure::TooManyBrokenAnswers(watch.Timings().moveFaultsPerWindow, fault));
    return;
  }
  Restart(fault, CEngineReply::RestartNotice(fault));
}

void CCEManager::OnHandshakeDone() {
  handshake.Done();
  state = LinkState::Ready;
  failure.EngineReady();
  const unsigned generation = process.Generation();
  SendOption("Hash", "32");
  SendOption("Ponder", "false");
  // Options the game set (the level, the think time) hold for every engine
  // process, the restarted ones included.
  for (const auto &option : game.Options())
    SendOption(option.first.c_str(), option.second.c_str(), false);
  SendCommand(game.PositionCommand());
  SendFence();
  if (search.IsOwed()) {
    OweSearch();
    SendClockedSearch("");
  }
  if (state != LinkState::Ready || process.Generation() != generation)
    return; // a write failed: the engine is being replaced again
  bool noticeShown = false;
  const std::string restarted = handshake.TakeRestart(noticeShown);
  if (!restarted.empty()) {
    LogMessage("CCEManager engine restarted (" + restarted + ")");
    const std::string position = game.PositionCommand();
    LogMessage("CCEManager engine told: " + position.substr(0, position.size() - 1) + (search.IsOwed() ? ", go" : ""));
    if (!noticeShown)
      app.gui.ShowStatusNotice(TrW("Engine restarted").c_str(), NOTICE_MS);
  }
}

// --- Writing ------------------------------------------------------------------------

void CCEManager::SendCommand(const std::string &text) {
  if (state != LinkState::Ready)
    return; // the game is told in full once the engine is ready
  if (!process.Write(text))
    Restart("a write to the engine program failed");
}

void CCEManager::SendFence() {
  if (state != LinkState::Ready)
    return;
  watch.FenceSent(platform::GetTickCount());
  SendCommand("isready\n");
}

// --- Game commands --------------------------------------------------------------------

stringw CCEManager::GetEngineInfo() {
  if (!handshake.Info().empty())
    return handshake.Info();
  if (state == LinkState::Failed)
    return stringw(failure.Info().c_str());
  return TrW("The chess engine is starting.");
}

void CCEManager::Reset() {
  search.Reset();
  game.Clear();
  hint.Forget();
  SendCommand("\nstop\n");
  SendCommand("\nucinewgame\n");
  SendCommand("position startpos\n");
  // A result of the last game's search arrives before this fence's answer.
  SendFence();
}

void CCEManager::SubmitMove(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion) {
  SendMove(from, to, promoted, promotion, false);
}

void CCEManager::HandBackMove(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion) {
  SendMove(from, to, promoted, promotion, true);
}

void CCEManager::SendMove(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion,
                          bool handBack) {
  std::string move;
  if (!CEngineReply::MoveText(from, to, promoted, promotion, move)) {
    LogMessage("CCEManager::SubmitMove Error: square off the board");
    return;
  }
  LogMessage("SubmitMove");
  LogMessage(move + "\n");
  game.Add(move);
  app.gui.RefreshMovesWindow();
  if (state == LinkState::Failed)
    return;
  // Every move line is answered with a search: the engine's reply to the
  // human, or its answer to the hand-back of its own move. Under a clock the
  // reply is asked for with the clock, in standard UCI.
  OweSearch();
  if (clock.IsOn() && !handBack)
    SendClockedSearch(game.PositionCommand());
  else
    SendCommand(move + "\n");
}

void CCEManager::SendClockedSearch(const std::string &position) {
  const std::string go = clock.GoCommand(platform::GetTickCount());
  if (clock.IsOn())
    LogMessage("CCEManager " + go.substr(0, go.size() - 1));
  SendCommand(position + go);
}

void CCEManager::OweSearch() {
  search.Owe();
  const uint32_t now = platform::GetTickCount();
  // Under a clock the engine may use the time it has left.
  watch.SearchBegan(now, uint32_t(std::min<int64_t>(clock.TimeLeft(now), UINT32_MAX / 2)));
}

bool CCEManager::SendOption(const char *name, const char *value, bool remember) {
  if (remember)
    game.KeepOption(name, value);
  // The engine program thinks this long unless its environment fixes the
  // time; the watch allows a search that long before it counts as hung.
  if (strcmp(name, "Think Time") == 0 && !getenv("ABROK_THINK_MS")) {
    const long thinkMs = strtol(value, nullptr, 10);
    if (thinkMs > 0)
      watch.Timings().thinkMs = uint32_t(thinkMs);
  }
  if (state != LinkState::Ready)
    return false; // sent with the others once the engine is ready
  const std::string line = std::string("setoption name ") + name + " value " + value;
  LogMessage("CCEManager " + line);
  SendCommand(line + "\n");
  return state == LinkState::Ready;
}

bool CCEManager::SendPosition(const std::vector<std::string> &newMoves) {
  const std::string fen = game.StartFen(); // the game keeps its start position
  return SendPosition(fen, newMoves);
}

bool CCEManager::SendPosition(const std::string &fen, const std::vector<std::string> &newMoves) {
  game.Set(fen, newMoves);
  app.gui.RefreshMovesWindow();
  const bool searching = search.IsOwed();
  search.Drop();
  if (searching)
    SendCommand("\nstop\n");
  SendCommand(game.PositionCommand());
  SendFence(); // a result of the dropped search arrives before its answer
  return state != LinkState::Failed;
}

bool CCEManager::RequestInitialMove() {
  LogMessage("CCEManager::RequestInitialMove");
  if (state == LinkState::Failed || state == LinkState::Off)
    return false;
  OweSearch();
  SendClockedSearch("");
  return true;
}

bool CCEManager::ProcessEngineResult(BoardSquare &from, BoardSquare &to) {
  irr::s32 promotion;
  return ProcessEngineResult(from, to, promotion);
}

bool CCEManager::ProcessEngineResult(BoardSquare &from, BoardSquare &to, irr::s32 &promotion) {
  const std::string move = search.Answer();
  if (!search.Take(from, to, promotion))
    return false;
  LogMessage("ProcessEngineResult:");
  LogMessage(move.substr(0, 4));
  return true;
}

void CCEManager::RejectResult() {
  if (state != LinkState::Ready)
    return;
  const std::string move = search.TakeHandedOut();
  if (move.empty())
    return;
  LogMessage("CCEManager refused the engine's result: " + move + " breaks the rules");
  // The move is still owed: the restarted engine is asked again.
  OweSearch();
  OnMoveFault("illegal move " + move);
}

// --- Advice for the player ---------------------------------------------------

bool CCEManager::RequestHint(irr::u32 thinkMs) {
  if (hint.IsPending() || search.IsOwed() || state != LinkState::Ready)
    return false;
  SendCommand(hint.Ask(thinkMs));
  if (state != LinkState::Ready)
    return false;
  hint.Asked();
  return true;
}

bool CCEManager::FetchHint(BoardSquare &from, BoardSquare &to) { return hint.Fetch(from, to); }

void CCEManager::CancelHint() {
  if (hint.Cancel())
    SendCommand("\nstop\n");
}
