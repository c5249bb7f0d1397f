// The board sets on the null driver with the generated media: applying a set
// re-textures fields, pieces, labels and trays and keeps their highlights,
// loads no mesh again, and leaves no texture of the set before in the
// driver; a set with a missing file changes nothing.
#include "app/CApplication.h"
#include "scene/CBoardTheme.h"
#include "scene/CCaptureTray.h"
#include "scene/CGameField.h"
#include "scene/CGameLabel.h"
#include "scene/CGameToken.h"
#include "tests/support/LogCapture.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The driver names a texture by its absolute path; a look names it "./media/...".
bool NamesFile(const irr::video::ITexture *texture, const char *path) {
  if (!texture)
    return false;
  const std::string name = texture->getName().getPath().c_str(), tail = path + 1; // "/media/..."
  return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

bool InDriver(const char *path) {
  for (irr::u32 i = 0; i < app.driver->getTextureCount(); ++i)
    if (NamesFile(app.driver->getTextureByIndex(i), path))
      return true;
  return false;
}

irr::video::ITexture *Shown(irr::scene::ISceneNode *node) { return node->getMaterial(0).getTexture(0); }

TEST(BoardTheme, EachSetRetexturesTheBoardAndUnloadsTheSetBefore) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  ASSERT_TRUE(app.map.Init());
  testing_support::LogCapture log(app.device);
  const irr::u32 meshes = app.sceneManager->getMeshCache()->getMeshCount();

  // A selected white pawn on its lit square and a lit label strip keep
  // their highlights through a change of set; so does a black pawn taken
  // and standing on its tray.
  CGameField *selected = app.map.GetField(4, 1), *plainDark = app.map.GetField(0, 0);
  CGameToken *pawn = app.map.GetToken(8), *taken = app.map.GetToken(1);
  ASSERT_EQ(pawn->GetColor(), White);
  ASSERT_EQ(taken->GetColor(), Black);
  selected->SetHighlight(true);
  pawn->SetHighlight(true);
  app.map.GetLabel(0)->SetHighlight(true);
  taken->SetCaptured(true);
  app.map.RebuildTrays();

  const EBoardTheme order[] = {EBoardTheme::Marble,     EBoardTheme::Tournament, EBoardTheme::Wood,
                               EBoardTheme::Tournament, EBoardTheme::Marble,     EBoardTheme::Wood};
  EBoardTheme before = EBoardTheme::Wood;
  irr::u32 texturesInSet[BOARD_THEME_COUNT] = {};
  for (const EBoardTheme theme : order) {
    SCOPED_TRACE(BoardThemeName(theme));
    ASSERT_TRUE(app.map.ApplyTheme(theme));
    EXPECT_TRUE(log.Contains(std::string("Kelvar: theme ") + BoardThemeName(theme)));
    EXPECT_EQ(app.map.GetTheme().InUse(), theme);
    const SBoardLook &look = CBoardTheme::LookOf(theme);

    EXPECT_TRUE(NamesFile(Shown(selected->GetNode()), look.field[0][1])) << "a lit light square";
    EXPECT_TRUE(NamesFile(Shown(plainDark->GetNode()), look.field[1][0])) << "a plain dark square";
    EXPECT_TRUE(NamesFile(Shown(pawn->GetMeshNode()), look.token[0][1])) << "a selected white piece";
    EXPECT_TRUE(NamesFile(Shown(taken->GetMeshNode()), look.token[1][0])) << "a black piece on its tray";
    EXPECT_TRUE(NamesFile(Shown(app.map.GetTray(White)->GetNode()), look.tray));
    EXPECT_TRUE(NamesFile(Shown(app.map.GetLabel(0)->GetNode()), look.label[0][1])) << "a lit light strip";
    EXPECT_TRUE(NamesFile(Shown(app.map.GetLabel(3)->GetNode()), look.label[1][0])) << "a plain dark strip";
    EXPECT_EQ(pawn->GetMeshNode()->getMaterial(0).Shininess, look.pieceMaterial.shininess);
    EXPECT_EQ(pawn->GetMeshNode()->getMaterial(0).SpecularColor, look.pieceMaterial.specular);
    EXPECT_EQ(plainDark->GetNode()->getMaterial(0).EmissiveColor, look.fieldMaterial.emissive);

    // Only the set in use is loaded: none of the files of the set before
    // that this one does not share, and no more textures on a second visit.
    if (before != theme) {
      const char *now[32], *old[32];
      const int nowCount = CBoardTheme::TexturePaths(look, now);
      const int oldCount = CBoardTheme::TexturePaths(CBoardTheme::LookOf(before), old);
      for (int i = 0; i < oldCount; ++i) {
        bool shared = false;
        for (int j = 0; j < nowCount; ++j)
          shared |= std::string(old[i]) == now[j];
        EXPECT_EQ(InDriver(old[i]), shared) << old[i];
      }
    }
    irr::u32 &count = texturesInSet[int(theme)];
    if (count) {
      EXPECT_EQ(app.driver->getTextureCount(), count) << "textures pile up over changes of set";
    }
    count = app.driver->getTextureCount();
    EXPECT_EQ(app.sceneManager->getMeshCache()->getMeshCount(), meshes) << "a mesh was loaded again";
    before = theme;
  }

  // A promoted pawn takes its new mesh in the set in use, which is no
  // longer anywhere in the meshes' materials once the wooden set is gone.
  ASSERT_TRUE(app.map.ApplyTheme(EBoardTheme::Tournament));
  pawn->ChangeType(Queen);
  EXPECT_TRUE(NamesFile(Shown(pawn->GetMeshNode()), CBoardTheme::LookOf(EBoardTheme::Tournament).token[0][0]));
  EXPECT_FALSE(InDriver("./media/whitetoken.bmp"));
}

