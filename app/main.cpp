// Entry point: the command line, start-up, the frame loop, shut-down.
#include "app/CApplication.h"
#include "app/CCommandLine.h"
#include "platform/Platform.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char **argv) {
  CCommandLine::Options options;
  const CCommandLine::Action action = CCommandLine::Parse(argc, argv, options);
  const int exitCode = CCommandLine::Perform(action, options.error);
  if (exitCode >= 0)
    return exitCode;
  if (options.hasTimeControl)
    app.settings.OverrideTimeControl(options.timeControl);
  std::string gamePath = options.gamePath;
  // A game file named relative to where the game was started; the working
  // directory changes below.
  if (!gamePath.empty()) {
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(gamePath, failed);
    if (!failed)
      gamePath = absolute.string();
  }

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
  app.gameFiles.OpenAfterStartup(gamePath);
  while (gl_Pass())
    gl_Rest();
  gl_Exit();
  return 0;
}
