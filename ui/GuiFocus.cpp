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

bool DialogTakesKeys(gui::IGUIEnvironment *environment) {
  if (!environment)
    return false;
  for (const gui::IGUIElement *e = environment->getFocus(); e; e = e->getParent()) {
    const gui::EGUI_ELEMENT_TYPE type = e->getType();
    if (type == gui::EGUIET_WINDOW || type == gui::EGUIET_MESSAGE_BOX || type == gui::EGUIET_FILE_OPEN_DIALOG ||
        type == gui::EGUIET_MODAL_SCREEN)
      return true;
  }
  for (const gui::IGUIElement *child : environment->getRootGUIElement()->getChildren())
    if (child->getType() == gui::EGUIET_MODAL_SCREEN && child->isVisible())
      return true;
  return false;
}