// The wooden set's materials are the ones its meshes were written with: the
// set looks as the board did before there were others.
TEST(BoardTheme, WoodKeepsTheMeshesOwnMaterials) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const SBoardLook &wood = CBoardTheme::LookOf(EBoardTheme::Wood);
  const struct {
    const char *mesh;
    const SThemeMaterial &material;
  } cases[] = {{"./media/chess_field_white.x", wood.fieldMaterial},
               {"./media/chess_field_black.x", wood.fieldMaterial},
               {"./media/pawn.x", wood.pieceMaterial},
               {"./media/knight.x", wood.pieceMaterial}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.mesh);
    irr::scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(c.mesh);
    ASSERT_NE(mesh, nullptr);
    const irr::video::SMaterial &own = mesh->getMeshBuffer(0)->getMaterial();
    EXPECT_EQ(own.EmissiveColor, c.material.emissive);
    EXPECT_EQ(own.Shininess, c.material.shininess);
    if (own.Shininess != 0) { // without a highlight its colour does not matter
      EXPECT_EQ(own.SpecularColor, c.material.specular);
    }
  }
}

// A set with a file missing is refused with a line that names the file: the
// board keeps the set it shows and none of the refused set's textures stays.
// At start-up the settings' set is refused the same way.
class MissingThemeFile : public testing::TestWithParam<const char *> {};

TEST_P(MissingThemeFile, LeavesTheBoardAsItWas) {
  const std::string missing = GetParam();
  ASSERT_FALSE(testing_support::EnterCopyOfRunFolder(missing.c_str()).empty());
  ASSERT_TRUE(testing_support::CreateNullDevice());
  const std::string settingsPath = std::string(getenv("XDG_CONFIG_HOME")) + "/kelvar.ini";
  std::filesystem::create_directories(getenv("XDG_CONFIG_HOME"));
  std::ofstream(settingsPath) << "[game]\ntheme = marble\n";
  app.settings.SetPath(settingsPath);
  app.settings.Load();
  ASSERT_EQ(app.settings.Get().theme, EBoardTheme::Marble);
  testing_support::LogCapture log(app.device);

  ASSERT_TRUE(app.map.Init()) << "a set that cannot be shown does not stop the game";
  const std::string line =
      "Kelvar: theme marble: ./media/" + missing + " is missing or unreadable; the board keeps the wood set";
  EXPECT_TRUE(log.Contains(line)) << line;
  for (const std::string &logged : log.Lines())
    EXPECT_NE(logged, "Kelvar: theme marble") << "the set was said to be shown";
  EXPECT_EQ(app.map.GetTheme().InUse(), EBoardTheme::Wood);

  // Asked again later (the Config window), the same.
  EXPECT_FALSE(app.map.ApplyTheme(EBoardTheme::Marble));
  const SBoardLook &wood = CBoardTheme::LookOf(EBoardTheme::Wood);
  EXPECT_TRUE(NamesFile(Shown(app.map.GetField(0, 0)->GetNode()), wood.field[1][0]));
  EXPECT_TRUE(NamesFile(Shown(app.map.GetToken(0)->GetMeshNode()), wood.token[0][0]));
  EXPECT_TRUE(NamesFile(Shown(app.map.GetTray(Black)->GetNode()), wood.tray));
  const char *marble[32];
  const int count = CBoardTheme::TexturePaths(CBoardTheme::LookOf(EBoardTheme::Marble), marble);
  for (int i = 0; i < count; ++i)
    EXPECT_FALSE(InDriver(marble[i])) << marble[i];

  // Another complete set still applies.
  EXPECT_TRUE(app.map.ApplyTheme(EBoardTheme::Tournament));
}

INSTANTIATE_TEST_SUITE_P(Files, MissingThemeFile,
                         testing::Values("marble/tray.jpg", "marble/field_dg_last.jpg", "marble/blacktoken_hi.bmp"),
                         [](const testing::TestParamInfo<const char *> &info) {
                           std::string name = info.param;
                           for (char &c : name)
                             if (!isalnum(static_cast<unsigned char>(c)))
                               c = '_';
                           return name;
                         });

} // namespace
