#include "ui/CEvalBar.h"

#include "ui/GuiText.h"
#include "ui/UiScale.h"

using namespace irr;

namespace {

const video::SColor LIGHT(255, 236, 232, 222);
const video::SColor DARK(255, 52, 50, 48);
const video::SColor FRAME(255, 20, 20, 20);
const s32 LABEL_HEIGHT = 14;

} // namespace

CEvalBar::CEvalBar(gui::IGUIEnvironment *environment, gui::IGUIElement *parent, s32 id, const core::rect<s32> &rect)
    : gui::IGUIElement(gui::EGUIET_ELEMENT, environment, parent, id, rect) {}

void CEvalBar::SetEvaluation(bool known, const chess::Evaluation &eval) {
  whiteShare = known ? chess::WinPercent(eval) / 100.0 : 0.5;
  whiteLeads = !known || eval.value >= 0;
  std::string text = known ? chess::FormatEvaluation(eval) : "";
  if (known && !eval.mate && eval.value > 0)
    text = "+" + text;
  label = GuiText(text).c_str();
}

void CEvalBar::draw() {
  if (!IsVisible)
    return;
  video::IVideoDriver *driver = Environment->getVideoDriver();
  const core::rect<s32> &box = AbsoluteRect;
  driver->draw2DRectangle(FRAME, box, &AbsoluteClippingRect);
  core::rect<s32> inner(box.UpperLeftCorner.X + 1, box.UpperLeftCorner.Y + 1, box.LowerRightCorner.X - 1,
                        box.LowerRightCorner.Y - 1);
  driver->draw2DRectangle(DARK, inner, &AbsoluteClippingRect);
  const s32 lightTop = inner.LowerRightCorner.Y - s32(whiteShare * inner.getHeight() + 0.5);
  driver->draw2DRectangle(
      LIGHT, core::rect<s32>(inner.UpperLeftCorner.X, lightTop, inner.LowerRightCorner.X, inner.LowerRightCorner.Y),
      &AbsoluteClippingRect);
  if (!label.empty())
    if (gui::IGUIFont *font = Environment->getSkin()->getFont()) {
      // At White's end (the bottom) in dark letters, or Black's (the top) in light ones.
      const core::rect<s32> where =
          whiteLeads ? core::rect<s32>(box.UpperLeftCorner.X, box.LowerRightCorner.Y - Px(LABEL_HEIGHT + 2),
                                       box.LowerRightCorner.X, box.LowerRightCorner.Y - Px(2))
                     : core::rect<s32>(box.UpperLeftCorner.X, box.UpperLeftCorner.Y + Px(2), box.LowerRightCorner.X,
                                       box.UpperLeftCorner.Y + Px(2 + LABEL_HEIGHT));
      font->draw(label.c_str(), where, whiteLeads ? DARK : LIGHT, true, true, &AbsoluteClippingRect);
    }
  gui::IGUIElement::draw();
}
