// The player's data folder by the XDG rules, and files written whole or not
// at all, also when the disk fills up.
#include "platform/DataFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string FreshFolder() {
  char pattern[] = "/tmp/kelvar-data-XXXXXX";
  const char *dir = mkdtemp(pattern);
  EXPECT_NE(dir, nullptr);
  return dir ? dir : "/tmp";
}

// Names of the entries of a folder, without "." and "..".
std::vector<std::string> Entries(const std::string &folder) {
  std::vector<std::string> names;
  DIR *dir = opendir(folder.c_str());
  while (dir) {
    dirent *entry = readdir(dir);
    if (!entry)
      break;
    const std::string name = entry->d_name;
    if (name != "." && name != "..")
      names.push_back(name);
  }
  if (dir)
    closedir(dir);
  return names;
}

// Sets or (with null) removes a variable for the life of the object.
class ScopedVariable {
public:
  ScopedVariable(const char *name, const char *value) : name(name) {
    const char *old = getenv(name);
    had = old != nullptr;
    if (had)
      previous = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedVariable() { had ? setenv(name, previous.c_str(), 1) : unsetenv(name); }

private:
  const char *name;
  bool had = false;
  std::string previous;
};

TEST(DataFiles, DataHomeFollowsTheXdgRules) {
  struct Case {
    const char *xdg, *home, *expected;
  } cases[] = {
      {"/srv/data", "/home/p", "/srv/data"},
      {nullptr, "/home/p", "/home/p/.local/share"},
      {"", "/home/p", "/home/p/.local/share"},
      {"relative/path", "/home/p", "/home/p/.local/share"},
      {nullptr, nullptr, ""},
  };
  for (const Case &c : cases) {
    ScopedVariable xdg("XDG_DATA_HOME", c.xdg), home("HOME", c.home);
    EXPECT_EQ(platform::DataHome(), c.expected) << (c.xdg ? c.xdg : "(unset)");
  }
}

TEST(DataFiles, FoldersAreMadeWithTheirParentsUnlessAFileStandsInTheWay) {
  const std::string root = FreshFolder();
  std::string error;
  EXPECT_TRUE(platform::MakeFolders(root + "/a/b/kelvar/games", error)) << error;
  EXPECT_TRUE(platform::MakeFolders(root + "/a/b/kelvar/games", error)) << "an existing folder is fine";
  ASSERT_TRUE(platform::WriteFileAtomically(root + "/file", "x", error)) << error;
  EXPECT_FALSE(platform::MakeFolders(root + "/file/games", error));
  EXPECT_NE(error.find(root + "/file"), std::string::npos) << error;
}

TEST(DataFiles, WritingReplacesTheWholeFileAndReadingIsBounded) {
  const std::string root = FreshFolder();
  const std::string path = root + "/game.pgn";
  std::string error, text;
  ASSERT_TRUE(platform::WriteFileAtomically(path, "first version, longer than the second", error)) << error;
  ASSERT_TRUE(platform::WriteFileAtomically(path, "second", error)) << error;
  ASSERT_TRUE(platform::ReadSmallFile(path, 100, text, error)) << error;
  EXPECT_EQ(text, "second");
  EXPECT_EQ(Entries(root), std::vector<std::string>{"game.pgn"}) << "no temporary file stays behind";

  EXPECT_FALSE(platform::ReadSmallFile(path, 3, text, error));
  EXPECT_NE(error.find("larger than"), std::string::npos) << error;
  EXPECT_EQ(text, "second") << "a refused read leaves the text alone";
  EXPECT_FALSE(platform::ReadSmallFile(root + "/missing.pgn", 100, text, error));
  EXPECT_NE(error.find("missing.pgn"), std::string::npos) << error;
  EXPECT_FALSE(platform::ReadSmallFile(root, 100, text, error)) << "a folder is not a file";

  EXPECT_TRUE(platform::RemoveFile(path));
  EXPECT_FALSE(platform::FileExists(path));
  EXPECT_TRUE(platform::RemoveFile(path)) << "a missing file counts as removed";
}

TEST(DataFiles, AnUnwritableFolderGivesAReasonAndNoFile) {
  const std::string root = FreshFolder();
  std::string error;
  ASSERT_TRUE(platform::WriteFileAtomically(root + "/plain", "x", error));
  EXPECT_FALSE(platform::WriteFileAtomically(root + "/plain/game.pgn", "text", error));
  EXPECT_NE(error.find("cannot write " + root + "/plain/game.pgn"), std::string::npos) << error;
  EXPECT_EQ(Entries(root), std::vector<std::string>{"plain"});
}

// A full disk, played by a file size limit in a child process: the write
// fails part way, the old file stays whole and no temporary file is left.
TEST(DataFiles, AFullDiskKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const std::string root = FreshFolder();
  const std::string path = root + "/autosave.pgn";
  std::string error;
  ASSERT_TRUE(platform::WriteFileAtomically(path, "old game", error));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of killing us
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string reason;
    const bool written = platform::WriteFileAtomically(path, std::string(100000, 'x'), reason);
    _exit(!written && reason.find("cannot write") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write must fail with a reason";
  std::string text;
  ASSERT_TRUE(platform::ReadSmallFile(path, 1000, text, error)) << error;
  EXPECT_EQ(text, "old game");
  EXPECT_EQ(Entries(root), std::vector<std::string>{"autosave.pgn"});
}

} // namespace
