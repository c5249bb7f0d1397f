#include "ui/CConfigWindow.h"

#include "app/CApplication.h"
#include "engine/CEngineProbe.h"
#include "engine/LevelRatings.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

#include <cmath>

using namespace irr;

namespace {

const s32 WIDTH = 440, HEIGHT = 400;
const s32 CLOCK_ROWS = 70; // the time control's rows push the check boxes down
const s32 LABEL_LEFT = 10, FIELD_LEFT = 130, RIGHT = WIDTH - 10;
const int PROBE_TIMEOUT_MS = 3000;
const float THINK_STEP_S = 0.5f;
const wchar_t *const THINK_ONLY_TEXT = L"This engine has no strength options: every level plays alike; only the "
                                       L"think time applies.";
const char *const THINK_ONLY_MARK = "only the think time applies";

// What each level plays like; its rating follows from the calibration.
const wchar_t *const LEVEL_NOTES[CSettings::LEVEL_MAX] = {
    L"Looks one move ahead, often misses the best.",
    L"Looks a little further, still misses some.",
    L"Stockfish at a casual player's rating.",
    L"Stockfish at a club player's rating.",
    L"A strong club player.",
    L"An expert's rating.",
    L"A master's rating.",
    L"Stockfish unlimited within the think time.",
};
// The level combo box's last item: the level follows the player's rating.
const u32 MATCH_MY_RATING = CSettings::LEVEL_MAX;

// The time controls players pick most, by the names they know them by;
// the last entry stands for any other value typed into the field.
struct TimePreset {
  const wchar_t *name;
  const char *value;
};
const TimePreset TIME_PRESETS[] = {
    {L"None", "-"},
    {L"Bullet 1+0", "60"},
    {L"Blitz 3+2", "180+2"},
    {L"Blitz 5+0", "300"},
    {L"Blitz 5+3", "300+3"},
    {L"Rapid 10+5", "600+5"},
    {L"Rapid 15+10", "900+10"},
    {L"Classical 30+0", "1800"},
    {L"Classical 90/40+30 +30s", "40/5400+30:1800+30"},
    {L"Custom", nullptr},
};
const u32 CUSTOM_PRESET = sizeof(TIME_PRESETS) / sizeof(TIME_PRESETS[0]) - 1;

// The one open window; the program keeps its own reference to it.
CConfigWindow *openWindow = nullptr;

std::string Narrow(const wchar_t *text) {
  std::string narrow;
  for (; text && *text; ++text)
    narrow += *text < 128 ? char(*text) : '?';
  return narrow;
}

} // namespace

CConfigWindow::CConfigWindow(gui::IGUIEnvironment *environment, const core::rect<s32> &rectangle,
                             const CSettings &current)
    : IGUIElement(gui::EGUIET_ELEMENT, environment, environment->getRootGUIElement(), ID_CONFIG_WINDOW, rectangle),
      initial(current) {
  CreateControls();
}

void CConfigWindow::Show() {
  if (openWindow && openWindow->getParent()) {
    openWindow->getParent()->bringToFront(openWindow);
    return;
  }
  Shutdown();
  const s32 left = (app.windowSize.Width - Px(WIDTH)) / 2, top = (app.windowSize.Height - Px(HEIGHT)) / 2;
  openWindow = new CConfigWindow(app.guiEnvironment, core::rect<s32>(left, top, left + Px(WIDTH), top + Px(HEIGHT)),
                                 app.settings.Get());
}

CConfigWindow *CConfigWindow::GetOpen() { return openWindow && openWindow->getParent() ? openWindow : nullptr; }

void CConfigWindow::Shutdown() {
  if (!openWindow)
    return;
  openWindow->Close();
  openWindow->drop();
  openWindow = nullptr;
}

