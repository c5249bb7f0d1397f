// The chess clock on the table, built from the generated media on the null
// driver: its faces spell the texts left to right and upright from both
// players' default views, White's face and button are on White's side, the
// running side's button stands up, a fallen flag turns its face red, equal
// texts rebuild nothing, a missing file leaves the clock off the table, and
// it stands clear of the board, visible, and never in the way of a click.
#include "app/CApplication.h"
#include "scene/CCaptureTray.h"
#include "scene/CChessClockModel.h"
#include "scene/CGameField.h"
#include "scene/CGameLabel.h"
#include "tests/support/LogCapture.h"
#include "tests/support/NullDevice.h"
#include "tools/ClockLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using irr::core::vector2df;
using irr::core::vector3df;
namespace layout = clocklayout;

namespace {

// One quad of a face as the scene holds it, in world coordinates.
struct SQuad {
  vector3df corner[4]; // top left, top right, bottom right, bottom left as the buffer stores them
  vector2df uv[4];
  vector3df normal;
  vector3df Centre() const { return (corner[0] + corner[1] + corner[2] + corner[3]) * 0.25f; }
  float Width() const { return corner[0].getDistanceFrom(corner[1]); }
  float Height() const { return corner[0].getDistanceFrom(corner[3]); }
};

std::vector<SQuad> FaceQuads(const CChessClockModel &clock, int side) {
  std::vector<SQuad> quads;
  irr::scene::IMeshSceneNode *node = clock.GetFaceNode(side);
  if (!node)
    return quads;
  node->updateAbsolutePosition();
  const irr::core::matrix4 &world = node->getAbsoluteTransformation();
  irr::scene::IMeshBuffer *buffer = node->getMesh()->getMeshBuffer(0);
  for (irr::u32 q = 0; q + 3 < buffer->getVertexCount(); q += 4) {
    SQuad quad;
    for (irr::u32 k = 0; k < 4; ++k) {
      world.transformVect(quad.corner[k], buffer->getPosition(q + k));
      quad.uv[k] = buffer->getTCoords(q + k);
    }
    world.rotateVect(quad.normal, buffer->getNormal(q));
    quads.push_back(quad);
  }
  return quads;
}

// The character whose atlas cell holds the middle of the quad's texture rectangle.
char GlyphShown(const SQuad &quad) {
  const vector2df mid = (quad.uv[0] + quad.uv[2]) * 0.5f;
  const int column = static_cast<int>(mid.X * layout::kAtlasWidth) / layout::kCell;
  const int row = static_cast<int>(mid.Y * layout::kAtlasHeight) / layout::kCell;
  const int cell = row * layout::kColumns + column;
  return cell < layout::kGlyphCount ? layout::kGlyphs[cell] : ' ';
}

// Where the camera draws a world point, in normalised device coordinates (y up).
vector2df Projected(const vector3df &p) {
  irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  irr::core::matrix4 viewProjection = camera->getProjectionMatrix() * camera->getViewMatrix();
  irr::f32 v[4] = {p.X, p.Y, p.Z, 1.0f};
  viewProjection.multiplyWith1x4Matrix(v);
  return vector2df(v[0] / v[3], v[1] / v[3]);
}

// The text a face shows as the camera sees it: its glyph quads (quad 0 is the
// background) ordered left to right on the screen. Fails the test where a
// glyph is drawn upside down or seen from behind.
std::string ReadFace(const CChessClockModel &clock, int side) {
  std::vector<SQuad> glyphs;
  const std::vector<SQuad> quads = FaceQuads(clock, side);
  for (size_t i = 1; i < quads.size(); ++i)
    if (quads[i].Width() > 1e-4f)
      glyphs.push_back(quads[i]);
  std::sort(glyphs.begin(), glyphs.end(),
            [](const SQuad &a, const SQuad &b) { return Projected(a.Centre()).X < Projected(b.Centre()).X; });
  const vector3df eye = app.cameraRig.GetCamera()->getAbsolutePosition();
  std::string text;
  for (const SQuad &glyph : glyphs) {
    EXPECT_GT(Projected(glyph.corner[0]).Y, Projected(glyph.corner[3]).Y) << "upside down";
    EXPECT_GT(Projected(glyph.corner[1]).X, Projected(glyph.corner[0]).X) << "mirrored";
    EXPECT_GT(glyph.normal.dotProduct(eye - glyph.Centre()), 0.0f) << "seen from behind";
    text += GlyphShown(glyph);
  }
  return text;
}

// Brings the camera's matrices and the nodes' positions up to date.
void DrawFrame() {
  app.driver->beginScene(true, true, irr::video::SColor(0, 0, 0, 0));
  app.sceneManager->drawAll();
  app.driver->endScene();
}

// The world box around every part of the clock.
irr::core::aabbox3df ClockBox(const CChessClockModel &clock) {
  const auto &parts = clock.GetRootNode()->getChildren();
  irr::core::aabbox3df box = (*parts.begin())->getTransformedBoundingBox();
  for (irr::scene::ISceneNode *part : parts)
    box.addInternalBox(part->getTransformedBoundingBox());
  return box;
}

// The clock from the run folder's media, shown, on the null driver.
class ClockModel : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CreateNullDevice());
    ASSERT_TRUE(app.cameraRig.Init());
    ASSERT_TRUE(clock.Init());
    clock.SetVisible(true);
    DrawFrame();
  }
  CChessClockModel clock;
};

