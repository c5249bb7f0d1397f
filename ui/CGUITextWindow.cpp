#include "ui/CGUITextWindow.h"

#include "ui/GuiFocus.h"
#include "ui/UiScale.h"

using namespace irr;

namespace {

// Width of the scroll bar at the right edge, and the text's margins.
const s32 SCROLL_BAR_WIDTH = 15;
const s32 TEXT_MARGIN_LEFT = 5;
const s32 TEXT_MARGIN_RIGHT = 20;
const s32 TEXT_MARGIN_TOP = 5;
const s32 TEXT_MARGIN_BOTTOM = 5;

} // namespace

// The element type plays no part in the program; EGUIET_ELEMENT keeps the
// panel from passing for one of the engine's own element kinds.
CGUITextWindow::CGUITextWindow(gui::IGUIEnvironment *environment, gui::IGUIFont *font, const core::rect<s32> &rectangle)
    : IGUIElement(gui::EGUIET_ELEMENT, environment, environment->getRootGUIElement(), -1, rectangle), font(font) {
  CreateChildren();
}

CGUITextWindow::~CGUITextWindow() {
  // Reached with a parent only through a plain delete; Destroy detaches first.
  if (Parent)
    Parent->removeChild(this);
}

void CGUITextWindow::Destroy(CGUITextWindow *window) {
  if (!window)
    return;
  // Focus events must reach the focused child unanswered, or the environment
  // would take our swallowing for a refusal to give up the focus.
  window->closing = true;
  ReleaseFocusWithin(window->Environment, window);
  window->remove();
  window->drop();
}

void CGUITextWindow::CreateChildren() {
  const s32 w = RelativeRect.getWidth();
  const s32 h = RelativeRect.getHeight();
  backdrop = Environment->addStaticText(L"", core::rect<s32>(0, 0, w, h), true /*border*/, true /*word wrap*/, this, -1,
                                        true /*fill background*/);
  textArea = Environment->addStaticText(
      L"",
      core::rect<s32>(Px(TEXT_MARGIN_LEFT), Px(TEXT_MARGIN_TOP), w - Px(TEXT_MARGIN_RIGHT), h - Px(TEXT_MARGIN_BOTTOM)),
      false /*border*/, true /*word wrap*/, this, -1, false /*fill background*/);
  scrollBar =
      Environment->addScrollBar(false /*vertical*/, core::rect<s32>(w - Px(SCROLL_BAR_WIDTH), 0, w, h), this, -1);
  textArea->setOverrideFont(font);
  // One arrow click scrolls one line of the text.
  if (font)
    scrollBar->setSmallStep(s32(font->getDimension(L"A").Height) + font->getKerningHeight());
  setText(L"");
}

s32 CGUITextWindow::ScrollRange() const {
  // The engine's scroll bar moves its minimum below zero when given a negative
  // maximum and keeps it there for later texts, so the range never goes below
  // zero: a short text has nothing to scroll and sits at the top.
  const s32 range = textArea->getTextHeight() - scrollBar->getRelativePosition().getHeight();
  return range > 0 ? range : 0;
}

void CGUITextWindow::setText(const wchar_t *text) {
  textArea->setText(text ? text : L"");
  scrollBar->setMax(ScrollRange());
  scrollBar->setPos(0);
  ScrollTo(0);
}

void CGUITextWindow::AppendText(const wchar_t *more) {
  if (!more || !*more)
    return;
  core::stringw text = textArea->getText();
  text += more;
  textArea->setText(text.c_str());
  scrollBar->setMax(ScrollRange());
  ScrollTo(scrollBar->getPos());
}

void CGUITextWindow::ScrollToEnd() {
  // The scroll bar clamps the wanted position into its range; follow its word.
  scrollBar->setPos(textArea->getTextHeight() - scrollBar->getRelativePosition().getHeight());
  ScrollTo(scrollBar->getPos());
}

void CGUITextWindow::ScrollTo(s32 pos) {
  const core::rect<s32> r = textArea->getRelativePosition();
  const s32 textHeight = textArea->getTextHeight();
  textArea->setRelativePosition(core::rect<s32>(r.UpperLeftCorner.X, -pos, r.LowerRightCorner.X, textHeight - pos));
}

bool CGUITextWindow::OnEvent(const SEvent &event) {
  if (closing)
    return false;
  if (event.EventType == EET_GUI_EVENT && event.GUIEvent.EventType == gui::EGET_SCROLL_BAR_CHANGED &&
      event.GUIEvent.Caller == scrollBar)
    ScrollTo(scrollBar->getPos());
  // Nothing goes on to the parent. The environment reads a true answer to a
  // focus event as a refusal, so the panel and its children never take the
  // focus and no key press can be left pointing into a closed panel.
  return true;
}
