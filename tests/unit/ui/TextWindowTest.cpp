// The scrolling text panel on a device of its own, with the engine's built-in
// font, watched by a receiver that counts what reaches the program.
#include "ui/CGUITextWindow.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

// Stands in for the program's event receiver: counts the GUI events that
// arrive there.
struct GuiEventSpy : IEventReceiver {
  int guiEvents = 0;
  bool OnEvent(const SEvent &event) override {
    if (event.EventType == EET_GUI_EVENT)
      ++guiEvents;
    return false;
  }
};

core::stringw Lines(int count) {
  core::stringw text;
  for (int i = 1; i <= count; ++i) {
    text += L"line ";
    text += core::stringw(i);
    text += L"\n";
  }
  return text;
}

class TextWindowTest : public testing::Test {
protected:
  void SetUp() override {
    device = createDevice(video::EDT_NULL, core::dimension2d<u32>(1024, 768), 32, false, false, false, &spy);
    ASSERT_NE(device, nullptr);
    env = device->getGUIEnvironment();
    window = new CGUITextWindow(env, env->getBuiltInFont(), core::rect<s32>(100, 50, 300, 250));
  }
  void TearDown() override {
    CGUITextWindow::Destroy(window);
    device->drop();
  }

  s32 Height() const { return window->getRelativePosition().getHeight(); }
  s32 TextHeight() const { return window->GetTextArea()->getTextHeight(); }
  core::rect<s32> TextRect() const { return window->GetTextArea()->getRelativePosition(); }

  void Mouse(EMOUSE_INPUT_EVENT kind, s32 x, s32 y) {
    SEvent e;
    e.EventType = EET_MOUSE_INPUT_EVENT;
    e.MouseInput.Event = kind;
    e.MouseInput.X = x;
    e.MouseInput.Y = y;
    e.MouseInput.Wheel = 0;
    e.MouseInput.Shift = e.MouseInput.Control = false;
    e.MouseInput.ButtonStates = kind == EMIE_LMOUSE_PRESSED_DOWN ? EMBSM_LEFT : 0;
    device->postEventFromUser(e);
  }

  GuiEventSpy spy;
  IrrlichtDevice *device = nullptr;
  gui::IGUIEnvironment *env = nullptr;
  CGUITextWindow *window = nullptr;
};

TEST_F(TextWindowTest, ChildrenFillThePanelInDrawingOrder) {
  const auto &children = window->getChildren();
  ASSERT_EQ(children.size(), 3u);
  auto it = children.begin();
  EXPECT_EQ(*it, window->GetBackdrop());
  EXPECT_EQ(*++it, window->GetTextArea());
  EXPECT_EQ(*++it, window->GetScrollBar());
  EXPECT_EQ(window->getParent(), env->getRootGUIElement());
  EXPECT_EQ(window->GetBackdrop()->getRelativePosition(), core::rect<s32>(0, 0, 200, 200));
  EXPECT_EQ(window->GetScrollBar()->getRelativePosition(), core::rect<s32>(185, 0, 200, 200));
  // Side margins: 5 pixels on the left, 5 clear of the scroll bar.
  EXPECT_EQ(TextRect().UpperLeftCorner.X, 5);
  EXPECT_EQ(TextRect().LowerRightCorner.X, 180);
  // A new panel shows the empty text from the top.
  EXPECT_STREQ(window->GetTextArea()->getText(), L"");
  EXPECT_EQ(window->GetScrollBar()->getPos(), 0);
  EXPECT_EQ(TextRect().UpperLeftCorner.Y, 0);
}

// Long text: the range is what lies below the window; the end puts the last
// line on the bottom edge; a new text starts at the top again.
TEST_F(TextWindowTest, LongTextScrollsByItsOverhang) {
  window->setText(Lines(60).c_str());
  const s32 overhang = TextHeight() - Height();
  ASSERT_GT(overhang, 0);
  EXPECT_EQ(window->GetScrollBar()->getMax(), overhang);
  EXPECT_EQ(window->GetScrollBar()->getPos(), 0);
  EXPECT_EQ(TextRect(), core::rect<s32>(5, 0, 180, TextHeight()));

  window->ScrollToEnd();
  EXPECT_EQ(window->GetScrollBar()->getPos(), overhang);
  EXPECT_EQ(TextRect().LowerRightCorner.Y, Height());
  EXPECT_EQ(window->GetTextArea()->getAbsolutePosition().LowerRightCorner.Y,
            window->getAbsolutePosition().LowerRightCorner.Y);

  window->ScrollTo(37);
  EXPECT_EQ(TextRect(), core::rect<s32>(5, -37, 180, TextHeight() - 37));

  window->setText(Lines(80).c_str());
  EXPECT_EQ(window->GetScrollBar()->getPos(), 0);
  EXPECT_EQ(TextRect().UpperLeftCorner.Y, 0);
}

