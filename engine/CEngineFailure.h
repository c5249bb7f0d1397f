// Why the link has no engine, and what the player is told about it. The
// message names the engine the player chose, which the settings hand to the
// engine program (and so to this process) in the environment; only a missing
// or broken Stockfish is cured by installing a package, and only an engine
// that had been playing is "given up", with the game going on without it.
// The wording of every failure lives here, apart from the link's workings.
#pragma once

#include <cstdint>
#include <string>

class CEngineFailure {
public:
  // What failed: the engine program cannot run, the program reports its
  // engine missing or broken, or the link ran out of restarts.
  enum class Kind : uint8_t { Program, Engine, Link };

  // The link starts (again): the engine chosen is read afresh and nothing
  // has failed or played yet. ABROK_ENGINE names a UCI engine; without it the
  // engine program drives Stockfish, found at ABROK_STOCKFISH when that is set.
  void Begin();
  // The engine chosen, as the messages name it.
  const std::string &EngineName() const { return engineName; }
  // An engine completed its handshake: a later failure gives up an engine
  // that had been playing.
  void EngineReady() { everReady = true; }

  // The engine is given up for this reason.
  void Set(Kind failureKind, const std::string &why);
  // The message box's text.
  std::string Message() const;
  // The message box's text, once per start; false when it was taken already.
  bool TakeMessage(std::string &text);
  // True, once, after a failure gave up an engine that had been playing.
  bool TakeGiveUp();
  // What the engine's identification says instead.
  std::string Info() const { return "The chess engine could not be started: " + reason + "."; }

  // The reasons the link gives up for.
  static std::string CannotRun(const char *program, const std::string &why, bool again);
  static std::string TooManyRestarts(int times, const std::string &last);
  static std::string TooManyBrokenAnswers(int times, const std::string &last);

private:
  std::string engineName;
  bool stockfishChosen = true; // no other engine was chosen
  std::string reason;
  Kind kind = Kind::Program;
  bool everReady = false; // an engine completed its handshake since Begin
  bool shown = false;     // the message box has been shown
  bool givenUp = false;   // TakeGiveUp has news
};
