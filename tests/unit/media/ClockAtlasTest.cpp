// The clock's digit atlases as the faces cut them up: light glyphs, each
// wholly inside the part of its cell that its quad shows, on a plain glass
// that matches the blank cell (the face's background): near black, or red
// for a fallen flag.
#include "tests/support/NullDevice.h"
#include "tools/ClockLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace layout = clocklayout;

float Luminance(irr::video::SColor c) {
  return (0.2126f * c.getRed() + 0.7152f * c.getGreen() + 0.0722f * c.getBlue()) / 255.0f;
}

struct SAtlasCase {
  const char *file;
  bool red;
};

class ClockAtlas : public testing::TestWithParam<SAtlasCase> {};

TEST_P(ClockAtlas, LightGlyphsInsideTheirBoxesOnPlainGlass) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  irr::video::IImage *atlas = app.driver->createImageFromFile(GetParam().file);
  ASSERT_NE(atlas, nullptr);
  ASSERT_EQ(atlas->getDimension(), irr::core::dimension2d<irr::u32>(layout::kAtlasWidth, layout::kAtlasHeight));
  const auto at = [atlas](int x, int y) { return atlas->getPixel(static_cast<irr::u32>(x), static_cast<irr::u32>(y)); };
  const int blankLeft = (layout::kBlankCell % layout::kColumns) * layout::kCell;
  const int blankTop = (layout::kBlankCell / layout::kColumns) * layout::kCell;
  const irr::video::SColor glass = at(blankLeft, blankTop);
  if (GetParam().red) {
    EXPECT_GT(glass.getRed(), 120u);
    EXPECT_GT(glass.getRed(), 2 * glass.getGreen());
    EXPECT_GT(glass.getRed(), 2 * glass.getBlue());
  } else {
    EXPECT_LT(Luminance(glass), 0.15f) << "a dark display";
  }
  for (int cell = 0; cell <= layout::kGlyphCount; ++cell) {
    const char c = cell < layout::kGlyphCount ? layout::kGlyphs[cell] : ' ';
    SCOPED_TRACE(std::string("cell of '") + c + "'");
    const layout::SGlyphRect box = layout::GlyphRect(c);
    const int left = (cell % layout::kColumns) * layout::kCell, top = (cell / layout::kColumns) * layout::kCell;
    int inkRows = 0, outside = 0;
    float brightest = 0;
    for (int y = top; y < top + layout::kCell; ++y) {
      bool inkInRow = false;
      for (int x = left; x < left + layout::kCell; ++x) {
        const bool ink = at(x, y) != glass;
        // A stroke outside the box would be cut off at the quad's edge.
        outside += ink && (x < box.u0 * layout::kAtlasWidth || x + 1 > box.u1 * layout::kAtlasWidth);
        inkInRow |= ink;
        brightest = std::max(brightest, Luminance(at(x, y)));
      }
      inkRows += inkInRow;
    }
    EXPECT_EQ(outside, 0);
    if (c == ' ') {
      EXPECT_EQ(inkRows, 0) << "the face's background must match the glass around every glyph";
    } else if (c != ':' && c != '.') {
      EXPECT_GT(inkRows, layout::kCell * 6 / 10) << "digits fill most of the cell's height";
      EXPECT_GT(brightest, 0.8f) << "light digits";
    }
  }
  atlas->drop();
}

INSTANTIATE_TEST_SUITE_P(Faces, ClockAtlas,
                         testing::Values(SAtlasCase{"./media/clock_digits.png", false},
                                         SAtlasCase{"./media/clock_digits_red.png", true}),
                         [](const testing::TestParamInfo<SAtlasCase> &info) {
                           return std::string(info.param.red ? "Red" : "Normal");
                         });

} // namespace
