#include "tools/IconMedia.h"

#include "tools/Drawing.h"
#include "tools/KnightOutline.h"

#include <cmath>
#include <filesystem>

namespace mediagen {

namespace {

// Every length of the icon is given on a 48-pixel grid and scaled.
constexpr float kGrid = 48.0f;
constexpr float kFrameInset = 1.5f, kFrameRadius = 7.0f;
constexpr float kSquareInset = 5.5f, kSquareRadius = 3.5f;
constexpr float kPieceHeight = 34.0f;                          // plinth foot to ear tip
constexpr float kPieceFoot = 41.5f;                            // the plinth's foot line
constexpr float kPlinthHalfWidth = 4.3f, kPlinthHeight = 1.6f; // in knight units

const SColorF kFrameTop{0.45f, 0.28f, 0.15f, 1};
const SColorF kFrameBottom{0.27f, 0.16f, 0.08f, 1};
const SColorF kSquareTop{0.96f, 0.88f, 0.70f, 1};
const SColorF kSquareBottom{0.85f, 0.72f, 0.50f, 1};
const SColorF kPiece{0.07f, 0.06f, 0.06f, 1};
const SColorF kShadow{0, 0, 0, 0.45f};

// A rectangle with rounded corners as a polygon: quarter arcs about the
// corners' centres, going round from the lower right (y grows downwards).
std::vector<vector2df> RoundedRect(float x0, float y0, float x1, float y1, float r) {
  constexpr int kArcSteps = 8;
  constexpr float kQuarter = 1.57079633f;
  const vector2df centres[4] = {{x1 - r, y1 - r}, {x0 + r, y1 - r}, {x0 + r, y0 + r}, {x1 - r, y0 + r}};
  std::vector<vector2df> points;
  for (int corner = 0; corner < 4; ++corner)
    for (int i = 0; i <= kArcSteps; ++i) {
      const float angle = kQuarter * (static_cast<float>(corner) + static_cast<float>(i) / kArcSteps);
      points.emplace_back(centres[corner].X + r * std::cos(angle), centres[corner].Y + r * std::sin(angle));
    }
  return points;
}

// Fills the polygon with a vertical gradient from top colour to bottom colour.
void PaintGradientPolygon(CRasterImage &image, const std::vector<vector2df> &polygon, const SColorF &top,
                          const SColorF &bottom) {
  CCoverageMask mask(image.Width(), image.Height());
  FillPolygon(mask, polygon);
  for (int y = 0; y < image.Height(); ++y) {
    const SColorF colour = Mix(top, bottom, static_cast<float>(y) / static_cast<float>(image.Height() - 1));
    for (int x = 0; x < image.Width(); ++x)
      image.Blend(x, y, colour, mask.At(x, y));
  }
}

} // namespace

CRasterImage MakeIcon(int size) {
  CRasterImage image(size, size, SColorF{0, 0, 0, 0});
  const float u = static_cast<float>(size) / kGrid;
  const float far = kGrid - kFrameInset;
  PaintGradientPolygon(image, RoundedRect(kFrameInset * u, kFrameInset * u, far * u, far * u, kFrameRadius * u),
                       kFrameTop, kFrameBottom);
  const float inner = kGrid - kSquareInset;
  PaintGradientPolygon(image, RoundedRect(kSquareInset * u, kSquareInset * u, inner * u, inner * u, kSquareRadius * u),
                       kSquareTop, kSquareBottom);

  // The knight looks left, as chess figurines do, standing on a low plinth.
  const std::vector<vector2df> outline = KnightOutline();
  float top = 0;
  for (const auto &p : outline)
    top = std::max(top, p.Y);
  const float footY = 2.2f - kPlinthHeight; // the plinth lies under the neck's foot
  const float scale = kPieceHeight * u / (top - footY);
  const float cx = kGrid * 0.5f * u, baseY = kPieceFoot * u;
  auto place = [&](float x, float y) { return vector2df(cx - x * scale, baseY - (y - footY) * scale); };
  std::vector<vector2df> knight;
  for (const auto &p : outline)
    knight.push_back(place(p.X, p.Y));
  const std::vector<vector2df> plinth = {place(-kPlinthHalfWidth, footY), place(kPlinthHalfWidth, footY),
                                         place(kPlinthHalfWidth * 0.85f, 2.3f), place(-kPlinthHalfWidth * 0.85f, 2.3f)};

  CCoverageMask piece(size, size);
  FillPolygon(piece, knight);
  CCoverageMask foot(size, size);
  FillPolygon(foot, plinth);
  piece.Union(foot);
  CCoverageMask shadow = piece;
  shadow.Blur(std::max(1, static_cast<int>(std::lround(1.2f * u))));
  const int offset = std::max(1, static_cast<int>(std::lround(1.2f * u)));
  image.Paint(shadow, offset, offset, kShadow);
  image.Paint(piece, 0, 0, kPiece);
  return image;
}

bool WriteIcons(const std::string &themeFolder, irr::video::IVideoDriver *driver) {
  bool ok = true;
  for (int size : kIconSizes) {
    const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
    const std::string folder = themeFolder + "/" + sizeName + "/apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    ok &= CMediaFolder(folder, driver).WritePng("kelvar.png", MakeIcon(size));
  }
  return ok;
}

} // namespace mediagen
