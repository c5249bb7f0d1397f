#include "tests/support/ScreenTruth.h"

#include "scene/CGameToken.h"
#include "scene/CGameField.h"

#include <algorithm>
#include <cmath>

using irr::core::position2di;
using irr::core::vector3df;

namespace testing_support {

std::string PlaceName(const BoardSquare &s) {
  return s.IsOnBoard() ? std::string{char('a' + s.X), char('1' + s.Y)} : std::string("nothing");
}

std::string DrawnName(const Drawn &d) {
  return (d.token >= 0 ? "token " + std::to_string(d.token) + " on " : "") + PlaceName(d.square);
}

ScreenTruth::ScreenTruth(bool trayPiecesHide) {
  irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  viewProjection = camera->getProjectionMatrix() * camera->getViewMatrix();
  const irr::core::dimension2du size = app.driver->getScreenSize();
  halfWidth = size.Width / 2.f;
  halfHeight = size.Height / 2.f;
  for (irr::s32 x = 0; x < 8; ++x)
    for (irr::s32 y = 0; y < 8; ++y)
      AddNode(app.map.GetField(x, y)->GetNode(), Drawn{-1, BoardSquare(x, y)});
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    CGameToken *token = app.map.GetToken(i);
    if (!token->IsCaptured())
      AddNode(token->GetMeshNode(), Drawn{i, token->GetSquare()});
    else if (trayPiecesHide)
      AddNode(token->GetMeshNode(), Drawn{});
  }
}

void ScreenTruth::AddNode(irr::scene::IAnimatedMeshSceneNode *node, const Drawn &drawn) {
  if (!node || !node->isVisible())
    return;
  Surface surface{drawn, 1e9f, -1e9f, 1e9f, -1e9f, {}};
  const irr::core::matrix4 world = node->getAbsoluteTransformation();
  const irr::scene::IMesh *mesh = node->getMesh()->getMesh(0);
  for (irr::u32 b = 0; b < mesh->getMeshBufferCount(); ++b) {
    const irr::scene::IMeshBuffer *buffer = mesh->getMeshBuffer(b);
    for (irr::u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3) {
      Triangle t;
      bool inFront = true;
      for (int k = 0; k < 3; ++k) {
        const irr::u32 v = buffer->getIndexType() == irr::video::EIT_16BIT
                               ? buffer->getIndices()[i + k]
                               : ((const irr::u32 *)buffer->getIndices())[i + k];
        vector3df p = buffer->getPosition(v);
        world.transformVect(p);
        irr::f32 h[4];
        viewProjection.transformVect(h, p);
        inFront = inFront && h[3] > 0.01f;
        t.invW[k] = 1.f / h[3];
        t.sx[k] = halfWidth * h[0] * t.invW[k] + halfWidth;
        t.sy[k] = halfHeight - halfHeight * h[1] * t.invW[k];
      }
      if (!inFront)
        continue;
      t.minX = std::min({t.sx[0], t.sx[1], t.sx[2]});
      t.maxX = std::max({t.sx[0], t.sx[1], t.sx[2]});
      t.minY = std::min({t.sy[0], t.sy[1], t.sy[2]});
      t.maxY = std::max({t.sy[0], t.sy[1], t.sy[2]});
      surface.minX = std::min(surface.minX, t.minX);
      surface.maxX = std::max(surface.maxX, t.maxX);
      surface.minY = std::min(surface.minY, t.minY);
      surface.maxY = std::max(surface.maxY, t.maxY);
      surface.triangles.push_back(t);
    }
  }
  surfaces.push_back(std::move(surface));
}

Drawn ScreenTruth::At(const position2di &pixel) const {
  Drawn drawn;
  float nearest = 0; // largest 1/w so far: the smallest distance along the view
  const float px = float(pixel.X), py = float(pixel.Y);
  for (const Surface &surface : surfaces) {
    if (px < surface.minX || px > surface.maxX || py < surface.minY || py > surface.maxY)
      continue;
    for (const Triangle &t : surface.triangles) {
      if (px < t.minX || px > t.maxX || py < t.minY || py > t.maxY)
        continue;
      // Barycentric weights of the pixel; outside when any is negative.
      const float area = (t.sx[1] - t.sx[0]) * (t.sy[2] - t.sy[0]) - (t.sx[2] - t.sx[0]) * (t.sy[1] - t.sy[0]);
      if (std::fabs(area) < 1e-6f)
        continue;
      const float l1 = ((px - t.sx[0]) * (t.sy[2] - t.sy[0]) - (t.sx[2] - t.sx[0]) * (py - t.sy[0])) / area;
      const float l2 = ((t.sx[1] - t.sx[0]) * (py - t.sy[0]) - (px - t.sx[0]) * (t.sy[1] - t.sy[0])) / area;
      const float l0 = 1.f - l1 - l2;
      if (l0 < 0 || l1 < 0 || l2 < 0)
        continue;
      const float depth = l0 * t.invW[0] + l1 * t.invW[1] + l2 * t.invW[2];
      if (depth > nearest) {
        nearest = depth;
        drawn = surface.drawn;
      }
    }
  }
  return drawn;
}

position2di ScreenTruth::Project(const vector3df &point) const {
  irr::f32 h[4];
  viewProjection.transformVect(h, point);
  return position2di(irr::core::round32(halfWidth * h[0] / h[3] + halfWidth),
                     irr::core::round32(halfHeight - halfHeight * h[1] / h[3]));
}

position2di ScreenTruth::BodyCentre(irr::s32 index) const {
  const CGameToken *token = app.map.GetToken(index);
  const irr::core::aabbox3df box = token->GetMeshNode()->getTransformedBoundingBox();
  return Project(vector3df(token->GetWorldPosition().X, box.MinEdge.Y + 0.4f * (box.MaxEdge.Y - box.MinEdge.Y),
                           token->GetWorldPosition().Z));
}

bool ScreenTruth::NearestShowing(const Drawn &want, const position2di &start, int radius, int margin,
                                 position2di &found) const {
  const auto solid = [&](const position2di &p) {
    return At(p) == want && At(p + position2di(margin, 0)) == want && At(p - position2di(margin, 0)) == want &&
           At(p + position2di(0, margin)) == want && At(p - position2di(0, margin)) == want;
  };
  // Rings of growing distance (in the larger of the two offsets) around start.
  for (int r = 0; r <= radius; ++r)
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx) {
        if (std::max(std::abs(dx), std::abs(dy)) != r)
          continue;
        const position2di p = start + position2di(dx, dy);
        if (solid(p)) {
          found = p;
          return true;
        }
      }
  return false;
}

} // namespace testing_support
