// A voice for the game's words: the link to a speech server, made so that no
// call ever waits for the server. The game keeps one while speech is on;
// tests give it one that writes down what would be said.
#pragma once

#include <string>

class CSpeechClient {
public:
  enum class State {
    Connecting, // opening (or not opened yet): what is said waits
    Ready,      // connected: what is said goes to the server
    Failed,     // no server, or the link broke: what is said is dropped
  };

  virtual ~CSpeechClient() = default;

  // Begins to connect to the speech server and returns at once.
  virtual void Open() = 0;
  // Where the link stands; when it failed, reason says why.
  virtual State GetState(std::string &reason) const = 0;
  // Says text. interrupt first silences what is being said and drops what
  // waits to be said; otherwise text follows it.
  virtual void Say(const std::string &text, bool interrupt) = 0;
  // Silences what is being said and drops what waits.
  virtual void Cancel() = 0;
};
