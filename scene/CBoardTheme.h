// The board sets a player can choose: which textures the fields, pieces,
// label strips and trays show, and how the pieces and fields take the light.
// Every set uses the same meshes; only textures and materials differ. The set
// in use is the only one whose textures stay loaded.
#pragma once

#include <irrlicht.h>

#include <string>

class CMap;

enum class EBoardTheme { Wood, Marble, Tournament };
constexpr int BOARD_THEME_COUNT = 3;

// "wood", "marble", "tournament": the settings file's words.
const char *BoardThemeName(EBoardTheme theme);
// The theme a settings word names; false (theme unchanged) for any other word.
bool ParseBoardTheme(const std::string &name, EBoardTheme &theme);

// How a surface takes the scene's light.
struct SThemeMaterial {
  irr::video::SColor specular; // the highlight's colour; black for none
  irr::f32 shininess;          // the highlight's tightness; 0 switches it off
  irr::video::SColor emissive; // the surface's own glow, which keeps shaded sides readable
};

// Everything one set puts on the board. Paths are relative to the run folder.
struct SBoardLook {
  // [dark][0 plain, 1 highlighted, 2 last move]
  const char *field[2][3];
  // [black][0 plain, 1 highlighted]
  const char *token[2][2];
  // [dark strip][0 plain, 1 highlighted]
  const char *label[2][2];
  const char *tray;
  SThemeMaterial fieldMaterial;
  SThemeMaterial pieceMaterial;
  // The grounds the promotion window's pictures stand on: the set's dark
  // square under a white piece, its light square under a black one.
  irr::video::SColor portraitGround[2];
};

class CBoardTheme {
public:
  static const SBoardLook &LookOf(EBoardTheme theme);
  // Every texture path of a look, once each.
  static int TexturePaths(const SBoardLook &look, const char *(&paths)[32]);

  EBoardTheme InUse() const { return inUse; }
  const SBoardLook &Look() const { return LookOf(inUse); }

  // Puts the theme on the map's fields, pieces (those on the trays too),
  // label strips and trays, has the promotion pictures drawn again, and
  // removes the textures of the set shown before from the driver once no
  // node shows them. Logs "theme <name>". When a texture of the new set is
  // missing, that is logged, nothing on the board changes and the answer is
  // false.
  bool Apply(EBoardTheme theme, CMap &map);
  // Sets the look's material on a piece's or a field's node.
  static void SetMaterial(irr::scene::ISceneNode *node, const SThemeMaterial &material);

private:
  // Removes the look's textures that the look in use does not share and
  // that no scene node shows from the driver, and from the meshes that name
  // them, so that a mesh's own texture cannot keep a set loaded.
  void Release(const SBoardLook &old) const;

  EBoardTheme inUse = EBoardTheme::Wood;
};
