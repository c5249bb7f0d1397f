// The generated meshes as Irrlicht loads them: pieces stand on their square
// and are closed, outward-facing solids (stencil shadow volumes need both),
// the knight looks at the opponent after the game's turn, the check marker
// floats clear of the king, board fields tile the board without overlap, and
// each piece's low-polygon shadow stand-in is a closed solid inside it.
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using irr::core::vector3df;

namespace {

struct STriangleSoup {
  std::vector<vector3df> corners; // three per triangle
  std::vector<vector3df> normals; // the loaded vertex normals, same order
  irr::core::aabbox3df box{vector3df(0)};
};

// All triangles of a mesh file, loaded the way the game loads it.
STriangleSoup LoadSoup(const char *file) {
  STriangleSoup soup;
  irr::scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(file);
  if (!mesh)
    return soup;
  irr::scene::IMesh *frame = mesh->getMesh(0);
  bool first = true;
  for (irr::u32 b = 0; b < frame->getMeshBufferCount(); ++b) {
    irr::scene::IMeshBuffer *buffer = frame->getMeshBuffer(b);
    const irr::u16 *indices = buffer->getIndices();
    for (irr::u32 i = 0; i < buffer->getIndexCount(); ++i) {
      const vector3df p = buffer->getPosition(indices[i]);
      soup.corners.push_back(p);
      soup.normals.push_back(buffer->getNormal(indices[i]));
      if (first)
        soup.box.reset(p);
      soup.box.addInternalPoint(p);
      first = false;
    }
  }
  return soup;
}

size_t TriangleCount(const STriangleSoup &soup) { return soup.corners.size() / 3; }

// Directed edges between welded positions; a closed, consistently wound
// surface uses every edge once in each direction.
bool IsClosedAndConsistent(const STriangleSoup &soup, std::string &why) {
  using Key = std::tuple<long, long, long>;
  auto key = [](const vector3df &p) {
    return Key(std::lround(p.X * 1000), std::lround(p.Y * 1000), std::lround(p.Z * 1000));
  };
  std::map<std::pair<Key, Key>, int> edges;
  for (size_t t = 0; t < soup.corners.size(); t += 3)
    for (int k = 0; k < 3; ++k)
      ++edges[{key(soup.corners[t + k]), key(soup.corners[t + (k + 1) % 3])}];
  for (const auto &edge : edges) {
    const auto back = edges.find({edge.first.second, edge.first.first});
    if (back == edges.end() || back->second != edge.second) {
      why = "edge from (" + std::to_string(std::get<0>(edge.first.first)) + "," +
            std::to_string(std::get<1>(edge.first.first)) + "," + std::to_string(std::get<2>(edge.first.first)) +
            ") has no matching opposite edge";
      return false;
    }
  }
  return true;
}

// Enclosed volume; positive when clockwise front faces point outwards
// ((b-a) x (c-a) towards the outside, as Irrlicht culls).
float SignedVolume(const STriangleSoup &soup) {
  double volume = 0;
  for (size_t t = 0; t < soup.corners.size(); t += 3)
    volume += soup.corners[t].dotProduct(soup.corners[t + 1].crossProduct(soup.corners[t + 2]));
  return static_cast<float>(volume / 6.0);
}

// Share of triangle corners whose vertex normal points to the face's front side.
float NormalsAgreeingWithFaces(const STriangleSoup &soup) {
  size_t agree = 0, total = 0;
  for (size_t t = 0; t < soup.corners.size(); t += 3) {
    const vector3df face = (soup.corners[t + 1] - soup.corners[t]).crossProduct(soup.corners[t + 2] - soup.corners[t]);
    if (face.getLengthSQ() < 1e-10f)
      continue;
    for (int k = 0; k < 3; ++k, ++total)
      agree += soup.normals[t + k].dotProduct(face) > 0.0f;
  }
  return total ? static_cast<float>(agree) / static_cast<float>(total) : 0.0f;
}

struct SPieceCase {
  const char *file;
  float minHeight, maxHeight;
  size_t maxTriangles;
};

const SPieceCase kPieces[] = {
    {"./media/pawn.x", 8.0f, 10.0f, 700},     {"./media/rook.x", 10.0f, 12.5f, 1400},
    {"./media/knight.x", 10.5f, 13.5f, 1400}, {"./media/bishop.x", 11.5f, 14.5f, 1400},
    {"./media/queen.x", 13.5f, 16.0f, 1600},  {"./media/king.x", 16.0f, 18.0f, 1600},
};

// Names the case by its file in test output.
void PrintTo(const SPieceCase &c, std::ostream *os) { *os << c.file; }

class PieceMesh : public ::testing::TestWithParam<SPieceCase> {};

TEST_P(PieceMesh, StandsInsideItsSquareAtItsHeight) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const SPieceCase &piece = GetParam();
  const STriangleSoup soup = LoadSoup(piece.file);
  ASSERT_GT(TriangleCount(soup), 0u) << piece.file;
  EXPECT_NEAR(soup.box.MinEdge.Y, 0.0f, 0.01f) << "the base must rest on the board";
  EXPECT_GE(soup.box.MaxEdge.Y, piece.minHeight);
  EXPECT_LE(soup.box.MaxEdge.Y, piece.maxHeight);
  float baseRadius = 0;
  for (const auto &p : soup.corners) {
    if (p.Y < 1.0f)
      baseRadius = std::max(baseRadius, std::sqrt(p.X * p.X + p.Z * p.Z));
    // Squares are 10 apart: nothing may reach into the neighbouring square.
    EXPECT_LT(std::fabs(p.X), 4.8f) << piece.file;
    EXPECT_LT(std::fabs(p.Z), 4.8f) << piece.file;
    if (std::fabs(p.X) >= 4.8f || std::fabs(p.Z) >= 4.8f)
      break;
  }
  EXPECT_GT(baseRadius, 2.5f) << "a base too small to stand on";
  EXPECT_LE(baseRadius, 3.8f) << "the base must stay well inside the square";
  EXPECT_LE(TriangleCount(soup), piece.maxTriangles) << "shadow volumes are rebuilt every frame";
}

