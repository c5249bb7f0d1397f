// The glossy board: the pieces standing on the squares mirror faintly in
// them. Each frame the pieces (not the board, sky or trays) are drawn from
// the camera mirrored in the board's plane into a texture cleared to
// transparent, on a stage of their own (a second scene manager sharing the
// meshes); a thin overlay just above the squares shows that texture, each of
// its vertices looking up the texel the main camera sees it at, blended so
// faintly that only the mirror images tint the wood. The overlay carries id
// 0: picking never hits it. Without render targets (the null driver) the
// overlay stays hidden.
//
// Whether a machine affords the reflections is told by timing the first
// frames drawn with them (FrameTimeProbe) when the settings leave it open.
#pragma once

#include <irrlicht.h>

#include <chrono>
#include <vector>

class CBoardReflection {
public:
  // The board's squares lie in the plane y = PLANE_Y; the overlay covers
  // them (80 x 80 units around the centre) OVERLAY_LIFT above it, as a grid
  // of GRID x GRID cells.
  static constexpr irr::f32 PLANE_Y = 0.f;
  static constexpr irr::f32 OVERLAY_LIFT = 0.02f;
  static constexpr irr::f32 HALF_SIZE = 40.f;
  static constexpr irr::s32 GRID = 16;
  // The overlay's alpha: the mirror images show at about a quarter of their strength.
  static constexpr irr::u32 OVERLAY_ALPHA = 64;
  // The largest side of the mirror texture.
  static constexpr irr::u32 MAX_TARGET_SIDE = 1024;

  // Times the drawing of the first frames with reflections: after SETTLE
  // frames (textures load, buffers fill) it takes SAMPLES frame times and
  // then tells their median. The program compares that with a 60 fps frame.
  class FrameTimeProbe {
  public:
    static constexpr int SETTLE = 10;
    static constexpr int SAMPLES = 120;
    static constexpr double FRAME_MS = 1000.0 / 60.0;
    // One frame's drawing took ms; true when this was the last sample needed.
    bool Add(double ms);
    bool IsDone() const { return int(samples.size()) >= SAMPLES; }
    // The median of the samples taken so far (0 without any).
    double MedianMs() const;
    // Done, and the median frame takes longer than a 60 fps frame allows.
    bool TooSlow() const { return IsDone() && MedianMs() > FRAME_MS; }

  private:
    int skipped = 0;
    std::vector<double> samples;
  };

  // Makes the overlay (hidden until there is a texture to show) and the
  // stage, and takes the setting: reflections on or off as the settings say,
  // or on and timed while the settings leave them open. True also without
  // render targets.
  bool Init();
  void Exit();

  // Turns the reflections on or off for this run (a chosen setting: any
  // timing still under way stops).
  void SetEnabled(bool on);
  bool IsEnabled() const { return enabled; }
  // Whether the first frames are being timed to decide.
  bool IsProbing() const { return probing; }

  // Draws the pieces' mirror images into the texture and brings the overlay
  // up to date with the camera and the window. Called inside the frame,
  // before the scene is drawn.
  void Render();
  // The frame whose drawing began at start is drawn up to its swap. While
  // probing, a frame drawn with the reflections outside the start-up phase
  // (whose splash shows the shadows) waits until the driver has finished it
  // and counts its time, the swap's wait for the screen left out; after the
  // last sample the reflections stay on or go off for this run, logged.
  void FrameDrawn(std::chrono::steady_clock::time_point start);

  // Recomputes the overlay's texture coordinates for the camera and the
  // window size if either changed since the last time.
  void UpdateOverlay(const irr::scene::ICameraSceneNode *camera, const irr::core::dimension2du &screen);

  // The camera placement mirrored in the board's plane: position and target
  // reflected, and the up direction too, so that the view is the main one's
  // of the mirrored world, flipped left to right.
  struct View {
    irr::core::vector3df position, target, up;
  };
  static View Mirror(const View &view);
  // Where the main camera's view-projection puts a point of the board's
  // plane in the mirror texture (its view flipped left to right), 0..1.
  static irr::core::vector2df TextureCoord(const irr::core::matrix4 &viewProjection, const irr::core::vector3df &point);
  // The mirror texture's size for a window: half its size, each side the
  // power of two at or above that, at most MAX_TARGET_SIDE.
  static irr::core::dimension2du TargetSize(const irr::core::dimension2du &screen);

  // The stage's nodes follow the pieces in play: mesh (the kind's low-polygon
  // one), place, turn, size and materials; a captured piece's node is hidden.
  void FollowPieces();

  irr::scene::IMeshSceneNode *GetOverlay() const { return overlay; }
  irr::video::ITexture *GetTarget() const { return target; }
  // The stage's nodes by token index (null for a token never shown).
  const std::vector<irr::scene::IAnimatedMeshSceneNode *> &GetMirroredPieces() const { return pieces; }

private:
  void ReleaseTarget();
  void TurnOff();
  void Decide();

  bool enabled = false;
  bool probing = false;
  FrameTimeProbe probe;
  irr::scene::IMeshSceneNode *overlay = nullptr;
  irr::scene::ISceneManager *stage = nullptr;
  irr::scene::ICameraSceneNode *mirrorCamera = nullptr;
  irr::scene::ILightSceneNode *stageLight = nullptr;
  std::vector<irr::scene::IAnimatedMeshSceneNode *> pieces;
  irr::video::ITexture *target = nullptr;
  // What the overlay's texture coordinates were computed for.
  irr::core::matrix4 shownViewProjection;
  irr::core::dimension2du shownScreen;
  bool overlayCurrent = false;
  bool drawnThisFrame = false;
};
