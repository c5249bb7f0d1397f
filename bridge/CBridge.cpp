#include "bridge/CBridge.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace {

const int STOP_TIMEOUT_MS = 5000;
const int SKILL_LEVEL_MAX = 20;
const char *const LEVEL_OPTION = "Level";
const char *const THINK_OPTION = "Think Time";
// The hand-back's answer is thrown away by the front end: the shallowest
// search gives it at once.
const char *const HAND_BACK_SEARCH = "go depth 1";
const char *const FAULT_PREFIX = "info string error ";
const char *const NULL_MOVE = "0000";
const char *const NO_MOVE = "(none)";

// Reads an integer in [low, high] from text; false if it is not one.
bool ParseInt(const std::string &text, int low, int high, int &value) {
  char *end = nullptr;
  errno = 0;
  const long parsed = strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || parsed < low || parsed > high)
    return false;
  value = int(parsed);
  return true;
}

// Reads an integer variable in [low, high]; keeps fallback otherwise.
int ReadSetting(const char *name, int low, int high, int fallback) {
  const char *text = getenv(name);
  if (!text)
    return fallback;
  int value = fallback;
  if (!ParseInt(text, low, high, value)) {
    std::cerr << "Abrok: " << name << "=" << text << " is not a number from " << low << " to " << high << "; using "
              << fallback << "\n";
    return fallback;
  }
  return value;
}

std::string Join(const std::vector<std::string> &words) {
  std::string text;
  for (const std::string &word : words)
    text += (text.empty() ? "" : " ") + word;
  return text;
}

// The legal moves of the side to move in UCI text, a promotion once per piece,
// by their from-squares from a1 to h8.
std::vector<std::string> LegalMoveTexts(const chess::Position &position) {
  std::vector<chess::Move> legal = position.LegalMoves();
  std::stable_sort(legal.begin(), legal.end(),
                   [](const chess::Move &a, const chess::Move &b) { return a.from.Index() < b.from.Index(); });
  std::vector<std::string> texts;
  for (const chess::Move &move : legal)
    texts.push_back(move.ToUci());
  return texts;
}

// A FEN may stop after the side to move, as engines allow; the position wants
// the castling and en-passant fields, so the missing ones are given as "-".
std::string WithAllFields(const std::string &fen) {
  std::istringstream words(fen);
  int fields = 0;
  for (std::string word; words >> word;)
    ++fields;
  std::string full = fen;
  for (; fields >= 2 && fields < 4; ++fields)
    full += " -";
  return full;
}

// True for an engine's "info" line with the score of its first line
// ("info depth 14 ... multipv 1 score cp 31 ... pv e2e4 ..."); a line without
// "multipv" is the only line.
bool IsMainScoreLine(const std::string &line) {
  std::istringstream words(line);
  std::string word;
  if (!(words >> word) || word != "info")
    return false;
  bool scored = false;
  while (words >> word) {
    if (word == "string")
      return false; // free text, whatever follows
    if (word == "multipv") {
      if (!(words >> word) || word != "1")
        return false;
    } else if (word == "score") {
      scored = words >> word && (word == "cp" || word == "mate");
    } else if (word == "pv") {
      break;
    }
  }
  return scored;
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
  settings.thinkFixed = getenv("ABROK_THINK_MS") != nullptr;
  settings.thinkMs = ReadSetting("ABROK_THINK_MS", 1, BridgeSettings::THINK_MS_MAX, settings.thinkMs);
  if (getenv("ABROK_SKILL_LEVEL"))
    settings.skillOverride = ReadSetting("ABROK_SKILL_LEVEL", 0, SKILL_LEVEL_MAX, -1);
  return settings;
}

