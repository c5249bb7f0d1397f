// Finding the program's data folder and engine program from where its
// executable lives, and taking the player's paths relative to where they
// started.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A scratch folder holding the given sub-folders, removed afterwards.
class ScratchTree {
public:
  explicit ScratchTree(std::initializer_list<const char *> folders) {
    char pattern[] = "/tmp/kelvar-folders.XXXXXX";
    root = mkdtemp(pattern);
    for (const char *folder : folders)
      fs::create_directories(root / folder);
  }
  ~ScratchTree() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  std::string Path(const std::string &relative) const { return (root / relative).lexically_normal().string(); }

  fs::path root;
};

struct SLayoutCase {
  const char *name;
  std::initializer_list<const char *> folders;
  const char *exeFolder;
  const char *data;           // expected data folder, nullptr when none is found
  const char *engine;         // expected engine program
  const char *file = nullptr; // a plain file made in the tree
};

TEST(ProgramFolders, AreFoundBesideTheGameOrAtTheInstalledPlaces) {
  const SLayoutCase cases[] = {
      {"run folder", {"run/media"}, "run", "run", "run/Abrok_5_0.exe"},
      {"installed",
       {"usr/games", "usr/share/kelvar/media"},
       "usr/games",
       "usr/share/kelvar",
       "usr/lib/kelvar/Abrok_5_0.exe"},
      {"installed, folder named with a slash and dots",
       {"opt/k/games", "opt/k/share/kelvar/media"},
       "opt/k/./games/",
       "opt/k/share/kelvar",
       "opt/k/lib/kelvar/Abrok_5_0.exe"},
      {"media beside wins over installed",
       {"usr/games/media", "usr/share/kelvar/media"},
       "usr/games",
       "usr/games",
       "usr/games/Abrok_5_0.exe"},
      {"no media anywhere", {"usr/games", "usr/share/kelvar"}, "usr/games", nullptr, nullptr},
      {"a file named media is not the folder", {"run"}, "run", nullptr, nullptr, "run/media"},
  };
  for (const SLayoutCase &c : cases) {
    SCOPED_TRACE(c.name);
    ScratchTree tree(c.folders);
    if (c.file)
      std::ofstream(tree.root / c.file) << "not a folder";
    platform::SProgramFolders folders{"unchanged", "unchanged"};
    const bool found = platform::FindProgramFolders(tree.root.string() + "/" + c.exeFolder, folders);
    ASSERT_EQ(found, c.data != nullptr);
    EXPECT_EQ(folders.data, c.data ? tree.Path(c.data) : "unchanged");
    EXPECT_EQ(folders.engine, c.engine ? tree.Path(c.engine) : "unchanged");
  }
  platform::SProgramFolders folders;
  EXPECT_FALSE(platform::FindProgramFolders("", folders)) << "an unknown executable folder";
}

TEST(ProgramFolders, PlayerPathsStayRelativeToTheStartingDirectoryAfterEnteringTheData) {
  ScratchTree tree({"home/games", "usr/games", "usr/share/kelvar/media"});
  ASSERT_EQ(chdir(tree.Path("home/games").c_str()), 0);
  const char *const &engine = platform::EngineProgramPath();
  EXPECT_STREQ(engine, "./Abrok_5_0.exe");

  platform::SProgramFolders folders;
  ASSERT_TRUE(platform::FindProgramFolders(tree.Path("usr/games"), folders));
  std::string error;
  ASSERT_TRUE(platform::EnterProgramFolders(folders, error)) << error;
  EXPECT_EQ(fs::current_path(), fs::path(tree.Path("usr/share/kelvar")));
  EXPECT_EQ(std::string(engine), tree.Path("usr/lib/kelvar/Abrok_5_0.exe")) << "bound before, followed after";

  const struct {
    const char *given, *expected;
  } paths[] = {
      {"game.pgn", "home/games/game.pgn"},
      {"./sub/../game.pgn", "home/games/game.pgn"},
      {"../game.pgn", "home/game.pgn"},
  };
  for (const auto &p : paths)
    EXPECT_EQ(platform::AbsolutePath(p.given), tree.Path(p.expected)) << p.given;
  EXPECT_EQ(platform::AbsolutePath("/srv/game.pgn"), "/srv/game.pgn");
  EXPECT_EQ(platform::AbsolutePath(""), "");

  // A folder that cannot be entered changes nothing.
  folders.data = tree.Path("usr/share/missing");
  folders.engine = "/nowhere/Abrok_5_0.exe";
  EXPECT_FALSE(platform::EnterProgramFolders(folders, error));
  EXPECT_NE(error.find("cannot enter " + folders.data + ": No such file or directory"), std::string::npos) << error;
  EXPECT_EQ(fs::current_path(), fs::path(tree.Path("usr/share/kelvar")));
  EXPECT_EQ(std::string(engine), tree.Path("usr/lib/kelvar/Abrok_5_0.exe"));
}

TEST(ProgramFolders, WithoutADataFolderTheWorkingDirectoryAndEngineStay) {
  // The test program lives in the build tree, with no media beside it nor at
  // the installed place relative to it.
  const fs::path before = fs::current_path();
  const char *const &engine = platform::EngineProgramPath();
  EXPECT_STREQ(engine, "./Abrok_5_0.exe");
  EXPECT_EQ(fs::path(platform::ExecutableFolder()), fs::canonical("/proc/self/exe").parent_path());
  std::string error;
  EXPECT_FALSE(platform::EnterDataFolder(error));
  EXPECT_NE(error.find("no media folder beside " + platform::ExecutableFolder()), std::string::npos) << error;
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_STREQ(engine, "./Abrok_5_0.exe");
}

} // namespace
