// The interface's scale: how many window pixels each of its design pixels
// takes. The windows, buttons and texts were drawn for 1024 x 768 at scale 1;
// larger windows show them at 1.5 or 2 (see CGuiLayout::ChooseScale). Code
// that places an element writes its design sizes through Px.
#pragma once

#include <irrlicht.h>

// The scale in force; 1 until the interface sets another.
float UiScale();
void SetUiScale(float scale);

// A design length at the scale in force, rounded to the nearest pixel.
irr::s32 Px(irr::s32 designPixels);
// A design length at the given scale.
irr::s32 Px(irr::s32 designPixels, float scale);
// Each corner of a design rectangle at the scale in force.
irr::core::rect<irr::s32> Px(const irr::core::rect<irr::s32> &designRect);
