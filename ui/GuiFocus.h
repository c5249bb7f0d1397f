// Keeping the GUI environment's focus out of elements that are going away.
#pragma once

#include <irrlicht.h>

// True when element is ancestor itself or lies anywhere below it.
bool IsInsideElement(const irr::gui::IGUIElement *element, const irr::gui::IGUIElement *ancestor);

// Takes the environment's focus away when it rests on root or below it, so
// that no key press is later sent to an element cut off from its parent.
// Returns false only when the focused element refused to let go.
bool ReleaseFocusWithin(irr::gui::IGUIEnvironment *environment, irr::gui::IGUIElement *root);

// Whether a window or dialog takes the keys now: the focus rests inside a
// window, a message box or a file dialog, or a modal box covers the screen.
bool DialogTakesKeys(irr::gui::IGUIEnvironment *environment);