struct STexts {
  const char *white, *black;
};

TEST_F(ClockModel, FacesSpellTheirTextsLeftToRightFromBothPlayersViews) {
  const STexts cases[] = {{"4:57", "0:09.3"}, {"1:30:00", "59:59"}, {"0:00.0", "10:00"}, {"", "5:00"}};
  for (const bool blackView : {false, true}) {
    if (blackView)
      app.cameraRig.SetBlackView(false);
    else
      app.cameraRig.SetWhiteView(false);
    for (const STexts &texts : cases) {
      SCOPED_TRACE(std::string(blackView ? "Black's view, " : "White's view, ") + texts.white + " / " + texts.black);
      clock.Show(texts.white, texts.black, 0, -1);
      DrawFrame();
      EXPECT_EQ(ReadFace(clock, 0), texts.white);
      EXPECT_EQ(ReadFace(clock, 1), texts.black);
    }
  }
}

TEST_F(ClockModel, GlyphsKeepTheirShapeAndStayJustInFrontOfTheirWindow) {
  clock.Show("1:30:00", "0:09.3", 1, -1);
  DrawFrame();
  for (int side = 0; side < 2; ++side) {
    SCOPED_TRACE(side == 0 ? "White's face" : "Black's face");
    const std::vector<SQuad> quads = FaceQuads(clock, side);
    ASSERT_EQ(quads.size(), 1u + CChessClockModel::FACE_SLOTS);
    const SQuad &window = quads[0];
    const vector3df right = window.corner[1] - window.corner[0], down = window.corner[3] - window.corner[0];
    for (size_t i = 1; i < quads.size(); ++i) {
      const SQuad &glyph = quads[i];
      if (glyph.Width() <= 1e-4f)
        continue;
      // The texture rectangle is drawn undistorted.
      const float texels = (glyph.uv[1].X - glyph.uv[0].X) * layout::kAtlasWidth /
                           ((glyph.uv[3].Y - glyph.uv[0].Y) * layout::kAtlasHeight);
      EXPECT_NEAR(glyph.Width() / glyph.Height(), texels, 0.02f) << "glyph " << GlyphShown(glyph);
      for (const vector3df &corner : glyph.corner) {
        const vector3df d = corner - window.corner[0];
        EXPECT_GE(d.dotProduct(right) / right.getLengthSQ(), -1e-4f);
        EXPECT_LE(d.dotProduct(right) / right.getLengthSQ(), 1 + 1e-4f);
        EXPECT_GE(d.dotProduct(down) / down.getLengthSQ(), -1e-4f);
        EXPECT_LE(d.dotProduct(down) / down.getLengthSQ(), 1 + 1e-4f);
        const float lift = d.dotProduct(window.normal);
        EXPECT_GT(lift, 0.005f) << "glyph " << GlyphShown(glyph) << " behind its window";
        EXPECT_LT(lift, 0.2f);
      }
    }
  }
}

