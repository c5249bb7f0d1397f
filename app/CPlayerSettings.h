// The settings of the running program: loaded at start-up, passed to the
// engine program, changed by the Config window and saved at once.
#pragma once

#include "app/CSettings.h"

#include <string>
#include <vector>

class CPlayerSettings {
public:
  // Loads the settings file (its place from the environment unless a path
  // was set before). Runs before the device exists, which the window's size
  // comes from, so what it has to say waits for Init. Always true: bad
  // settings are replaced by defaults.
  bool Load();
  // Logs what Load found wrong (loading first if nothing was loaded) and
  // names the engine for the engine program, which reads it from
  // ABROK_ENGINE when it starts. Always true.
  bool Init();
  void Update() {}
  void Exit() {}

  // The settings in force: the file's, with a time control given on the
  // command line in place of the file's.
  const CSettings &Get() const { return values; }
  // The command line's time control holds for this run (from the next Load
  // on); the file keeps its own unless the player changes it in the Config window.
  void OverrideTimeControl(const chess::TimeControl &control) {
    overrideControl = control;
    overriding = true;
  }
  const std::string &GetPath() const { return path; }
  void SetPath(const std::string &file) { path = file; }

  // Sends the level and the think time to the engine.
  void SendEngineOptions() const;
  // Takes new settings: saves them, sends a changed level or think time to
  // the engine at once (it plays its next move with them); a new engine
  // starts with the next game. False if they could not be saved (logged;
  // they still apply to this run).
  bool Apply(const CSettings &changed);
  // Called as a game starts: restarts the engine program if the settings
  // name another engine than the one it runs.
  void OnNewGame();
  // True if the engine program runs the engine the settings name.
  bool EngineIsCurrent() const { return runningEngine == values.enginePath; }

  // "Beginner" .. "Full strength" for levels 1..8, "" otherwise.
  static std::wstring LevelName(int level);
  // The level with its calibrated rating: "3 Casual, about 1150".
  static std::wstring LevelText(int level);

private:
  void ExportEnginePath();
  // With "level = auto": the level nearest the player's rating for the game
  // about to start, told to the player; true if it changed.
  bool PickLevel();

  CSettings values;
  bool loaded = false;
  bool overriding = false;
  chess::TimeControl overrideControl;
  chess::TimeControl fileControl; // the file's time control while the command line's holds
  std::vector<std::string> loadMessages;
  std::string damageNotice; // told once the interface exists
  std::string path;
  std::string runningEngine;     // the settings' path the engine program was started with
  std::string environmentEngine; // ABROK_ENGINE as the program found it
};
