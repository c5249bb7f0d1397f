// Entry point: the command line, start-up, the frame loop, shut-down.
#include "app/CApplication.h"
#include "app/CCommandLine.h"
#include "app/CSettings.h"
#include "game/CAnnotateFile.h"
#include "game/CGameKeeper.h"
#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

namespace {

// A file named relative to where the game was started; the working
// directory changes to the data folder.
std::string Absolute(const std::string &path) {
  if (path.empty())
    return path;
  std::error_code failed;
  const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
  return failed ? path : absolute.string();
}

// "kelvar --annotate IN OUT": the review without a window, with the engine
// program of the data folder and the engine and node count of the settings.
int Annotate(const CCommandLine::Options &options) {
  const std::string in = Absolute(options.annotateIn), out = Absolute(options.annotateOut);
  std::string error;
  if (!platform::EnterDataFolder(error)) {
    std::fprintf(stderr, "kelvar: cannot find the game's data: %s\n", error.c_str());
    return 1;
  }
  CSettings settings;
  for (const std::string &line : settings.Load(CSettings::DefaultPath()))
    std::cout << "Kelvar: " << line << "\n";
  // The engine program inherits the engine the settings name, as in a game.
  if (!settings.enginePath.empty())
    setenv("ABROK_ENGINE", settings.enginePath.c_str(), 1);
  return CAnnotateFile::Run(in, out, settings.reviewNodes, platform::EngineProgramPath(), std::cerr, std::cout);
}

} // namespace

int main(int argc, char **argv) {
  CCommandLine::Options options;
  const CCommandLine::Action action = CCommandLine::Parse(argc, argv, options);
  const int exitCode = CCommandLine::Perform(action, options.error);
  if (exitCode >= 0)
    return exitCode;
  // Log lines go to standard output; keep them line by line even when it is
  // a pipe or a file, so that whoever reads them sees each line at once.
  setvbuf(stdout, nullptr, _IOLBF, 0);
  if (action == CCommandLine::Annotate)
    return Annotate(options);
  if (action == CCommandLine::ExportGames)
    return CGameKeeper::ExportGames(Absolute(options.exportPath));
  if (options.hasTimeControl)
    app.settings.OverrideTimeControl(options.timeControl);
  const std::string gamePath = Absolute(options.gamePath), reviewPath = Absolute(options.reviewPath);

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
  if (!reviewPath.empty())
    app.review.ReviewFileAfterStartup(reviewPath);
  while (gl_Pass())
    gl_Rest();
  gl_Exit();
  return 0;
}