TEST_F(ClockModel, WhitesFaceAndButtonAreOnWhitesSideAndFaceBothPlayers) {
  clock.Show("4:57", "0:09.3", -1, -1);
  DrawFrame();
  const vector3df whiteFace = FaceQuads(clock, 0)[0].Centre(), blackFace = FaceQuads(clock, 1)[0].Centre();
  EXPECT_LT(whiteFace.Z, blackFace.Z - 5.f) << "White sits at negative Z";
  EXPECT_LT(clock.GetButtonNode(0)->getAbsolutePosition().Z, clock.GetButtonNode(1)->getAbsolutePosition().Z);
  const vector3df normal = FaceQuads(clock, 0)[0].normal;
  // Where the side views stand: behind each player, towards the a-file.
  for (const vector3df &eye : {vector3df(-28, 68, -112), vector3df(-28, 68, 112)})
    for (const vector3df &face : {whiteFace, blackFace})
      EXPECT_GT(normal.dotProduct((eye - face).normalize()), 0.2f) << "seen too edge-on from " << eye.X << "," << eye.Z;
}

struct SButtonCase {
  int running;
  float whiteAboveBlack; // sign: >0 White's button higher, <0 lower, 0 level
};

TEST_F(ClockModel, RunningSidesButtonStandsUpTheOtherIsPressed) {
  const SButtonCase cases[] = {{0, 1}, {1, -1}, {-1, 0}, {0, 1}};
  for (const SButtonCase &c : cases) {
    SCOPED_TRACE("running " + std::to_string(c.running));
    clock.Show("4:57", "5:00", c.running, -1);
    DrawFrame();
    const float white = clock.GetButtonNode(0)->getAbsolutePosition().Y;
    const float black = clock.GetButtonNode(1)->getAbsolutePosition().Y;
    if (c.whiteAboveBlack == 0) {
      EXPECT_NEAR(white, black, 1e-4f);
    } else {
      EXPECT_GT((white - black) * c.whiteAboveBlack, 0.8f) << "a difference seen across the table";
    }
  }
}

TEST_F(ClockModel, FallenFlagTurnsItsFaceRedAndBack) {
  const int flags[] = {-1, 1, 0, -1};
  for (int flagged : flags) {
    SCOPED_TRACE("flagged " + std::to_string(flagged));
    clock.Show("0:00.0", "0:00.0", -1, flagged);
    for (int side = 0; side < 2; ++side) {
      const std::string texture = clock.GetFaceNode(side)->getMaterial(0).getTexture(0)->getName().getPath().c_str();
      EXPECT_EQ(texture.substr(texture.rfind('/') + 1), side == flagged ? "clock_digits_red.png" : "clock_digits.png");
    }
  }
}

TEST_F(ClockModel, EqualTextsRebuildNothing) {
  clock.Show("4:57", "0:09.3", 0, -1);
  const auto snapshot = [this] {
    std::vector<irr::u32> state;
    for (int side = 0; side < 2; ++side)
      state.push_back(clock.GetFaceNode(side)->getMesh()->getMeshBuffer(0)->getChangedID_Vertex());
    return state;
  };
  const std::vector<irr::u32> before = snapshot();
  const std::string white = ReadFace(clock, 0), black = ReadFace(clock, 1);
  clock.Show("4:57", "0:09.3", 0, -1);
  clock.Show("4:57", "0:09.3", 1, 0); // buttons and colours change, the texts do not
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(ReadFace(clock, 0), white);
  EXPECT_EQ(ReadFace(clock, 1), black);
  clock.Show("4:56", "0:09.3", 1, -1);
  EXPECT_NE(snapshot(), before) << "a new text must reach the faces";
}

