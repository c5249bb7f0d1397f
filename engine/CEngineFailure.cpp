#include "engine/CEngineFailure.h"

#include "platform/Language.h"

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
  std::string text = platform::TrFormat(everReady ? platform::NoTr("The chess engine {1} was given up: {2}.")
                                                  : platform::NoTr("The chess engine {1} could not be started: {2}."),
                                        {engineName, reason});
  if (kind == Kind::Engine && stockfishChosen)
    text += std::string(" ") + platform::Tr("Install the Debian package stockfish.");
  if (everReady)
    text += std::string(" ") + platform::Tr("You can play on as two players, moving both sides.");
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
