// A rectangular panel that shows a long, word-wrapped text and scrolls it with
// a vertical scroll bar. Scrolling moves the text element up inside the panel;
// the panel's clipping hides what lies outside it.
#pragma once

#include <irrlicht.h>

class CGUITextWindow : public irr::gui::IGUIElement {
public:
  // Builds the panel as a child of the environment's root element, with its
  // backdrop, text area and scroll bar, showing an empty text.
  CGUITextWindow(irr::gui::IGUIEnvironment *environment, irr::gui::IGUIFont *font,
                 const irr::core::rect<irr::s32> &rectangle);
  // Detaches the panel from its parent if it still has one.
  ~CGUITextWindow() override;

  // Closes a panel made with new: takes it off the screen, moves the
  // environment's focus out of it and gives up the creator's reference. The
  // environment may still hold its hovered element for a moment (it grabs it),
  // so the memory goes when the last holder lets go, never under its feet.
  static void Destroy(CGUITextWindow *window);

  // Follows the scroll bar. Swallows every event, so the events raised by the
  // children never reach the program's event receiver.
  bool OnEvent(const irr::SEvent &event) override;
  // Replaces the shown text and scrolls to its top.
  void setText(const wchar_t *text) override;
  // Adds text at the end of the shown text; the scroll position stays.
  void AppendText(const wchar_t *more);
  // Scrolls so that the last line of the text sits at the bottom edge. A text
  // shorter than the window has nothing to scroll: it stays at the top.
  virtual void ScrollToEnd();
  // Places the text so that its pixel row pos is at the window's top edge.
  void ScrollTo(irr::s32 pos);

  irr::gui::IGUIScrollBar *GetScrollBar() const { return scrollBar; }
  irr::gui::IGUIStaticText *GetTextArea() const { return textArea; }
  irr::gui::IGUIStaticText *GetBackdrop() const { return backdrop; }

private:
  // Creates backdrop, text area and scroll bar, in drawing order.
  void CreateChildren();
  // Highest scroll position for the current text: never below 0.
  irr::s32 ScrollRange() const;

  irr::gui::IGUIScrollBar *scrollBar = nullptr;
  irr::gui::IGUIStaticText *textArea = nullptr;
  irr::gui::IGUIStaticText *backdrop = nullptr;
  irr::gui::IGUIFont *font = nullptr;
  // Set while closing: focus events must then pass so the focus can leave.
  bool closing = false;
};
