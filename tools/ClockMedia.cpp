#include "tools/ClockMedia.h"

#include "tools/ClockLayout.h"
#include "tools/MeshShapes.h"
#include "tools/Noise.h"
#include "tools/SoundMedia.h"
#include "tools/Surfaces.h"
#include "tools/Typeface.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {

namespace layout = clocklayout;

const char *const kDigitFont = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";
// The widest digit's ink must leave a few pixels of its box free, so that
// filtering never cuts a stroke at the quad's edge.
constexpr int kDigitInkWidth = layout::kDigitBox - 8;
constexpr int kDigitInkHeight = 100;

// Dark walnut for the case; its grain runs along the clock.
const SWoodStyle kCaseWood{{0.34f, 0.20f, 0.11f, 1}, {0.19f, 0.10f, 0.05f, 1}, 7.0f, 1.0f, 0.5f};

// A liquid-crystal display: pale green-white digits on a near-black glass,
// and for a fallen flag, white digits on signal red.
struct SFaceLook {
  SColorF glass, ink;
};
const SFaceLook kNormalFace{{0.05f, 0.08f, 0.07f, 1}, {0.80f, 0.98f, 0.88f, 1}};
const SFaceLook kFlaggedFace{{0.66f, 0.05f, 0.03f, 1}, {1.0f, 0.96f, 0.90f, 1}};

// The case's section in the (z, y) plane, counter-clockwise seen from +X:
// front foot, back foot, back top (edge broken), top front edge, panel foot.
std::vector<vector2df> CaseSection() {
  const float chamfer = 0.4f;
  return {{layout::kFrontZ, 0.0f},
          {layout::kBackZ, 0.0f},
          {layout::kBackZ, layout::kHeight - chamfer},
          {layout::kBackZ - chamfer, layout::kHeight},
          {layout::kPanelTopZ, layout::kHeight},
          {layout::kFrontZ, layout::kPanelBottomY}};
}

// The picture of every glyph of clocklayout::kGlyphs, one per cell, on one
// baseline that centres the digits in their cells; the blank cell and every
// pixel around the glyphs is the glass colour.
CRasterImage MakeDigitAtlas(const CTypeface &typeface, const SFaceLook &look) {
  CRasterImage atlas(layout::kAtlasWidth, layout::kAtlasHeight, look.glass);
  SGlyph zero;
  typeface.Render('0', zero);
  const int baseline = (layout::kCell + zero.top) / 2;
  for (int cell = 0; cell < layout::kGlyphCount; ++cell) {
    SGlyph glyph;
    if (!typeface.Render(static_cast<unsigned char>(layout::kGlyphs[cell]), glyph))
      continue;
    CCoverageMask mask(layout::kCell, layout::kCell);
    // The pen puts the ink's middle on the cell's middle.
    const int pen = (layout::kCell - glyph.width) / 2 - glyph.left;
    typeface.Draw(mask, std::string(1, layout::kGlyphs[cell]), pen, baseline);
    atlas.Paint(mask, (cell % layout::kColumns) * layout::kCell, (cell / layout::kColumns) * layout::kCell, look.ink);
  }
  return atlas;
}

// The largest pixel size at which every digit's ink fits its box.
int DigitPixelSize() {
  for (int size = 160; size > 16; size -= 2) {
    CTypeface typeface;
    if (!typeface.Load(kDigitFont, size))
      return 0;
    bool fits = true;
    for (char c = '0'; c <= '9' && fits; ++c) {
      SGlyph glyph;
      fits = typeface.Render(static_cast<unsigned char>(c), glyph) && glyph.width <= kDigitInkWidth &&
             glyph.rows <= kDigitInkHeight;
    }
    if (fits)
      return size;
  }
  return 0;
}

