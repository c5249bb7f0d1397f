#include "ui/CPromotionWindow.h"

#include "app/CApplication.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"
#include "ui/UiScale.h"

using namespace irr;

namespace {

struct Choice {
  s32 id;
  s32 kind;
  const wchar_t *label;
};

// In the order shown, queen first.
const Choice CHOICES[4] = {{ID_PROMOTE_QUEEN, Queen, L"Queen"},
                           {ID_PROMOTE_ROOK, Rook, L"Rook"},
                           {ID_PROMOTE_BISHOP, Bishop, L"Bishop"},
                           {ID_PROMOTE_KNIGHT, Knight, L"Knight"}};

const s32 BUTTON_WIDTH = 70, BUTTON_HEIGHT = 40, GAP = 10, TITLE_HEIGHT = 24;

} // namespace

void CPromotionWindow::Open() {
  if (window || !app.guiEnvironment)
    return;
  gui::IGUIEnvironment *env = app.guiEnvironment;
  const s32 width = Px(4 * BUTTON_WIDTH + 5 * GAP), height = Px(TITLE_HEIGHT + BUTTON_HEIGHT + 2 * GAP);
  const s32 left = app.windowSize.Width / 2 - width / 2, top = app.windowSize.Height / 2 - height / 2;
  window = env->addWindow(core::rect<s32>(left, top, left + width, top + height), false, L"Promote to...", nullptr,
                          ID_PROMOTION_WINDOW);
  if (!window)
    return;
  // Only a choice closes the window: a pawn on the last rank must become something.
  window->getCloseButton()->setVisible(false);
  for (int i = 0; i < 4; ++i) {
    const s32 x = GAP + i * (BUTTON_WIDTH + GAP);
    buttons[i] =
        env->addButton(Px(core::rect<s32>(x, TITLE_HEIGHT + GAP, x + BUTTON_WIDTH, TITLE_HEIGHT + GAP + BUTTON_HEIGHT)),
                       window, CHOICES[i].id, CHOICES[i].label);
    if (buttons[i])
      buttons[i]->setIsPushButton(true);
  }
  choice = Queen;
  ShowChoice();
}

void CPromotionWindow::Close() {
  if (!window)
    return;
  ReleaseFocusWithin(app.guiEnvironment, window);
  window->getParent()->removeChild(window);
  window = nullptr;
  for (gui::IGUIButton *&button : buttons)
    button = nullptr;
}

void CPromotionWindow::Step(int step) {
  int at = 0;
  for (int i = 0; i < 4; ++i)
    if (CHOICES[i].kind == choice)
      at = i;
  choice = CHOICES[(at + (step < 0 ? 3 : 1)) % 4].kind;
  ShowChoice();
}

bool CPromotionWindow::KindOfButton(s32 id, s32 &kind) {
  for (const Choice &c : CHOICES)
    if (c.id == id) {
      kind = c.kind;
      return true;
    }
  return false;
}

// The chosen piece's button is shown pressed, the others raised.
void CPromotionWindow::ShowChoice() {
  for (int i = 0; i < 4; ++i)
    if (buttons[i])
      buttons[i]->setPressed(CHOICES[i].kind == choice);
}
