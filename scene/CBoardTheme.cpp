#include "scene/CBoardTheme.h"

#include "app/CApplication.h"
#include "platform/Platform.h"
#include "scene/CCaptureTray.h"
#include "scene/CGameField.h"
#include "scene/CGameLabel.h"
#include "scene/CGameToken.h"
#include "scene/CMap.h"

#include <cstring>

using namespace irr;

namespace {

const char *const NAMES[BOARD_THEME_COUNT] = {"wood", "marble", "tournament"};

video::SColor Grey(u32 level) { return video::SColor(255, level, level, level); }

// The wooden set's values are those its meshes were written with, so that it
// looks as it did before there were other sets.
const SBoardLook LOOKS[BOARD_THEME_COUNT] = {
    {{{"./media/field_lg.jpg", "./media/field_lg_hi.jpg", "./media/field_lg_last.jpg"},
      {"./media/field_dg.jpg", "./media/field_dg_hi.jpg", "./media/field_dg_last.jpg"}},
     {{"./media/whitetoken.bmp", "./media/whitetoken_hi.bmp"}, {"./media/blacktoken.bmp", "./media/blacktoken_hi.bmp"}},
     {{"./media/nc_light.jpg", "./media/nc_hi_light.jpg"}, {"./media/nc_dark.jpg", "./media/nc_hi_dark.jpg"}},
     "./media/field_dg.jpg",
     {Grey(0), 0.f, Grey(89)},
     {Grey(8), 60.f, Grey(128)},
     {video::SColor(255, 112, 78, 48), video::SColor(255, 222, 196, 152)}},
    // Polished stone: a faint sheen on the squares, a bright tight highlight
    // on the pieces, whose own glow is a little lower so that the light
    // shapes them.
    {{{"./media/marble/field_lg.jpg", "./media/marble/field_lg_hi.jpg", "./media/marble/field_lg_last.jpg"},
      {"./media/marble/field_dg.jpg", "./media/marble/field_dg_hi.jpg", "./media/marble/field_dg_last.jpg"}},
     {{"./media/marble/whitetoken.bmp", "./media/marble/whitetoken_hi.bmp"},
      {"./media/marble/blacktoken.bmp", "./media/marble/blacktoken_hi.bmp"}},
     {{"./media/marble/nc_light.jpg", "./media/marble/nc_hi_light.jpg"},
      {"./media/marble/nc_dark.jpg", "./media/marble/nc_hi_dark.jpg"}},
     "./media/marble/tray.jpg",
     {Grey(3), 80.f, Grey(89)},
     {Grey(40), 90.f, Grey(112)},
     {video::SColor(255, 38, 51, 46), video::SColor(255, 225, 223, 216)}},
    // Matt plastic and vinyl: no highlight at all.
    {{{"./media/tournament/field_lg.jpg", "./media/tournament/field_lg_hi.jpg", "./media/tournament/field_lg_last.jpg"},
      {"./media/tournament/field_dg.jpg", "./media/tournament/field_dg_hi.jpg",
       "./media/tournament/field_dg_last.jpg"}},
     {{"./media/tournament/whitetoken.bmp", "./media/tournament/whitetoken_hi.bmp"},
      {"./media/tournament/blacktoken.bmp", "./media/tournament/blacktoken_hi.bmp"}},
     {{"./media/tournament/nc_light.jpg", "./media/tournament/nc_hi_light.jpg"},
      {"./media/tournament/nc_dark.jpg", "./media/tournament/nc_hi_dark.jpg"}},
     "./media/tournament/tray.jpg",
     {Grey(0), 0.f, Grey(89)},
     {Grey(0), 0.f, Grey(128)},
     {video::SColor(255, 76, 128, 84), video::SColor(255, 237, 230, 199)}},
};

bool Contains(const char *const *paths, int count, const char *path) {
  for (int i = 0; i < count; ++i)
    if (!std::strcmp(paths[i], path))
      return true;
  return false;
}

// Whether the node or one below it shows the texture on any layer.
bool ShownBelow(scene::ISceneNode *node, const video::ITexture *texture) {
  for (u32 m = 0; m < node->getMaterialCount(); ++m)
    for (u32 layer = 0; layer < video::MATERIAL_MAX_TEXTURES; ++layer)
      if (node->getMaterial(m).getTexture(layer) == texture)
        return true;
  for (scene::ISceneNode *child : node->getChildren())
    if (ShownBelow(child, texture))
      return true;
  return false;
}

// Takes the texture out of every loaded mesh's materials: the field, piece
// and label meshes name the wooden set's textures, which would otherwise
// point at a removed texture (or keep it loaded).
void ForgetInMeshes(const video::ITexture *texture) {
  scene::IMeshCache *cache = app.sceneManager->getMeshCache();
  for (u32 i = 0; i < cache->getMeshCount(); ++i) {
    scene::IAnimatedMesh *mesh = cache->getMeshByIndex(i);
    for (u32 b = 0; mesh && b < mesh->getMeshBufferCount(); ++b) {
      video::SMaterial &material = mesh->getMeshBuffer(b)->getMaterial();
      for (u32 layer = 0; layer < video::MATERIAL_MAX_TEXTURES; ++layer)
        if (material.getTexture(layer) == texture)
          material.setTexture(layer, nullptr);
    }
  }
}

// The driver's texture of a path, if loaded: the driver names textures by
// their absolute paths.
video::ITexture *LoadedTexture(const char *path) {
  video::ITexture *texture = app.driver->findTexture(app.device->getFileSystem()->getAbsolutePath(path));
  return texture ? texture : app.driver->findTexture(path);
}

} // namespace