void CBridge::Start() {
  const std::string path = CStockfish::Locate();
  if (path.empty()) {
    const char *engine = getenv("ABROK_ENGINE");
    const char *stockfishPath = getenv("ABROK_STOCKFISH");
    if (engine && *engine)
      engineProblem = std::string("no engine at ABROK_ENGINE=") + engine;
    else if (stockfishPath)
      engineProblem = std::string("Stockfish not found at ABROK_STOCKFISH=") + stockfishPath;
    else
      engineProblem = "Stockfish not found (PATH, /usr/games/stockfish)";
    std::cerr << "Abrok: " << engineProblem << "; install the Debian package 'stockfish'\n";
    return;
  }
  // An engine given up after too many restarts is reported to the front end.
  haveEngine = stockfish.Start(
      path, [this](const std::string &line) { OnBestMove(line); },
      [this](const std::string &line) {
        candidates.OnInfo(line);
        if (reportingScore && IsMainScoreLine(line))
          lastScoreLine = line;
      },
      [this](const std::string &reason) { Write(FAULT_PREFIX + reason + "\n"); });
  if (!haveEngine)
    engineProblem = stockfish.StartError();
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
  else if (command == "setoption")
    OnSetOption(line);
  else if (command == "stop")
    OnStop();
  else if (command == "ucinewgame")
    OnNewGame();
  else if (command == "position")
    OnPosition(arguments);
  else if (command == "go")
    OnGo(arguments);
  else if (chess::IsMoveText(command) && line == command)
    OnMove(command);
  else
    std::cerr << "Abrok: unknown command ignored: " << line << "\n";
  return true;
}

void CBridge::Quit() {
  if (haveEngine)
    stockfish.FinishSearch(STOP_TIMEOUT_MS);
  stockfish.Quit();
}

void CBridge::AnswerUci() {
  std::string text = "id name Abrok 5.0\nid author the Kelvar developers\n";
  text += "option name " + std::string(LEVEL_OPTION) + " type spin default " + std::to_string(LEVEL_DEFAULT) + " min " +
          std::to_string(LEVEL_MIN) + " max " + std::to_string(LEVEL_MAX) + "\n";
  text += "option name " + std::string(THINK_OPTION) + " type spin default " +
          std::to_string(BridgeSettings::THINK_MS_DEFAULT) + " min " + std::to_string(BridgeSettings::THINK_MS_MIN) +
          " max " + std::to_string(BridgeSettings::THINK_MS_MAX) + "\n";
  if (haveEngine) {
    std::string name, author;
    for (const std::string &id : stockfish.Identity()) {
      if (id.compare(0, 8, "id name ") == 0)
        name = id.substr(8);
      else if (id.compare(0, 10, "id author ") == 0)
        author = id.substr(10);
    }
    text += "info string engine " + name + (author.empty() ? "" : " by " + author) + "\n";
    if (CLevelPlan::ForLevel(settings.level, EngineOptions(), settings.skillOverride).levelApplies)
      text += "info string levels 1 to 8 weaken the engine\n";
    else
      text += "info string the engine offers neither Skill Level nor UCI_Elo: only the think time applies\n";
    if (settings.skillOverride >= 0)
      text += "info string skill level " + std::to_string(settings.skillOverride) + " of 20 (ABROK_SKILL_LEVEL)\n";
    if (settings.thinkFixed)
      text += "info string think time " + std::to_string(settings.thinkMs) + " ms (ABROK_THINK_MS)\n";
  } else {
    text += FAULT_PREFIX + engineProblem + "\n";
  }
  Write(text + "uciok\n");
}

void CBridge::OnSetOption(const std::string &line) {
  // "setoption name <name, may hold blanks> [value <value>]"
  const size_t nameAt = line.find(" name ");
  if (nameAt == std::string::npos) {
    std::cerr << "Abrok: setoption without a name ignored: " << line << "\n";
    return;
  }
  const size_t valueAt = line.find(" value ", nameAt);
  const std::string name =
      Trim(line.substr(nameAt + 6, valueAt == std::string::npos ? std::string::npos : valueAt - nameAt - 6));
  const std::string value = valueAt == std::string::npos ? "" : Trim(line.substr(valueAt + 7));
  if (name == LEVEL_OPTION) {
    if (!ParseInt(value, LEVEL_MIN, LEVEL_MAX, settings.level))
      std::cerr << "Abrok: Level " << value << " is not from " << LEVEL_MIN << " to " << LEVEL_MAX << "; ignored\n";
    return; // applied from the next search on
  }
  if (name == THINK_OPTION) {
    int thinkMs = 0;
    if (!ParseInt(value, BridgeSettings::THINK_MS_MIN, BridgeSettings::THINK_MS_MAX, thinkMs))
      std::cerr << "Abrok: Think Time " << value << " is not a number of milliseconds from "
                << BridgeSettings::THINK_MS_MIN << " to " << BridgeSettings::THINK_MS_MAX << "; ignored\n";
    else if (!settings.thinkFixed)
      settings.thinkMs = thinkMs;
    return;
  }
  // Other options go to the engine if it has them (Hash, Ponder, ...).
  if (haveEngine && EngineOptions().count(name)) {
    FinishSearch();
    stockfish.Send(line);
    sentOptions[name] = value;
  } else {
    std::cerr << "Abrok: the engine has no option \"" << name << "\"; ignored\n";
  }
}

