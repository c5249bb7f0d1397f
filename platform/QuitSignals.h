// The signals that ask a program to end (SIGTERM at log out or shut down,
// SIGHUP when its terminal goes, SIGINT for Ctrl+C) caught as a request: the
// handler only notes the signal, and the frame loop ends the game the way the
// menu's Quit does.
#pragma once

namespace platform {

// Installs the handlers for SIGTERM, SIGHUP and SIGINT.
void CatchQuitSignals();
// The signal that asked to quit since the last call, once; 0 for none.
int TakeQuitSignal();
// "SIGTERM", "SIGHUP", "SIGINT" or the number.
const char *QuitSignalName(int signal);

} // namespace platform