const char *BoardThemeName(EBoardTheme theme) { return NAMES[int(theme)]; }

bool ParseBoardTheme(const std::string &name, EBoardTheme &theme) {
  for (int i = 0; i < BOARD_THEME_COUNT; ++i)
    if (name == NAMES[i]) {
      theme = EBoardTheme(i);
      return true;
    }
  return false;
}

const SBoardLook &CBoardTheme::LookOf(EBoardTheme theme) { return LOOKS[int(theme)]; }

int CBoardTheme::TexturePaths(const SBoardLook &look, const char *(&paths)[32]) {
  int count = 0;
  const auto add = [&](const char *path) {
    if (!Contains(paths, count, path) && count < 32)
      paths[count++] = path;
  };
  for (const auto &dark : look.field)
    for (const char *path : dark)
      add(path);
  for (const auto &color : look.token)
    for (const char *path : color)
      add(path);
  for (const auto &strip : look.label)
    for (const char *path : strip)
      add(path);
  add(look.tray);
  return count;
}

void CBoardTheme::SetMaterial(scene::ISceneNode *node, const SThemeMaterial &material) {
  if (!node)
    return;
  for (u32 i = 0; i < node->getMaterialCount(); ++i) {
    video::SMaterial &m = node->getMaterial(i);
    m.SpecularColor = material.specular;
    m.Shininess = material.shininess;
    m.EmissiveColor = material.emissive;
  }
}

bool CBoardTheme::Apply(EBoardTheme theme, CMap &map) {
  const char *name = BoardThemeName(theme);
  if (!app.driver || !app.device)
    return false;
  // Every texture of the new set first: a set with a hole in it is not shown
  // at all, rather than half of it over the old one.
  const SBoardLook &look = LookOf(theme);
  const char *paths[32];
  const int count = TexturePaths(look, paths);
  for (int i = 0; i < count; ++i)
    if (!app.device->getFileSystem()->existFile(paths[i]) || !app.driver->getTexture(paths[i])) {
      LogMessage((std::string("theme ") + name + ": " + paths[i] + " is missing or unreadable; the board keeps the " +
                  BoardThemeName(inUse) + " set")
                     .c_str(),
                 ELL_WARNING);
      if (theme != inUse)
        Release(look);
      return false;
    }

  const EBoardTheme before = inUse;
  inUse = theme;
  for (s32 x = 0; x < 8; ++x)
    for (s32 y = 0; y < 8; ++y)
      if (CGameField *field = map.GetField(x, y))
        field->ShowTheme();
  for (s32 i = 0; i < CMap::TOKEN_COUNT; ++i)
    if (CGameToken *token = map.GetToken(i))
      token->ShowTheme();
  for (s32 i = 0; i < CMap::LABEL_COUNT; ++i)
    if (CGameLabel *label = map.GetLabel(i))
      label->ShowTheme();
  for (s32 color : {White, Black})
    if (CCaptureTray *tray = map.GetTray(color))
      tray->ShowTheme();
  app.portraits.Redraw();
  if (before != theme)
    Release(LookOf(before));
  app.framePacer.RequestFrame();
  LogMessage(std::string("theme ") + name);
  return true;
}

void CBoardTheme::Release(const SBoardLook &old) const {
  const char *kept[32], *gone[32];
  const int keptCount = TexturePaths(Look(), kept), goneCount = TexturePaths(old, gone);
  for (int i = 0; i < goneCount; ++i) {
    if (Contains(kept, keptCount, gone[i]))
      continue;
    video::ITexture *texture = LoadedTexture(gone[i]);
    if (!texture || ShownBelow(app.sceneManager->getRootSceneNode(), texture))
      continue;
    ForgetInMeshes(texture);
    app.driver->removeTexture(texture);
  }
  // The pictures freed are large; without this the C library keeps their
  // memory for itself and the process stays as large as with two sets.
  platform::ReturnFreedMemory();
}
