#include "bridge/CBridge.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace {

const int REQUEST_TIMEOUT_MS = 5000;
const int STOP_TIMEOUT_MS = 5000;
const int SKILL_LEVEL_MAX = 20;
const int THINK_MS_MAX = 600000;
// The hand-back's answer is thrown away by the front end: the shallowest
// search gives it at once.
const char *const HAND_BACK_SEARCH = "go depth 1";

// Reads an integer variable in [low, high]; keeps fallback otherwise.
int ReadSetting(const char *name, int low, int high, int fallback) {
  const char *text = getenv(name);
  if (!text)
    return fallback;
  char *end = nullptr;
  errno = 0;
  const long value = strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < low || value > high) {
    std::cerr << "Abrok: " << name << "=" << text << " is not a number from " << low << " to " << high << "; using "
              << fallback << "\n";
    return fallback;
  }
  return int(value);
}

std::string Join(const std::vector<std::string> &words) {
  std::string text;
  for (const std::string &word : words)
    text += (text.empty() ? "" : " ") + word;
  return text;
}

std::string Trim(const std::string &line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos)
    return "";
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

BridgeSettings BridgeSettings::FromEnvironment() {
  BridgeSettings settings;
  settings.thinkMs = ReadSetting("ABROK_THINK_MS", 1, THINK_MS_MAX, settings.thinkMs);
  settings.skillLevel = ReadSetting("ABROK_SKILL_LEVEL", 0, SKILL_LEVEL_MAX, settings.skillLevel);
  return settings;
}

void CBridge::Start() {
  const std::string path = CStockfish::Locate();
  if (path.empty()) {
    std::cerr << "Abrok: Stockfish not found (ABROK_STOCKFISH, PATH, /usr/games/stockfish);"
                 " install the Debian package 'stockfish'\n";
    return;
  }
  haveStockfish = stockfish.Start(path, settings.skillLevel, [this](const std::string &line) { OnBestMove(line); });
  if (haveStockfish)
    haveStockfish = RefreshLegalMoves();
}

bool CBridge::HandleLine(const std::string &rawLine) {
  const std::string line = Trim(rawLine);
  if (line.empty())
    return true; // the front end sends empty lines before some commands
  std::istringstream arguments(line);
  std::string command;
  arguments >> command;

  if (command == "quit")
    return false;
  if (command == "uci")
    AnswerUci();
  else if (command == "isready")
    Write("readyok\n"); // commands are taken at any time, also during a search
  else if (command == "setoption") {
    if (haveStockfish)
      stockfish.Send(line);
  } else if (command == "stop")
    OnStop();
  else if (command == "ucinewgame")
    OnNewGame();
  else if (command == "position")
    OnPosition(arguments);
  else if (command == "go")
    OnGo(arguments);
  else if (IsMoveText(command) && line == command)
    OnMove(command);
  else
    std::cerr << "Abrok: unknown command ignored: " << line << "\n";
  return true;
}

void CBridge::Quit() {
  if (haveStockfish)
    stockfish.FinishSearch(STOP_TIMEOUT_MS);
  stockfish.Quit();
}

void CBridge::AnswerUci() {
  std::string text = "id name Abrok 5.0\nid author the Kelvar developers\n";
  if (haveStockfish) {
    std::string name, author;
    for (const std::string &id : stockfish.Identity()) {
      if (id.compare(0, 8, "id name ") == 0)
        name = id.substr(8);
      else if (id.compare(0, 10, "id author ") == 0)
        author = id.substr(10);
    }
    text += "info string engine " + name + (author.empty() ? "" : " by " + author) + "\n";
    text += "info string think time " + std::to_string(settings.thinkMs) + " ms, skill level " +
            std::to_string(settings.skillLevel) + " of 20\n";
  } else {
    text += "info string Stockfish not found: install the Debian package stockfish\n";
  }
  Write(text + "uciok\n");
}

void CBridge::OnStop() {
  // Stockfish's answer to the stop is still passed on: every go gets its bestmove.
  if (haveStockfish)
    stockfish.StopSearch();
}

void CBridge::OnNewGame() {
  if (!haveStockfish)
    return;
  FinishSearch();
  stockfish.Send("ucinewgame");
}