// Brushed steel: fine streaks along x on a mid grey, tiling along x.
CRasterImage MakeBrushedSteel(int width, int height, uint32_t seed) {
  CRasterImage image(width, height);
  const CValueNoise streaks(seed, 2, height / 2), mottle(seed + 7u, 4, 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float u = static_cast<float>(x) / static_cast<float>(width);
      const float v = static_cast<float>(y) / static_cast<float>(height);
      const float shade = 0.36f + 0.08f * streaks.Fractal(u * 2.0f, v * static_cast<float>(height / 2), 3) +
                          0.05f * mottle.Fractal(u * 4.0f, v * 4.0f, 2);
      image.Set(x, y, SColorF{shade, shade * 1.01f, shade * 1.04f, 1});
    }
  return image;
}

// Adds one beep: a sine with a short rise and fall, from startMs for lengthMs.
void AddBeep(std::vector<double> &samples, double startMs, double lengthMs, double hz) {
  constexpr double kPi = 3.14159265358979323846, kEdgeMs = 6.0;
  const size_t first = static_cast<size_t>(startMs * kSoundRate / 1000);
  const size_t count = static_cast<size_t>(lengthMs * kSoundRate / 1000);
  for (size_t i = 0; i < count && first + i < samples.size(); ++i) {
    const double ms = 1000.0 * static_cast<double>(i) / kSoundRate;
    const double envelope = std::min({1.0, ms / kEdgeMs, (lengthMs - ms) / kEdgeMs});
    const double t = static_cast<double>(i) / kSoundRate;
    samples[first + i] += envelope * (std::sin(2 * kPi * hz * t) + 0.15 * std::sin(4 * kPi * hz * t));
  }
}

} // namespace

CMeshBuilder MakeClockCase() {
  CMeshBuilder mesh;
  const std::vector<vector2df> section = CaseSection();
  const size_t n = section.size();
  const float x0 = -layout::kHalfLength, x1 = layout::kHalfLength;
  float perimeter = 0.0f;
  for (size_t i = 0; i < n; ++i)
    perimeter += (section[(i + 1) % n] - section[i]).getLength();

  // The long faces, one flat quad per section edge: the grain (texture u)
  // runs along the clock, v once round the section.
  float around = 0.0f;
  for (size_t i = 0; i < n; ++i) {
    const vector2df &a = section[i], &b = section[(i + 1) % n];
    const vector2df d = b - a;
    // Outward normal of a counter-clockwise section edge, (z, y) -> (dy, -dz).
    const vector3df normal(0, -d.X, d.Y);
    const float v0 = around / perimeter, v1 = (around + d.getLength()) / perimeter;
    around += d.getLength();
    const uint32_t q = mesh.AddVertex({x0, a.Y, a.X}, normal, {0, v0});
    mesh.AddVertex({x1, a.Y, a.X}, normal, {1, v0});
    mesh.AddVertex({x1, b.Y, b.X}, normal, {1, v1});
    mesh.AddVertex({x0, b.Y, b.X}, normal, {0, v1});
    mesh.AddQuad(q, q + 1, q + 2, q + 3);
  }
  // Both ends, the grain running from front to back.
  const auto triangles = TriangulatePolygon(section);
  const float depth = layout::kBackZ - layout::kFrontZ;
  for (const float x : {x0, x1}) {
    const uint32_t first = mesh.VertexCount();
    for (const vector2df &p : section)
      mesh.AddVertex({x, p.Y, p.X}, {x < 0 ? -1.0f : 1.0f, 0, 0},
                     {(p.X - layout::kFrontZ) / depth, 1.0f - p.Y / layout::kHeight});
    for (const auto &t : triangles)
      mesh.AddTriangle(first + t[0], first + t[1], first + t[2]);
  }
  return mesh;
}

CMeshBuilder MakeClockPlate() {
  // A box in the panel's own frame (x across, y up the slope, z into the
  // panel) turned and moved onto the panel; the frame is right-handed like
  // the clock's, so the box keeps its faces outwards.
  irr::core::matrix4 onPanel;
  onPanel[5] = layout::PanelUpY();
  onPanel[6] = layout::PanelUpZ();
  onPanel[9] = -layout::PanelOutY();
  onPanel[10] = -layout::PanelOutZ();
  onPanel[13] = layout::kPanelBottomY;
  onPanel[14] = layout::kFrontZ;
  CMeshBuilder mesh;
  AddBox(mesh, vector3df(-layout::kPlateHalfWidth, layout::kPlateBottom, -layout::kPlateThickness),
         vector3df(layout::kPlateHalfWidth, layout::kPlateTop, 0.0f), onPanel);
  return mesh;
}

