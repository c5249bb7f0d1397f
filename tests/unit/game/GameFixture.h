// The whole program on the null driver, in a copy of the run folder whose
// engine is the scripted test engine, with a clock the test drives.
#pragma once

#include "app/CApplication.h"
#include "platform/Platform.h"
#include "scene/CGameToken.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <string>

class GameFixture : public testing::Test {
protected:
  // Writes the engine's script, starts the program, and (unless told not to)
  // lets the five-second start-up phase pass so the game is idle.
  void StartProgram(const std::string &script, bool passStartup = true);
  void TearDown() override;

  static uint32_t Now();
  void AdvanceMs(uint32_t ms);
  void Frames(int n);
  // Runs frames until the condition holds, for ten seconds at the most (the
  // sanitizer build on a busy machine is slow).
  template <typename Condition> bool FramesUntil(Condition condition) {
    for (int i = 0; i < 2000; ++i) {
      if (condition())
        return true;
      Frames(1);
      platform::Sleep(5);
    }
    return condition();
  }

  // Starts a local game as the given colour through the colour window's button.
  void StartGame(irr::s32 color);
  // Clicks a button of the open colour window (ID_BUTTON_WHITE, _BLACK or
  // _TWO_PLAYERS); false if the window or the button is not there.
  bool ClickColorButton(irr::s32 id);
  // Left or right press (and release) with the pointer over a square's centre.
  void ClickSquare(const char *square, bool left = true);
  // The human's move by clicks ("e2", "e4"), then the engine's answer played
  // and handed back: the human is to move again.
  void PlayAndWaitForAnswer(const char *from, const char *to);
  // Everything the engine has been sent so far.
  std::string Transcript() const;
  // The bare move lines the engine has been sent, each with its line feed.
  std::string MovesSent() const;
  // Waits (running frames) until the engine has been sent the text.
  bool EngineReceived(const std::string &text);
  // The token standing (uncaptured) on a square, or -1.
  static irr::s32 TokenOn(const char *square);
  static BoardSquare Square(const char *square) { return BoardSquare(square[0] - 'a', square[1] - '1'); }
  // Writes a file in the test's folder; returns its path.
  std::string WriteFile(const std::string &name, const std::string &text) const;
  // A key pressed (not released) as the event routing receives it.
  static void Press(irr::EKEY_CODE key);
  // Whether an open message box's text holds part.
  static bool MessageBoxSays(const std::wstring &part);
  // Whether the mate banner ("CHECK MATE!" and the winner below) is shown.
  bool BannerShown() const;

  std::string folder;
  // When set before StartProgram: the last session's unfinished game, found
  // in the player's data folder at start.
  std::string presetAutosave;
  // When set before StartProgram: the player's settings file (kelvar.ini).
  std::string presetSettings;
  static uint32_t fakeNow; // milliseconds skipped on top of real time
};
