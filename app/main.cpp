// Entry point: start-up, the frame loop, shut-down.
#include "app/CApplication.h"
#include "platform/Platform.h"

#include <cstdio>
#include <string>

int main() {
  // Log lines go to standard output; keep them line by line even when it is
  // a pipe or a file, so that whoever reads them sees each line at once.
  setvbuf(stdout, nullptr, _IOLBF, 0);

  // The game reads its media relative to its data folder, wherever it was
  // started from.
  std::string error;
  if (!platform::EnterDataFolder(error)) {
    std::fprintf(stderr, "kelvar: cannot find the game's data: %s\n", error.c_str());
    return 1;
  }

  if (!gl_Init())
    return 1;
  while (gl_Pass()) {
  }
  gl_Exit();
  return 0;
}
