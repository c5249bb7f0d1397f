#include "engine/CEngineWatch.h"

#include <cstdlib>

uint32_t ThinkMsFromEnvironment() {
  const long most = 600000;
  const char *text = getenv("ABROK_THINK_MS");
  if (!text)
    return EngineTimings().thinkMs;
  char *end = nullptr;
  const long value = strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > most)
    return EngineTimings().thinkMs;
  return uint32_t(value);
}

bool CEngineWatch::FenceAnswered() {
  if (fences.empty())
    return false;
  fences.pop_front();
  return true;
}

std::string CEngineWatch::Overdue(uint32_t now, bool handshaking, bool searching) const {
  // Unsigned differences: correct across the tick counter's wrap-around.
  if (handshaking)
    return uint32_t(now - handshakeSince) >= timings.handshakeMs
               ? "no uciok within " + std::to_string(timings.handshakeMs) + " ms"
               : "";
  if (!fences.empty() && uint32_t(now - fences.front()) >= timings.readyMs)
    return "no readyok within " + std::to_string(timings.readyMs) + " ms";
  // A search may take the whole think time; only the grace beyond it counts
  // against the engine.
  const uint32_t searchLimit = (searchAllowanceMs ? searchAllowanceMs : timings.thinkMs) + timings.searchGraceMs;
  if (searching && uint32_t(now - searchSince) >= searchLimit)
    return "no bestmove within " + std::to_string(searchLimit) + " ms";
  return "";
}

void CEngineWatch::Expire(std::deque<uint32_t> &ticks, uint32_t now) const {
  while (!ticks.empty() && uint32_t(now - ticks.front()) >= timings.restartWindowMs)
    ticks.pop_front();
}

bool CEngineWatch::MayRestart(uint32_t now) {
  Expire(restartTicks, now);
  if (int(restartTicks.size()) >= timings.restartsPerWindow)
    return false;
  restartTicks.push_back(now);
  return true;
}

int CEngineWatch::RestartsInWindow(uint32_t now) {
  Expire(restartTicks, now);
  return int(restartTicks.size());
}

bool CEngineWatch::MoveFaultGivesUp(uint32_t now) {
  Expire(faultTicks, now);
  faultTicks.push_back(now);
  return int(faultTicks.size()) >= timings.moveFaultsPerWindow;
}
