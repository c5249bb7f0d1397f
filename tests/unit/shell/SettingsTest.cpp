// The settings file: where it lives, what a broken or strange file leaves of
// the defaults, the round trip, and a folder that cannot be written.
#include "app/CPlayerSettings.h"
#include "app/CSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kelvar-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    path = (folder / "kelvar" / "kelvar.ini").string();
  }
  void TearDown() override {
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder);
  }

  void Write(const std::string &text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << text;
  }

  static std::string Joined(const std::vector<std::string> &lines) {
    std::string text;
    for (const std::string &line : lines)
      text += line + "\n";
    return text;
  }

  // The settings of a file holding text; log gets the lines Load reports.
  CSettings LoadText(const std::string &text, std::string &log) {
    Write(text);
    CSettings settings;
    log = Joined(settings.Load(path));
    return settings;
  }

  // Saves the settings, expects them to read back the same with nothing to
  // report, and returns the file's text.
  std::string SaveAndReload(const CSettings &settings) {
    std::string message;
    EXPECT_TRUE(settings.Save(path, message)) << message;
    std::ifstream written(path);
    const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    CSettings loaded;
    EXPECT_EQ(loaded.Load(path).size(), 1u) << "only where the settings came from";
    EXPECT_EQ(loaded, settings);
    return text;
  }

  fs::path folder;
  std::string path;
};

} // namespace

