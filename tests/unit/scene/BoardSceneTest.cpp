// The board scene: field geometry and colours, highlight switching, label
// strips, the 32 pieces on their home squares, and the entry animation.
#include "app/CApplication.h"
#include "scene/CGameField.h"
#include "scene/CGameLabel.h"
#include "scene/CGameToken.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <string>

using irr::core::vector3df;

namespace {

class BoardSceneTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CreateNullDevice());
    ASSERT_TRUE(app.map.Init());
  }

  static void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      app.device->run();
      app.driver->beginScene(true, true, irr::video::SColor(0, 0, 0, 0));
      app.sceneManager->drawAll();
      app.driver->endScene();
    }
  }

  // File name of the texture on a layer of the node's first material.
  static std::string TextureName(irr::scene::ISceneNode *node, irr::u32 layer = 0) {
    irr::video::ITexture *texture = node->getMaterial(0).getTexture(layer);
    if (!texture)
      return "";
    const std::string path = texture->getName().getPath().c_str();
    return path.substr(path.find_last_of('/') + 1);
  }

  static int FlyAnimators(irr::scene::ISceneNode *node) {
    int n = 0;
    for (auto *animator : node->getAnimators())
      n += animator->getType() == irr::scene::ESNAT_FLY_STRAIGHT;
    return int(node->getAnimators().size()) == n ? n : -1;
  }

  static void ExpectAt(const vector3df &actual, const vector3df &expected) {
    EXPECT_NEAR(actual.X, expected.X, 1e-4);
    EXPECT_NEAR(actual.Y, expected.Y, 1e-4);
    EXPECT_NEAR(actual.Z, expected.Z, 1e-4);
  }
};

} // namespace

TEST_F(BoardSceneTest, FieldsStandOnTheirSquaresDarkWhenFilePlusRankIsEven) {
  struct Case {
    int x, y;
    bool dark;
    vector3df position;
  };
  const Case cases[] = {{0, 0, true, {-35, 0, -35}}, // a1
                        {7, 0, false, {35, 0, -35}}, // h1
                        {7, 7, true, {35, 0, 35}},   // h8
                        {0, 7, false, {-35, 0, 35}}, // a8
                        {4, 3, false, {5, 0, -5}}};  // e4
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    CGameField *field = app.map.GetField(c.x, c.y);
    EXPECT_EQ(field->IsDark(), c.dark);
    EXPECT_EQ(field->GetSquare(), BoardSquare(c.x, c.y));
    ExpectAt(app.map.GetSquareWorldPosition(c.x, c.y), c.position);
    EXPECT_EQ(field->GetNode()->getID(), ID_NODE_FIELD);
    ExpectAt(field->GetNode()->getScale(), vector3df(2.4f));
    EXPECT_TRUE(field->GetNode()->getMaterial(0).getFlag(irr::video::EMF_LIGHTING));
    EXPECT_TRUE(field->GetNode()->getMaterial(0).getFlag(irr::video::EMF_NORMALIZE_NORMALS));
  }
  int dark = 0;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      dark += app.map.GetField(x, y)->IsDark();
  EXPECT_EQ(dark, 32);
}

TEST_F(BoardSceneTest, FieldHighlightSwitchesTexturesOnlyOnChange) {
  CGameField *dark = app.map.GetField(0, 0);
  CGameField *light = app.map.GetField(1, 0);
  const std::string meshTexture = TextureName(dark->GetNode());

  dark->SetHighlight(false); // never highlighted: the mesh's own texture stays
  EXPECT_EQ(TextureName(dark->GetNode()), meshTexture);

  dark->SetHighlight(true);
  light->SetHighlight(true);
  EXPECT_EQ(TextureName(dark->GetNode()), "field_dg_hi.jpg");
  EXPECT_EQ(TextureName(light->GetNode()), "field_lg_hi.jpg");
  EXPECT_TRUE(dark->IsHighlighted());

  // A second "on" changes nothing, even if the material was changed meanwhile.
  dark->GetNode()->getMaterial(0).setTexture(0, nullptr);
  dark->SetHighlight(true);
  EXPECT_EQ(TextureName(dark->GetNode()), "");

  dark->SetHighlight(false);
  light->SetHighlight(false);
  EXPECT_EQ(TextureName(dark->GetNode()), "field_dg.jpg");
  EXPECT_EQ(TextureName(light->GetNode()), "field_lg.jpg");
}

TEST_F(BoardSceneTest, LabelStripsLieAroundTheBoardWithTheirTextures) {
  struct Case {
    vector3df position, rotation;
    const char *normal, *highlighted;
  };
  const Case cases[] = {{{-35, 0, -45}, {90, 0, 0}, "nc_light.jpg", "nc_hi_light.jpg"},
                        {{35, 0, 45}, {90, 180, 0}, "nc_dark.jpg", "nc_hi_dark.jpg"},
                        {{-45, 0, -35}, {90, 0, 0}, "nc_light.jpg", "nc_hi_light.jpg"},
                        {{45, 0, -35}, {90, 0, 0}, "nc_dark.jpg", "nc_hi_dark.jpg"}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    CGameLabel *label = app.map.GetLabel(i);
    irr::scene::ISceneNode *node = label->GetNode();
    ExpectAt(node->getAbsolutePosition(), cases[i].position);
    ExpectAt(node->getRotation(), cases[i].rotation);
    ExpectAt(node->getScale(), vector3df(6));
    EXPECT_EQ(node->getID(), ID_NODE_NONE);
    EXPECT_EQ(TextureName(node), cases[i].normal);
    label->SetHighlight(true);
    EXPECT_EQ(TextureName(node), cases[i].highlighted);
    EXPECT_EQ(TextureName(node, 3), cases[i].highlighted); // all four layers
    // Unlike a field, a label applies its texture even when nothing changed.
    node->getMaterial(0).setTexture(0, nullptr);
    label->SetHighlight(true);
    EXPECT_EQ(TextureName(node), cases[i].highlighted);
    label->SetHighlight(false);
    EXPECT_EQ(TextureName(node), cases[i].normal);
  }
}

