#include "ui/GuiFocus.h"

using namespace irr;

bool IsInsideElement(const gui::IGUIElement *element, const gui::IGUIElement *ancestor) {
  for (; element; element = element->getParent())
    if (element == ancestor)
      return true;
  return false;
}

bool ReleaseFocusWithin(gui::IGUIEnvironment *environment, gui::IGUIElement *root) {
  if (!environment || !root)
    return true;
  gui::IGUIElement *focus = environment->getFocus();
  if (!IsInsideElement(focus, root))
    return true;
  return environment->removeFocus(focus);
}
