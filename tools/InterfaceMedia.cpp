#include "tools/InterfaceMedia.h"

#include "tools/Drawing.h"
#include "tools/KnightOutline.h"
#include "tools/Typeface.h"

#include <cmath>

namespace mediagen {

namespace {

const char *const kTitleFont = "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf";
const char *const kSubtitleFont = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

const SColorF kButtonBack{0.16f, 0.20f, 0.29f, 1};
const SColorF kButtonBackLow{0.09f, 0.11f, 0.17f, 1};
const SColorF kLightSquare{0.88f, 0.76f, 0.56f, 1};
const SColorF kDarkSquare{0.48f, 0.30f, 0.17f, 1};
const SColorF kWhitePiece{0.98f, 0.96f, 0.90f, 1};
const SColorF kBlackPiece{0.08f, 0.07f, 0.07f, 1};
const SColorF kPieceRimOnBlack{0.95f, 0.85f, 0.55f, 1};
const SColorF kGold{0.93f, 0.76f, 0.36f, 1};

// Bilinear point of the board quad: s across (0 left, 1 right), t from far (0) to near (1).
vector2df BoardPoint(const vector2df quad[4], float s, float t) {
  const vector2df far = quad[0] + (quad[1] - quad[0]) * s;
  const vector2df near = quad[3] + (quad[2] - quad[3]) * s;
  return far + (near - far) * t;
}

// A tiny upright pawn (for the side view), feet at (x, y), h pixels high.
std::vector<vector2df> PawnSilhouette(float x, float y, float h) {
  const float w = h * 0.36f;
  return {{x - w, y},
          {x + w, y},
          {x + w * 0.35f, y - h * 0.55f},
          {x + w * 0.55f, y - h * 0.8f},
          {x, y - h},
          {x - w * 0.55f, y - h * 0.8f},
          {x - w * 0.35f, y - h * 0.55f}};
}

} // namespace

CRasterImage MakeCameraButton(bool blackSide, bool fromSide) {
  const int n = kCameraButtonSize;
  CRasterImage image(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
      image.Set(x, y, Mix(kButtonBack, kButtonBackLow, static_cast<float>(y) / (n - 1)));

  // The board's corners: far left, far right, near right, near left.
  vector2df quad[4];
  if (fromSide) {
    quad[0].set(9.5f, 12.5f);
    quad[1].set(23.5f, 12.5f);
    quad[2].set(30.5f, 29.5f);
    quad[3].set(2.5f, 29.5f);
  } else {
    quad[0].set(4.5f, 4.5f);
    quad[1].set(28.5f, 4.5f);
    quad[2].set(28.5f, 28.5f);
    quad[3].set(4.5f, 28.5f);
  }
  constexpr int kSquares = 4;
  for (int row = 0; row < kSquares; ++row)
    for (int col = 0; col < kSquares; ++col) {
      const float s0 = static_cast<float>(col) / kSquares, s1 = static_cast<float>(col + 1) / kSquares;
      const float t0 = static_cast<float>(row) / kSquares, t1 = static_cast<float>(row + 1) / kSquares;
      // The viewer's left near corner is dark, as a1 is for White and h8 for Black.
      const bool dark = (col + (kSquares - 1 - row)) % 2 == 0;
      PaintPolygon(
          image,
          {BoardPoint(quad, s0, t0), BoardPoint(quad, s1, t0), BoardPoint(quad, s1, t1), BoardPoint(quad, s0, t1)},
          dark ? kDarkSquare : kLightSquare);
    }

  // Near row: the viewer's pieces; far row: the opponent's.
  for (int side = 0; side < 2; ++side) {
    const bool near = side == 1;
    const bool blackPieces = near ? blackSide : !blackSide;
    const SColorF fill = blackPieces ? kBlackPiece : kWhitePiece;
    const SColorF rim = blackPieces ? kPieceRimOnBlack : kBlackPiece;
    const float t = near ? 0.875f : 0.125f;
    for (int col = 0; col < kSquares; ++col) {
      const vector2df at = BoardPoint(quad, (col + 0.5f) / kSquares, t);
      if (fromSide) {
        const float h = near ? 7.0f : 4.5f;
        const float foot = at.Y + (near ? 1.5f : 0.8f);
        const auto outer = PawnSilhouette(at.X, foot + 0.7f, h + 1.4f);
        PaintPolygon(image, outer, rim);
        PaintPolygon(image, PawnSilhouette(at.X, foot, h), fill);
      } else {
        PaintDisc(image, at.X, at.Y, 2.6f, rim);
        PaintDisc(image, at.X, at.Y, 1.9f, fill);
      }
    }
  }
  // A thin frame in the viewer's colour tells the two sides apart at a glance.
  const SColorF frame = blackSide ? kBlackPiece : kWhitePiece;
  for (int i = 0; i < n; ++i) {
    image.Set(i, 0, frame);
    image.Set(i, n - 1, frame);
    image.Set(0, i, frame);
    image.Set(n - 1, i, frame);
  }
  return image;
}

namespace {

CRasterImage MakeSplash(const CTypeface &title, const CTypeface &subtitle) {
  const int w = kSplashWidth, h = kSplashHeight;
  CRasterImage image(w, h);
  const SColorF top{0.10f, 0.15f, 0.30f, 1}, bottom{0.03f, 0.05f, 0.12f, 1};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float dx = (static_cast<float>(x) - w * 0.5f) / (w * 0.5f);
      const float glow = std::exp(-dx * dx * 2.5f) * 0.35f;
      image.Set(x, y, Mix(Mix(top, bottom, static_cast<float>(y) / (h - 1)), SColorF{0.25f, 0.32f, 0.55f, 1}, glow));
    }
  // A double gold frame.
  for (int i = 0; i < w; ++i)
    for (int d : {3, 6}) {
      image.Blend(i, d, kGold, d == 3 ? 1.0f : 0.5f);
      image.Blend(i, h - 1 - d, kGold, d == 3 ? 1.0f : 0.5f);
    }
  for (int i = 0; i < h; ++i)
    for (int d : {3, 6}) {
      image.Blend(d, i, kGold, d == 3 ? 1.0f : 0.5f);
      image.Blend(w - 1 - d, i, kGold, d == 3 ? 1.0f : 0.5f);
    }

  // Knight emblems on both sides, looking inwards.
  const std::vector<vector2df> knight = KnightOutline();
  for (int side = 0; side < 2; ++side) {
    const float scale = 8.2f, cx = side == 0 ? 62.0f : w - 62.0f, baseY = 112.0f;
    std::vector<vector2df> emblem;
    for (const auto &p : knight)
      emblem.emplace_back(cx + (side == 0 ? p.X : -p.X) * scale, baseY - (p.Y - 2.2f) * scale);
    std::vector<vector2df> plinth = {{cx - 30, baseY}, {cx + 30, baseY}, {cx + 26, baseY - 7}, {cx - 26, baseY - 7}};
    CCoverageMask shadow(w, h);
    FillPolygon(shadow, emblem);
    shadow.Blur(3);
    image.Paint(shadow, 3, 3, SColorF{0, 0, 0, 0.6f});
    PaintPolygon(image, emblem, kGold);
    PaintPolygon(image, plinth, kGold);
  }

  // The name, with a soft shadow, and the subtitle.
  CCoverageMask name(w, h);
  title.Draw(name, "Kelvar", (w - title.MeasureWidth("Kelvar")) / 2, 78);
  CCoverageMask nameShadow = name;
  nameShadow.Blur(3);
  image.Paint(nameShadow, 3, 4, SColorF{0, 0, 0, 0.75f});
  image.Paint(name, 0, 0, kGold);
  CCoverageMask line(w, h);
  subtitle.Draw(line, "3D Chess", (w - subtitle.MeasureWidth("3D Chess")) / 2, 110);
  image.Paint(line, 0, 0, SColorF{0.92f, 0.92f, 0.96f, 1});
  return image;
}

} // namespace

bool WriteInterfaceMedia(const CMediaFolder &folder) {
  bool ok = folder.WriteBmp("cam_w_top.bmp", MakeCameraButton(false, false));
  ok &= folder.WriteBmp("cam_w_side.bmp", MakeCameraButton(false, true));
  ok &= folder.WriteBmp("cam_b_top.bmp", MakeCameraButton(true, false));
  ok &= folder.WriteBmp("cam_b_side.bmp", MakeCameraButton(true, true));

  CTypeface title, subtitle;
  if (!title.Load(kTitleFont, 72) || !subtitle.Load(kSubtitleFont, 22))
    return false;
  ok &= folder.WriteBmp("init_screen.bmp", MakeSplash(title, subtitle));
  return ok;
}

} // namespace mediagen
