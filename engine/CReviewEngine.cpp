// The review's engine program: one request at a time, its answer read from
// the lines the program writes, checked against the position asked about.
#include "engine/CReviewEngine.h"

#include <cerrno>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

const size_t READ_CHUNK = 4096;
const size_t READ_LIMIT_PER_POLL = 1 << 16; // a flood is taken over several polls
const uint32_t QUIT_GRACE_MS = 300;
const char *const ERROR_PREFIX = "info string error ";

bool StartsWith(const std::string &text, const std::string &prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The words of a line, split at blanks.
std::vector<std::string> Words(const std::string &line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;)
    words.push_back(word);
  return words;
}

// True for an "info" line that carries a score of the search's first line:
// no "multipv", or "multipv 1". Free text after "string" is no score.
bool HasMainScore(const std::vector<std::string> &words) {
  bool scored = false;
  for (size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "string")
      return false;
    if (words[i] == "multipv" && (i + 1 == words.size() || words[i + 1] != "1"))
      return false;
    if (words[i] == "score")
      scored = true;
    if (words[i] == "pv")
      break;
  }
  return scored;
}

} // namespace

bool CReviewEngine::Start(const std::string &path, uint64_t nowMs, std::string &error) {
  Stop();
  if (!process.Launch(path.c_str())) {
    error = "cannot start " + path + ": " + strerror(errno);
    state = State::Off;
    return false;
  }
  state = State::Handshake;
  lastHeardMs = nowMs;
  return true;
}

void CReviewEngine::Analyse(const chess::Position &asked, long long nodeCount, uint64_t nowMs) {
  position = asked;
  nodes = nodeCount;
  requestWaiting = true;
  found = false;
  if (state == State::Searching) {
    // The search under way still answers (the engine program ends it when
    // the new position comes): that answer is not for this request.
    ++staleAnswers;
    state = State::Ready;
  }
  if (state == State::Ready)
    SendRequest(nowMs);
}

void CReviewEngine::SendRequest(uint64_t nowMs) {
  requestWaiting = false;
  haveScore = false;
  scoreProblem.clear();
  std::string text;
  // Once a program: its search history starts clean, so that a game reviewed
  // twice is judged alike.
  if (!newGameSent)
    text += "ucinewgame\n";
  newGameSent = true;
  text += "position fen " + position.GetFen() + "\ngo nodes " + std::to_string(nodes) + "\n";
  if (!process.Write(text)) {
    Fail("the engine program cannot be written to");
    return;
  }
  state = State::Searching;
  lastHeardMs = nowMs;
}

CReviewEngine::Result CReviewEngine::Poll(uint64_t nowMs, chess::PositionFinding &finding, std::string &error) {
  if (state == State::Failed) {
    error = failure;
    return Result::Failed;
  }
  if (state == State::Off)
    return Result::Waiting;

  char buffer[READ_CHUNK];
  size_t total = 0;
  bool drained = false;
  while (total < READ_LIMIT_PER_POLL && state != State::Failed && !found) {
    const size_t count = process.Read(buffer, sizeof(buffer));
    if (count == 0) {
      drained = true;
      break;
    }
    total += count;
    lastHeardMs = nowMs;
    std::vector<std::string> lines;
    lineBuffer.Feed(buffer, count, lines);
    for (const std::string &line : lines) {
      OnLine(line);
      if (state == State::Failed || found)
        break;
    }
  }
  if (found) {
    // What the program wrote after the answer belongs to no request.
    found = false;
    lineBuffer.Clear();
    finding = result;
    return Result::Found;
  }
  if (state == State::Ready && requestWaiting)
    SendRequest(nowMs);
  if (state != State::Failed) {
    const std::string ended = process.EndReason(drained);
    const uint64_t quietMs = nowMs > lastHeardMs ? nowMs - lastHeardMs : 0;
    if (!ended.empty())
      Fail(ended);
    else if (state == State::Handshake && quietMs >= HANDSHAKE_TIMEOUT_MS)
      Fail("no \"uciok\" within " + std::to_string(HANDSHAKE_TIMEOUT_MS / 1000) + " s");
    else if (state == State::Searching && quietMs >= SEARCH_SILENCE_MS)
      Fail("no answer for " + std::to_string(SEARCH_SILENCE_MS / 1000) + " s");
  }
  if (state == State::Failed) {
    error = failure;
    return Result::Failed;
  }
  return Result::Waiting;
}

void CReviewEngine::OnLine(const std::string &line) {
  // The engine program has no engine behind it, or found its answer broken.
  if (StartsWith(line, ERROR_PREFIX)) {
    Fail(line.substr(strlen(ERROR_PREFIX)));
    return;
  }
  if (state == State::Handshake) {
    if (line == "uciok")
      state = State::Ready;
    return; // names and options: nothing the review needs
  }
  if (state != State::Searching)
    return; // nothing was asked
  const std::vector<std::string> words = Words(line);
  if (words.empty())
    return;
  if (staleAnswers > 0) {
    // The lines of a replaced search, up to its answer.
    staleAnswers -= words[0] == "bestmove";
    return;
  }
  if (words[0] == "info") {
    if (!HasMainScore(words))
      return;
    chess::Evaluation eval;
    std::string problem;
    if (chess::EvaluationFromUciInfo(line, position.GetSideToMove(), eval, problem)) {
      score = eval;
      haveScore = true;
    } else {
      scoreProblem = problem;
    }
    return;
  }
  if (words[0] != "bestmove")
    return;
  const std::string move = words.size() > 1 ? words[1] : "";
  result = chess::PositionFinding();
  if (move == "(none)" && !position.HasLegalMove()) {
    // Nothing to search: the rules judge the position.
    result.eval = position.IsInCheck() ? chess::Evaluation::MateIn(position.GetSideToMove() == chess::White ? -1 : 1)
                                       : chess::Evaluation::Centipawns(0);
  } else {
    chess::Move parsed;
    if (!chess::Move::FromUci(move, parsed) || !position.IsLegal(parsed)) {
      Fail("the answer \"" + line + "\" is no legal move of " + position.GetFen());
      return;
    }
    if (!haveScore) {
      Fail("no score came before \"" + line + "\"" + (scoreProblem.empty() ? "" : " (" + scoreProblem + ")"));
      return;
    }
    result.eval = score;
    result.bestMove = parsed.ToUci();
  }
  found = true;
  state = State::Ready;
}

void CReviewEngine::Fail(const std::string &reason) {
  state = State::Failed;
  failure = reason;
  requestWaiting = false;
}

void CReviewEngine::Stop() {
  if (process.IsStarted())
    process.Quit(QUIT_GRACE_MS);
  lineBuffer.Clear();
  state = State::Off;
  newGameSent = false;
  requestWaiting = false;
  staleAnswers = 0;
  found = false;
  failure.clear();
}
