#include "ui/CConfigWindow.h"

#include "app/CApplication.h"
#include "engine/CEngineProbe.h"
#include "engine/LevelRatings.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

#include <cmath>
#include <cstring>

using namespace irr;

namespace {

const s32 WIDTH = CConfigWindow::WIDTH, HEIGHT = CConfigWindow::HEIGHT;
const s32 CLOCK_ROWS = 70;              // the time control's rows push the check boxes down
const s32 THEME_TOP = 300 + CLOCK_ROWS; // the board set's row, under the check boxes
const s32 LABEL_LEFT = 10, FIELD_LEFT = 130, RIGHT = WIDTH - 10;
const int PROBE_TIMEOUT_MS = 3000;
const float THINK_STEP_S = 0.5f;
const char *const THINK_ONLY_TEXT = platform::NoTr("This engine has no strength options: every level plays alike; only "
                                                   "the think time applies.");
const char *const THINK_ONLY_MARK = "only the think time applies";

// What each level plays like; its rating follows from the calibration.
const char *const LEVEL_NOTES[CSettings::LEVEL_MAX] = {
    platform::NoTr("Looks one move ahead, often misses the best."),
    platform::NoTr("Looks a little further, still misses some."),
    platform::NoTr("Stockfish at a casual player's rating."),
    platform::NoTr("Stockfish at a club player's rating."),
    platform::NoTr("A strong club player."),
    platform::NoTr("An expert's rating."),
    platform::NoTr("A master's rating."),
    platform::NoTr("Stockfish unlimited within the think time."),
};
// The level combo box's last item: the level follows the player's rating.
const u32 MATCH_MY_RATING = CSettings::LEVEL_MAX;

// The time controls players pick most, by the names they know them by;
// the last entry stands for any other value typed into the field.
struct TimePreset {
  const char *name;
  const char *value;
};
const TimePreset TIME_PRESETS[] = {
    {platform::NoTr("None"), "-"},
    {platform::NoTr("Bullet 1+0"), "60"},
    {platform::NoTr("Blitz 3+2"), "180+2"},
    {platform::NoTr("Blitz 5+0"), "300"},
    {platform::NoTr("Blitz 5+3"), "300+3"},
    {platform::NoTr("Rapid 10+5"), "600+5"},
    {platform::NoTr("Rapid 15+10"), "900+10"},
    {platform::NoTr("Classical 30+0"), "1800"},
    {platform::NoTr("Classical 90/40+30 +30s"), "40/5400+30:1800+30"},
    {platform::NoTr("Custom"), nullptr},
};
const u32 CUSTOM_PRESET = sizeof(TIME_PRESETS) / sizeof(TIME_PRESETS[0]) - 1;

// The board sets in the order of EBoardTheme.
const char *const THEME_NAMES[BOARD_THEME_COUNT] = {platform::NoTr("Wood"), platform::NoTr("Marble"),
                                                    platform::NoTr("Tournament")};

// The one open window; the program keeps its own reference to it.
CConfigWindow *openWindow = nullptr;

// A time control's description in the interface language: the few words
// chess::TimeControl::Describe writes in English are replaced; its units
// (h, min, s) read the same in the catalogues' languages.
std::string DescribeShown(const chess::TimeControl &control) {
  std::string text = control.Describe();
  for (const char *words : {platform::NoTr(" moves in "), platform::NoTr(" move in "), platform::NoTr(", then "),
                            platform::NoTr(", repeating")}) {
    const std::string shown = platform::Tr(words);
    for (size_t at = text.find(words); at != std::string::npos; at = text.find(words, at + shown.size()))
      text.replace(at, std::strlen(words), shown);
  }
  return text;
}

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
  gui::IGUIWindow *window =
      env->addWindow(Px(core::rect<s32>(0, 0, WIDTH, HEIGHT)), false, TrW("Config").c_str(), this, -1);
  window->getCloseButton()->setVisible(false); // OK or Cancel
  const auto label = [&](s32 y, const char *text) {
    env->addStaticText(TrW(text).c_str(), Px(core::rect<s32>(LABEL_LEFT, y + 3, FIELD_LEFT - 5, y + 21)), false, false,
                       window);
  };

