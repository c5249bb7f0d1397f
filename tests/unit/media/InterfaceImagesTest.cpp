// The interface pictures as the game's GUI reads them: bitmap fonts (the
// interface's and the banner's at each interface scale) with a
// box for every printable ASCII character, four distinct 33 x 33 camera
// buttons and a splash that fits the window where it is drawn.
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <ostream>

#include <memory>

namespace {

struct SFontCase {
  const char *file;
  irr::u32 minHeight, maxHeight; // line height in pixels
};

const SFontCase kFonts[] = {
    {"./media/Chess_Arial_12.bmp", 12, 18}, {"./media/Chess_Arial_18.bmp", 18, 27},
    {"./media/Chess_Arial_24.bmp", 24, 36}, {"./media/Chess_Arial_48.bmp", 44, 64},
    {"./media/Chess_Arial_72.bmp", 66, 96}, {"./media/Chess_Arial_96.bmp", 88, 128},
};

// Names the case by its file in test output.
void PrintTo(const SFontCase &c, std::ostream *os) { *os << c.file; }

class BitmapFont : public ::testing::TestWithParam<SFontCase> {};

TEST_P(BitmapFont, HasOneBoxPerLatin1CharacterAtItsSize) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  irr::gui::IGUIFont *font = app.guiEnvironment->getFont(GetParam().file);
  ASSERT_NE(font, nullptr);
  ASSERT_EQ(font->getType(), irr::gui::EGFT_BITMAP);
  auto *bitmapFont = static_cast<irr::gui::IGUIFontBitmap *>(font);
  EXPECT_EQ(bitmapFont->getSpriteBank()->getSprites().size(), 224u) << "space to U+00FF";
  for (wchar_t c = 33; c <= 255; ++c) {
    if (c >= 127 && c <= 160)
      continue; // control codes and the no-break space: blank boxes
    // A character without its own box would fall back to the space box (sprite 0).
    EXPECT_EQ(bitmapFont->getSpriteNoFromChar(&c), static_cast<irr::u32>(c - 32)) << "character " << char(c);
    const wchar_t text[2] = {c, 0};
    EXPECT_GT(font->getDimension(text).Width, 0u) << "character " << char(c);
  }
  const irr::core::dimension2d<irr::u32> line = font->getDimension(L"Ag");
  EXPECT_GE(line.Height, GetParam().minHeight);
  EXPECT_LE(line.Height, GetParam().maxHeight);
  EXPECT_GT(font->getDimension(L"W").Width, font->getDimension(L"i").Width) << "a proportional font";
}

TEST_P(BitmapFont, KeepsSmoothEdgesInItsAlphaChannel) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  irr::video::IImage *image = app.driver->createImageFromFile(GetParam().file);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->getColorFormat(), irr::video::ECF_A8R8G8B8) << "a 24-bit font loses its transparency";
  int clear = 0, partial = 0;
  const auto size = image->getDimension();
  for (irr::u32 y = 1; y < size.Height; ++y)
    for (irr::u32 x = 0; x < size.Width; ++x) {
      const irr::u32 a = image->getPixel(x, y).getAlpha();
      clear += a == 0;
      partial += a > 0 && a < 255;
    }
  EXPECT_GT(clear, static_cast<int>(size.Width * size.Height / 3)) << "the background must be transparent";
  EXPECT_GT(partial, 95) << "anti-aliased edges should be partly transparent";
  image->drop();
}

INSTANTIATE_TEST_SUITE_P(Fonts, BitmapFont, ::testing::ValuesIn(kFonts),
                         [](const ::testing::TestParamInfo<SFontCase> &info) { return std::to_string(info.index); });

TEST(CameraButtons, AreFourDistinct33By33Pictures) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const char *files[4] = {"./media/cam_w_top.bmp", "./media/cam_w_side.bmp", "./media/cam_b_top.bmp",
                          "./media/cam_b_side.bmp"};
  irr::video::IImage *images[4] = {};
  for (int i = 0; i < 4; ++i) {
    images[i] = app.driver->createImageFromFile(files[i]);
    ASSERT_NE(images[i], nullptr) << files[i];
    EXPECT_EQ(images[i]->getDimension(), irr::core::dimension2d<irr::u32>(33, 33)) << files[i];
  }
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) {
      int differing = 0;
      for (irr::u32 y = 0; y < 33; ++y)
        for (irr::u32 x = 0; x < 33; ++x)
          differing += images[i]->getPixel(x, y) != images[j]->getPixel(x, y);
      EXPECT_GT(differing, 100) << files[i] << " and " << files[j] << " look alike";
    }
  for (auto *image : images)
    image->drop();
}

TEST(Splash, FitsTheWindowWhereItIsDrawn) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  irr::video::IImage *image = app.driver->createImageFromFile("./media/init_screen.bmp");
  ASSERT_NE(image, nullptr);
  const auto size = image->getDimension();
  // Drawn with its top-left corner at (256, 320) in a 1024 x 768 window.
  EXPECT_LE(256 + size.Width, 1024u);
  EXPECT_LE(320 + size.Height, 768u);
  EXPECT_GE(size.Width, 256u);
  EXPECT_GE(size.Height, 64u);
  image->drop();
}

} // namespace