TEST_P(PieceMesh, IsAClosedSolidFacingOutwards) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const STriangleSoup soup = LoadSoup(GetParam().file);
  ASSERT_GT(TriangleCount(soup), 0u);
  std::string why;
  EXPECT_TRUE(IsClosedAndConsistent(soup, why)) << GetParam().file << ": " << why;
  EXPECT_GT(SignedVolume(soup), 20.0f) << "faces wound inside out, or no volume";
  EXPECT_GT(NormalsAgreeingWithFaces(soup), 0.99f) << "normals must point outwards for lighting";
}

INSTANTIATE_TEST_SUITE_P(Pieces, PieceMesh, ::testing::ValuesIn(kPieces),
                         [](const ::testing::TestParamInfo<SPieceCase> &info) {
                           std::string name = info.param.file + 8;
                           return name.substr(0, name.size() - 2);
                         });

// How often the closed surface winds round the point: about 1 inside, 0
// outside, 2 where two closed parts overlap (the sum of the solid angles its
// triangles subtend, over 4 pi).
double WindingNumber(const STriangleSoup &soup, const vector3df &point) {
  double total = 0;
  for (size_t t = 0; t < soup.corners.size(); t += 3) {
    irr::core::vector3d<double> v[3];
    for (int k = 0; k < 3; ++k) {
      const vector3df d = soup.corners[t + k] - point;
      v[k].set(d.X, d.Y, d.Z);
    }
    const double la = v[0].getLength(), lb = v[1].getLength(), lc = v[2].getLength();
    const double det = v[0].dotProduct(v[1].crossProduct(v[2]));
    const double div =
        la * lb * lc + v[0].dotProduct(v[1]) * lc + v[0].dotProduct(v[2]) * lb + v[1].dotProduct(v[2]) * la;
    total += 2 * std::atan2(det, div);
  }
  return total / (4 * irr::core::PI64);
}

