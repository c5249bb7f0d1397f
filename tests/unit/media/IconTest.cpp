// The application icon as the desktop shows it: one PNG per theme size, with
// a transparent surround, and a dark piece standing out on a light square at
// every size, the smallest included.
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SIconLook {
  irr::u32 size;
  float pieceShare;  // share of the pixels that are the dark piece
  float squareShare; // share of the pixels that are the light square
};

float Luminance(const irr::video::SColor &c) {
  return (0.2126f * c.getRed() + 0.7152f * c.getGreen() + 0.0722f * c.getBlue()) / 255.0f;
}

SIconLook LookAt(irr::video::IImage *image) {
  const irr::u32 n = image->getDimension().Width;
  int piece = 0, square = 0;
  for (irr::u32 y = 0; y < n; ++y)
    for (irr::u32 x = 0; x < n; ++x) {
      const irr::video::SColor c = image->getPixel(x, y);
      piece += c.getAlpha() == 255 && Luminance(c) < 0.15f;
      square += c.getAlpha() == 255 && Luminance(c) > 0.7f;
    }
  const float all = static_cast<float>(n * n);
  return {n, piece / all, square / all};
}

TEST(Icon, EveryThemeSizeShowsTheSamePieceOnASquare) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  SIconLook smallest{};
  for (irr::u32 size : {48u, 64u, 128u, 256u}) {
    const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
    const std::string file = KELVAR_BINARY_DIR "/icons/hicolor/" + sizeName + "/apps/kelvar.png";
    SCOPED_TRACE(file);
    irr::video::IImage *image = app.driver->createImageFromFile(file.c_str());
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->getDimension(), irr::core::dimension2d<irr::u32>(size, size));
    ASSERT_EQ(image->getColorFormat(), irr::video::ECF_A8R8G8B8) << "the icon needs its alpha channel";

    // The rounded frame leaves the corners clear and fills the middle of each edge.
    for (irr::u32 x : {0u, size - 1})
      for (irr::u32 y : {0u, size - 1})
        EXPECT_EQ(image->getPixel(x, y).getAlpha(), 0u) << "corner " << x << "," << y;
    EXPECT_EQ(image->getPixel(size / 2, size / 16).getAlpha(), 255u);
    EXPECT_EQ(image->getPixel(size / 16, size / 2).getAlpha(), 255u);

    // The knight's neck crosses the centre; the square shows above its shoulders.
    EXPECT_LT(Luminance(image->getPixel(size / 2, size / 2)), 0.15f);
    EXPECT_GT(Luminance(image->getPixel(size / 6, size / 6)), 0.7f);

    const SIconLook look = LookAt(image);
    image->drop();
    EXPECT_GT(look.pieceShare, 0.15f) << "a piece big enough to read";
    EXPECT_GT(look.squareShare, 0.3f) << "a light square around it";
    if (size == 48) {
      smallest = look;
      continue;
    }
    // Drawn from one shape: the larger sizes keep the proportions of the smallest.
    EXPECT_NEAR(look.pieceShare, smallest.pieceShare, 0.04f);
    EXPECT_NEAR(look.squareShare, smallest.squareShare, 0.06f);
  }
}

} // namespace
