#include "engine/CEngineProbe.h"

#include "platform/Platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace {

const char *const DEBIAN_STOCKFISH = "/usr/games/stockfish";
const uint32_t QUIT_GRACE_MS = 300;

bool IsRegularFile(const std::string &path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string CEngineProbe::StockfishPath() {
  if (const char *path = getenv("PATH")) {
    std::istringstream folders(path);
    for (std::string folder; std::getline(folders, folder, ':');)
      if (!folder.empty() && IsRegularFile(folder + "/stockfish"))
        return folder + "/stockfish";
  }
  return DEBIAN_STOCKFISH;
}

bool CEngineProbe::Identify(const std::string &path, int timeoutMs, std::string &name, std::string &error) {
  const std::string program = path.empty() ? StockfishPath() : path;
  if (!IsRegularFile(program)) {
    error = "no program at " + program;
    return false;
  }
  platform::ChildProcess child;
  if (!child.Start(program.c_str())) {
    error = "cannot start " + program + ": " + strerror(errno);
    return false;
  }
  const std::string uci = "uci\n";
  child.Write(uci.data(), uci.size());
  std::string output;
  const uint32_t start = platform::GetTickCount();
  while (output.find("uciok") == std::string::npos) {
    const int left = timeoutMs - int(platform::GetTickCount() - start);
    if (left <= 0 || !child.WaitForOutput(left))
      break;
    char buffer[1024];
    const size_t count = child.Read(buffer, sizeof(buffer));
    if (count == 0 && child.OutputEnded())
      break;
    output.append(buffer, count);
  }
  const std::string quit = "quit\n";
  child.Write(quit.data(), quit.size());
  child.ClosePipes();
  child.Stop(QUIT_GRACE_MS);

  const size_t at = output.find("id name ");
  if (output.find("uciok") == std::string::npos || at == std::string::npos) {
    error = program + " does not answer as a UCI engine";
    return false;
  }
  const size_t end = output.find_first_of("\r\n", at);
  name = output.substr(at + 8, end == std::string::npos ? std::string::npos : end - at - 8);
  return true;
}