// "./media/pawn.x" -> "./media/pawn_shadow.x"
std::string ShadowFileOf(const char *file) {
  const std::string name(file);
  return name.substr(0, name.size() - 2) + "_shadow.x";
}

class ShadowMesh : public ::testing::TestWithParam<SPieceCase> {};

// Stencil volumes need a closed, outward-facing solid; the stand-in must be
// far cheaper than the piece and throw the same outline.
TEST_P(ShadowMesh, IsACheapClosedSolidWithThePiecesOutline) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const std::string file = ShadowFileOf(GetParam().file);
  const STriangleSoup shadow = LoadSoup(file.c_str());
  const STriangleSoup piece = LoadSoup(GetParam().file);
  ASSERT_GT(TriangleCount(shadow), 0u) << file;
  std::string why;
  EXPECT_TRUE(IsClosedAndConsistent(shadow, why)) << file << ": " << why;
  EXPECT_GT(SignedVolume(shadow), 0.5f * SignedVolume(piece)) << "faces wound inside out, or too thin";
  EXPECT_LE(4 * TriangleCount(shadow), TriangleCount(piece)) << TriangleCount(shadow) << " triangles";
  EXPECT_NEAR(shadow.box.MinEdge.Y, 0.0f, 0.01f);
  const vector3df size = shadow.box.getExtent(), wanted = piece.box.getExtent();
  for (int axis = 0; axis < 3; ++axis) {
    const float s = axis == 0 ? size.X : axis == 1 ? size.Y : size.Z;
    const float w = axis == 0 ? wanted.X : axis == 1 ? wanted.Y : wanted.Z;
    EXPECT_NEAR(s, w, 0.05f * w) << "extent along axis " << axis;
  }
  EXPECT_LT(shadow.box.getCenter().getDistanceFrom(piece.box.getCenter()), 0.05f * wanted.getLength());
}

// A stand-in reaching outside the piece would put the piece's own lit
// surface inside its shadow volume: dark streaks on a lit piece. Corners,
// edge middles and face centres must all lie inside (lifted a hair off the
// board, where both share the base plane).
TEST_P(ShadowMesh, LiesInsideThePiece) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const STriangleSoup shadow = LoadSoup(ShadowFileOf(GetParam().file).c_str());
  const STriangleSoup piece = LoadSoup(GetParam().file);
  ASSERT_GT(TriangleCount(shadow), 0u);
  const vector3df lift(0, 0.005f, 0);
  int outside = 0;
  for (size_t t = 0; t < shadow.corners.size(); t += 3) {
    const vector3df *c = &shadow.corners[t];
    const vector3df samples[] = {c[0], (c[0] + c[1]) * 0.5f, (c[0] + c[1] + c[2]) / 3.0f};
    for (const vector3df &p : samples)
      if (WindingNumber(piece, p + lift) < 0.75 && ++outside <= 5)
        ADD_FAILURE() << "(" << p.X << ", " << p.Y << ", " << p.Z << ") lies outside the piece";
  }
  EXPECT_EQ(outside, 0);
}

INSTANTIATE_TEST_SUITE_P(Pieces, ShadowMesh, ::testing::ValuesIn(kPieces),
                         [](const ::testing::TestParamInfo<SPieceCase> &info) {
                           std::string name = info.param.file + 8;
                           return name.substr(0, name.size() - 2);
                         });

TEST(PieceSet, KingIsTallestAndClearlyTallerThanAPawn) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const float pawn = LoadSoup("./media/pawn.x").box.MaxEdge.Y;
  const float king = LoadSoup("./media/king.x").box.MaxEdge.Y;
  EXPECT_GT(king, 1.6f * pawn);
  for (const char *other : {"./media/rook.x", "./media/knight.x", "./media/bishop.x", "./media/queen.x"}) {
    const float height = LoadSoup(other).box.MaxEdge.Y;
    EXPECT_LT(height, king) << other;
    EXPECT_GT(height, pawn) << other;
  }
}

