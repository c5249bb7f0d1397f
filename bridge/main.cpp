// Abrok 5.0, the engine program of Kelvar: speaks the front end's reduced UCI
// on standard input and output and plays through Stockfish.
#include "bridge/CBridge.h"

#include <csignal>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

// Told to end (the front end ends a program that does not quit in time with
// SIGTERM): the engine's process group is killed first, since it is a group
// of its own that would otherwise outlive us.
void OnTerminate(int signal) {
  CStockfish::KillRunningEngine();
  _exit(128 + signal);
}

} // namespace

int main() {
  // A front end that has gone makes writes fail instead of ending us before
  // Stockfish is told to quit.
  signal(SIGPIPE, SIG_IGN);
  for (int ending : {SIGTERM, SIGINT, SIGHUP})
    signal(ending, OnTerminate);

  CBridge bridge(BridgeSettings::FromEnvironment());
  bridge.Start();
  // One line, one command; the end of input counts as "quit".
  std::string line;
  while (std::getline(std::cin, line))
    if (!bridge.HandleLine(line))
      break;
  bridge.Quit();
  return 0;
}
