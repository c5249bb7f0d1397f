// The label strips as the game places them (position, 90 degree turns, scale 6):
// every file letter and rank digit must land beside its file or rank, lie face
// up on the board plane, and read upright from the side the strip faces.
#include "tests/support/NullDevice.h"
#include "tools/LabelAtlas.h"

#include <gtest/gtest.h>

#include <ostream>

#include <map>

using irr::core::vector2df;
using irr::core::vector3df;

namespace {

struct SStripCase {
  const char *mesh;
  vector3df position, rotation;
  bool files;      // letters a..h (else digits 1..8)
  float lineCoord; // world Z of a letter row, world X of a digit column
  bool forBlack;   // reads upright from Black's side (positive Z)
};

const SStripCase kStrips[] = {
    {"./media/chars.x", {-35, 0, -45}, {90, 0, 0}, true, -45, false},
    {"./media/chars2.x", {35, 0, 45}, {90, 180, 0}, true, 45, true},
    {"./media/numbers.x", {-45, 0, -35}, {90, 0, 0}, false, -45, false},
    {"./media/numbers2.x", {45, 0, -35}, {90, 0, 0}, false, 45, false},
};

// One character tile as it lands in the world.
struct STile {
  vector3df centre;
  vector3df right;  // world direction in which the character's texture runs left to right
  vector3df up;     // world direction of the character's top
  vector3df normal; // the side the face is seen from
  int triangles = 0;
};

// Walks the strip's triangles through the node's absolute transformation and
// collects, per atlas character cell, where the tile lands and how it is turned.
std::map<int, STile> PlaceTiles(const SStripCase &strip) {
  std::map<int, STile> tiles;
  irr::scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(strip.mesh);
  if (!mesh)
    return tiles;
  irr::scene::IAnimatedMeshSceneNode *node = app.sceneManager->addAnimatedMeshSceneNode(
      mesh, nullptr, 0, strip.position, strip.rotation, vector3df(mediagen::kLabelScale));
  node->updateAbsolutePosition();
  const irr::core::matrix4 &world = node->getAbsoluteTransformation();
  irr::scene::IMesh *frame = mesh->getMesh(0);
  for (irr::u32 b = 0; b < frame->getMeshBufferCount(); ++b) {
    irr::scene::IMeshBuffer *buffer = frame->getMeshBuffer(b);
    const irr::u16 *indices = buffer->getIndices();
    for (irr::u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3) {
      vector3df p[3];
      vector2df t[3];
      for (int k = 0; k < 3; ++k) {
        p[k] = buffer->getPosition(indices[i + k]);
        world.transformVect(p[k]);
        t[k] = buffer->getTCoords(indices[i + k]);
      }
      const vector2df uv = (t[0] + t[1] + t[2]) / 3.0f;
      const int column = static_cast<int>(uv.X * mediagen::kAtlasColumns);
      const int row = static_cast<int>(uv.Y * mediagen::kAtlasRows);
      if (row != mediagen::kLetterRow && row != mediagen::kDigitRow)
        continue;
      // Solve p = p0 + e1 * du + e2 * dv for the world directions of u and v.
      const vector3df e1 = p[1] - p[0], e2 = p[2] - p[0];
      const vector2df d1 = t[1] - t[0], d2 = t[2] - t[0];
      const float det = d1.X * d2.Y - d2.X * d1.Y;
      STile &tile = tiles[row * mediagen::kAtlasColumns + column];
      tile.centre += (p[0] + p[1] + p[2]) / 3.0f;
      tile.right += (e1 * d2.Y - e2 * d1.Y) / det;
      tile.up -= (e2 * d1.X - e1 * d2.X) / det; // texture v runs downwards
      // Irrlicht draws clockwise faces: (b-a) x (c-a) points to the viewer.
      tile.normal += e1.crossProduct(e2).normalize();
      ++tile.triangles;
    }
  }
  for (auto &entry : tiles) {
    STile &tile = entry.second;
    tile.centre /= static_cast<float>(tile.triangles);
    tile.right.normalize();
    tile.up.normalize();
    tile.normal.normalize();
  }
  return tiles;
}

// Names the case by its file in test output.
void PrintTo(const SStripCase &c, std::ostream *os) { *os << c.mesh; }

class LabelPlacement : public ::testing::TestWithParam<SStripCase> {};

TEST_P(LabelPlacement, EachCharacterLiesBesideItsLineFaceUpAndUpright) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const SStripCase &strip = GetParam();
  const std::map<int, STile> tiles = PlaceTiles(strip);
  ASSERT_EQ(tiles.size(), 8u) << strip.mesh << " should carry exactly eight characters";

