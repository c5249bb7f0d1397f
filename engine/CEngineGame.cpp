#include "engine/CEngineGame.h"

#include <cstring>

void CEngineGame::Set(const std::string &fen, const std::vector<std::string> &newMoves) {
  startFen = fen;
  moves = newMoves;
  history = L"";
  for (const std::string &move : moves) {
    history += irr::core::stringw(move.c_str());
    history.append(L'\n');
  }
}

void CEngineGame::Add(const std::string &move) {
  moves.push_back(move);
  history += irr::core::stringw(move.c_str());
  history.append(L'\n');
}

std::string CEngineGame::PositionCommand() const {
  std::string text = startFen.empty() ? "position startpos" : "position fen " + startFen;
  if (!moves.empty()) {
    text += " moves";
    for (const std::string &move : moves)
      text += " " + move;
  }
  return text + "\n";
}

void CEngineGame::KeepOption(const char *name, const char *value) {
  if (strcmp(name, "Hash") == 0 || strcmp(name, "Ponder") == 0)
    return;
  for (auto &option : options)
    if (option.first == name) {
      option.second = value;
      return;
    }
  options.emplace_back(name, value);
}
