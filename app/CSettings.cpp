#include "app/CSettings.h"

#include "engine/CAnalysisRun.h"
#include "platform/DataFiles.h"

#include <ini.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

static_assert(CSettings::REVIEW_NODES_DEFAULT == CAnalysisRun::DEFAULT_NODES, "one default node count");

namespace {

const int WINDOW_MIN = 320;
const int WINDOW_MAX = 16384;

struct ParseState {
  CSettings *settings;
  std::string path;
  std::vector<std::string> *log;
};

bool ParseInt(const char *text, int low, int high, int &value) {
  char *end = nullptr;
  errno = 0;
  const long parsed = strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high)
    return false;
  value = int(parsed);
  return true;
}

bool ParseBool(const char *text, bool &value) {
  if (!strcmp(text, "true") || !strcmp(text, "false")) {
    value = !strcmp(text, "true");
    return true;
  }
  return false;
}

// A switch: "on" or "off"; true and false read as well.
bool ParseSwitch(const char *text, bool &value) {
  if (!strcmp(text, "on") || !strcmp(text, "off")) {
    value = !strcmp(text, "on");
    return true;
  }
  return ParseBool(text, value);
}

bool ParseLong(const char *text, long long low, long long high, long long &value) {
  char *end = nullptr;
  errno = 0;
  const long long parsed = strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high)
    return false;
  value = parsed;
  return true;
}

// "auto" is 0; the scales the interface has fonts for are themselves.
bool ParseUiScale(const char *text, float &value) {
  const struct {
    const char *text;
    float scale;
  } known[] = {{"auto", 0.f}, {"1", 1.f}, {"1.0", 1.f}, {"1.5", 1.5f}, {"2", 2.f}, {"2.0", 2.f}};
  for (const auto &k : known)
    if (!strcmp(text, k.text)) {
      value = k.scale;
      return true;
    }
  return false;
}

std::string UiScaleText(float scale) {
  return scale == 1.5f ? "1.5" : scale == 2.f ? "2" : scale == 1.f ? "1" : "auto";
}

std::string RangeText(long long low, long long high) {
  return "a number from " + std::to_string(low) + " to " + std::to_string(high);
}

// Called by inih for each "key = value" line; false marks the line broken.
int OnEntry(void *user, const char *section, const char *name, const char *value) {
  ParseState &state = *static_cast<ParseState *>(user);
  CSettings &s = *state.settings;
  const std::string key = std::string(section) + "." + name;
  std::string expected;
  bool known = true, ok = false;
  if (key == "engine.level") {
    s.levelAuto = !strcmp(value, "auto");
    ok = s.levelAuto || ParseInt(value, CSettings::LEVEL_MIN, CSettings::LEVEL_MAX, s.level);
    expected = RangeText(CSettings::LEVEL_MIN, CSettings::LEVEL_MAX) + " or auto";
  } else if (key == "engine.think_ms") {
    ok = ParseInt(value, CSettings::THINK_MS_MIN, CSettings::THINK_MS_MAX, s.thinkMs);
    expected = RangeText(CSettings::THINK_MS_MIN, CSettings::THINK_MS_MAX);
  } else if (key == "engine.path") {
    s.enginePath = value;
    ok = true;
  } else if (key == "game.sound" || key == "game.shadows" || key == "game.turn_camera" || key == "window.fullscreen" ||
             key == "access.speech") {
    bool &flag = key == "game.sound"         ? s.sound
                 : key == "game.shadows"     ? s.shadows
                 : key == "game.turn_camera" ? s.turnCamera
                 : key == "access.speech"    ? s.speech
                                             : s.fullscreen;
    ok = ParseBool(value, flag);
    expected = "true or false";
  } else if (key == "game.reflections") {
    ok = s.reflectionsChosen = ParseSwitch(value, s.reflections);
    expected = "on or off";
  } else if (key == "game.theme") {
    ok = ParseBoardTheme(value, s.theme);
    expected = "wood, marble or tournament";
  } else if (key == "clock.time_control") {
    std::string reason;
    ok = chess::TimeControl::Parse(value, s.timeControl, reason);
    expected = "a time control (" + reason + ")";
  } else if (key == "clock.increment_kind") {
    ok = chess::ParseIncrementKind(value, s.incrementKind);
    expected = "fischer or bronstein";
  } else if (key == "review.nodes") {
    ok = ParseLong(value, CSettings::REVIEW_NODES_MIN, CSettings::REVIEW_NODES_MAX, s.reviewNodes);
    expected = RangeText(CSettings::REVIEW_NODES_MIN, CSettings::REVIEW_NODES_MAX);
  } else if (key == "window.width" || key == "window.height") {
    ok = ParseInt(value, WINDOW_MIN, WINDOW_MAX, key == "window.width" ? s.width : s.height);
    expected = RangeText(WINDOW_MIN, WINDOW_MAX);
  } else if (key == "window.ui_scale") {
    ok = ParseUiScale(value, s.uiScale);
    expected = "auto, 1, 1.5 or 2";
  } else {
    known = false;
  }
  if (!known)
    state.log->push_back("settings " + state.path + ": unknown key [" + section + "] " + name + "; ignored");
  else if (!ok)
    state.log->push_back("settings " + state.path + ": [" + section + "] " + name + " = " + value + " is not " +
                         expected + "; the default is kept");
  return 1; // the line was read; a bad value is reported above
}

