// The engine link: starts the engine program on two pipes, speaks the reduced
// UCI with it, turns its "bestmove" lines into board squares, and keeps the
// game going when the program dies or hangs.
#include "engine/CCEManager.h"

#include "app/CApplication.h"

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
const size_t INFO_LIMIT = 1023;  // identification text keeps at most this many characters
const uint32_t NOTICE_MS = 4000; // how long the status line says "Engine restarted"
const uint32_t THINK_MS_MAX = 600000;
const char *const ERROR_PREFIX = "info string error ";
const char *const NULL_MOVE = "0000";
const char *const NO_MOVE = "(none)";

const char *const FILE_LETTERS = "abcdefgh";
const char *const RANK_DIGITS = "12345678";

// The UCI promotion letter of a piece kind, and back; anything else is a queen.
char PromotionLetter(irr::s32 kind) { return kind == Rook ? 'r' : kind == Bishop ? 'b' : kind == Knight ? 'n' : 'q'; }
irr::s32 PromotionKind(char letter) {
  return letter == 'r' ? Rook : letter == 'b' ? Bishop : letter == 'n' ? Knight : Queen;
}

// Writes one square as a file letter and a rank digit; false if it is off the board.
bool AppendSquare(std::string &text, const BoardSquare &square) {
  if (!square.IsOnBoard())
    return false;
  text += FILE_LETTERS[square.X];
  text += RANK_DIGITS[square.Y];
  return true;
}

// A move as UCI writes it: two squares and an optional promotion letter.
bool IsMoveText(const std::string &text) {
  if (text.size() != 4 && text.size() != 5)
    return false;
  for (int i = 0; i < 4; i += 2)
    if (!strchr(FILE_LETTERS, text[i]) || !strchr(RANK_DIGITS, text[i + 1]) || !text[i] || !text[i + 1])
      return false;
  return text.size() == 4 || (text[4] && strchr("qrbn", text[4]));
}

bool StartsWith(const std::string &text, const char *prefix) { return text.compare(0, strlen(prefix), prefix) == 0; }

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

void Log(const std::string &text) { LogMessage(text.c_str()); }

uint32_t Since(uint32_t tick) { return uint32_t(platform::GetTickCount() - tick); }

} // namespace

// --- Process --------------------------------------------------------------------

bool CCEManager::Init() {
  engineInfo = L""; // a restarted engine program may drive another engine
  hintPending = hintWanted = false;
  timings.thinkMs = ThinkMsFromEnvironment();
  if (!Launch()) {
    const std::string why = strerror(errno);
    Log(std::string("CCEManager::Init cannot start ") + ENGINE_PATH + ": " + why);
    Fail(std::string("the engine program ") + ENGINE_PATH + " cannot be run (" + why + ")");
  }
  return true; // the program runs without an engine too
}

bool CCEManager::Launch() {
  lineBuffer.Clear();
  fences.clear();
  handshakeText.clear();
  currMoveCount = 0;
  ++launchCount;
  if (!process.Start(ENGINE_PATH))
    return false;
  state = LinkState::Handshake;
  stateSince = platform::GetTickCount();
  // The engine reads its input once it has started; the line waits in the pipe.
  process.Write("uci\n", 4);
  return true;
}

void CCEManager::StopProcess() {
  process.ClosePipes();
  process.Stop(0); // a broken engine gets no grace: it is killed and reaped at once
  state = LinkState::Off;
  lineBuffer.Clear();
  fences.clear();
}

void CCEManager::Exit() {
  if (!process.IsStarted())
    return;
  if (!WriteToEngine("\nquit\n"))
    LogMessage("CCEManager::Exit WriteToEngine Error");
  process.ClosePipes();
  // Shut-down only: the engine gets its pause to quit by itself, then is killed.
  process.Stop(QUIT_GRACE_MS);
  state = LinkState::Off;
}

bool CCEManager::WriteToEngine(const char *text) {
  if (!text || !*text || !process.IsStarted())
    return false;
  const size_t size = strlen(text);
  return process.Write(text, size) == size;
}

// --- Watching ---------------------------------------------------------------------