void CBridge::OnStop() {
  // The engine's answer to the stop is still passed on: every go gets its bestmove.
  if (haveEngine)
    stockfish.StopSearch();
}

void CBridge::OnNewGame() {
  if (!haveEngine)
    return;
  FinishSearch();
  stockfish.Send("ucinewgame");
}

void CBridge::OnPosition(std::istringstream &arguments) {
  // "position startpos [moves ...]" or "position fen <six fields> [moves ...]".
  std::string word, fen;
  chess::Position start;
  arguments >> word;
  if (word == "fen") {
    while (arguments >> word && word != "moves")
      fen += (fen.empty() ? "" : " ") + word;
    std::string reason;
    if (!start.SetFen(WithAllFields(fen), reason)) {
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
  FinishSearch();
  moves.clear();
  startFen = fen;
  board = start;
  {
    std::lock_guard<std::mutex> lock(outputMutex);
    lastBestMove.clear();
  }
  while (arguments >> word)
    if (!PlayMove(word))
      return; // the game stands after the last good move
}

void CBridge::OnGo(std::istringstream &arguments) {
  std::string rest;
  std::getline(arguments, rest);
  const GoRequest request = GoRequest::Parse(rest);
  for (const std::string &problem : request.problems)
    std::cerr << "Abrok: " << problem << "\n";
  if (!request.ignored.empty())
    std::cerr << "Abrok: go options ignored, the search is bounded: " << request.ignored << "\n";
  if (!NeedEngine("go"))
    return;
  FinishSearch();
  if (request.nodes > 0) {
    // Only the node count bounds it, so the same position gives the same
    // answer each time.
    if (request.clock.Given() || request.adviceMs > 0)
      std::cerr << "Abrok: go nodes asks for an analysis of a fixed size; the clock and movetime are ignored\n";
    Analyse("go nodes " + std::to_string(request.nodes), true);
    return;
  }
  if (request.adviceMs > 0) {
    if (request.clock.Given())
      std::cerr << "Abrok: go movetime asks for advice; the clock is ignored\n";
    Analyse("go movetime " + std::to_string(request.adviceMs), false);
    return;
  }
  const bool whiteToMove = board.GetSideToMove() == chess::White;
  if (request.clock.Given() && !request.clock.Runs(whiteToMove))
    std::cerr << "Abrok: go without " << (whiteToMove ? "wtime" : "btime")
              << " for the side to move; the search takes the think time\n";
  Search(false, request.clock);
}

void CBridge::OnMove(const std::string &move) {
  if (!NeedEngine(move))
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
  chess::Move parsed;
  if (!chess::Move::FromUci(move, parsed) || !board.Play(parsed)) {
    const std::string start = startFen.empty() ? "" : "fen " + startFen + (moves.empty() ? "" : " moves ");
    std::cerr << "Abrok: move " << move << " is not legal after \"" << start
              << (moves.empty() && startFen.empty() ? "startpos" : Join(moves)) << "\"; ignored\n";
    return false;
  }
  moves.push_back(move);
  return true;
}

void CBridge::Prepare(const CLevelPlan &plan) {
  for (const auto &[name, value] : plan.options) {
    auto sent = sentOptions.find(name);
    if (sent != sentOptions.end() && sent->second == value)
      continue;
    stockfish.Send("setoption name " + name + " value " + value);
    sentOptions[name] = value;
  }
  std::string position = startFen.empty() ? "position startpos" : "position fen " + startFen;
  if (!moves.empty())
    position += " moves " + Join(moves);
  stockfish.Send(position);
  candidates.Clear();
}

bool CBridge::AnswerGameOver() {
  if (board.HasLegalMove())
    return false;
  // Mate or stalemate: there is nothing to search.
  Write("bestmove (none)\n");
  return true;
}

void CBridge::Search(bool handBack, const SearchClock &clock) {
  if (AnswerGameOver())
    return;
  const CLevelPlan plan = CLevelPlan::ForLevel(settings.level, EngineOptions(), settings.skillOverride);
  Prepare(plan);
  // Every legal move may be chosen, under-promotions included: the game
  // plays the promotion letter it is sent.
  searchMoves = LegalMoveTexts(board);
  analysing = false;
  reportingScore = false;
  handingBack = handBack;
  if (handBack) {
    weakenMarginCp = -1;
    stockfish.StartSearch(HAND_BACK_SEARCH);
    return;
  }
  weakenMarginCp = plan.candidates > 1 ? plan.marginCp : -1;
  const bool whiteToMove = board.GetSideToMove() == chess::White;
  stockfish.StartSearch(clock.Runs(whiteToMove) ? plan.GoCommand(clock, whiteToMove, settings.thinkMs)
                                                : plan.GoCommand(settings.thinkMs));
}

void CBridge::Analyse(const std::string &goCommand, bool reportScore) {
  if (AnswerGameOver())
    return;
  Prepare(CLevelPlan::FullStrength(EngineOptions()));
  searchMoves = LegalMoveTexts(board);
  weakenMarginCp = -1;
  analysing = true;
  handingBack = false;
  reportingScore = reportScore;
  lastScoreLine.clear();
  stockfish.StartSearch(goCommand);
}

void CBridge::FinishSearch() {
  if (stockfish.FinishSearch(STOP_TIMEOUT_MS))
    return;
  // The search that was stopped never gave its answer: the front end starts
  // this program, and so the engine, afresh.
  std::cerr << "Abrok: the engine did not end its search\n";
  Write(std::string(FAULT_PREFIX) + "missing bestmove\n");
}

bool CBridge::NeedEngine(const std::string &what) {
  if (haveEngine && stockfish.IsRunning())
    return true;
  std::cerr << "Abrok: no engine to play with; \"" << what << "\" ignored\n";
  return false;
}

std::string CBridge::CheckAnswer(const std::string &move) const {
  if (move.empty())
    return "missing bestmove";
  if (!chess::IsMoveText(move) && move != NULL_MOVE && move != NO_MOVE)
    return "malformed bestmove " + move;
  // A search is started only where the side to move has a move, so "no
  // move" is as wrong as a move that is not one of them.
  if (std::find(searchMoves.begin(), searchMoves.end(), move) == searchMoves.end())
    return "illegal move " + move;
  return "";
}

void CBridge::OnBestMove(const std::string &line) {
  // "bestmove e7e5 ponder g1f3" goes out as "bestmove e7e5": the front end
  // reads a few bytes per frame and looks at nothing more.
  std::istringstream words(line);
  std::string keyword, move;
  words >> keyword >> move;
  // A broken answer is never played nor replaced: the front end is told and
  // starts this program afresh, and no "bestmove" ends this search.
  const std::string fault = CheckAnswer(move);
  if (!fault.empty()) {
    std::cerr << "Abrok: the engine answered \"" << line << "\": " << fault << "; reported\n";
    {
      std::lock_guard<std::mutex> lock(outputMutex);
      lastBestMove.clear();
    }
    Write(std::string(FAULT_PREFIX) + fault + "\n");
    return;
  }
  if (weakenMarginCp >= 0) {
    const std::string pick = candidates.Pick(weakenMarginCp, random);
    if (std::find(searchMoves.begin(), searchMoves.end(), pick) != searchMoves.end())
      move = pick;
  }
  {
    std::lock_guard<std::mutex> lock(outputMutex);
    // Only the engine's own move comes back as a hand-back; the answer to a
    // hand-back or to a request for advice may well be the player's next move.
    lastBestMove = !analysing && !handingBack ? move : "";
  }
  // An analysis of a fixed size tells its score with its move, in one write.
  const std::string score = reportingScore && !lastScoreLine.empty() ? lastScoreLine + "\n" : "";
  Write(score + "bestmove " + move + "\n");
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