const char *BoolText(bool value) { return value ? "true" : "false"; }

} // namespace

std::string CSettings::DefaultPath() {
  const char *config = getenv("XDG_CONFIG_HOME");
  // A relative or empty XDG_CONFIG_HOME is ignored, as the XDG base directory rules say.
  if (config && config[0] == '/')
    return std::string(config) + "/kelvar/kelvar.ini";
  const char *home = getenv("HOME");
  if (home && *home)
    return std::string(home) + "/.config/kelvar/kelvar.ini";
  return "";
}

std::vector<std::string> CSettings::Load(const std::string &path, bool *damaged) {
  *this = CSettings(); // what the file does not say well is the default, whatever was read before
  std::vector<std::string> log;
  std::error_code error;
  if (damaged)
    *damaged = false;
  if (path.empty() || !fs::exists(path, error)) {
    log.push_back("settings: no file at " + (path.empty() ? std::string("(no home folder)") : path) +
                  "; using the defaults");
    return log;
  }
  ParseState state{this, path, &log};
  const int result = fs::is_regular_file(path, error) ? ini_parse(path.c_str(), OnEntry, &state) : -1;
  if (damaged)
    *damaged = result != 0;
  if (result < 0)
    log.push_back("settings " + path + ": cannot be read; using the defaults");
  else if (result > 0)
    log.push_back("settings " + path + ": line " + std::to_string(result) +
                  " is not \"key = value\" or \"[section]\"; it is ignored");
  log.push_back("settings loaded from " + path);
  return log;
}

bool CSettings::Save(const std::string &path, std::string &message) const {
  if (path.empty()) {
    message = "settings not saved: no home folder to keep them in";
    return false;
  }
  std::ostringstream out;
  out << "[engine]\n"
      << "level = " << (levelAuto ? std::string("auto") : std::to_string(level)) << "\n"
      << "think_ms = " << thinkMs << "\n"
      << "path = " << enginePath << "\n\n"
      << "[game]\n"
      << "sound = " << BoolText(sound) << "\n"
      << "shadows = " << BoolText(shadows) << "\n"
      << "turn_camera = " << BoolText(turnCamera) << "\n"
      << "theme = " << BoardThemeName(theme) << "\n"
      << (reflectionsChosen ? std::string("reflections = ") + (reflections ? "on" : "off") + "\n" : std::string())
      << "\n"
      << "[clock]\n"
      << "time_control = " << timeControl.ToString() << "\n"
      << "increment_kind = " << chess::IncrementKindName(incrementKind) << "\n\n"
      << "[window]\n"
      << "width = " << width << "\n"
      << "height = " << height << "\n"
      << "fullscreen = " << BoolText(fullscreen) << "\n"
      << "ui_scale = " << UiScaleText(uiScale) << "\n\n"
      << "[review]\n"
      << "nodes = " << reviewNodes << "\n\n"
      << "[access]\n"
      << "speech = " << BoolText(speech) << "\n";
  // Durably, through a temporary file: a crash leaves the old settings or the new.
  std::string error;
  const size_t slash = path.rfind('/');
  if ((slash != std::string::npos && slash > 0 && !platform::MakeFolders(path.substr(0, slash), error)) ||
      !platform::WriteFileAtomically(path, out.str(), error)) {
    message = "settings not saved to " + path + ": " + error;
    return false;
  }
  message = "settings saved to " + path;
  return true;
}

bool CSettings::operator==(const CSettings &o) const {
  return level == o.level && levelAuto == o.levelAuto && thinkMs == o.thinkMs && enginePath == o.enginePath &&
         sound == o.sound && shadows == o.shadows && turnCamera == o.turnCamera && theme == o.theme &&
         reflections == o.reflections && reflectionsChosen == o.reflectionsChosen && timeControl == o.timeControl &&
         incrementKind == o.incrementKind && width == o.width && height == o.height && fullscreen == o.fullscreen &&
         uiScale == o.uiScale && reviewNodes == o.reviewNodes && speech == o.speech;
}
