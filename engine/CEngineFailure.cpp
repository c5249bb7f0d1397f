#include "engine/CEngineFailure.h"

#include <cstdlib>

namespace {
const char *const STOCKFISH = "Stockfish";
}

void CEngineFailure::Begin() {
  shown = everReady = givenUp = false;
  const char *engine = getenv("ABROK_ENGINE");
  stockfishChosen = !engine || !*engine;
  if (!stockfishChosen) {
    engineName = engine;
    return;
  }
  const char *path = getenv("ABROK_STOCKFISH");
  engineName = path && *path ? std::string(STOCKFISH) + " (" + path + ")" : STOCKFISH;
}

void CEngineFailure::Set(Kind failureKind, const std::string &why) {
  kind = failureKind;
  reason = why;
  givenUp = everReady;
}

std::string CEngineFailure::Message() const {
  std::string text =
      "The chess engine " + engineName + (everReady ? " was given up: " : " could not be started: ") + reason + ".";
  if (kind == Kind::Engine && stockfishChosen)
    text += " Install the Debian package stockfish.";
  if (everReady)
    text += " You can play on as two players, moving both sides.";
  return text;
}

bool CEngineFailure::TakeMessage(std::string &text) {
  if (shown)
    return false;
  shown = true;
  text = Message();
  return true;
}

bool CEngineFailure::TakeGiveUp() {
  const bool news = givenUp;
  givenUp = false;
  return news;
}

std::string CEngineFailure::CannotRun(const char *program, const std::string &why, bool again) {
  return std::string("the engine program ") + program + (again ? " cannot be run again (" : " cannot be run (") + why +
         ")";
}

std::string CEngineFailure::TooManyRestarts(int times, const std::string &last) {
  return "the engine program failed " + std::to_string(times) + " times within a minute (" + last + ")";
}

std::string CEngineFailure::TooManyBrokenAnswers(int times, const std::string &last) {
  return "its answers broke the rules " + std::to_string(times) + " times within a minute (" + last + ")";
}