CMeshBuilder MakeClockButton() {
  const float r = layout::kButtonRadius;
  // A plunger with a rounded cap; its foot reaches well inside the case, so
  // that the pressed-down button still shows no gap.
  const std::vector<SProfilePoint> profile = {{0.0f, -1.2f},      {r, -1.2f, true},   {r, 1.0f},    {r * 0.92f, 1.28f},
                                              {r * 0.70f, 1.45f}, {r * 0.35f, 1.53f}, {0.0f, 1.55f}};
  CMeshBuilder mesh;
  AddLathe(mesh, profile, 16);
  return mesh;
}

std::vector<int16_t> MakeLowTimeBeeps() {
  std::vector<double> samples(static_cast<size_t>(0.3 * kSoundRate), 0.0);
  AddBeep(samples, 0.0, 90.0, 1760.0);
  AddBeep(samples, 150.0, 90.0, 1760.0);
  // Quiet: a reminder, well below the move click.
  std::vector<int16_t> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i)
    pcm[i] = static_cast<int16_t>(std::lround(32767.0 * 0.22 * samples[i] / 1.15));
  return pcm;
}

bool WriteClockMedia(const CMediaFolder &folder) {
  bool ok = true;
  // Like the board and the pieces: the scene light is strong where it falls
  // (see WritePieceMedia), so the shaded sides live on the emissive part.
  SMeshMaterial wood;
  wood.emissive[0] = wood.emissive[1] = wood.emissive[2] = 0.4f;
  wood.texture = "clock_wood.jpg";
  ok &= folder.WriteMesh("clock_case.x", MakeClockCase(), wood);
  ok &= folder.WriteJpeg("clock_wood.jpg", MakeWood(256, 128, kCaseWood, 5001u));

  // Brushed steel around the faces. The colours come from textures: an
  // untextured surface facing the strong light would turn white, and so
  // would a specular plate, being flat.
  SMeshMaterial steel;
  steel.emissive[0] = steel.emissive[1] = steel.emissive[2] = 0.4f;
  steel.texture = "clock_steel.jpg";
  ok &= folder.WriteMesh("clock_plate.x", MakeClockPlate(), steel);
  ok &= folder.WriteJpeg("clock_steel.jpg", MakeBrushedSteel(128, 64, 5002u));

  // Each side's button is of its pieces' wood and lacquered like them
  // (the textures WritePieceMedia writes).
  SMeshMaterial button;
  button.power = 60.0f;
  button.specular[0] = button.specular[1] = button.specular[2] = 0.03f;
  button.emissive[0] = button.emissive[1] = button.emissive[2] = 0.5f;
  const CMeshBuilder buttonMesh = MakeClockButton();
  button.texture = "whitetoken.bmp";
  ok &= folder.WriteMesh("clock_button_white.x", buttonMesh, button);
  button.texture = "blacktoken.bmp";
  ok &= folder.WriteMesh("clock_button_black.x", buttonMesh, button);

  const int pixels = DigitPixelSize();
  CTypeface typeface;
  if (pixels == 0 || !typeface.Load(kDigitFont, pixels))
    return false;
  ok &= folder.WritePng("clock_digits.png", MakeDigitAtlas(typeface, kNormalFace));
  ok &= folder.WritePng("clock_digits_red.png", MakeDigitAtlas(typeface, kFlaggedFace));

  const std::string beeps = WavBytes(MakeLowTimeBeeps(), kSoundRate);
  ok &= folder.WriteBytes("lowtime.wav", beeps.data(), beeps.size());
  return ok;
}

} // namespace mediagen