TEST(Settings, PathFollowsXdgConfigHomeThenHome) {
  const char *savedConfig = getenv("XDG_CONFIG_HOME");
  const std::string keepConfig = savedConfig ? savedConfig : "";
  const std::string keepHome = getenv("HOME") ? getenv("HOME") : "";
  struct Case {
    const char *config; // nullptr: unset
    const char *home;
    const char *expected;
  };
  const Case cases[] = {
      {"/cfg", "/home/a", "/cfg/kelvar/kelvar.ini"},
      {nullptr, "/home/a", "/home/a/.config/kelvar/kelvar.ini"},
      {"", "/home/a", "/home/a/.config/kelvar/kelvar.ini"},             // empty counts as unset
      {"relative/cfg", "/home/a", "/home/a/.config/kelvar/kelvar.ini"}, // so does a relative path
      {nullptr, nullptr, ""},
  };
  for (const Case &c : cases) {
    c.config ? setenv("XDG_CONFIG_HOME", c.config, 1) : unsetenv("XDG_CONFIG_HOME");
    c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
    EXPECT_EQ(CSettings::DefaultPath(), c.expected) << (c.config ? c.config : "(unset)");
  }
  savedConfig ? setenv("XDG_CONFIG_HOME", keepConfig.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", keepHome.c_str(), 1);
}

TEST_F(SettingsFile, MissingOrEmptyFileMeansDefaults) {
  CSettings settings;
  const std::string log = Joined(settings.Load(path));
  EXPECT_EQ(settings, CSettings());
  EXPECT_NE(log.find("no file at " + path), std::string::npos) << log;

  Write("");
  EXPECT_NE(Joined(settings.Load(path)).find("settings loaded from " + path), std::string::npos);
  EXPECT_EQ(settings, CSettings());

  // Loading again reads the whole state: nothing of an earlier file stays.
  Write("[engine]\nlevel = 6\n[game]\nsound = false\n");
  settings.Load(path);
  ASSERT_EQ(settings.level, 6);
  Write("[engine]\nlevel = 9\n");
  settings.Load(path);
  EXPECT_EQ(settings, CSettings()) << "a bad value means its default, an absent one too";
  Write("[game]\nsound = false\n");
  settings.Load(path);
  std::remove(path.c_str());
  settings.Load(path);
  EXPECT_EQ(settings, CSettings()) << "no file means the defaults";
}

// Every bad entry keeps its own default and is named in the log; the good
// entries around it are still taken.
TEST_F(SettingsFile, BadEntriesKeepTheirDefaultsAndAreReported) {
  Write("[engine]\n"
        "level = 9\n"
        "think_ms = 2500\n"
        "path = /usr/games/ethereal-chess\n"
        "colour = blue\n"
        "[game]\n"
        "sound = maybe\n"
        "shadows = true\n"
        "turn_camera = TRUE\n"
        "reflections = glossy\n"
        "theme = granite\n"
        "this line has no equals sign\n"
        "[window]\n"
        "width = 1280\n"
        "height = -5\n"
        "fullscreen = true\n"
        "[clock]\n"
        "time_control = 5 min\n"
        "increment_kind = delay\n"
        "[extra]\n"
        "key = value\n"
        "[review]\n"
        "nodes = 999\n"
        "[access]\n"
        "speech = yes\n");
  CSettings settings;
  const std::string log = Joined(settings.Load(path));
  EXPECT_EQ(settings.level, 3);
  EXPECT_EQ(settings.thinkMs, 2500);
  EXPECT_EQ(settings.enginePath, "/usr/games/ethereal-chess");
  EXPECT_TRUE(settings.sound);
  EXPECT_TRUE(settings.shadows);
  EXPECT_FALSE(settings.turnCamera);
  EXPECT_TRUE(settings.reflections);
  EXPECT_FALSE(settings.reflectionsChosen) << "a bad value leaves the choice to the frame rate";
  EXPECT_EQ(settings.theme, EBoardTheme::Wood);
  EXPECT_EQ(settings.width, 1280);
  EXPECT_EQ(settings.height, 768);
  EXPECT_TRUE(settings.fullscreen);
  EXPECT_TRUE(settings.timeControl.IsNone());
  EXPECT_EQ(settings.incrementKind, chess::IncrementKind::Fischer);
  EXPECT_EQ(settings.reviewNodes, CSettings::REVIEW_NODES_DEFAULT);
  EXPECT_FALSE(settings.speech);
  for (const char *reported :
       {"[engine] level = 9 is not a number from 1 to 8", "unknown key [engine] colour",
        "[game] sound = maybe is not true or false", "[game] turn_camera = TRUE",
        "[game] reflections = glossy is not on or off; the default is kept",
        "[game] theme = granite is not wood, marble or tournament; the default is kept", "line 12 is not",
        "[window] height = -5", "unknown key [extra] key", "[clock] time_control = 5 min is not a time control (",
        "[clock] increment_kind = delay is not fischer or bronstein",
        "[review] nodes = 999 is not a number from 1000 to 100000000; the default is kept",
        "[access] speech = yes is not true or false", "settings loaded from"})
    EXPECT_NE(log.find(reported), std::string::npos) << reported << "\n" << log;
}

TEST_F(SettingsFile, BinaryGarbageIsSurvived) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i)
    garbage += char((i * 7919) % 256);
  Write(garbage);
  CSettings settings;
  settings.Load(path);
  EXPECT_EQ(settings, CSettings());
}

TEST_F(SettingsFile, RoundTripThroughAnAtomicWrite) {
  CSettings settings;
  settings.level = 7;
  settings.thinkMs = 10000;
  settings.enginePath = "/opt/engines/my engine";
  settings.sound = false;
  settings.shadows = true;
  settings.turnCamera = true;
  settings.width = 1600;
  settings.height = 900;
  settings.fullscreen = true;
  std::string reason;
  ASSERT_TRUE(chess::TimeControl::Parse("40/5400+30:1800+30", settings.timeControl, reason)) << reason;
  settings.incrementKind = chess::IncrementKind::Bronstein;
  settings.reviewNodes = CSettings::REVIEW_NODES_MAX;
  settings.speech = true;
  std::string message;
  ASSERT_TRUE(settings.Save(path, message)) << message; // the folder is made
  EXPECT_EQ(message, "settings saved to " + path);
  EXPECT_FALSE(fs::exists(path + ".tmp"));

  CSettings loaded;
  loaded.Load(path);
  EXPECT_EQ(loaded, settings);

  // Saving again replaces the file whole.
  loaded.level = 1;
  ASSERT_TRUE(loaded.Save(path, message));
  CSettings again;
  again.Load(path);
  EXPECT_EQ(again.level, 1);
  EXPECT_FALSE(again.levelAuto);

  // "Match my rating" is kept as the word auto.
  again.levelAuto = true;
  ASSERT_TRUE(again.Save(path, message));
  CSettings automatic;
  EXPECT_TRUE(automatic.Load(path).size() == 1) << "only where the settings came from";
  EXPECT_TRUE(automatic.levelAuto);
}

