#include "platform/QuitSignals.h"

#include <csignal>
#include <initializer_list>

namespace platform {

namespace {

volatile std::sig_atomic_t pendingSignal = 0;

// Async-signal-safe: a single store.
void NoteSignal(int signal) { pendingSignal = signal; }

} // namespace

void CatchQuitSignals() {
  struct sigaction action = {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a sleep or a wait ends at once, so the frame loop sees
  // the request without waiting out its poll interval.
  action.sa_flags = 0;
  for (int signal : {SIGTERM, SIGHUP, SIGINT})
    sigaction(signal, &action, nullptr);
}

int TakeQuitSignal() {
  const int signal = pendingSignal;
  pendingSignal = 0;
  return signal;
}

const char *QuitSignalName(int signal) {
  switch (signal) {
  case SIGTERM:
    return "SIGTERM";
  case SIGHUP:
    return "SIGHUP";
  case SIGINT:
    return "SIGINT";
  default:
    return "signal";
  }
}

} // namespace platform