void CConfigWindow::CreateControls() {
  gui::IGUIEnvironment *env = Environment;
  gui::IGUIWindow *window = env->addWindow(Px(core::rect<s32>(0, 0, WIDTH, HEIGHT)), false, L"Config", this, -1);
  window->getCloseButton()->setVisible(false); // OK or Cancel
  const auto label = [&](s32 y, const wchar_t *text) {
    env->addStaticText(text, Px(core::rect<s32>(LABEL_LEFT, y + 3, FIELD_LEFT - 5, y + 21)), false, false, window);
  };

  label(32, L"Level");
  level = env->addComboBox(Px(core::rect<s32>(FIELD_LEFT, 32, FIELD_LEFT + 230, 52)), window, ID_CONFIG_LEVEL);
  for (int i = CSettings::LEVEL_MIN; i <= CSettings::LEVEL_MAX; ++i)
    level->addItem(CPlayerSettings::LevelText(i).c_str(), u32(i));
  level->addItem(L"Match my rating", 0);
  level->setSelected(initial.levelAuto ? MATCH_MY_RATING : initial.level - CSettings::LEVEL_MIN);
  levelNote = env->addStaticText(L"", Px(core::rect<s32>(FIELD_LEFT, 56, RIGHT, 88)), false, true, window);

  label(94, L"Think time (s)");
  thinkTime =
      env->addSpinBox(L"", Px(core::rect<s32>(FIELD_LEFT, 94, FIELD_LEFT + 80, 114)), true, window, ID_CONFIG_THINK);
  thinkTime->setRange(CSettings::THINK_MS_MIN / 1000.f, CSettings::THINK_MS_MAX / 1000.f);
  thinkTime->setStepSize(THINK_STEP_S);
  thinkTime->setDecimalPlaces(1);
  thinkTime->setValue(initial.thinkMs / 1000.f);

  label(126, L"Engine");
  enginePath = env->addEditBox(GuiText(initial.enginePath).c_str(),
                               Px(core::rect<s32>(FIELD_LEFT, 126, RIGHT - 70, 146)), true, window, ID_CONFIG_ENGINE);
  env->addButton(Px(core::rect<s32>(RIGHT - 60, 126, RIGHT, 146)), window, ID_CONFIG_TEST, L"Test");
  testResult = env->addStaticText(L"Empty for Stockfish, else the path of a UCI engine.",
                                  Px(core::rect<s32>(FIELD_LEFT, 150, RIGHT, 168)), false, false, window);

  label(178, L"Time control");
  timePreset =
      env->addComboBox(Px(core::rect<s32>(FIELD_LEFT, 178, FIELD_LEFT + 170, 198)), window, ID_CONFIG_TIME_PRESET);
  for (const TimePreset &preset : TIME_PRESETS)
    timePreset->addItem(preset.name);
  incrementKind =
      env->addComboBox(Px(core::rect<s32>(FIELD_LEFT + 180, 178, RIGHT, 198)), window, ID_CONFIG_INCREMENT_KIND);
  incrementKind->addItem(L"Fischer");
  incrementKind->addItem(L"Bronstein delay");
  incrementKind->setSelected(initial.incrementKind == chess::IncrementKind::Bronstein ? 1 : 0);
  label(204, L"As PGN");
  timeControl = env->addEditBox(GuiText(initial.timeControl.ToString()).c_str(),
                                Px(core::rect<s32>(FIELD_LEFT, 204, FIELD_LEFT + 170, 224)), true, window,
                                ID_CONFIG_TIME_CONTROL);
  timeNote = env->addStaticText(L"", Px(core::rect<s32>(FIELD_LEFT, 228, RIGHT, 246)), false, false, window);

  sound = env->addCheckBox(initial.sound, Px(core::rect<s32>(LABEL_LEFT, 180 + CLOCK_ROWS, RIGHT, 198 + CLOCK_ROWS)),
                           window, ID_CONFIG_SOUND, L"Sound");
  shadows =
      env->addCheckBox(initial.shadows, Px(core::rect<s32>(LABEL_LEFT, 204 + CLOCK_ROWS, RIGHT, 222 + CLOCK_ROWS)),
                       window, ID_CONFIG_SHADOWS, L"Piece shadows during a game");
  turnCamera =
      env->addCheckBox(initial.turnCamera, Px(core::rect<s32>(LABEL_LEFT, 228 + CLOCK_ROWS, RIGHT, 246 + CLOCK_ROWS)),
                       window, ID_CONFIG_TURN_CAMERA, L"Two players: turn the camera to the side to move");
  speech = env->addCheckBox(initial.speech, Px(core::rect<s32>(LABEL_LEFT, 252 + CLOCK_ROWS, RIGHT, 270 + CLOCK_ROWS)),
                            window, ID_CONFIG_SPEECH, L"Speak moves");

  env->addButton(Px(core::rect<s32>(RIGHT - 190, HEIGHT - 40, RIGHT - 100, HEIGHT - 12)), window, ID_CONFIG_OK, L"OK");
  env->addButton(Px(core::rect<s32>(RIGHT - 90, HEIGHT - 40, RIGHT, HEIGHT - 12)), window, ID_CONFIG_CANCEL, L"Cancel");
  ShowLevelNote();
  ShowTimeNote();
}

void CConfigWindow::OnPresetChosen() {
  const s32 chosen = timePreset->getSelected();
  if (chosen < 0 || u32(chosen) >= CUSTOM_PRESET)
    return; // Custom: the field keeps what it holds
  timeControl->setText(GuiText(TIME_PRESETS[chosen].value).c_str());
  ShowTimeNote();
}

