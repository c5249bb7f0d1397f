// Abrok 5.0, the engine program of Kelvar: speaks the front end's reduced UCI
// on standard input and output and plays through Stockfish.
#include "bridge/CBridge.h"

#include <csignal>
#include <iostream>
#include <string>

int main() {
  // A front end that has gone makes writes fail instead of ending us before
  // Stockfish is told to quit.
  signal(SIGPIPE, SIG_IGN);

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
