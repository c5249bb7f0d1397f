// The engine link: keeps the game's moves, speaks the reduced UCI with the
// engine program, turns its answers into board squares, and keeps the game
// going when the program dies, hangs or answers with a move it must not play.
#include "engine/CCEManager.h"

#include "app/CApplication.h"
#include "engine/CEngineReply.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

using irr::core::stringc;
using irr::core::stringw;

namespace {

const char *const &ENGINE_PATH = platform::EngineProgramPath(); // follows the data folder
const uint32_t QUIT_GRACE_MS = 500;                             // time the engine gets to quit by itself at shut-down
const size_t READ_CHUNK = 4096;                                 // one read from the pipe
const size_t READ_LIMIT_PER_FRAME = 1 << 16;                    // a flood is taken over several frames
const int CURRMOVE_LIMIT = 5;                                   // "info currmove" lines before a search is stopped
const size_t INFO_LIMIT = 1023;        // identification text keeps at most this many characters
const uint32_t NOTICE_MS = 4000;       // how long the status line says "Engine restarted"
const uint32_t FAULT_NOTICE_MS = 8000; // ... and the longer text on a broken answer
const uint32_t THINK_MS_MAX = 600000;
const char *const NULL_MOVE = "0000";
const char *const NO_MOVE = "(none)";
const char *const STOCKFISH = "Stockfish";

uint32_t ThinkMsFromEnvironment() {
  const char *text = getenv("ABROK_THINK_MS");
  if (!text)
    return EngineTimings().thinkMs;
  char *end = nullptr;
  const long value = strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > long(THINK_MS_MAX))
    return EngineTimings().thinkMs;
  return uint32_t(value);
}

// The engine the player chose: the settings' engine path reaches the engine
// program (and this process) as ABROK_ENGINE; without it the program drives
// Stockfish, found at ABROK_STOCKFISH when that is set.
std::string ChosenEngine(bool &stockfish) {
  const char *engine = getenv("ABROK_ENGINE");
  stockfish = !engine || !*engine;
  if (!stockfish)
    return engine;
  const char *path = getenv("ABROK_STOCKFISH");
  return path && *path ? std::string(STOCKFISH) + " (" + path + ")" : STOCKFISH;
}

void Log(const std::string &text) { LogMessage(text.c_str()); }

} // namespace

// --- Process --------------------------------------------------------------------

bool CCEManager::Init() {
  engineInfo = L""; // a restarted engine program may drive another engine
  hintPending = hintWanted = false;
  failureShown = everReady = givenUp = false;
  engineName = ChosenEngine(stockfishChosen);
  watch.Timings().thinkMs = ThinkMsFromEnvironment();
  if (!Launch()) {
    const std::string why = strerror(errno);
    Log(std::string("CCEManager::Init cannot start ") + ENGINE_PATH + ": " + why);
    Fail(FailureKind::Program, std::string("the engine program ") + ENGINE_PATH + " cannot be run (" + why + ")");
  }
  return true; // the program runs without an engine too
}

bool CCEManager::Launch() {
  lineBuffer.Clear();
  watch.ClearFences();
  handshakeText.clear();
  currMoveCount = 0;
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
    if (!failureShown && app.game.GetState() != Startup) {
      failureShown = true;
      app.gui.ShowEngineMessage(stringw(FailureMessage().c_str()).c_str());
    }
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
                                            state == LinkState::Ready && searchPending);
  if (!overdue.empty())
    Restart(overdue);
}

void CCEManager::Restart(const std::string &reason, const std::wstring &notice) {
  Log("CCEManager engine fault (" + reason + ")");
  StopProcess();
  const uint32_t now = platform::GetTickCount();
  if (!watch.MayRestart(now)) {
    Fail(FailureKind::Link, "the engine program failed " + std::to_string(watch.RestartsInWindow(now) + 1) +
                                " times within a minute (" + reason + ")");
    return;
  }
  hintPending = hintWanted = false; // a new engine owes no advice
  Log("CCEManager starting the engine program again");
  restartReason = reason;
  if (!Launch()) {
    Fail(FailureKind::Program,
         std::string("the engine program ") + ENGINE_PATH + " cannot be run again (" + strerror(errno) + ")");
    return;
  }
  noticeShown = !notice.empty();
  if (noticeShown)
    app.gui.ShowStatusNotice(notice.c_str(), FAULT_NOTICE_MS);
}

void CCEManager::Fail(FailureKind kind, const std::string &reason) {
  if (process.IsStarted())
    StopProcess();
  state = LinkState::Failed;
  failure = reason;
  failureKind = kind;
  searchPending = false;
  resultLine.clear();
  givenUp = everReady;
  Log("CCEManager engine unavailable (" + reason + ")");
}

std::string CCEManager::FailureMessage() const {
  const bool gaveUp = everReady;
  std::string text =
      "The chess engine " + engineName + (gaveUp ? " was given up: " : " could not be started: ") + failure + ".";
  // Only a missing or broken Stockfish is cured by installing it.
  if (failureKind == FailureKind::Engine && stockfishChosen)
    text += " Install the Debian package stockfish.";
  if (gaveUp)
    text += " You can play on as two players, moving both sides.";
  return text;
}

