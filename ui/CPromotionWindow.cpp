#include "ui/CPromotionWindow.h"

#include "app/CApplication.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

using namespace irr;

namespace {

struct Choice {
  s32 id;
  s32 kind;
  const char *label;
};

// In the order shown, queen first.
const Choice CHOICES[4] = {{ID_PROMOTE_QUEEN, Queen, platform::NoTr("Queen")},
                           {ID_PROMOTE_ROOK, Rook, platform::NoTr("Rook")},
                           {ID_PROMOTE_BISHOP, Bishop, platform::NoTr("Bishop")},
                           {ID_PROMOTE_KNIGHT, Knight, platform::NoTr("Knight")}};

// Square buttons a little larger than the pictures, the names in a row
// beneath them.
const s32 BUTTON_SIZE = 76, PICTURE_SIZE = 64, NAME_HEIGHT = 16, GAP = 10, TITLE_HEIGHT = 24;

} // namespace

void CPromotionWindow::Open(s32 color) {
  if (window || !app.guiEnvironment)
    return;
  gui::IGUIEnvironment *env = app.guiEnvironment;
  const s32 width = Px(4 * BUTTON_SIZE + 5 * GAP), height = Px(TITLE_HEIGHT + BUTTON_SIZE + NAME_HEIGHT + 2 * GAP);
  const s32 left = app.windowSize.Width / 2 - width / 2, top = app.windowSize.Height / 2 - height / 2;
  window = env->addWindow(core::rect<s32>(left, top, left + width, top + height), false, TrW("Promote to...").c_str(),
                          nullptr, ID_PROMOTION_WINDOW);
  if (!window)
    return;
  // Only a choice closes the window: a pawn on the last rank must become something.
  window->getCloseButton()->setVisible(false);
  const s32 buttonTop = TITLE_HEIGHT + GAP, nameTop = buttonTop + BUTTON_SIZE;
  for (int i = 0; i < 4; ++i) {
    const s32 x = GAP + i * (BUTTON_SIZE + GAP);
    video::ITexture *picture = app.portraits.Get(color, CHOICES[i].kind, u32(Px(PICTURE_SIZE)));
    const core::stringw name = TrW(CHOICES[i].label);
    // Without a picture the name stands on the button, as before pictures.
    buttons[i] = env->addButton(Px(core::rect<s32>(x, buttonTop, x + BUTTON_SIZE, buttonTop + BUTTON_SIZE)), window,
                                CHOICES[i].id, picture ? nullptr : name.c_str());
    if (!buttons[i])
      continue;
    buttons[i]->setIsPushButton(true);
    if (picture) {
      buttons[i]->setImage(picture);
      buttons[i]->setPressedImage(picture);
    }
    names[i] = env->addStaticText(
        name.c_str(), Px(core::rect<s32>(x - GAP / 2, nameTop, x + BUTTON_SIZE + GAP / 2, nameTop + NAME_HEIGHT)),
        false, false, window);
    if (names[i])
      names[i]->setTextAlignment(gui::EGUIA_CENTER, gui::EGUIA_CENTER);
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
  for (gui::IGUIStaticText *&name : names)
    name = nullptr;
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
