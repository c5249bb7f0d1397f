// The engine link: starts the engine program on two pipes, speaks the reduced
// UCI with it and turns its "bestmove" lines into board squares.
#include "engine/CCEManager.h"

#include "app/CApplication.h"

#include <cerrno>
#include <cstring>
#include <string>

using irr::core::stringc;
using irr::core::stringw;

namespace {

const char *const &ENGINE_PATH = platform::EngineProgramPath(); // follows the data folder
const uint32_t START_PAUSE_MS = 500;                            // lets the engine start before the handshake
const uint32_t QUIT_GRACE_MS = 500;                             // time the engine gets to quit by itself
const uint32_t WAIT_TIMEOUT_MS = 1000;                          // handshake and readiness waits
const size_t READ_CHUNK = 9;                                    // largest piece of output read at once
const int CURRMOVE_LIMIT = 5;                                   // "info currmove" lines before a search is stopped
const irr::u32 RESULT_MIN_LENGTH = 13;                          // "bestmove" + blank + four move characters
const irr::u32 RESULT_MOVE_AT = 9;                              // where the move starts in the result line
const irr::u32 INFO_BUFFER_CHARS = 1024;                        // identification text keeps at most 1023 characters

const char *const FILE_LETTERS = "abcdefgh";
const char *const RANK_DIGITS = "12345678";

// The poll's state lives as long as the program: one line in the making and
// the number of "info currmove" lines of the current search.
stringc lineBuffer;
int currMoveCount = 0;

// Writes one square as a file letter and a rank digit; false if it is off the board.
bool AppendSquare(std::string &text, const BoardSquare &square) {
  if (!square.IsOnBoard())
    return false;
  text += FILE_LETTERS[square.X];
  text += RANK_DIGITS[square.Y];
  return true;
}

} // namespace

void CCEManager::ForgetPartialLine() {
  lineBuffer = "";
  currMoveCount = 0;
}

// --- Process and pipes ----------------------------------------------------

bool CCEManager::Init() {
  ForgetPartialLine();
  if (!process.Start(ENGINE_PATH)) {
    const std::string line = std::string("CCEManager::Init cannot start ") + ENGINE_PATH + ": " + strerror(errno);
    LogMessage(line.c_str());
    return false;
  }
  platform::Sleep(START_PAUSE_MS);
  GetEngineInfo();
  return true;
}

bool CCEManager::WriteToEngine(const char *text) {
  if (!text || !process.IsStarted())
    return false;
  return process.Write(text, strlen(text)) != 0;
}

bool CCEManager::ReadFromEngine(stringc &chunk) {
  // Peek first and read only what is there, so the read never waits.
  const size_t waiting = process.Available();
  if (waiting == 0)
    return false;
  char buffer[READ_CHUNK + 1];
  const size_t count = process.Read(buffer, waiting < READ_CHUNK ? waiting : READ_CHUNK);
  if (count == 0)
    return false;
  buffer[count] = '\0';
  chunk = stringc(buffer, irr::u32(count)); // keeps every byte, zero bytes included
  return true;
}

void CCEManager::Exit() {
  if (!WriteToEngine("\nquit\n"))
    LogMessage("CCEManager::Exit WriteToEngine Error");
  process.ClosePipes();
  // The engine gets its pause to quit by itself; one that has not is killed.
  process.Stop(QUIT_GRACE_MS);
}

// --- Waits ------------------------------------------------------------------

void CCEManager::ConsumedByWait(stringc &collected, const stringc &chunk) {
  collected.append(chunk);
  // The rest of a line the poll had begun is gone into this wait; keeping the
  // beginning would glue it to the next line.
  ForgetPartialLine();
}

void CCEManager::DrainOutput() {
  stringc chunk;
  stringc dropped;
  while (ReadFromEngine(chunk))
    ConsumedByWait(dropped, chunk);
}

bool CCEManager::WaitFor(const char *command, const char *token, stringc &collected) {
  WriteToEngine(command);
  const uint32_t start = platform::GetTickCount();
  stringc chunk;
  for (;;) {
    if (collected.find(token) >= 0)
      return true;
    if (uint32_t(platform::GetTickCount() - start) >= WAIT_TIMEOUT_MS)
      return false;
    if (ReadFromEngine(chunk))
      ConsumedByWait(collected, chunk);
    else
      platform::Sleep(1); // leave the processor to the engine that is answering
  }
}

