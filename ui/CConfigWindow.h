// The Config window (Program > Config...): level, think time, engine with a
// Test button, the time control (a preset or the PGN value, and the kind of
// increment), sound, piece shadows during a game, the board's reflections,
// the two-player camera, spoken moves and the board set.
// OK applies and saves the settings, Cancel leaves everything as it was.
#pragma once

#include "app/CSettings.h"

#include <irrlicht.h>

class CConfigWindow : public irr::gui::IGUIElement {
public:
  // The window's size in design pixels (before the interface's scale).
  static constexpr irr::s32 WIDTH = 440, HEIGHT = 448;

  // Opens the window over the screen's centre with the current settings, or
  // brings the open one to the front.
  static void Show();
  // The open window, or null.
  static CConfigWindow *GetOpen();
  // Closes the window if it is open and lets go of it (at shut-down).
  static void Shutdown();

  // Handles its own buttons and lists; other events travel on.
  bool OnEvent(const irr::SEvent &event) override;

  // The settings as the controls show them now.
  CSettings Collected() const;
  // The OK, Cancel and Test buttons' actions.
  void Accept();
  void Cancel();
  void TestEngine();

  irr::gui::IGUIStaticText *GetLevelNote() const { return levelNote; }
  irr::gui::IGUIStaticText *GetTimeNote() const { return timeNote; }
  irr::gui::IGUIComboBox *GetTimePreset() const { return timePreset; }
  irr::gui::IGUIEditBox *GetTimeControl() const { return timeControl; }
  irr::gui::IGUIStaticText *GetTestResult() const { return testResult; }
  irr::gui::IGUIComboBox *GetTheme() const { return theme; }

private:
  CConfigWindow(irr::gui::IGUIEnvironment *environment, const irr::core::rect<irr::s32> &rectangle,
                const CSettings &current);
  void CreateControls();
  void ShowLevelNote();
  // A preset was chosen: its value goes into the field.
  void OnPresetChosen();
  // The field changed: the matching preset is shown, and what the value
  // means or why it is refused. False when it is refused.
  bool ShowTimeNote();
  void Close();

  CSettings initial;
  irr::gui::IGUIComboBox *level = nullptr;
  irr::gui::IGUISpinBox *thinkTime = nullptr;
  irr::gui::IGUIEditBox *enginePath = nullptr;
  irr::gui::IGUIStaticText *testResult = nullptr;
  irr::gui::IGUIStaticText *levelNote = nullptr;
  irr::gui::IGUIComboBox *timePreset = nullptr;
  irr::gui::IGUIEditBox *timeControl = nullptr;
  irr::gui::IGUIComboBox *incrementKind = nullptr;
  irr::gui::IGUIStaticText *timeNote = nullptr;
  irr::gui::IGUICheckBox *sound = nullptr;
  irr::gui::IGUICheckBox *shadows = nullptr;
  irr::gui::IGUICheckBox *reflections = nullptr;
  bool reflectionsAtOpen = false; // as the box was ticked when the window opened
  irr::gui::IGUICheckBox *turnCamera = nullptr;
  irr::gui::IGUICheckBox *speech = nullptr;
  irr::gui::IGUIComboBox *theme = nullptr;
};
