#include "ui/UiScale.h"

#include <cmath>

using namespace irr;

namespace {

float scaleInForce = 1.f;

} // namespace

float UiScale() { return scaleInForce; }

void SetUiScale(float scale) { scaleInForce = scale > 0.f ? scale : 1.f; }

s32 Px(s32 designPixels, float scale) { return s32(std::lround(designPixels * scale)); }

s32 Px(s32 designPixels) { return Px(designPixels, scaleInForce); }

core::rect<s32> Px(const core::rect<s32> &r) {
  return core::rect<s32>(Px(r.UpperLeftCorner.X), Px(r.UpperLeftCorner.Y), Px(r.LowerRightCorner.X),
                         Px(r.LowerRightCorner.Y));
}
