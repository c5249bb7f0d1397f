// The program's folders, found through /proc/self/exe and the relative
// install places the build compiles in.
#include "platform/ProgramFolders.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

// KELVAR_DATA_FROM_BIN and KELVAR_ENGINE_FROM_BIN, the installed data folder
// and engine folder relative to the game's, come from the build.

namespace platform {
namespace fs = std::filesystem;

namespace {

const char *const MEDIA_FOLDER = "media";

// The engine program's path as the engine link reads it; points into
// engineStorage once EnterDataFolder has found the program.
std::string engineStorage;
const char *enginePath = "./Abrok_5_0.exe";

// The working directory the game was started from, once it has left it.
std::string startFolder;

bool HoldsMedia(const fs::path &folder) {
  std::error_code error;
  return fs::is_directory(folder / MEDIA_FOLDER, error);
}

} // namespace

std::string ExecutableFolder() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error || self.empty())
    return std::string();
  return self.parent_path().string();
}

bool FindProgramFolders(const std::string &exeFolder, SProgramFolders &folders) {
  if (exeFolder.empty())
    return false;
  const fs::path bin(exeFolder);
  if (HoldsMedia(bin)) {
    folders.data = bin.lexically_normal().string();
    folders.engine = (bin / ENGINE_PROGRAM_NAME).lexically_normal().string();
    return true;
  }
  const fs::path data = (bin / KELVAR_DATA_FROM_BIN).lexically_normal();
  if (!HoldsMedia(data))
    return false;
  folders.data = data.string();
  folders.engine = (bin / KELVAR_ENGINE_FROM_BIN / ENGINE_PROGRAM_NAME).lexically_normal().string();
  return true;
}

std::string AbsolutePath(const std::string &path) {
  if (path.empty() || fs::path(path).is_absolute())
    return path;
  std::error_code error;
  const fs::path base = startFolder.empty() ? fs::current_path(error) : fs::path(startFolder);
  if (error)
    return path;
  return (base / path).lexically_normal().string();
}

bool EnterProgramFolders(const SProgramFolders &folders, std::string &error) {
  std::error_code currentError;
  const fs::path here = fs::current_path(currentError);
  // Every later relative path ("./media/...") is resolved against it.
  if (chdir(folders.data.c_str()) != 0) {
    error = "cannot enter " + folders.data + ": " + strerror(errno);
    return false;
  }
  if (startFolder.empty() && !currentError)
    startFolder = here.string();
  engineStorage = folders.engine;
  enginePath = engineStorage.c_str();
  return true;
}

bool EnterDataFolder(std::string &error) {
  const std::string exeFolder = ExecutableFolder();
  if (exeFolder.empty()) {
    error = "cannot tell where the program lives (/proc/self/exe)";
    return false;
  }
  SProgramFolders folders;
  if (!FindProgramFolders(exeFolder, folders)) {
    error = "no media folder beside " + exeFolder + " nor in " +
            (fs::path(exeFolder) / KELVAR_DATA_FROM_BIN).lexically_normal().string();
    return false;
  }
  return EnterProgramFolders(folders, error);
}

const char *const &EngineProgramPath() { return enginePath; }

} // namespace platform
