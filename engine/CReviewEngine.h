// The engine program that judges positions for a review, on two pipes of its
// own. It speaks UCI: "uci" (answered by "uciok"), then for each position
// "position fen <FEN>" and "go nodes <N>", answered by "info ... score cp|mate
// ..." lines and a "bestmove". The engine program searches such a request at
// full strength whatever the playing level. No call waits: Poll reads what
// has come.
#pragma once

#include "chess/CGameAnalysis.h"
#include "engine/CEngineLineBuffer.h"
#include "engine/CEngineProcess.h"

#include <cstdint>
#include <string>

class CReviewEngine {
public:
  enum class Result { Waiting, Found, Failed };

  // Starts the program at path and sends "uci". False, with error, if it
  // cannot be started.
  bool Start(const std::string &path, uint64_t nowMs, std::string &error);
  // Asks for the position's finding at nodes; a request made before the
  // handshake is complete waits for it.
  void Analyse(const chess::Position &position, long long nodes, uint64_t nowMs);
  // Reads what the program has written, never blocking. Found: finding holds
  // the last score of the search and its best move. Failed, with error: the
  // program ended, reported an error ("info string error ..."), answered with
  // a move that is not legal or without a score, or went silent too long.
  Result Poll(uint64_t nowMs, chess::PositionFinding &finding, std::string &error);
  // Ends the program: "quit", a short grace, then its process group.
  void Stop();
  bool IsStarted() const { return process.IsStarted(); }

  // Longest silence of the program: before "uciok", and during a search.
  static constexpr uint64_t HANDSHAKE_TIMEOUT_MS = 10000;
  static constexpr uint64_t SEARCH_SILENCE_MS = 60000;

private:
  enum class State { Off, Handshake, Ready, Searching, Failed };

  // Sends the waiting request.
  void SendRequest(uint64_t nowMs);
  // Takes one line of output; may end the request (Found or Failed).
  void OnLine(const std::string &line);
  void Fail(const std::string &reason);

  CEngineProcess process;
  CEngineLineBuffer lineBuffer;
  State state = State::Off;
  bool newGameSent = false;
  bool requestWaiting = false; // asked for before the handshake was done
  int staleAnswers = 0;        // searches replaced by a new request before their answer
  chess::Position position;    // the position asked about
  long long nodes = 0;
  uint64_t lastHeardMs = 0; // the last output, or the start of the wait
  bool haveScore = false;
  chess::Evaluation score;
  std::string scoreProblem; // why the last line with a score could not be read
  bool found = false;
  chess::PositionFinding result;
  std::string failure;
};