bool CConfigWindow::ShowTimeNote() {
  chess::TimeControl control;
  std::string reason;
  const std::string text = Narrow(timeControl->getText());
  const bool ok = chess::TimeControl::Parse(text, control, reason);
  u32 preset = CUSTOM_PRESET;
  for (u32 i = 0; ok && i < CUSTOM_PRESET; ++i) {
    chess::TimeControl known;
    if (chess::TimeControl::Parse(TIME_PRESETS[i].value, known, reason) && known == control)
      preset = i;
  }
  timePreset->setSelected(s32(preset));
  timeNote->setText(
      GuiText(ok ? (control.IsNone() ? std::string("No clock: the engine thinks its fixed time.") : control.Describe())
                 : "Not a time control: " + reason)
          .c_str());
  timeNote->setOverrideColor(ok ? video::SColor(255, 0, 0, 0) : video::SColor(255, 190, 0, 0));
  return ok;
}
void CConfigWindow::ShowLevelNote() {
  const std::wstring info = app.engine.GetEngineInfo().c_str();
  const std::wstring mark(THINK_ONLY_MARK, THINK_ONLY_MARK + strlen(THINK_ONLY_MARK));
  if (info.find(mark) != std::wstring::npos) {
    levelNote->setText(THINK_ONLY_TEXT);
    return;
  }
  const double rating = app.rating.Current().rating;
  if (u32(level->getSelected()) == MATCH_MY_RATING) {
    const int picked = LevelNearestRating(rating);
    levelNote->setText((L"Each new game picks the level nearest your rating (" + std::to_wstring(std::lround(rating)) +
                        L"): now " + CPlayerSettings::LevelText(picked) + L".")
                           .c_str());
    return;
  }
  const s32 chosen = level->getSelected() + CSettings::LEVEL_MIN;
  if (chosen < CSettings::LEVEL_MIN || chosen > CSettings::LEVEL_MAX) {
    levelNote->setText(L"");
    return;
  }
  const LevelRating measured = RatingOfLevel(chosen);
  levelNote->setText((std::wstring(LEVEL_NOTES[chosen - 1]) + L" Rated about " +
                      std::to_wstring(std::lround(measured.rating)) + L" (+/-" +
                      std::to_wstring(std::lround(2 * measured.rd)) + L"); your rating " +
                      std::to_wstring(std::lround(rating)) + L".")
                         .c_str());
}

CSettings CConfigWindow::Collected() const {
  CSettings settings = initial; // the window's size and state are not set here
  settings.levelAuto = u32(level->getSelected()) == MATCH_MY_RATING;
  if (!settings.levelAuto)
    settings.level = level->getSelected() + CSettings::LEVEL_MIN;
  const int thinkMs = int(std::lround(thinkTime->getValue() * 1000.f));
  settings.thinkMs = std::min(CSettings::THINK_MS_MAX, std::max(CSettings::THINK_MS_MIN, thinkMs));
  settings.enginePath = Narrow(enginePath->getText());
  // Blanks around a pasted path are not part of it.
  const size_t first = settings.enginePath.find_first_not_of(" \t");
  settings.enginePath =
      first == std::string::npos
          ? ""
          : settings.enginePath.substr(first, settings.enginePath.find_last_not_of(" \t") - first + 1);
  settings.sound = sound->isChecked();
  settings.shadows = shadows->isChecked();
  settings.turnCamera = turnCamera->isChecked();
  settings.speech = speech->isChecked();
  std::string reason;
  chess::TimeControl control;
  if (chess::TimeControl::Parse(Narrow(timeControl->getText()), control, reason))
    settings.timeControl = control;
  settings.incrementKind =
      incrementKind->getSelected() == 1 ? chess::IncrementKind::Bronstein : chess::IncrementKind::Fischer;
  return settings;
}

void CConfigWindow::Accept() {
  if (!ShowTimeNote())
    return; // the note says why; the window stays for the player to mend it
  const CSettings chosen = Collected();
  Close();
  if (chosen != app.settings.Get())
    app.settings.Apply(chosen);
  // Shadows belong to a game in progress at once.
  if (app.game.GetState() == LocalGame)
    app.map.SetShadowsVisible(chosen.shadows);
}

void CConfigWindow::Cancel() { Close(); }

void CConfigWindow::TestEngine() {
  std::string name, error;
  const std::string path = Collected().enginePath;
  if (CEngineProbe::Identify(path, PROBE_TIMEOUT_MS, name, error))
    testResult->setText((core::stringw(L"Found: ") + GuiText(name)).c_str());
  else
    testResult->setText((core::stringw(L"Not usable: ") + GuiText(error)).c_str());
  LogMessage(("CConfigWindow::TestEngine " + (error.empty() ? name : error)).c_str());
}

void CConfigWindow::Close() {
  if (!getParent())
    return;
  ReleaseFocusWithin(Environment, this);
  // The program's own reference keeps the element alive while the event
  // that closed it is still being handled.
  remove();
}

bool CConfigWindow::OnEvent(const SEvent &event) {
  if (event.EventType == EET_GUI_EVENT && event.GUIEvent.Caller) {
    const s32 id = event.GUIEvent.Caller->getID();
    switch (event.GUIEvent.EventType) {
    case gui::EGET_BUTTON_CLICKED:
      if (id == ID_CONFIG_OK)
        Accept();
      else if (id == ID_CONFIG_CANCEL)
        Cancel();
      else if (id == ID_CONFIG_TEST)
        TestEngine();
      else
        break;
      return true;
    case gui::EGET_COMBO_BOX_CHANGED:
      if (id == ID_CONFIG_TIME_PRESET)
        OnPresetChosen();
      else
        ShowLevelNote();
      return true;
    case gui::EGET_EDITBOX_CHANGED:
      if (id != ID_CONFIG_TIME_CONTROL)
        break;
      ShowTimeNote();
      return true;
    default:
      break;
    }
  }
  return IGUIElement::OnEvent(event);
}
