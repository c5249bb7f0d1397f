#include "app/CPlayerSettings.h"

#include "app/CApplication.h"
#include "engine/LevelRatings.h"
#include "platform/DataFiles.h"
#include "ui/GuiText.h"

#include <cmath>
#include <cstdlib>

namespace {

const char *const LEVEL_NAMES[] = {platform::NoTr("Beginner"), platform::NoTr("Novice"),       platform::NoTr("Casual"),
                                   platform::NoTr("Club"),     platform::NoTr("Strong club"),  platform::NoTr("Expert"),
                                   platform::NoTr("Master"),   platform::NoTr("Full strength")};

} // namespace

std::wstring CPlayerSettings::LevelName(int level) {
  return level >= CSettings::LEVEL_MIN && level <= CSettings::LEVEL_MAX ? TrW(LEVEL_NAMES[level - 1]).c_str() : L"";
}

bool CPlayerSettings::Load() {
  if (path.empty())
    path = CSettings::DefaultPath();
  bool damaged = false;
  loadMessages = values.Load(path, &damaged);
  loaded = true;
  damageNotice.clear();
  if (damaged) {
    // What could be read is used; the file itself is kept aside, so that
    // the next save does not overwrite what was not understood.
    std::string error;
    const std::string aside = platform::MoveAside(path, error);
    damageNotice =
        aside.empty()
            ? platform::TrFormat("The settings file {1} could not be read in full and could not be "
                                 "renamed ({2}).",
                                 {path, error})
            : platform::TrFormat("The settings file {1} could not be read in full; it is kept as {2}.", {path, aside});
    loadMessages.push_back("settings " + (aside.empty() ? "not renamed: " + error : "kept aside as " + aside));
  }
  if (overriding) {
    fileControl = values.timeControl;
    values.timeControl = overrideControl;
    loadMessages.push_back("settings: time control " + overrideControl.ToString() + " from the command line");
  }
  return true;
}

bool CPlayerSettings::Init() {
  if (!loaded)
    Load();
  for (const std::string &line : loadMessages)
    LogMessage(line);
  loadMessages.clear();
  if (!damageNotice.empty()) {
    app.gui.ShowMessageBox(TrW("Settings").c_str(), GuiText(damageNotice).c_str(), irr::gui::EMBF_OK, -1);
    damageNotice.clear();
  }
  loaded = false; // a later Init (a new start in the same process) reads the file again
  // An engine named in the environment by hand stands in for Stockfish.
  const char *given = getenv("ABROK_ENGINE");
  environmentEngine = given ? given : "";
  ExportEnginePath();
  return true;
}

void CPlayerSettings::ExportEnginePath() {
  // The engine program is our child: it inherits the variable.
  const std::string &engine = values.enginePath.empty() ? environmentEngine : values.enginePath;
  if (engine.empty())
    unsetenv("ABROK_ENGINE");
  else
    setenv("ABROK_ENGINE", engine.c_str(), 1);
  runningEngine = values.enginePath;
}

void CPlayerSettings::SendEngineOptions() const {
  app.engine.SendOption("Level", std::to_string(values.level).c_str());
  app.engine.SendOption("Think Time", std::to_string(values.thinkMs).c_str());
}

bool CPlayerSettings::Apply(const CSettings &changed) {
  const bool engineOptionsChanged = changed.level != values.level || changed.thinkMs != values.thinkMs;
  // The command line's time control is not saved, unless the player chose another.
  if (overriding && changed.timeControl != values.timeControl)
    overriding = false;
  if (changed.level != values.level)
    app.rating.OnLevelChanged();
  values = changed;
  if (engineOptionsChanged)
    SendEngineOptions();
  CSettings kept = values;
  if (overriding)
    kept.timeControl = fileControl;
  std::string message;
  const bool saved = kept.Save(path, message);
  LogMessage(message);
  return saved;
}

std::wstring CPlayerSettings::LevelText(int level) {
  return TrFormatW("{1} {2}, about {3}", {std::to_string(level), Utf8(LevelName(level)),
                                          std::to_string(std::lround(RatingOfLevel(level).rating))})
      .c_str();
}

bool CPlayerSettings::PickLevel() {
  if (!values.levelAuto)
    return false;
  const double rating = app.rating.Current().rating;
  const int picked = LevelNearestRating(rating);
  const std::string line = "level auto: level " + std::to_string(picked) + " (rated " +
                           std::to_string(std::lround(RatingOfLevel(picked).rating)) + ") for the player's rating " +
                           std::to_string(std::lround(rating));
  LogMessage(line);
  const std::wstring notice = TrFormatW("Match my rating: level {1}, for your rating {2}",
                                        {Utf8(LevelText(picked)), std::to_string(std::lround(rating))})
                                  .c_str();
  app.gui.ShowStatusNotice(notice.c_str(), 6000);
  const bool changed = picked != values.level;
  values.level = picked;
  return changed;
}

void CPlayerSettings::OnNewGame() {
  const bool levelChanged = PickLevel();
  if (EngineIsCurrent()) {
    if (levelChanged)
      SendEngineOptions();
    return;
  }
  LogMessage("CPlayerSettings::OnNewGame starting the engine program for " +
             (values.enginePath.empty() ? std::string("Stockfish") : values.enginePath));
  app.engine.Exit();
  ExportEnginePath();
  if (app.engine.Init())
    SendEngineOptions();
}