// The board set: one of the three words, written back as read and kept in
// the [game] section; any other word (a set of another spelling, an empty
// value) is reported and means the wooden set.
TEST_F(SettingsFile, ThemeIsReadWrittenAndABadValueMeansWood) {
  struct Case {
    const char *text;
    EBoardTheme theme;
    bool reported;
  };
  const Case cases[] = {
      {"wood", EBoardTheme::Wood, false},
      {"marble", EBoardTheme::Marble, false},
      {"tournament", EBoardTheme::Tournament, false},
      {"Marble", EBoardTheme::Wood, true},
      {"marble ", EBoardTheme::Marble, false}, // inih trims the value
      {"glass", EBoardTheme::Wood, true},
      {"", EBoardTheme::Wood, true},
      {"1", EBoardTheme::Wood, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string("theme = ") + c.text);
    std::string log;
    const CSettings settings =
        LoadText(std::string("[game]\nshadows = true\ntheme = ") + c.text + "\nsound = false\n", log);
    EXPECT_EQ(settings.theme, c.theme);
    EXPECT_TRUE(settings.shadows); // the entries around it are taken
    EXPECT_FALSE(settings.sound);
    EXPECT_EQ(log.find("[game] theme = ") != std::string::npos, c.reported) << log;

    const std::string text = SaveAndReload(settings);
    const std::string line = std::string("theme = ") + BoardThemeName(c.theme) + "\n";
    EXPECT_NE(text.find("turn_camera = false\n" + line + "\n[clock]"), std::string::npos)
        << "the set follows turn_camera in [game]\n"
        << text;
  }
}

// The interface's scale: auto or one of the scales it has fonts for; any
// other value is reported and means auto. Each is written back as read.
TEST_F(SettingsFile, UiScaleIsReadWrittenAndABadValueMeansAuto) {
  struct Case {
    const char *text;
    float scale; // 0 for auto
    bool reported;
  };
  const Case cases[] = {
      {"auto", 0, false}, {"1", 1, false},   {"1.0", 1, false}, {"1.5", 1.5f, false}, {"2", 2, false},
      {"2.0", 2, false},  {"3", 0, true},    {"1.25", 0, true}, {"0", 0, true},       {"-1", 0, true},
      {"AUTO", 0, true},  {"1.5x", 0, true}, {"", 0, true},     {"huge", 0, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string("ui_scale = ") + c.text);
    std::string log;
    const CSettings settings =
        LoadText(std::string("[window]\nwidth = 1600\nui_scale = ") + c.text + "\nheight = 1000\n", log);
    EXPECT_EQ(settings.uiScale, c.scale);
    EXPECT_EQ(settings.width, 1600); // the entries around it are taken
    EXPECT_EQ(settings.height, 1000);
    EXPECT_EQ(log.find(std::string("[window] ui_scale = ") + c.text + " is not auto, 1, 1.5 or 2") != std::string::npos,
              c.reported)
        << log;

    const std::string text = SaveAndReload(settings);
    const std::string expected = c.scale == 0 ? "auto" : c.scale == 1.5f ? "1.5" : c.scale == 2 ? "2" : "1";
    EXPECT_NE(text.find("ui_scale = " + expected + "\n"), std::string::npos) << text;
  }
}

