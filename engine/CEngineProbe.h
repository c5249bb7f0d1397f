// Starts a UCI engine on its own for a moment and asks its name: the Config
// window's Test button, so a player learns at once whether a path names a
// working engine.
#pragma once

#include <string>

class CEngineProbe {
public:
  // The engine at path ("" for Stockfish: "stockfish" on the PATH, else
  // /usr/games/stockfish) is started, sent "uci" and given timeoutMs for its
  // "uciok". True with its "id name" in name; false with the reason in error.
  static bool Identify(const std::string &path, int timeoutMs, std::string &name, std::string &error);
  // The program an empty engine path stands for.
  static std::string StockfishPath();
};