// A short text has nothing to scroll: it stays at the top after ScrollToEnd,
// and it leaves no negative range behind for the next, longer text.
TEST_F(TextWindowTest, ShortTextStaysAtTheTop) {
  window->setText(L"e2e4\ne7e5");
  ASSERT_LT(TextHeight(), Height());
  window->ScrollToEnd();
  EXPECT_EQ(window->GetScrollBar()->getPos(), 0);
  EXPECT_EQ(TextRect().UpperLeftCorner.Y, 0);

  window->setText(Lines(60).c_str());
  EXPECT_EQ(window->GetScrollBar()->getMin(), 0);
  window->GetScrollBar()->setPos(-50);
  EXPECT_EQ(window->GetScrollBar()->getPos(), 0);
}

// A real click on the scroll bar's lower arrow scrolls the text, and nothing
// of it reaches the program's receiver.
TEST_F(TextWindowTest, ScrollBarClickScrollsTextAndStaysInside) {
  window->setText(Lines(60).c_str());
  const core::rect<s32> bar = window->GetScrollBar()->getAbsolutePosition();
  const s32 x = bar.getCenter().X, y = bar.LowerRightCorner.Y - 5;
  Mouse(EMIE_MOUSE_MOVED, x, y);
  Mouse(EMIE_LMOUSE_PRESSED_DOWN, x, y);
  Mouse(EMIE_LMOUSE_LEFT_UP, x, y);

  const s32 pos = window->GetScrollBar()->getPos();
  EXPECT_GT(pos, 0);
  EXPECT_EQ(TextRect().UpperLeftCorner.Y, -pos);
  EXPECT_EQ(spy.guiEvents, 0);
  // The panel never takes the focus, so none can be left inside it.
  EXPECT_EQ(env->getFocus(), nullptr);
  EXPECT_FALSE(env->setFocus(window->GetScrollBar()));
}

// Closing under the pointer: the environment still holds the hovered child,
// which must stay a valid, detached object until the pointer moves on.
TEST_F(TextWindowTest, DestroyUnderThePointerLeavesNoDanglingHover) {
  const core::rect<s32> r = window->getAbsolutePosition();
  Mouse(EMIE_MOUSE_MOVED, r.UpperLeftCorner.X + 20, r.LowerRightCorner.Y - 20);
  gui::IGUIElement *hovered = env->getHovered();
  ASSERT_NE(hovered, nullptr);
  ASSERT_NE(hovered, env->getRootGUIElement());
  hovered->grab();
  const s32 held = hovered->getReferenceCount();

  CGUITextWindow::Destroy(window);
  window = nullptr;
  // Only the parent's reference went; ours and the environment's remain.
  EXPECT_EQ(hovered->getParent(), nullptr);
  EXPECT_EQ(hovered->getReferenceCount(), held - 1);
  EXPECT_TRUE(env->getRootGUIElement()->getChildren().empty());

  Mouse(EMIE_MOUSE_MOVED, 900, 700);
  EXPECT_NE(env->getHovered(), hovered);
  EXPECT_EQ(hovered->getReferenceCount(), 1);
  hovered->drop();
}

TEST_F(TextWindowTest, PlainDeleteDetachesFromTheRoot) {
  CGUITextWindow *other = new CGUITextWindow(env, env->getBuiltInFont(), core::rect<s32>(0, 0, 50, 50));
  ASSERT_EQ(env->getRootGUIElement()->getChildren().size(), 2u);
  delete other;
  EXPECT_EQ(env->getRootGUIElement()->getChildren().size(), 1u);
}

// Appending keeps what is shown and where it is scrolled to, and lets the
// scroll bar reach the new end.
TEST_F(TextWindowTest, AppendedTextGoesAtTheEndAndTheViewStays) {
  window->setText(Lines(40).c_str());
  window->ScrollTo(30);
  window->GetScrollBar()->setPos(30);
  const s32 before = TextHeight();
  window->AppendText(L"line 41\nline 42");
  EXPECT_EQ(core::stringw(window->GetTextArea()->getText()), Lines(40) + L"line 41\nline 42");
  EXPECT_GT(TextHeight(), before);
  EXPECT_EQ(TextRect().UpperLeftCorner.Y, -30) << "the view stays where it was";
  EXPECT_EQ(window->GetScrollBar()->getMax(), TextHeight() - Height());
  window->AppendText(L"");
  window->AppendText(nullptr);
  EXPECT_EQ(core::stringw(window->GetTextArea()->getText()), Lines(40) + L"line 41\nline 42");
  window->ScrollToEnd();
  EXPECT_EQ(TextRect().LowerRightCorner.Y, Height());
}

} // namespace