  label(32, platform::NoTr("Level"));
  level = env->addComboBox(Px(core::rect<s32>(FIELD_LEFT, 32, FIELD_LEFT + 230, 52)), window, ID_CONFIG_LEVEL);
  for (int i = CSettings::LEVEL_MIN; i <= CSettings::LEVEL_MAX; ++i)
    level->addItem(CPlayerSettings::LevelText(i).c_str(), u32(i));
  level->addItem(TrW("Match my rating").c_str(), 0);
  level->setSelected(initial.levelAuto ? MATCH_MY_RATING : initial.level - CSettings::LEVEL_MIN);
  levelNote = env->addStaticText(L"", Px(core::rect<s32>(FIELD_LEFT, 56, RIGHT, 88)), false, true, window);

  label(94, platform::NoTr("Think time (s)"));
  thinkTime =
      env->addSpinBox(L"", Px(core::rect<s32>(FIELD_LEFT, 94, FIELD_LEFT + 80, 114)), true, window, ID_CONFIG_THINK);
  thinkTime->setRange(CSettings::THINK_MS_MIN / 1000.f, CSettings::THINK_MS_MAX / 1000.f);
  thinkTime->setStepSize(THINK_STEP_S);
  thinkTime->setDecimalPlaces(1);
  thinkTime->setValue(initial.thinkMs / 1000.f);

  label(126, platform::NoTr("Engine"));
  enginePath = env->addEditBox(GuiText(initial.enginePath).c_str(),
                               Px(core::rect<s32>(FIELD_LEFT, 126, RIGHT - 70, 146)), true, window, ID_CONFIG_ENGINE);
  env->addButton(Px(core::rect<s32>(RIGHT - 60, 126, RIGHT, 146)), window, ID_CONFIG_TEST, TrW("Test").c_str());
  testResult = env->addStaticText(TrW("Empty for Stockfish, else the path of a UCI engine.").c_str(),
                                  Px(core::rect<s32>(FIELD_LEFT, 150, RIGHT, 168)), false, false, window);

  label(178, platform::NoTr("Time control"));
  timePreset =
      env->addComboBox(Px(core::rect<s32>(FIELD_LEFT, 178, FIELD_LEFT + 170, 198)), window, ID_CONFIG_TIME_PRESET);
  for (const TimePreset &preset : TIME_PRESETS)
    timePreset->addItem(TrW(preset.name).c_str());
  incrementKind =
      env->addComboBox(Px(core::rect<s32>(FIELD_LEFT + 180, 178, RIGHT, 198)), window, ID_CONFIG_INCREMENT_KIND);
  incrementKind->addItem(TrW("Fischer").c_str());
  incrementKind->addItem(TrW("Bronstein delay").c_str());
  incrementKind->setSelected(initial.incrementKind == chess::IncrementKind::Bronstein ? 1 : 0);
  label(204, platform::NoTr("As PGN"));
  timeControl = env->addEditBox(GuiText(initial.timeControl.ToString()).c_str(),
                                Px(core::rect<s32>(FIELD_LEFT, 204, FIELD_LEFT + 170, 224)), true, window,
                                ID_CONFIG_TIME_CONTROL);
  timeNote = env->addStaticText(L"", Px(core::rect<s32>(FIELD_LEFT, 228, RIGHT, 246)), false, false, window);

  sound = env->addCheckBox(initial.sound, Px(core::rect<s32>(LABEL_LEFT, 180 + CLOCK_ROWS, RIGHT, 198 + CLOCK_ROWS)),
                           window, ID_CONFIG_SOUND, TrW("Sound").c_str());
  shadows =
      env->addCheckBox(initial.shadows, Px(core::rect<s32>(LABEL_LEFT, 204 + CLOCK_ROWS, RIGHT, 222 + CLOCK_ROWS)),
                       window, ID_CONFIG_SHADOWS, TrW("Piece shadows during a game").c_str());
  // Ticked as the board shows it: also when the game decided by its frame rate.
  reflectionsAtOpen = initial.reflectionsChosen ? initial.reflections : app.reflection.IsEnabled();
  reflections =
      env->addCheckBox(reflectionsAtOpen, Px(core::rect<s32>(LABEL_LEFT, 228 + CLOCK_ROWS, RIGHT, 246 + CLOCK_ROWS)),
                       window, ID_CONFIG_REFLECTIONS, TrW("Board reflections").c_str());
  turnCamera =
      env->addCheckBox(initial.turnCamera, Px(core::rect<s32>(LABEL_LEFT, 252 + CLOCK_ROWS, RIGHT, 270 + CLOCK_ROWS)),
                       window, ID_CONFIG_TURN_CAMERA, TrW("Two players: turn the camera to the side to move").c_str());
  speech = env->addCheckBox(initial.speech, Px(core::rect<s32>(LABEL_LEFT, 276 + CLOCK_ROWS, RIGHT, 294 + CLOCK_ROWS)),
                            window, ID_CONFIG_SPEECH, TrW("Speak moves").c_str());