TEST_F(ClockModel, StandsOnTheTableClearOfBoardLabelsAndTraysInBothViews) {
  ASSERT_TRUE(app.map.InitGameFields());
  ASSERT_TRUE(app.map.InitGameChars());
  ASSERT_TRUE(app.map.InitGameNumbers());
  ASSERT_TRUE(app.map.InitTrays());
  DrawFrame();
  const irr::core::aabbox3df clockBox = ClockBox(clock);
  irr::core::aabbox3df board = app.map.GetField(0, 0)->GetNode()->getTransformedBoundingBox();
  for (irr::s32 x = 0; x < 8; ++x)
    for (irr::s32 y = 0; y < 8; ++y)
      board.addInternalBox(app.map.GetField(x, y)->GetNode()->getTransformedBoundingBox());
  EXPECT_NEAR(clockBox.MinEdge.Y, board.MinEdge.Y, 0.05f) << "on the table the board lies on";
  // Pieces travel over the board and to the trays, well above them.
  std::vector<irr::core::aabbox3df> keepOut = {board};
  for (irr::s32 i = 0; i < CMap::LABEL_COUNT; ++i)
    keepOut.push_back(app.map.GetLabel(i)->GetNode()->getTransformedBoundingBox());
  for (irr::s32 color : {White, Black})
    keepOut.push_back(app.map.GetTray(color)->GetNode()->getTransformedBoundingBox());
  for (irr::core::aabbox3df area : keepOut) {
    area.MaxEdge.Y += 40.f;
    EXPECT_FALSE(area.intersectsWithBox(clockBox)) << "overlaps (" << area.MinEdge.X << ".." << area.MaxEdge.X << ", "
                                                   << area.MinEdge.Z << ".." << area.MaxEdge.Z << ")";
  }
  vector3df corners[8];
  clockBox.getEdges(corners);
  for (const bool blackView : {false, true}) {
    if (blackView)
      app.cameraRig.SetBlackView(false);
    else
      app.cameraRig.SetWhiteView(false);
    DrawFrame();
    for (const vector3df &corner : corners) {
      const vector2df p = Projected(corner);
      EXPECT_TRUE(p.X > -1 && p.X < 1 && p.Y > -1 && p.Y < 1)
          << (blackView ? "Black's" : "White's") << " view leaves out (" << corner.X << ", " << corner.Y << ", "
          << corner.Z << ")";
    }
  }
}

TEST_F(ClockModel, ClicksPassThroughTheClock) {
  ASSERT_TRUE(app.map.InitGameFields());
  clock.Show("4:57", "0:09.3", 0, 1);
  DrawFrame();
  // A ray from beyond the clock through its middle down to field h4, with
  // the id bits the board's picking asks for.
  const irr::core::aabbox3df clockBox = ClockBox(clock);
  const vector3df middle = clockBox.getCenter();
  const vector3df h4 = app.map.GetSquareWorldPosition(7, 3);
  const irr::core::line3df ray(middle + (middle - h4).normalize() * 40.f, h4 + (h4 - middle).normalize() * 5.f);
  ASSERT_TRUE(clockBox.intersectsWithLine(ray)) << "the ray must cross the clock to test anything";
  irr::scene::ISceneCollisionManager *collision = app.sceneManager->getSceneCollisionManager();
  vector3df point;
  irr::core::triangle3df triangle;
  irr::scene::ISceneNode *hit =
      collision->getSceneNodeAndCollisionPointFromRay(ray, point, triangle, ID_NODE_FIELD | ID_NODE_TOKEN);
  BoardSquare square;
  ASSERT_TRUE(app.map.FindSquareOfNode(hit, square)) << "the ray stopped short of the board";
  EXPECT_EQ(square.X, 7);
}

// Each file the clock is made of, taken away in turn.
class ClockWithoutFile : public testing::TestWithParam<const char *> {};

TEST_P(ClockWithoutFile, StaysOffTheTableAndSaysWhy) {
  ASSERT_FALSE(testing_support::EnterCopyOfRunFolder(GetParam()).empty());
  ASSERT_TRUE(testing_support::CreateNullDevice());
  testing_support::LogCapture log(app.device);
  const size_t nodes = app.sceneManager->getRootSceneNode()->getChildren().size();
  CChessClockModel clock;
  EXPECT_FALSE(clock.Init());
  EXPECT_TRUE(log.Contains(GetParam())) << "the log names the missing file";
  EXPECT_EQ(app.sceneManager->getRootSceneNode()->getChildren().size(), nodes) << "nothing left in the scene";
  clock.SetVisible(true);
  clock.Show("4:57", "0:09.3", 0, 1);
  EXPECT_FALSE(clock.IsVisible());
  EXPECT_EQ(clock.GetRootNode(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Media, ClockWithoutFile,
                         testing::Values("clock_case.x", "clock_plate.x", "clock_button_white.x",
                                         "clock_button_black.x", "clock_digits.png", "clock_digits_red.png"),
                         [](const testing::TestParamInfo<const char *> &info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

} // namespace
