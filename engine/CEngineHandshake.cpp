#include "engine/CEngineHandshake.h"

bool CEngineHandshake::Line(const std::string &line) {
  if (text.size() < INFO_LIMIT)
    text += (line + "\n").substr(0, INFO_LIMIT - text.size());
  return line == "uciok";
}

std::string CEngineHandshake::TakeRestart(bool &shown) {
  std::string why;
  why.swap(reason);
  shown = noticeShown;
  if (!why.empty()) {
    noticeShown = false;
    ++restarts;
  }
  return why;
}
