// The player's settings, kept between runs in an INI file
// ($XDG_CONFIG_HOME/kelvar/kelvar.ini, else ~/.config/kelvar/kelvar.ini):
//
//   [engine]  level (1-8, or auto: the level nearest the player's rating), think_ms (500-10000), path (empty for
//             Stockfish)
//   [game]    sound, shadows, turn_camera (true/false), theme (the board set: wood, marble or tournament),
//             reflections (on/off; absent: on where the frame rate stays at 60 fps)
//   [clock]   time_control (PGN TimeControl: "-" for none, "300", "300+3", "40/5400:1800+30"),
//             increment_kind (fischer or bronstein)
//   [window]  width, height, fullscreen, ui_scale (auto, 1, 1.5 or 2: the interface's size)
//   [review]  nodes (1000-100000000: the engine's nodes a position when it
//             reviews a game)
//   [access]  speech (true/false: the moves and the game's end are spoken)
//
// A missing file means the defaults. A line that cannot be read, an unknown
// key or a value out of range keeps that value's default and is reported.
#pragma once

#include "chess/TimeControl.h"
#include "scene/CBoardTheme.h"

#include <string>
#include <vector>

class CSettings {
public:
  static constexpr int LEVEL_MIN = 1;
  static constexpr int LEVEL_MAX = 8;
  static constexpr int THINK_MS_MIN = 500;
  static constexpr int THINK_MS_MAX = 10000;
  static constexpr long long REVIEW_NODES_MIN = 1000;
  static constexpr long long REVIEW_NODES_MAX = 100000000;
  static constexpr long long REVIEW_NODES_DEFAULT = 300000; // CAnalysisRun::DEFAULT_NODES

  int level = 3;          // with levelAuto, the level picked for the last game
  bool levelAuto = false; // "level = auto": each new game picks the level nearest the player's rating
  int thinkMs = 1000;
  std::string enginePath; // empty: Stockfish
  bool sound = true;
  bool shadows = false;
  bool turnCamera = false;
  EBoardTheme theme = EBoardTheme::Wood;
  // The board's reflections; reflectionsChosen false: the file does not say,
  // and the game decides by its frame rate (the line is then not written).
  bool reflections = true;
  bool reflectionsChosen = false;
  chess::TimeControl timeControl; // none by default
  chess::IncrementKind incrementKind = chess::IncrementKind::Fischer;
  int width = 1024;
  int height = 768;
  bool fullscreen = false;
  float uiScale = 0.f; // 0 for auto (from the window's size), else 1, 1.5 or 2
  long long reviewNodes = REVIEW_NODES_DEFAULT;
  bool speech = false; // moves spoken through the speech server

  // The file's place from the environment; "" when neither XDG_CONFIG_HOME
  // nor HOME is set.
  static std::string DefaultPath();

  // Reads the file over the defaults (also when settings were read before).
  // Returns the lines to log: where the settings came from and every entry
  // that was not taken. damaged, when given, says whether the file was not
  // wholly read (unreadable, not a file, a broken line).
  std::vector<std::string> Load(const std::string &path, bool *damaged = nullptr);
  // Writes every setting to a temporary file beside path and renames it into
  // place, creating the folder if needed, so a reader never sees half a file.
  // On false, message says why and the file is as it was.
  bool Save(const std::string &path, std::string &message) const;

  bool operator==(const CSettings &other) const;
  bool operator!=(const CSettings &other) const { return !(*this == other); }
};