  const int row = strip.files ? mediagen::kLetterRow : mediagen::kDigitRow;
  const vector3df readerRight = strip.forBlack ? vector3df(-1, 0, 0) : vector3df(1, 0, 0);
  const vector3df readerAway = strip.forBlack ? vector3df(0, 0, -1) : vector3df(0, 0, 1);
  for (int k = 0; k < 8; ++k) {
    const auto found = tiles.find(row * mediagen::kAtlasColumns + k);
    ASSERT_NE(found, tiles.end()) << strip.mesh << " lacks character " << k;
    const STile &tile = found->second;
    const char name = static_cast<char>((strip.files ? 'a' : '1') + k);
    // File k is centred on world X = 10k - 35, rank k on world Z = 10k - 35.
    const float along = 10.0f * k - 35.0f;
    const vector3df expected =
        strip.files ? vector3df(along, 0, strip.lineCoord) : vector3df(strip.lineCoord, 0, along);
    EXPECT_NEAR(tile.centre.X, expected.X, 0.05f) << strip.mesh << " '" << name << "'";
    EXPECT_NEAR(tile.centre.Y, 0.0f, 0.05f) << strip.mesh << " '" << name << "'";
    EXPECT_NEAR(tile.centre.Z, expected.Z, 0.05f) << strip.mesh << " '" << name << "'";
    EXPECT_GT(tile.normal.Y, 0.99f) << strip.mesh << " '" << name << "' is not face up";
    EXPECT_GT(tile.right.dotProduct(readerRight), 0.99f) << strip.mesh << " '" << name << "' is mirrored or turned";
    EXPECT_GT(tile.up.dotProduct(readerAway), 0.99f) << strip.mesh << " '" << name << "' is not upright";
  }
}

INSTANTIATE_TEST_SUITE_P(Strips, LabelPlacement, ::testing::ValuesIn(kStrips),
                         [](const ::testing::TestParamInfo<SStripCase> &info) {
                           std::string name = info.param.mesh + 8; // after "./media/"
                           return name.substr(0, name.size() - 2);
                         });

TEST(LabelMaterials, StripsSharingATextureStillDifferAfterTheGameSetsIt) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  // The game sets a strip's texture on layers 0..3. Irrlicht 1.8's OpenGL
  // driver switches layers 1..3 off only when the material changes, so two
  // equal materials drawn one after the other would multiply the texture four
  // times into the second strip. The strips of each pair must stay distinct.
  const char *pairs[2][3] = {{"./media/chars.x", "./media/numbers.x", "./media/nc_light.jpg"},
                             {"./media/chars2.x", "./media/numbers2.x", "./media/nc_dark.jpg"}};
  for (const auto &pair : pairs) {
    irr::scene::IAnimatedMesh *a = app.sceneManager->getMesh(pair[0]);
    irr::scene::IAnimatedMesh *b = app.sceneManager->getMesh(pair[1]);
    ASSERT_TRUE(a && b) << pair[0];
    irr::video::SMaterial ma = a->getMeshBuffer(0)->getMaterial(), mb = b->getMeshBuffer(0)->getMaterial();
    irr::video::ITexture *texture = app.driver->getTexture(pair[2]);
    for (irr::u32 layer = 0; layer < 4; ++layer) {
      ma.setTexture(layer, texture);
      mb.setTexture(layer, texture);
    }
    EXPECT_TRUE(ma != mb) << pair[0] << " and " << pair[1] << " would be drawn with one material";
  }
}

// Mean absolute channel difference between two pictures of the same size, 0..255.
double MeanDifference(irr::video::IImage *a, irr::video::IImage *b) {
  double sum = 0;
  const auto size = a->getDimension();
  for (irr::u32 y = 0; y < size.Height; y += 2)
    for (irr::u32 x = 0; x < size.Width; x += 2) {
      const irr::video::SColor p = a->getPixel(x, y), q = b->getPixel(x, y);
      sum += std::abs(static_cast<int>(p.getRed()) - static_cast<int>(q.getRed())) +
             std::abs(static_cast<int>(p.getGreen()) - static_cast<int>(q.getGreen())) +
             std::abs(static_cast<int>(p.getBlue()) - static_cast<int>(q.getBlue()));
    }
  return sum / (3.0 * (size.Width / 2) * (size.Height / 2));
}

TEST(LabelTextures, HighlightedStripsDifferClearlyFromNormalOnes) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  // Every board set's strips.
  const char *pairs[6][2] = {{"./media/nc_light.jpg", "./media/nc_hi_light.jpg"},
                             {"./media/nc_dark.jpg", "./media/nc_hi_dark.jpg"},
                             {"./media/marble/nc_light.jpg", "./media/marble/nc_hi_light.jpg"},
                             {"./media/marble/nc_dark.jpg", "./media/marble/nc_hi_dark.jpg"},
                             {"./media/tournament/nc_light.jpg", "./media/tournament/nc_hi_light.jpg"},
                             {"./media/tournament/nc_dark.jpg", "./media/tournament/nc_hi_dark.jpg"}};
  for (const auto &pair : pairs) {
    irr::video::IImage *normal = app.driver->createImageFromFile(pair[0]);
    irr::video::IImage *lit = app.driver->createImageFromFile(pair[1]);
    ASSERT_TRUE(normal && lit) << pair[0];
    ASSERT_EQ(normal->getDimension(), lit->getDimension()) << "the strips share one texture layout";
    EXPECT_EQ(normal->getDimension().Width, static_cast<irr::u32>(mediagen::kAtlasWidth));
    EXPECT_EQ(normal->getDimension().Height, static_cast<irr::u32>(mediagen::kAtlasHeight));
    EXPECT_GT(MeanDifference(normal, lit), 25.0) << pair[1] << " looks too much like " << pair[0];
    normal->drop();
    lit->drop();
  }
}

} // namespace