void CCEManager::Update() {
  if (state == LinkState::Failed) {
    // Shown once the splash has gone, so that nothing covers the box.
    if (!failureShown && app.game.GetState() != Startup) {
      failureShown = true;
      const std::string text =
          "The chess engine could not be started: " + failure + ". Install the Debian package stockfish.";
      app.gui.ShowEngineMessage(stringw(text.c_str()).c_str());
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
    const unsigned before = launchCount;
    OnEngineBytes(buffer, count);
    if (launchCount != before)
      return; // the engine was replaced while its output was handled
  }
  if (state == LinkState::Off || state == LinkState::Failed)
    return;
  if (process.OutputEnded())
    Restart("the engine program closed its output");
  else if (drained && process.HasEnded())
    Restart("the engine program ended");
  else
    Watch();
}

void CCEManager::Watch() {
  if (state == LinkState::Handshake && Since(stateSince) >= timings.handshakeMs) {
    Restart("no uciok within " + std::to_string(timings.handshakeMs) + " ms");
    return;
  }
  if (state != LinkState::Ready)
    return;
  if (!fences.empty() && Since(fences.front()) >= timings.readyMs) {
    Restart("no readyok within " + std::to_string(timings.readyMs) + " ms");
    return;
  }
  const uint32_t searchLimit = timings.thinkMs + timings.searchGraceMs;
  if (searchPending && Since(searchSince) >= searchLimit)
    Restart("no bestmove within " + std::to_string(searchLimit) + " ms");
}

void CCEManager::Restart(const std::string &reason) {
  StopProcess();
  const uint32_t now = platform::GetTickCount();
  while (!restartTicks.empty() && uint32_t(now - restartTicks.front()) >= timings.restartWindowMs)
    restartTicks.pop_front();
  if (int(restartTicks.size()) >= timings.restartsPerWindow) {
    Fail("the engine program failed " + std::to_string(restartTicks.size() + 1) + " times within a minute (" + reason +
         ")");
    return;
  }
  restartTicks.push_back(now);
  hintPending = hintWanted = false; // a new engine owes no advice
  Log("CCEManager engine fault (" + reason + "), starting it again");
  restartReason = reason;
  if (!Launch())
    Fail(std::string("the engine program ") + ENGINE_PATH + " cannot be run again (" + strerror(errno) + ")");
}

void CCEManager::Fail(const std::string &reason) {
  if (process.IsStarted())
    StopProcess();
  state = LinkState::Failed;
  failure = reason;
  searchPending = false;
  Log("CCEManager engine unavailable (" + reason + ")");
}

// --- Reading the engine's output ---------------------------------------------------

void CCEManager::OnEngineBytes(const char *data, size_t size) {
  std::vector<std::string> lines;
  if (const size_t dropped = lineBuffer.Feed(data, size, lines))
    Log("CCEManager dropped " + std::to_string(dropped) + " over-long engine line(s)");
  const unsigned before = launchCount;
  for (const std::string &line : lines) {
    OnEngineLine(line);
    if (launchCount != before || state == LinkState::Failed)
      return; // what remains came from an engine that is gone
  }
}

void CCEManager::OnEngineLine(const std::string &line) {
  if (StartsWith(line, ERROR_PREFIX)) {
    Fail(line.substr(strlen(ERROR_PREFIX)));
    return;
  }
  if (state == LinkState::Handshake) {
    if (handshakeText.size() < INFO_LIMIT)
      handshakeText += (line + "\n").substr(0, INFO_LIMIT - handshakeText.size());
    if (line == "uciok")
      OnHandshakeDone();
    return;
  }
  if (line == "readyok") {
    if (!fences.empty())
      fences.pop_front();
    LogMessage("readyok");
    return;
  }
  if (StartsWith(line, "bestmove") && hintPending) {
    // The engine answers in order: the first result after an advice search
    // was asked for is that search's, shown to the player and never played.
    hintPending = false;
    if (hintWanted && fences.empty())
      hintLine = stringc(line.c_str());
    Log("CCEManager hint " + line);
    return;
  }
  if (StartsWith(line, "bestmove")) {
    LogMessage(line.c_str());
    currMoveCount = 0;
    if (!fences.empty() || !searchPending) {
      LogMessage("CCEManager dropped a result nothing asked for");
      return;
    }
    const size_t start = line.find_first_not_of(' ', 8);
    const std::string move = start == std::string::npos ? "" : line.substr(start, line.find(' ', start) - start);
    // "(none)": the side to move has no move; "0000", the null move, may
    // answer a hand-back. Both are handed out as squares off the board.
    if (start != 8 + 1 || (!IsMoveText(move) && move != NULL_MOVE && move != NO_MOVE)) {
      // Not played; the watch asks a fresh engine once the search is overdue.
      Log("CCEManager refused the engine's result: " + line);
      return;
    }
    searchPending = false;
    resultLine = stringc(move.c_str());
    return;
  }
  if (line.find("info currmove") != std::string::npos && searchPending) {
    // Long searches are cut short; UCI then requires the engine to answer
    // with its "bestmove" line.
    if (++currMoveCount == CURRMOVE_LIMIT) {
      currMoveCount = 0;
      SendCommand("\nstop\n");
    }
  }
}

void CCEManager::OnHandshakeDone() {
  engineInfo = stringw(handshakeText.c_str());
  state = LinkState::Ready;
  const unsigned generation = launchCount;
  SendOption("Hash", "32");
  SendOption("Ponder", "false");
  // Options the game set (the level, the think time) hold for every engine
  // process, the restarted ones included.
  for (const auto &option : options)
    SendOption(option.first.c_str(), option.second.c_str(), false);
  SendCommand(PositionCommand());
  SendFence();
  if (searchPending) {
    searchSince = platform::GetTickCount();
    SendCommand("go\n");
  }
  if (state != LinkState::Ready || launchCount != generation)
    return; // a write failed: the engine is being replaced again
  if (!restartReason.empty()) {
    ++restartCount;
    Log("CCEManager engine restarted (" + restartReason + ")");
    Log("CCEManager engine told: " + PositionCommand().substr(0, PositionCommand().size() - 1) +
        (searchPending ? ", go" : ""));
    app.gui.ShowStatusNotice(L"Engine restarted", NOTICE_MS);
    restartReason.clear();
  }
}

// --- Writing ------------------------------------------------------------------------

void CCEManager::SendCommand(const std::string &text) {
  if (state != LinkState::Ready)
    return; // the game is told in full once the engine is ready
  if (process.Write(text.data(), text.size()) != text.size())
    Restart("a write to the engine program failed");
}

void CCEManager::SendFence() {
  if (state != LinkState::Ready)
    return;
  fences.push_back(platform::GetTickCount());
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
  resultLine = "";
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
  if (!AppendSquare(move, from) || !AppendSquare(move, to)) {
    LogMessage("CCEManager::SubmitMove Error: square off the board");
    return;
  }
  if (promoted)
    move += PromotionLetter(promotion);

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
  searchSince = platform::GetTickCount();
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
  resultLine = "";
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
  searchSince = platform::GetTickCount();
  SendCommand("go\n");
  return true;
}

// Reads the four move characters after "bestmove " into the squares; a
// character outside its alphabet leaves that coordinate as it was.
namespace {
void ParseMoveSquares(const stringc &move, BoardSquare &from, BoardSquare &to) {
  for (irr::s32 i = 0; i < 8; ++i) {
    if (move[0] == FILE_LETTERS[i])
      from.X = i;
    if (move[2] == FILE_LETTERS[i])
      to.X = i;
    if (move[1] == RANK_DIGITS[i])
      from.Y = i;
    if (move[3] == RANK_DIGITS[i])
      to.Y = i;
  }
}
} // namespace

bool CCEManager::ProcessEngineResult(BoardSquare &from, BoardSquare &to) {
  irr::s32 promotion;
  return ProcessEngineResult(from, to, promotion);
}

bool CCEManager::ProcessEngineResult(BoardSquare &from, BoardSquare &to, irr::s32 &promotion) {
  if (resultLine.size() < 4)
    return false;
  // The move was checked when it arrived; its fifth character, if any, names
  // the promotion piece. An answer without a move gives squares off the board.
  promotion = PromotionKind(resultLine.size() > 4 ? resultLine[4] : ' ');
  from = to = BoardSquare(-1, -1);
  if (resultLine != NULL_MOVE && resultLine != NO_MOVE) {
    from = BoardSquare(irr::s32(strchr(FILE_LETTERS, resultLine[0]) - FILE_LETTERS),
                       irr::s32(strchr(RANK_DIGITS, resultLine[1]) - RANK_DIGITS));
    to = BoardSquare(irr::s32(strchr(FILE_LETTERS, resultLine[2]) - FILE_LETTERS),
                     irr::s32(strchr(RANK_DIGITS, resultLine[3]) - RANK_DIGITS));
  }
  LogMessage("ProcessEngineResult:");
  LogMessage(resultLine.subString(0, 4).c_str());
  resultLine = "";
  return true;
}

// --- Advice for the player ---------------------------------------------------

bool CCEManager::RequestHint(irr::u32 thinkMs) {
  if (hintPending || searchPending || state != LinkState::Ready)
    return false;
  hintLine = "";
  SendCommand("go movetime " + std::to_string(thinkMs) + "\n");
  if (state != LinkState::Ready)
    return false;
  hintPending = hintWanted = true;
  return true;
}

bool CCEManager::FetchHint(BoardSquare &from, BoardSquare &to) {
  // "bestmove (none)" and other short or odd answers are no advice.
  const irr::u32 moveAt = 9; // "bestmove " then the move
  const bool usable = hintLine.size() >= moveAt + 4 && IsMoveText(hintLine.subString(moveAt, 4).c_str());
  if (!usable) {
    hintLine = "";
    return false;
  }
  from = BoardSquare();
  to = BoardSquare();
  ParseMoveSquares(hintLine.subString(moveAt, 4), from, to);
  hintLine = "";
  return true;
}

void CCEManager::CancelHint() {
  hintWanted = false;
  hintLine = "";
  if (hintPending)
    SendCommand("\nstop\n");
}
