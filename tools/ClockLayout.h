// The chess clock's shape and its digit atlas, shared by the generator that
// writes the clock's meshes and textures and by the scene that lays the faces'
// glyphs out on them. Lengths are world units in the clock's own frame: X
// along the clock (White's end at +X), Y up from the table, Z from the front
// (-Z, where the faces look) to the back.
#pragma once

#include <cmath>

namespace clocklayout {

// The case: 2 x 1 squares on the table.
constexpr float kHalfLength = 10.0f;
constexpr float kFrontZ = -5.0f, kBackZ = 5.0f;
constexpr float kHeight = 9.0f;
// The slanted front panel runs from the top of the low front wall up and
// back to the front edge of the flat top, where the buttons stand.
constexpr float kPanelBottomY = 2.0f;
constexpr float kPanelTopZ = 0.8f;

// The panel's length and its unit directions (y, z): up the slope, and out of it.
inline float PanelLength() { return std::hypot(kHeight - kPanelBottomY, kPanelTopZ - kFrontZ); }
inline float PanelUpY() { return (kHeight - kPanelBottomY) / PanelLength(); }
inline float PanelUpZ() { return (kPanelTopZ - kFrontZ) / PanelLength(); }
inline float PanelOutY() { return PanelUpZ(); }
inline float PanelOutZ() { return -PanelUpY(); }

// The plate on the panel that carries both faces, measured along the slope
// from the panel's bottom edge and across the clock.
constexpr float kPlateBottom = 0.45f, kPlateTop = 8.65f;
constexpr float kPlateHalfWidth = 9.5f;
constexpr float kPlateThickness = 0.25f;

// A face window on the plate: centred kFaceCentreX either side of the middle
// (White's at +X), kFaceCentreUp up the slope.
constexpr float kFaceCentreX = 4.8f;
constexpr float kFaceCentreUp = 4.6f;
constexpr float kFaceWidth = 8.6f, kFaceHeight = 4.6f;
// The glyphs keep this margin inside the window.
constexpr float kFaceMargin = 0.3f;
// Glyph quads float this far in front of the face's background, the face this
// far in front of the plate: enough for the depth buffer from across the table.
constexpr float kFaceLift = 0.03f, kGlyphLift = 0.03f;

// The buttons stand on the flat top above their faces.
constexpr float kButtonZ = (kPanelTopZ + kBackZ) * 0.5f;
constexpr float kButtonRadius = 1.2f;
// Button heights above the case's top: the running side's stands up, the
// other is pressed down, both level when no clock runs.
constexpr float kButtonUp = 0.6f, kButtonLevel = 0.0f, kButtonDown = -0.6f;

// The digit atlas: square cells in kColumns x kRows; every glyph is drawn
// centred in its cell on a common baseline, light on a dark LCD background.
constexpr int kCell = 128;
constexpr int kColumns = 8, kRows = 2;
constexpr int kAtlasWidth = kCell * kColumns, kAtlasHeight = kCell * kRows;
// The characters in cell order; the last cell is blank (background only).
constexpr char kGlyphs[] = "0123456789:.";
constexpr int kGlyphCount = sizeof kGlyphs - 1;
constexpr int kBlankCell = kGlyphCount;
// How much of a cell's width a glyph quad shows: a digit's full box, or the
// middle of the cell for the narrow ':' and '.'.
constexpr int kDigitBox = 72, kNarrowBox = 36;

// The cell of a character: its place in kGlyphs, the blank cell for any other.
constexpr int GlyphCell(char c) {
  for (int i = 0; i < kGlyphCount; ++i)
    if (kGlyphs[i] == c)
      return i;
  return kBlankCell;
}

// A glyph's quad width over its height.
constexpr float GlyphAspect(char c) {
  return static_cast<float>(c == ':' || c == '.' ? kNarrowBox : kDigitBox) / static_cast<float>(kCell);
}

// A texture rectangle (u to the right, v downwards, both 0..1).
struct SGlyphRect {
  float u0, v0, u1, v1;
};

// The texture rectangle a character's quad shows: the middle box of its cell,
// the full cell height, pulled in by half a texel from the cell's edges.
constexpr SGlyphRect GlyphRect(char c) {
  const int cell = GlyphCell(c);
  const int box = cell == kBlankCell ? kDigitBox : c == ':' || c == '.' ? kNarrowBox : kDigitBox;
  const float x0 = static_cast<float>((cell % kColumns) * kCell + (kCell - box) / 2);
  const float y0 = static_cast<float>((cell / kColumns) * kCell);
  return {(x0 + 0.5f) / kAtlasWidth, (y0 + 0.5f) / kAtlasHeight, (x0 + box - 0.5f) / kAtlasWidth,
          (y0 + kCell - 0.5f) / kAtlasHeight};
}

} // namespace clocklayout