TEST_F(BoardSceneTest, TokensFollowTheFixedIndexTable) {
  struct Row {
    int index, color, type, x, y;
  };
  const Row rows[] = {
      {0, White, Pawn, 0, 1},    {1, Black, Pawn, 0, 6},    {14, White, Pawn, 7, 1},   {15, Black, Pawn, 7, 6},
      {16, White, Rook, 0, 0},   {17, White, Rook, 7, 0},   {18, Black, Rook, 0, 7},   {19, Black, Rook, 7, 7},
      {20, White, Knight, 1, 0}, {21, White, Knight, 6, 0}, {22, Black, Knight, 1, 7}, {23, Black, Knight, 6, 7},
      {24, White, Bishop, 2, 0}, {25, White, Bishop, 5, 0}, {26, Black, Bishop, 2, 7}, {27, Black, Bishop, 5, 7},
      {28, White, Queen, 3, 0},  {29, Black, Queen, 3, 7},  {30, White, King, 4, 0},   {31, Black, King, 4, 7},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.index);
    CGameToken *token = app.map.GetToken(row.index);
    EXPECT_EQ(token->GetColor(), row.color);
    EXPECT_EQ(token->GetType(), row.type);
    EXPECT_EQ(token->GetSquare(), BoardSquare(row.x, row.y));
    EXPECT_EQ(token->GetHomeSquare(), BoardSquare(row.x, row.y));
    ExpectAt(token->GetWorldPosition(), vector3df(10.f * row.x - 35, 0, 10.f * row.y - 35));
  }
  for (int k = 0; k < 8; ++k) { // the pawns interleave by file
    EXPECT_EQ(app.map.GetToken(2 * k)->GetSquare(), BoardSquare(k, 1));
    EXPECT_EQ(app.map.GetToken(2 * k + 1)->GetSquare(), BoardSquare(k, 6));
  }
  ExpectAt(app.map.GetToken(0)->GetWorldPosition(), vector3df(-35, 0, -25));
  ExpectAt(app.map.GetToken(31)->GetWorldPosition(), vector3df(5, 0, 35));
}

TEST_F(BoardSceneTest, OnlyTheKnightsAreTurned) {
  for (int i = 0; i < 32; ++i) {
    SCOPED_TRACE(i);
    const CGameToken *token = app.map.GetToken(i);
    const float expected = token->GetType() != Knight ? 0.f : token->GetColor() == White ? -90.f : 90.f;
    ASSERT_NE(token->GetMeshNode(), nullptr);
    ExpectAt(token->GetMeshNode()->getRotation(), vector3df(0, expected, 0));
  }
}

TEST_F(BoardSceneTest, EntryAnimationDropsEverythingOntoItsPlace) {
  // The device's clock is held still and moved by hand, so the fall is
  // measured in the animation's own time whatever the machine's load.
  irr::ITimer *timer = app.device->getTimer();
  timer->stop();
  app.map.MoveGameTokensIn();
  std::vector<std::pair<irr::scene::ISceneNode *, float>> nodes; // node, drop height
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      nodes.emplace_back(app.map.GetField(x, y)->GetNode(), 60.f);
  for (int i = 0; i < 32; ++i)
    nodes.emplace_back(app.map.GetToken(i)->GetMeshNode(), 70.f);
  for (int i = 0; i < 4; ++i)
    nodes.emplace_back(app.map.GetLabel(i)->GetNode(), 60.f);

  std::vector<vector3df> ends;
  for (auto &[node, height] : nodes) {
    EXPECT_EQ(FlyAnimators(node), 1);
    ends.push_back(node->getAbsolutePosition());
  }
  Frames(1);
  for (size_t i = 0; i < nodes.size(); ++i) // each starts its fall from high above
    EXPECT_GT(nodes[i].first->getPosition().Y, ends[i].Y + nodes[i].second - 5.f);

  // The longest fall (a label) lasts under 2400 ms.
  timer->setTime(timer->getTime() + 2500);
  Frames(1);
  timer->start();
  for (size_t i = 0; i < nodes.size(); ++i)
    ExpectAt(nodes[i].first->getAbsolutePosition(), ends[i]);
}

TEST_F(BoardSceneTest, EveryTokenOwnsAHiddenMarkerAfterStartup) {
  for (int i = 0; i < 32; ++i) {
    SCOPED_TRACE(i);
    const CGameToken *token = app.map.GetToken(i);
    ASSERT_NE(token->GetMarkerNode(), nullptr);
    EXPECT_FALSE(token->GetMarkerNode()->isVisible());
    EXPECT_EQ(token->GetMeshNode()->getID(), ID_NODE_TOKEN);
  }
}