void CBridge::OnPosition(std::istringstream &arguments) {
  // "position startpos [moves ...]" or "position fen <six fields> [moves ...]".
  std::string word, fen;
  arguments >> word;
  if (word == "fen") {
    while (arguments >> word && word != "moves")
      fen += (fen.empty() ? "" : " ") + word;
    CBoard check;
    std::string reason;
    if (!check.SetFen(fen, reason)) {
      std::cerr << "Abrok: position fen refused (" << reason << "): " << fen << "\n";
      return;
    }
  } else if (word != "startpos") {
    std::cerr << "Abrok: only \"position startpos|fen <FEN> [moves ...]\" is understood; ignored\n";
    return;
  } else if (arguments >> word && word != "moves") {
    std::cerr << "Abrok: \"" << word << "\" after \"position startpos\" ignored\n";
    return;
  }
  if (!NeedStockfish("position"))
    return;
  FinishSearch();
  moves.clear();
  startFen = fen;
  std::string unused;
  if (startFen.empty())
    board.Reset();
  else
    board.SetFen(startFen, unused);
  {
    std::lock_guard<std::mutex> lock(outputMutex);
    lastBestMove.clear();
  }
  if (!RefreshLegalMoves())
    return;
  while (arguments >> word)
    if (!PlayMove(word))
      return; // the game stands after the last good move
}

void CBridge::OnGo(std::istringstream &arguments) {
  std::string options;
  std::getline(arguments >> std::ws, options);
  if (!options.empty())
    std::cerr << "Abrok: go options ignored, the search is bounded: " << options << "\n";
  if (!NeedStockfish("go"))
    return;
  FinishSearch();
  Search(false);
}

void CBridge::OnMove(const std::string &move) {
  if (!NeedStockfish(move))
    return;
  FinishSearch();
  bool handBack = false;
  {
    std::lock_guard<std::mutex> lock(outputMutex);
    handBack = !lastBestMove.empty() && move.compare(0, 4, lastBestMove, 0, 4) == 0;
    lastBestMove.clear();
  }
  if (PlayMove(move))
    Search(handBack);
}

bool CBridge::PlayMove(const std::string &move) {
  if (std::find(legalMoves.begin(), legalMoves.end(), move) == legalMoves.end()) {
    const std::string start = startFen.empty() ? "" : "fen " + startFen + (moves.empty() ? "" : " moves ");
    std::cerr << "Abrok: move " << move << " is not legal after \"" << start
              << (moves.empty() && startFen.empty() ? "startpos" : Join(moves)) << "\"; ignored\n";
    return false;
  }
  moves.push_back(move);
  board.Apply(move);
  return RefreshLegalMoves();
}

bool CBridge::RefreshLegalMoves() {
  std::string position = startFen.empty() ? "position startpos" : "position fen " + startFen;
  if (!moves.empty())
    position += " moves " + Join(moves);
  std::vector<std::string> lines;
  if (!stockfish.Request(position + "\ngo perft 1", "Nodes searched", REQUEST_TIMEOUT_MS, lines)) {
    std::cerr << "Abrok: Stockfish did not list the legal moves\n";
    return false;
  }
  // Perft lists each legal move as "e2e4: 1".
  legalMoves.clear();
  for (const std::string &line : lines) {
    const size_t colon = line.find(':');
    if (colon != std::string::npos && IsMoveText(line.substr(0, colon)))
      legalMoves.push_back(line.substr(0, colon));
  }
  return true;
}

void CBridge::Search(bool handBack) {
  if (handBack) {
    stockfish.StartSearch(HAND_BACK_SEARCH);
    return;
  }
  // The game promotes only to a queen: an under-promotion would come back
  // changed and put the two move lists out of step, so it is never chosen.
  std::vector<std::string> playable;
  for (const std::string &move : legalMoves)
    if (move.size() == 4 || move[4] == 'q')
      playable.push_back(move);
  std::string go = "go movetime " + std::to_string(settings.thinkMs);
  if (!playable.empty() && playable.size() < legalMoves.size())
    go += " searchmoves " + Join(playable);
  stockfish.StartSearch(go);
}

void CBridge::FinishSearch() {
  if (!stockfish.FinishSearch(STOP_TIMEOUT_MS))
    std::cerr << "Abrok: Stockfish did not end its search\n";
}

bool CBridge::NeedStockfish(const std::string &what) {
  if (haveStockfish && stockfish.IsRunning())
    return true;
  std::cerr << "Abrok: no Stockfish to play with; \"" << what << "\" ignored\n";
  return false;
}

void CBridge::OnBestMove(const std::string &line) {
  // "bestmove e7e5 ponder g1f3" goes out as "bestmove e7e5": the front end
  // reads a few bytes per frame and looks at nothing more.
  std::istringstream words(line);
  std::string keyword, move;
  words >> keyword >> move;
  if (move.empty())
    move = "(none)";
  {
    std::lock_guard<std::mutex> lock(outputMutex);
    lastBestMove = IsMoveText(move) ? move : "";
  }
  Write("bestmove " + move + "\n");
}

void CBridge::Write(const std::string &text) {
  std::lock_guard<std::mutex> lock(outputMutex);
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
    if (n > 0)
      done += size_t(n);
    else if (n < 0 && errno == EINTR)
      continue;
    else
      return; // the front end has gone; its end of input follows
  }
}