TEST(PieceSet, KnightsLookTowardsTheOpponentAfterTheGamesTurn) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const STriangleSoup soup = LoadSoup("./media/knight.x");
  ASSERT_GT(TriangleCount(soup), 0u);
  // The head (everything above the neck's middle) leans towards the muzzle.
  vector3df head(0);
  int count = 0;
  for (const auto &p : soup.corners)
    if (p.Y > 8.0f) {
      head += vector3df(p.X, 0, p.Z);
      ++count;
    }
  ASSERT_GT(count, 0);
  head /= static_cast<float>(count);
  // White knights are turned by -90 degrees about Y and look towards Black (+Z);
  // black knights by +90 degrees and look towards White (-Z).
  for (const auto &turn : {std::make_pair(-90.0f, 1.0f), std::make_pair(90.0f, -1.0f)}) {
    irr::core::matrix4 m;
    m.setRotationDegrees(vector3df(0, turn.first, 0));
    vector3df looking = head;
    m.rotateVect(looking);
    EXPECT_GT(looking.Z * turn.second, 0.4f) << "turned by " << turn.first;
    EXPECT_LT(std::fabs(looking.X), 0.2f) << "turned by " << turn.first;
  }
}

TEST(PieceSet, CheckMarkerFloatsClearAboveTheKing) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const STriangleSoup marker = LoadSoup("./media/x.x");
  const float king = LoadSoup("./media/king.x").box.MaxEdge.Y;
  ASSERT_GT(TriangleCount(marker), 0u);
  // The game hangs the marker 16 units above the piece at scale 0.6.
  const float bottom = 16.0f + 0.6f * marker.box.MinEdge.Y;
  EXPECT_GT(bottom, king + 0.3f);
  EXPECT_LT(bottom, king + 6.0f) << "too far above to belong to the king";
  const vector3df size = marker.box.getExtent();
  EXPECT_GT(size.X, 2.0f * size.Z) << "an upright cross, readable from the side";
  EXPECT_GT(size.Y, 2.0f * size.Z);
  std::string why;
  EXPECT_TRUE(IsClosedAndConsistent(marker, why)) << why;
}

TEST(BoardField, TilesTheBoardFaceUpWithItsNormalTexture) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const std::pair<const char *, const char *> fields[] = {{"./media/chess_field_white.x", "field_lg.jpg"},
                                                          {"./media/chess_field_black.x", "field_dg.jpg"}};
  for (const auto &field : fields) {
    const STriangleSoup soup = LoadSoup(field.first);
    ASSERT_GT(TriangleCount(soup), 0u) << field.first;
    // Scaled by 2.4, squares 10 units apart must nearly touch and never overlap.
    const vector3df size = soup.box.getExtent() * 2.4f;
    EXPECT_NEAR(soup.box.MaxEdge.Y, 0.0f, 1e-4f) << "the top face lies on the board plane";
    EXPECT_GT(size.X, 9.5f);
    EXPECT_LE(size.X, 10.001f);
    EXPECT_GT(size.Z, 9.5f);
    EXPECT_LE(size.Z, 10.001f);
    EXPECT_GT(NormalsAgreeingWithFaces(soup), 0.99f) << field.first;
    // Before any highlight the field shows the texture its mesh names.
    irr::scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(field.first);
    irr::video::ITexture *texture = mesh->getMeshBuffer(0)->getMaterial().getTexture(0);
    ASSERT_NE(texture, nullptr) << field.first;
    const std::string name = texture->getName().getPath().c_str(), wanted = std::string("/") + field.second;
    EXPECT_TRUE(name.size() >= wanted.size() && name.compare(name.size() - wanted.size(), wanted.size(), wanted) == 0)
        << field.first << " uses " << name;
  }
}

