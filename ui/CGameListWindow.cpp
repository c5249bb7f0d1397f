#include "ui/CGameListWindow.h"

#include "app/CApplication.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

using namespace irr;

std::wstring CGameListWindow::RowText(const chess::PgnGameEntry &entry) {
  const chess::PgnSummary &s = entry.summary;
  std::wstring row = GuiText(s.white + " - " + s.black + ", " + s.date + ", " + s.result).c_str();
  if (!entry.ok)
    row += GuiText(platform::TrFormat(" (broken at line {1})", {std::to_string(entry.error.line)})).c_str();
  return row;
}

void CGameListWindow::Show(const std::string &path, std::vector<chess::PgnGameEntry> games) {
  Close();
  filePath = path;
  entries = std::move(games);
  gui::IGUIEnvironment *env = app.guiEnvironment;
  const s32 width = Px(520), height = Px(300);
  const s32 x = (app.windowSize.Width - width) / 2, y = (app.windowSize.Height - height) / 2;
  const std::wstring caption = TrFormatW("Games in {1}", {path.substr(path.rfind('/') + 1)}).c_str();
  window = env->addWindow(core::rect<s32>(x, y, x + width, y + height), true /*modal*/, caption.c_str(), nullptr,
                          ID_GAME_LIST_WINDOW);
  list = env->addListBox(core::rect<s32>(Px(10), Px(30), width - Px(10), height - Px(50)), window, ID_GAME_LIST, true);
  for (const chess::PgnGameEntry &entry : entries)
    list->addItem(RowText(entry).c_str());
  // The first game that can be read is chosen to begin with.
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].ok) {
      list->setSelected(s32(i));
      break;
    }
  // Left only through its buttons, so the window is never removed behind our back.
  window->getCloseButton()->setVisible(false);
  env->addButton(core::rect<s32>(width - Px(220), height - Px(40), width - Px(120), height - Px(12)), window,
                 ID_GAME_LIST_CANCEL, TrW("Cancel").c_str());
  env->addButton(core::rect<s32>(width - Px(110), height - Px(40), width - Px(10), height - Px(12)), window,
                 ID_GAME_LIST_OPEN, TrW("Open").c_str());
  env->setFocus(list);
}

bool CGameListWindow::TakeChoice(chess::PgnGameEntry &entry, std::string &path) {
  if (!list)
    return false;
  const s32 row = list->getSelected();
  if (row < 0 || size_t(row) >= entries.size() || !entries[size_t(row)].ok)
    return false; // a broken game stays listed, but is not opened
  entry = entries[size_t(row)];
  path = filePath;
  Close();
  return true;
}

void CGameListWindow::Close() {
  if (window)
    window->remove();
  window = nullptr;
  list = nullptr;
  entries.clear();
}