  label(THEME_TOP, platform::NoTr("Board set"));
  theme = env->addComboBox(Px(core::rect<s32>(FIELD_LEFT, THEME_TOP, FIELD_LEFT + 170, THEME_TOP + 20)), window,
                           ID_CONFIG_THEME);
  for (const char *name : THEME_NAMES)
    theme->addItem(TrW(name).c_str());
  theme->setSelected(s32(initial.theme));

  env->addButton(Px(core::rect<s32>(RIGHT - 190, HEIGHT - 40, RIGHT - 100, HEIGHT - 12)), window, ID_CONFIG_OK,
                 TrW("OK").c_str());
  env->addButton(Px(core::rect<s32>(RIGHT - 90, HEIGHT - 40, RIGHT, HEIGHT - 12)), window, ID_CONFIG_CANCEL,
                 TrW("Cancel").c_str());
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
      GuiText(ok ? (control.IsNone() ? std::string(platform::Tr("No clock: the engine thinks its fixed time."))
                                     : DescribeShown(control))
                 : platform::TrFormat("Not a time control: {1}", {reason}))
          .c_str());
  timeNote->setOverrideColor(ok ? video::SColor(255, 0, 0, 0) : video::SColor(255, 190, 0, 0));
  return ok;
}
void CConfigWindow::ShowLevelNote() {
  const std::wstring info = app.engine.GetEngineInfo().c_str();
  const std::wstring mark(THINK_ONLY_MARK, THINK_ONLY_MARK + strlen(THINK_ONLY_MARK));
  if (info.find(mark) != std::wstring::npos) {
    levelNote->setText(TrW(THINK_ONLY_TEXT).c_str());
    return;
  }
  const double rating = app.rating.Current().rating;
  if (u32(level->getSelected()) == MATCH_MY_RATING) {
    const int picked = LevelNearestRating(rating);
    levelNote->setText(TrFormatW("Each new game picks the level nearest your rating ({1}): now {2}.",
                                 {std::to_string(std::lround(rating)), Utf8(CPlayerSettings::LevelText(picked))})
                           .c_str());
    return;
  }
  const s32 chosen = level->getSelected() + CSettings::LEVEL_MIN;
  if (chosen < CSettings::LEVEL_MIN || chosen > CSettings::LEVEL_MAX) {
    levelNote->setText(L"");
    return;
  }
  const LevelRating measured = RatingOfLevel(chosen);
  levelNote->setText(TrFormatW("{1} Rated about {2} (+/-{3}); your rating {4}.",
                               {platform::Tr(LEVEL_NOTES[chosen - 1]), std::to_string(std::lround(measured.rating)),
                                std::to_string(std::lround(2 * measured.rd)), std::to_string(std::lround(rating))})
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
  // Left as it was, an open setting stays open: the frame rate decides again next time.
  if (reflections->isChecked() != reflectionsAtOpen) {
    settings.reflections = reflections->isChecked();
    settings.reflectionsChosen = true;
  }
  settings.turnCamera = turnCamera->isChecked();
  settings.speech = speech->isChecked();
  if (theme->getSelected() >= 0 && theme->getSelected() < BOARD_THEME_COUNT)
    settings.theme = EBoardTheme(theme->getSelected());
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
  // Shadows belong to a game in progress at once; reflections show at once.
  if (app.game.GetState() == LocalGame)
    app.map.SetShadowsVisible(chosen.shadows);
  if (chosen.reflectionsChosen)
    app.reflection.SetEnabled(chosen.reflections);
  // So does the board set, whatever the game is doing.
  if (chosen.theme != app.map.GetTheme().InUse())
    app.map.ApplyTheme(chosen.theme);
}

void CConfigWindow::Cancel() { Close(); }

void CConfigWindow::TestEngine() {
  std::string name, error;
  const std::string path = Collected().enginePath;
  if (CEngineProbe::Identify(path, PROBE_TIMEOUT_MS, name, error))
    testResult->setText(TrFormatW("Found: {1}", {name}).c_str());
  else
    testResult->setText(TrFormatW("Not usable: {1}", {error}).c_str());
  LogMessage("CConfigWindow::TestEngine " + (error.empty() ? name : error));
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
      else if (id != ID_CONFIG_THEME) // the set is shown when OK is pressed
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