bool CCEManager::TakeGiveUp() {
  const bool news = givenUp;
  givenUp = false;
  return news;
}

// --- Reading the engine's output ---------------------------------------------------

void CCEManager::OnEngineBytes(const char *data, size_t size) {
  std::vector<std::string> lines;
  if (const size_t dropped = lineBuffer.Feed(data, size, lines))
    Log("CCEManager dropped " + std::to_string(dropped) + " over-long engine line(s)");
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
    Fail(FailureKind::Engine, reply.fault);
    return;
  }
  if (reply.kind == CEngineReply::Kind::MoveFault) {
    // The engine program found its engine's answer broken and sent no
    // "bestmove": the search is over without a move.
    Log("CCEManager the engine program reports: " + reply.fault);
    OnMoveFault(reply.fault);
    return;
  }
  if (state == LinkState::Handshake) {
    if (handshakeText.size() < INFO_LIMIT)
      handshakeText += (line + "\n").substr(0, INFO_LIMIT - handshakeText.size());
    if (line == "uciok")
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
    if (searchPending && ++currMoveCount == CURRMOVE_LIMIT) {
      currMoveCount = 0;
      SendCommand("\nstop\n");
    }
    break;
  default:
    break;
  }
}

void CCEManager::OnResultLine(const std::string &line, const std::string &move, bool malformed,
                              const std::string &fault) {
  if (hintPending) {
    // The engine answers in order: the first result after an advice search
    // was asked for is that search's, shown to the player and never played.
    hintPending = false;
    if (hintWanted && !watch.HasOpenFence() && !malformed)
      hintLine = move;
    Log("CCEManager hint " + line);
    return;
  }
  LogMessage(line.c_str());
  currMoveCount = 0;
  if (watch.HasOpenFence() || !searchPending) {
    LogMessage("CCEManager dropped a result nothing asked for");
    return;
  }
  if (malformed) {
    Log("CCEManager refused the engine's result: " + line);
    OnMoveFault(fault);
    return;
  }
  // "(none)": the side to move has no move; "0000", the null move, may
  // answer a hand-back. Both are handed out as squares off the board.
  searchPending = false;
  resultLine = move;
}

void CCEManager::OnMoveFault(const std::string &fault) {
  resultLine.clear();
  if (!process.IsStarted()) {
    Log("CCEManager engine fault (" + fault + ")");
    return; // no engine process to start afresh
  }
  if (watch.MoveFaultGivesUp(platform::GetTickCount())) {
    Log("CCEManager engine fault (" + fault + ")");
    Fail(FailureKind::Link, "its answers broke the rules " + std::to_string(watch.Timings().moveFaultsPerWindow) +
                                " times within a minute (" + fault + ")");
    return;
  }
  Restart(fault, CEngineReply::RestartNotice(fault));
}

