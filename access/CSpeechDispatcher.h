// The speech client of the desktop's speech server, speech-dispatcher, through
// libspeechd. Connecting (which may start the server) and every request run
// on a thread of the client's own, so the frame loop never waits for the
// server: Say and Cancel only queue a request.
#pragma once

#include "access/CSpeechClient.h"

#include <memory>
#include <thread>

class CSpeechDispatcher : public CSpeechClient {
public:
  CSpeechDispatcher();
  // Ends the thread, which closes the connection. A server that does not
  // answer holds the caller at most a short while; the thread then finishes
  // on its own.
  ~CSpeechDispatcher() override;
  CSpeechDispatcher(const CSpeechDispatcher &) = delete;
  CSpeechDispatcher &operator=(const CSpeechDispatcher &) = delete;

  void Open() override;
  State GetState(std::string &reason) const override;
  void Say(const std::string &text, bool interrupt) override;
  void Cancel() override;

  // The name the server knows the game by.
  static constexpr const char *CLIENT_NAME = "kelvar";

private:
  struct Shared;
  static void Run(std::shared_ptr<Shared> shared);

  // Shared with the thread, which may outlive the client.
  std::shared_ptr<Shared> shared;
  std::thread worker;
};
