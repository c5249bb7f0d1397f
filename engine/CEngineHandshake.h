// An engine process's handshake, from "uci" to "uciok": the identification
// the process gives (kept within a bound, whatever it writes), and, when the
// process replaces one that failed, the restart it completes. A restart
// counts only once its process is ready, so it is kept here until then.
#pragma once

#include <irrlicht.h>

#include <string>

class CEngineHandshake {
public:
  // Identification text kept at most.
  static constexpr size_t INFO_LIMIT = 1023;

  // A process was started: its handshake begins.
  void Begin() { text.clear(); }
  // One line of the handshake, kept for the identification. True for "uciok".
  bool Line(const std::string &line);
  // "uciok" came: the handshake's text is the engine's identification.
  void Done() { info = irr::core::stringw(text.c_str()); }
  // The identification; empty until a handshake is done.
  const irr::core::stringw &Info() const { return info; }
  // Forgets the identification: a new engine program may drive another engine.
  void ClearInfo() { info = L""; }

  // The process about to start replaces one that failed for this reason.
  void Restarting(const std::string &why) { reason = why; }
  // The restart under way has its own notice on the status line already.
  void NoticeShown(bool shown) { noticeShown = shown; }
  // The restart a ready process completes, counted and returned once: its
  // reason, or empty when the process was no restart. shown tells whether
  // the status line has said so already.
  std::string TakeRestart(bool &shown);
  int RestartCount() const { return restarts; }

private:
  std::string text; // engine output of the handshake under way
  irr::core::stringw info;
  std::string reason;       // set while a restart's handshake runs
  bool noticeShown = false; // the restart under way has its notice on the status line
  int restarts = 0;
};