void CCEManager::OnHandshakeDone() {
  engineInfo = stringw(handshakeText.c_str());
  state = LinkState::Ready;
  everReady = true;
  const unsigned generation = process.Generation();
  SendOption("Hash", "32");
  SendOption("Ponder", "false");
  // Options the game set (the level, the think time) hold for every engine
  // process, the restarted ones included.
  for (const auto &option : options)
    SendOption(option.first.c_str(), option.second.c_str(), false);
  SendCommand(PositionCommand());
  SendFence();
  if (searchPending) {
    watch.SearchBegan(platform::GetTickCount());
    SendCommand("go\n");
  }
  if (state != LinkState::Ready || process.Generation() != generation)
    return; // a write failed: the engine is being replaced again
  if (!restartReason.empty()) {
    ++restartCount;
    Log("CCEManager engine restarted (" + restartReason + ")");
    Log("CCEManager engine told: " + PositionCommand().substr(0, PositionCommand().size() - 1) +
        (searchPending ? ", go" : ""));
    if (!noticeShown)
      app.gui.ShowStatusNotice(L"Engine restarted", NOTICE_MS);
    noticeShown = false;
    restartReason.clear();
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

std::string CCEManager::PositionCommand() const {
  std::string text = startFen.empty() ? "position startpos" : "position fen " + startFen;
  if (!moves.empty()) {
    text += " moves";
    for (const std::string &move : moves)
      text += " " + move;
  }
  return text + "\n";
}

void CCEManager::RebuildHistory() {
  movesHistory = L"";
  for (const std::string &move : moves) {
    movesHistory += stringw(move.c_str());
    movesHistory.append(L'\n');
  }
}

// --- Game commands --------------------------------------------------------------------

stringw CCEManager::GetEngineInfo() {
  if (!engineInfo.empty())
    return engineInfo;
  if (state == LinkState::Failed)
    return stringw(("The chess engine could not be started: " + failure + ".").c_str());
  return L"The chess engine is starting.";
}

void CCEManager::Reset() {
  resultLine.clear();
  lastResult.clear();
  startFen.clear();
  moves.clear();
  RebuildHistory();
  searchPending = false;
  hintPending = hintWanted = false;
  currMoveCount = 0;
  SendCommand("\nstop\n");
  SendCommand("\nucinewgame\n");
  SendCommand("position startpos\n");
  // A result of the last game's search arrives before this fence's answer.
  SendFence();
}

void CCEManager::SubmitMove(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion) {
  std::string move;
  if (!CEngineReply::MoveText(from, to, promoted, promotion, move)) {
    LogMessage("CCEManager::SubmitMove Error: square off the board");
    return;
  }
  LogMessage("SubmitMove");
  Log(move + "\n");
  moves.push_back(move);
  movesHistory += stringw(move.c_str());
  movesHistory.append(L'\n');
  app.gui.RefreshMovesWindow();
  if (state == LinkState::Failed)
    return;
  // Every move line is answered with a search: the engine's reply to the
  // human, or its answer to the hand-back of its own move.
  searchPending = true;
  watch.SearchBegan(platform::GetTickCount());
  SendCommand(move + "\n");
}

bool CCEManager::SendOption(const char *name, const char *value, bool remember) {
  if (remember && strcmp(name, "Hash") != 0 && strcmp(name, "Ponder") != 0) {
    bool known = false;
    for (auto &option : options)
      if (option.first == name) {
        option.second = value;
        known = true;
      }
    if (!known)
      options.emplace_back(name, value);
  }
  if (state != LinkState::Ready)
    return false; // sent with the others once the engine is ready
  const std::string line = std::string("setoption name ") + name + " value " + value;
  LogMessage(("CCEManager " + line).c_str());
  SendCommand(line + "\n");
  return state == LinkState::Ready;
}

bool CCEManager::SendPosition(const std::vector<std::string> &newMoves) {
  const std::string fen = startFen; // the game keeps its start position
  return SendPosition(fen, newMoves);
}

bool CCEManager::SendPosition(const std::string &fen, const std::vector<std::string> &newMoves) {
  startFen = fen;
  moves = newMoves;
  RebuildHistory();
  app.gui.RefreshMovesWindow();
  resultLine.clear();
  currMoveCount = 0;
  if (searchPending)
    SendCommand("\nstop\n");
  searchPending = false;
  SendCommand(PositionCommand());
  SendFence(); // a result of the dropped search arrives before its answer
  return state != LinkState::Failed;
}

bool CCEManager::RequestInitialMove() {
  LogMessage("CCEManager::RequestInitialMove");
  if (state == LinkState::Failed || state == LinkState::Off)
    return false;
  searchPending = true;
  watch.SearchBegan(platform::GetTickCount());
  SendCommand("go\n");
  return true;
}

bool CCEManager::ProcessEngineResult(BoardSquare &from, BoardSquare &to) {
  irr::s32 promotion;
  return ProcessEngineResult(from, to, promotion);
}

bool CCEManager::ProcessEngineResult(BoardSquare &from, BoardSquare &to, irr::s32 &promotion) {
  if (resultLine.empty())
    return false;
  // The move was checked when it arrived. An answer without a move gives
  // squares off the board.
  promotion = Queen;
  from = to = BoardSquare(-1, -1);
  if (resultLine != NULL_MOVE && resultLine != NO_MOVE)
    CEngineReply::Squares(resultLine, from, to, promotion);
  LogMessage("ProcessEngineResult:");
  LogMessage(resultLine.substr(0, 4).c_str());
  lastResult = resultLine;
  resultLine.clear();
  return true;
}

void CCEManager::RejectResult() {
  if (lastResult.empty() || state != LinkState::Ready)
    return;
  const std::string fault = "illegal move " + lastResult;
  Log("CCEManager refused the engine's result: " + lastResult + " breaks the rules");
  lastResult.clear();
  // The move is still owed: the restarted engine is asked again.
  searchPending = true;
  watch.SearchBegan(platform::GetTickCount());
  OnMoveFault(fault);
}

// --- Advice for the player ---------------------------------------------------

bool CCEManager::RequestHint(irr::u32 thinkMs) {
  if (hintPending || searchPending || state != LinkState::Ready)
    return false;
  hintLine.clear();
  SendCommand("go movetime " + std::to_string(thinkMs) + "\n");
  if (state != LinkState::Ready)
    return false;
  hintPending = hintWanted = true;
  return true;
}

bool CCEManager::FetchHint(BoardSquare &from, BoardSquare &to) {
  // "bestmove (none)" and the null move are no advice.
  BoardSquare hintFrom, hintTo;
  irr::s32 promotion = Queen;
  const bool usable = CEngineReply::Squares(hintLine, hintFrom, hintTo, promotion);
  hintLine.clear();
  if (!usable)
    return false;
  from = hintFrom;
  to = hintTo;
  return true;
}

void CCEManager::CancelHint() {
  hintWanted = false;
  hintLine.clear();
  if (hintPending)
    SendCommand("\nstop\n");
}