// The board's reflections: on or off when the file says so (true and false
// read too), written back as on or off; a file that does not say leaves them
// to the frame rate and gets no line, so that the next start decides again.
TEST_F(SettingsFile, ReflectionsAreChosenOnlyWhereTheFileSaysSo) {
  struct Case {
    const char *line; // null: no line
    bool reflections, chosen;
    const char *written; // null: no line written
  };
  const Case cases[] = {
      {"reflections = on", true, true, "reflections = on\n"},
      {"reflections = off", false, true, "reflections = off\n"},
      {"reflections = true", true, true, "reflections = on\n"},
      {"reflections = false", false, true, "reflections = off\n"},
      {"reflections = OFF", true, false, nullptr},
      {"reflections =", true, false, nullptr},
      {nullptr, true, false, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.line ? c.line : "(no line)");
    Write(std::string("[game]\nshadows = true\n") + (c.line ? std::string(c.line) + "\n" : "") +
          "turn_camera = true\n");
    CSettings settings;
    settings.Load(path);
    EXPECT_EQ(settings.reflections, c.reflections);
    EXPECT_EQ(settings.reflectionsChosen, c.chosen);
    EXPECT_TRUE(settings.shadows);
    EXPECT_TRUE(settings.turnCamera);

    std::string message;
    ASSERT_TRUE(settings.Save(path, message)) << message;
    std::ifstream written(path);
    const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("reflections ="), c.written ? text.find(c.written) : std::string::npos) << text;
    if (c.written) { // in the [game] section, after the board set
      EXPECT_NE(text.find(std::string("theme = wood\n") + c.written), std::string::npos) << text;
    }
    CSettings loaded;
    loaded.Load(path);
    EXPECT_EQ(loaded, settings);
  }
}

TEST_F(SettingsFile, UnwritableFolderIsReportedAndTheFileKept) {
  if (geteuid() == 0)
    GTEST_SKIP() << "root writes into any folder";
  Write("[engine]\nlevel = 5\n");
  fs::permissions(fs::path(path).parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  CSettings settings;
  settings.level = 2;
  std::string message;
  EXPECT_FALSE(settings.Save(path, message));
  EXPECT_NE(message.find("settings not saved to " + path), std::string::npos) << message;
  fs::permissions(fs::path(path).parent_path(), fs::perms::owner_all);
  CSettings kept;
  kept.Load(path);
  EXPECT_EQ(kept.level, 5);
}

TEST_F(SettingsFile, PathThatIsAFileIsReported) {
  // The folder's place holds a file: nothing can be made there.
  std::ofstream((folder / "kelvar").string()) << "not a folder";
  CSettings settings;
  std::string message;
  EXPECT_FALSE(settings.Save(path, message));
  EXPECT_NE(message.find("settings not saved"), std::string::npos) << message;
  EXPECT_FALSE(CSettings().Save("", message));
  // Not even root can make a folder in /proc.
  EXPECT_FALSE(settings.Save("/proc/kelvar-settings-test/kelvar.ini", message));
  EXPECT_NE(message.find("settings not saved"), std::string::npos) << message;
}

// A settings file that is not read in full is renamed aside before anything
// can overwrite it; what could be read still applies. A good file stays.
TEST_F(SettingsFile, ADamagedFileIsKeptAside) {
  struct Case {
    const char *name;
    const char *text; // null: a folder stands at the path
    bool damaged;
    int level;
  } cases[] = {
      {"good", "[engine]\nlevel = 5\n", false, 5},
      {"a broken line", "[engine]\nlevel = 6\nthis is no setting\n", true, 6},
      {"a folder", nullptr, true, CSettings().level},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(folder / "kelvar");
    if (c.text)
      Write(c.text);
    else
      fs::create_directories(path);
    CPlayerSettings settings;
    settings.SetPath(path);
    settings.Load();
    EXPECT_EQ(settings.Get().level, c.level);
    std::vector<std::string> aside;
    for (const auto &entry : fs::directory_iterator(folder / "kelvar"))
      if (entry.path().filename().string().rfind("kelvar.ini.broken-", 0) == 0)
        aside.push_back(entry.path().string());
    EXPECT_EQ(aside.size(), c.damaged ? 1u : 0u);
    EXPECT_EQ(fs::exists(path), !c.damaged);
    if (c.text && c.damaged) {
      std::ifstream kept(aside[0]);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), c.text);
    }
  }
}
