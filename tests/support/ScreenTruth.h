// What the camera shows at a window pixel, worked out from the drawn
// triangles rather than from the game's own picking: every triangle of the
// fields and of the pieces in play is projected with the camera's matrices,
// and the nearest one covering the pixel is what the player sees there.
// Picking casts a ray instead, so the two agree only if picking follows the
// drawn surfaces.
#pragma once

#include "app/CApplication.h"

#include <string>
#include <vector>

namespace testing_support {

// What one pixel shows: a piece (token index) standing on a square, or a
// bare field (token -1); nothing at all when square is off the board.
struct Drawn {
  irr::s32 token = -1;
  BoardSquare square{-1, -1};

  bool operator==(const Drawn &o) const { return token == o.token && square == o.square; }
  bool operator!=(const Drawn &o) const { return !(*this == o); }
};

// "e4", or "nothing" off the board.
std::string PlaceName(const BoardSquare &s);
// "token 12 on e2", "e4" or "nothing".
std::string DrawnName(const Drawn &d);

class ScreenTruth {
public:
  // Takes the camera's matrices and every visible triangle as they stand (the
  // scene must have been drawn once since the camera last moved). With
  // trayPiecesHide, captured pieces standing beside the board count as
  // drawn too and show "nothing": a player never clicks through them.
  explicit ScreenTruth(bool trayPiecesHide = false);

  Drawn At(const irr::core::position2di &pixel) const;
  irr::core::position2di Project(const irr::core::vector3df &point) const;
  // The pixel where a piece's body is drawn if nothing stands before it: on
  // the piece's axis, two fifths up its height.
  irr::core::position2di BodyCentre(irr::s32 token) const;
  // The pixel nearest to start (at most radius away) that shows want, with
  // the pixels margin away on all four sides showing it too, so that a click
  // there is not a one-pixel guess. False when there is none.
  bool NearestShowing(const Drawn &want, const irr::core::position2di &start, int radius, int margin,
                      irr::core::position2di &found) const;

private:
  struct Triangle {
    float sx[3], sy[3], invW[3];
    float minX, maxX, minY, maxY;
  };
  struct Surface {
    Drawn drawn;
    float minX, maxX, minY, maxY; // screen rectangle of all its triangles
    std::vector<Triangle> triangles;
  };

  void AddNode(irr::scene::IAnimatedMeshSceneNode *node, const Drawn &drawn);

  irr::core::matrix4 viewProjection;
  float halfWidth = 0, halfHeight = 0;
  std::vector<Surface> surfaces;
};

} // namespace testing_support
