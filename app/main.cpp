// Entry point: the command line, start-up, the frame loop, shut-down.
#include "app/CApplication.h"
#include "app/CCommandLine.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
  std::string gamePath;
  const int exitCode = CCommandLine::Perform(CCommandLine::Parse(argc, argv, gamePath));
  if (exitCode >= 0)
    return exitCode;

  // Log lines go to standard output; keep them line by line even when it is
  // a pipe or a file, so that whoever reads them sees each line at once.
  setvbuf(stdout, nullptr, _IOLBF, 0);

  if (!gl_Init())
    return 0;
  app.gameFiles.OpenAfterStartup(gamePath);
  while (gl_Frame()) {
  }
  gl_Exit();
  return 0;
}
