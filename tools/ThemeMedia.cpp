#include "tools/ThemeMedia.h"

#include "tools/BoardMedia.h"
#include "tools/LabelAtlas.h"
#include "tools/LabelMedia.h"
#include "tools/PieceMedia.h"
#include "tools/Surfaces.h"

namespace mediagen {

namespace {

constexpr int kMarbleTokenSize = 256;
// Plastic has no pattern worth the pixels.
constexpr int kPlasticTokenSize = 64;
// The trays are field tiles stretched about ten times along the board's side,
// which the dark field's mesh maps onto the picture's height.
constexpr int kTrayWidth = 128, kTrayHeight = 1024;

// Carrara-like white stone with grey veins for the light squares, a dark
// green-black stone with pale veins for the dark ones.
const SMarbleStyle kWhiteSquare{
    {0.91f, 0.90f, 0.87f, 1}, {0.80f, 0.80f, 0.79f, 1}, {0.50f, 0.51f, 0.54f, 1}, 1.6f, 35.0f, 2.2f, 6.0f};
const SMarbleStyle kDarkSquare{
    {0.15f, 0.20f, 0.18f, 1}, {0.23f, 0.29f, 0.26f, 1}, {0.66f, 0.70f, 0.64f, 1}, 1.4f, -30.0f, 2.6f, 9.0f};
// The pieces: polished white marble and black marble.
const SMarbleStyle kWhitePiece{
    {0.95f, 0.94f, 0.91f, 1}, {0.87f, 0.86f, 0.84f, 1}, {0.62f, 0.62f, 0.65f, 1}, 2.0f, 60.0f, 2.0f, 7.0f};
const SMarbleStyle kBlackPiece{
    {0.09f, 0.09f, 0.10f, 1}, {0.15f, 0.15f, 0.16f, 1}, {0.52f, 0.52f, 0.52f, 1}, 1.8f, 60.0f, 2.4f, 10.0f};

// A club tournament board: cream and green vinyl, and plastic pieces.
const SColorF kCream{0.93f, 0.90f, 0.78f, 1};
const SColorF kGreen{0.30f, 0.50f, 0.33f, 1};
const SColorF kDeepGreen{0.20f, 0.36f, 0.23f, 1};
const SColorF kWhitePlastic{0.94f, 0.92f, 0.86f, 1};
const SColorF kBlackPlastic{0.17f, 0.17f, 0.16f, 1};

bool WriteMarble(const CMediaFolder &folder) {
  CRasterImage light = MakeMarble(kFieldTextureSize, kFieldTextureSize, kWhiteSquare, 5001u);
  CRasterImage dark = MakeMarble(kFieldTextureSize, kFieldTextureSize, kDarkSquare, 5002u);
  DarkenBorder(light, 0.08f, 8.0f);
  DarkenBorder(dark, 0.08f, 8.0f);
  bool ok = WriteFieldTextures(folder, light, dark);
  ok &= WriteTokenTextures(folder, MakeMarble(kMarbleTokenSize, kMarbleTokenSize, kWhitePiece, 5003u),
                           MakeMarble(kMarbleTokenSize, kMarbleTokenSize, kBlackPiece, 5004u));
  ok &= WriteLabelTextures(folder, SLabelStyle{MakeMarble(kAtlasWidth, kAtlasHeight, kWhiteSquare, 5005u),
                                               MakeMarble(kAtlasWidth, kAtlasHeight, kDarkSquare, 5006u),
                                               SColorF{0.16f, 0.17f, 0.19f, 1},
                                               SColorF{0.92f, 0.90f, 0.84f, 1},
                                               {SColorF{0.35f, 0.36f, 0.40f, 1}, SColorF{0.55f, 0.30f, 0.08f, 1}},
                                               {SColorF{0.70f, 0.74f, 0.68f, 1}, SColorF{1.0f, 0.85f, 0.50f, 1}}});
  ok &= folder.WriteJpeg("tray.jpg", MakeMarble(kTrayWidth, kTrayHeight, kDarkSquare, 5007u));
  return ok;
}

bool WriteTournament(const CMediaFolder &folder) {
  CRasterImage light = MakePlain(kFieldTextureSize, kFieldTextureSize, kCream, 0.05f, 6001u);
  CRasterImage dark = MakePlain(kFieldTextureSize, kFieldTextureSize, kGreen, 0.06f, 6002u);
  DarkenBorder(light, 0.05f, 6.0f);
  DarkenBorder(dark, 0.05f, 6.0f);
  bool ok = WriteFieldTextures(folder, light, dark);
  ok &= WriteTokenTextures(folder, MakePlain(kPlasticTokenSize, kPlasticTokenSize, kWhitePlastic, 0.03f, 6003u),
                           MakePlain(kPlasticTokenSize, kPlasticTokenSize, kBlackPlastic, 0.08f, 6004u));
  // The vinyl's border: green letters on cream, cream ones on green.
  ok &= WriteLabelTextures(folder, SLabelStyle{MakePlain(kAtlasWidth, kAtlasHeight, kCream, 0.05f, 6005u),
                                               MakePlain(kAtlasWidth, kAtlasHeight, kDeepGreen, 0.06f, 6006u),
                                               kDeepGreen,
                                               kCream,
                                               {kGreen, SColorF{0.55f, 0.30f, 0.08f, 1}},
                                               {kCream, SColorF{1.0f, 0.85f, 0.50f, 1}}});
  ok &= folder.WriteJpeg("tray.jpg", MakePlain(kTrayWidth, kTrayHeight, kDeepGreen, 0.06f, 6007u));
  return ok;
}

} // namespace

bool WriteThemeMedia(const CMediaFolder &folder) {
  bool ok = WriteMarble(folder.Subfolder("marble"));
  ok &= WriteTournament(folder.Subfolder("tournament"));
  return ok;
}

} // namespace mediagen