stringw CCEManager::GetEngineInfo() {
  if (!engineInfo.empty())
    return engineInfo;
  DrainOutput();
  stringc collected;
  WaitFor("uci\n", "uciok", collected);
  // Widened byte for byte; carriage returns are dropped, line feeds stay.
  const irr::u32 count = collected.size() < INFO_BUFFER_CHARS - 1 ? collected.size() : INFO_BUFFER_CHARS - 1;
  for (irr::u32 i = 0; i < count; ++i) {
    const unsigned char byte = static_cast<unsigned char>(collected[i]);
    if (byte != '\r')
      engineInfo.append(wchar_t(byte));
  }
  return engineInfo;
}

bool CCEManager::WaitReady() {
  stringc collected;
  if (!WaitFor("isready\n", "readyok", collected))
    return false;
  LogMessage("readyok");
  return true;
}

// --- Game commands ----------------------------------------------------------

void CCEManager::Reset() {
  resultLine = "";
  WriteToEngine("\nstop\n");
  WriteToEngine("setoption name Hash value 32\n");
  WriteToEngine("setoption name Ponder value false\n");
  WriteToEngine("\nucinewgame\n");
  WriteToEngine("position startpos\n");
  if (WaitReady())
    movesHistory = L"";
  else
    LogMessage("CCEManager::Reset Error4");
}

void CCEManager::SubmitMove(const BoardSquare &from, const BoardSquare &to, bool promoted) {
  std::string move;
  if (!AppendSquare(move, from) || !AppendSquare(move, to)) {
    LogMessage("CCEManager::SubmitMove Error: square off the board");
    return;
  }
  if (promoted)
    move += 'q'; // the rules always promote to a queen
  move += '\n';

  LogMessage("SubmitMove");
  LogMessage(move.c_str());
  if (WaitReady())
    WriteToEngine(move.c_str());
  for (char c : move)
    movesHistory.append(wchar_t(c));
  app.gui.RefreshMovesWindow();
}

bool CCEManager::SendPosition(const std::vector<std::string> &moves) {
  std::string command = "position startpos";
  if (!moves.empty())
    command += " moves";
  movesHistory = L"";
  for (const std::string &move : moves) {
    command += ' ' + move;
    for (char c : move)
      movesHistory.append(wchar_t(c));
    movesHistory.append(L'\n');
  }
  command += '\n';
  LogMessage("CCEManager::SendPosition");
  WriteToEngine(command.c_str());
  // The wait reads past any "bestmove" of a search the position replaces.
  const bool ready = WaitReady();
  resultLine = "";
  app.gui.RefreshMovesWindow();
  return ready;
}

bool CCEManager::RequestInitialMove() {
  LogMessage("CCEManager::RequestInitialMove");
  if (!WaitReady())
    return false;
  return WriteToEngine("go\n");
}

// --- Reading the engine's answers ---------------------------------------------

void CCEManager::Update() {
  stringc chunk;
  if (!ReadFromEngine(chunk))
    return;
  OnEngineBytes(chunk.c_str(), chunk.size());
}

void CCEManager::OnEngineBytes(const char *data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (data[i] != '\n') {
      lineBuffer.append(data[i]); // carriage returns too: the parse ignores them
      continue;
    }
    if (lineBuffer.find("bestmove") >= 0) {
      resultLine = lineBuffer;
      currMoveCount = 0;
      LogMessage(lineBuffer.c_str());
    } else if (lineBuffer.find("info currmove") >= 0) {
      // Long searches are cut short; UCI then requires the engine to answer
      // with its "bestmove" line.
      if (++currMoveCount == CURRMOVE_LIMIT) {
        currMoveCount = 0;
        WriteToEngine("\nstop\n");
      }
    }
    lineBuffer = "";
  }
}

bool CCEManager::ProcessEngineResult(BoardSquare &from, BoardSquare &to) {
  if (resultLine.size() < RESULT_MIN_LENGTH)
    return false;
  // Only the four move characters count: a promotion letter or a ponder
  // move after them is dropped.
  resultLine = resultLine.subString(RESULT_MOVE_AT, 4);
  from = to = BoardSquare(-1, -1); // stays off the board for "(none)" or garbage
  for (irr::s32 i = 0; i < 8; ++i) {
    if (resultLine[0] == FILE_LETTERS[i])
      from.X = i;
    if (resultLine[2] == FILE_LETTERS[i])
      to.X = i;
    if (resultLine[1] == RANK_DIGITS[i])
      from.Y = i;
    if (resultLine[3] == RANK_DIGITS[i])
      to.Y = i;
  }
  LogMessage("ProcessEngineResult:");
  LogMessage(resultLine.c_str());
  resultLine = "";
  return true;
}