struct SClockPartCase {
  const char *file;
  const char *texture; // the picture the mesh names, in ./media
  size_t maxTriangles;
};

const SClockPartCase kClockParts[] = {
    {"./media/clock_case.x", "clock_wood.jpg", 60},
    {"./media/clock_plate.x", "clock_steel.jpg", 12},
    {"./media/clock_button_white.x", "whitetoken.bmp", 300},
    {"./media/clock_button_black.x", "blacktoken.bmp", 300},
};

void PrintTo(const SClockPartCase &c, std::ostream *os) { *os << c.file; }

class ClockPart : public ::testing::TestWithParam<SClockPartCase> {};

// Lit from one side only, every part must be a closed solid whose normals
// point outwards; its colour comes from a texture that is there.
TEST_P(ClockPart, IsASmallClosedSolidWithItsTexture) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const SClockPartCase &part = GetParam();
  const STriangleSoup soup = LoadSoup(part.file);
  ASSERT_GT(TriangleCount(soup), 0u) << part.file;
  EXPECT_LE(TriangleCount(soup), part.maxTriangles);
  std::string why;
  EXPECT_TRUE(IsClosedAndConsistent(soup, why)) << part.file << ": " << why;
  EXPECT_GT(SignedVolume(soup), 0.5f) << "faces wound inside out, or no volume";
  EXPECT_GT(NormalsAgreeingWithFaces(soup), 0.99f);
  irr::video::ITexture *texture = app.sceneManager->getMesh(part.file)->getMeshBuffer(0)->getMaterial().getTexture(0);
  ASSERT_NE(texture, nullptr) << part.file << " names no texture";
  const std::string name = texture->getName().getPath().c_str(), wanted = std::string("/") + part.texture;
  EXPECT_TRUE(name.size() >= wanted.size() && name.compare(name.size() - wanted.size(), wanted.size(), wanted) == 0)
      << part.file << " uses " << name;
}

INSTANTIATE_TEST_SUITE_P(Clock, ClockPart, ::testing::ValuesIn(kClockParts),
                         [](const ::testing::TestParamInfo<SClockPartCase> &info) {
                           std::string name = info.param.file + 8;
                           return name.substr(0, name.size() - 2);
                         });

TEST(ClockCase, CoversTwoByOneSquaresWithThePlateOnItsSlantedFront) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const STriangleSoup body = LoadSoup("./media/clock_case.x"), plate = LoadSoup("./media/clock_plate.x");
  ASSERT_GT(TriangleCount(body), 0u);
  ASSERT_GT(TriangleCount(plate), 0u);
  const vector3df size = body.box.getExtent();
  EXPECT_NEAR(size.X, 20.0f, 1.0f) << "two squares long";
  EXPECT_NEAR(size.Z, 10.0f, 1.0f) << "one square deep";
  EXPECT_GT(size.Y, 6.0f);
  EXPECT_LT(size.Y, 12.0f);
  EXPECT_NEAR(body.box.MinEdge.Y, 0.0f, 1e-3f) << "stands on its base";
  // The plate lies on the front (-Z), inside the case's outline, turned up
  // towards a viewer above the table.
  irr::core::aabbox3df around = body.box;
  around.MinEdge -= vector3df(0.01f);
  around.MaxEdge += vector3df(0.01f);
  EXPECT_TRUE(plate.box.isFullInside(around));
  EXPECT_LT(plate.box.getCenter().Z, body.box.getCenter().Z);
  vector3df front(0);
  float largest = 0;
  for (size_t t = 0; t < plate.corners.size(); t += 3) {
    vector3df face = (plate.corners[t + 1] - plate.corners[t]).crossProduct(plate.corners[t + 2] - plate.corners[t]);
    if (face.getLength() > largest && face.Z < 0) {
      largest = face.getLength();
      front = face.normalize();
    }
  }
  EXPECT_GT(front.Y, 0.3f) << "the faces look up";
  EXPECT_LT(front.Z, -0.3f) << "and forwards";
}

} // namespace
