// Entry point: start-up, the frame loop, shut-down.
#include "app/CApplication.h"

#include <cstdio>

int main() {
  // Log lines go to standard output; keep them line by line even when it is
  // a pipe or a file, so that whoever reads them sees each line at once.
  setvbuf(stdout, nullptr, _IOLBF, 0);

  if (!gl_Init())
    return 0;
  while (gl_Pass()) {
  }
  gl_Exit();
  return 0;
}
