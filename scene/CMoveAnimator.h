// One piece's journey across the board: a glide from one point to another
// with eased speed, optionally in an arc and after a delay, ending where and
// how the board wants the piece to stay (placed elsewhere, hidden).
#pragma once

#include <irrlicht.h>

class CMoveAnimator : public irr::scene::ISceneNodeAnimator {
public:
  // How long one move takes on screen, in milliseconds.
  static constexpr irr::u32 MOVE_MS = 330;
  // How high a knight's arc rises at its middle.
  static constexpr irr::f32 KNIGHT_ARC = 8.f;
  // How deep a captured piece sinks before it leaves the board.
  static constexpr irr::f32 SINK_DEPTH = 14.f;

  struct Path {
    irr::core::vector3df from;
    irr::core::vector3df to;
    irr::u32 startMs = 0; // device time at which the journey begins
    irr::u32 durationMs = MOVE_MS;
    irr::f32 arc = 0; // extra height at the middle of the journey
    // Where the node is put once the journey is over, and whether it is
    // then still seen; a glide simply stays at `to`.
    irr::core::vector3df rest;
    bool visibleAtRest = true;
    irr::f32 restScale = 1.f;
  };

  explicit CMoveAnimator(const Path &path) : path(path) {}

  // The point of the journey at a device time: `from` before the start,
  // `to` from the end on, eased in between and lifted by the arc.
  static irr::core::vector3df PositionAt(const Path &path, irr::u32 timeMs);
  // Smoothstep easing of a fraction in 0..1: slow start, slow landing.
  static irr::f32 Ease(irr::f32 t);

  const Path &GetPath() const { return path; }
  // The journey on a node, or null when it has none.
  static CMoveAnimator *Of(irr::scene::ISceneNode *node);

  void animateNode(irr::scene::ISceneNode *node, irr::u32 timeMs) override;
  bool hasFinished() const override { return finished; }
  irr::scene::ISceneNodeAnimator *createClone(irr::scene::ISceneNode *node,
                                              irr::scene::ISceneManager *newManager = 0) override;

  // Puts a fresh journey on the node in place of its animators, with the
  // node shown at its starting point at once. Null node: nothing happens.
  static void Start(irr::scene::ISceneNode *node, const Path &path);

private:
  Path path;
  bool finished = false;
};
