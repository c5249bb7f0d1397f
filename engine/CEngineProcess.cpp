#include "engine/CEngineProcess.h"

bool CEngineProcess::Launch(const char *path) {
  ++generation;
  if (!child.Start(path))
    return false;
  Write("uci\n");
  return true;
}

void CEngineProcess::Kill() {
  child.ClosePipes();
  child.Stop(0);
}

bool CEngineProcess::Quit(uint32_t graceMs) {
  const bool told = Write("\nquit\n");
  child.ClosePipes();
  child.Stop(graceMs);
  return told;
}

bool CEngineProcess::Write(const std::string &text) {
  if (text.empty() || !child.IsStarted())
    return false;
  return child.Write(text.data(), text.size()) == text.size();
}

std::string CEngineProcess::EndReason(bool drained) {
  if (child.OutputEnded())
    return "the engine program closed its output";
  if (drained && child.HasEnded())
    return "the engine program ended";
  return "";
}
