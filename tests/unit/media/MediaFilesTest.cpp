// The run folder's media as the game's code names it, and the generator that
// writes it: every "./media/..." file the code mentions exists and loads, and
// the generator produces the same bytes on every run and reports failures.
#include "platform/Platform.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Every string literal "./media/<file>" in the game's source folders.
std::set<std::string> MediaNamesInSource() {
  std::set<std::string> names;
  const std::regex literal("\"\\./media/([^\"]+)\"");
  for (const char *folder : {"app", "rules", "game", "engine", "scene", "ui"}) {
    const fs::path root = fs::path(KELVAR_SOURCE_DIR) / folder;
    if (!fs::exists(root))
      continue;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
        continue;
      std::ifstream in(entry.path());
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it)
        names.insert((*it)[1].str());
    }
  }
  return names;
}

bool HasExtension(const std::string &name, const char *ext) {
  const std::string e(ext);
  return name.size() > e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0;
}

TEST(MediaFiles, EveryFileTheCodeNamesExistsAndLoads) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const std::set<std::string> names = MediaNamesInSource();
  // The board, labels, pieces, fonts and buttons alone name over thirty files.
  ASSERT_GE(names.size(), 30u) << "the source scan found too little; has the layout changed?";
  for (const std::string &name : names) {
    const std::string path = "./media/" + name;
    SCOPED_TRACE(path);
    ASSERT_TRUE(fs::is_regular_file(path)) << "missing from the run folder";
    EXPECT_GT(fs::file_size(path), 0u);
    if (HasExtension(name, ".x")) {
      irr::scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(path.c_str());
      ASSERT_NE(mesh, nullptr) << "does not parse as a mesh";
      irr::u32 indices = 0;
      for (irr::u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
        indices += mesh->getMeshBuffer(b)->getIndexCount();
      EXPECT_GE(indices, 3u) << "a mesh without triangles";
    } else if (HasExtension(name, ".bmp") || HasExtension(name, ".jpg") || HasExtension(name, ".png")) {
      // The null driver hands out empty textures, so parse the picture as well.
      EXPECT_NE(app.driver->getTexture(path.c_str()), nullptr);
      irr::video::IImage *image = app.driver->createImageFromFile(path.c_str());
      ASSERT_NE(image, nullptr) << "does not parse as a picture";
      EXPECT_GT(image->getDimension().Width, 0u);
      EXPECT_GT(image->getDimension().Height, 0u);
      image->drop();
    } else if (HasExtension(name, ".wav")) {
      std::ifstream in(path, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      platform::PcmSound sound;
      std::string error;
      EXPECT_TRUE(platform::DecodeWav(bytes, sound, error)) << error;
      EXPECT_FALSE(sound.samples.empty());
    }
  }
}

// Runs the generator into folder; returns its exit status, or -1 if it did not exit normally.
int RunGenerator(const std::string &folder) {
  const std::string command = std::string(KELVAR_BINARY_DIR) + "/tools/kelvar_mediagen '" + folder + "' 2>/dev/null";
  const int status = std::system(command.c_str());
  return (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const fs::path &file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class GeneratorRun : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kelvar-mediagen-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  fs::path root;
};

TEST_F(GeneratorRun, WritesTheSameBytesEveryTime) {
  const fs::path first = root / "first", second = root / "second";
  fs::create_directories(first);
  fs::create_directories(second);
  ASSERT_EQ(RunGenerator(first.string()), 0);
  ASSERT_EQ(RunGenerator(second.string()), 0);
  // The board sets besides the wooden one lie in folders of their own.
  const auto filesBelow = [](const fs::path &folder) {
    std::set<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
      if (entry.is_regular_file())
        files.insert(fs::relative(entry.path(), folder).string());
    return files;
  };
  const std::set<std::string> files = filesBelow(first);
  EXPECT_GE(files.size(), 36u);
  EXPECT_EQ(files.count("marble/field_lg.jpg"), 1u);
  EXPECT_EQ(files.count("tournament/tray.jpg"), 1u);
  EXPECT_EQ(filesBelow(second), files);
  for (const std::string &file : files) {
    const std::string a = ReadAll(first / file), b = ReadAll(second / file);
    EXPECT_FALSE(a.empty()) << file;
    EXPECT_TRUE(a == b) << file << " differs between two runs";
  }
}

TEST_F(GeneratorRun, ReportsAFolderItCannotWriteTo) {
  // A missing folder must give a failing exit status, not a crash or a false success.
  EXPECT_EQ(RunGenerator((root / "missing" / "media").string()), 1);
}

} // namespace
