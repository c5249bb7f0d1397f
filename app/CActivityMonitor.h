// Tells the frame loop whether the picture can have changed since its last
// pass: input arrived, an animation is running, a window of the interface
// asks for live redraws, or the visible state of the game moved on (a new
// phase, the engine's move, a selection, a dialog coming or going).
#pragma once

#include <irrlicht.h>

#include <cstdint>
#include <vector>

class CActivityMonitor {
public:
  bool Init() { return true; }
  void Update() {}
  void Exit() {}

  // Counts one input event; called by the event routing for every event.
  void NoteInput() { ++inputEvents; }

  // True when anything since the previous call can change the picture.
  bool Poll();

  // True when a visible node in the subtree has an animator still running.
  // Animators driven only by input (the camera's mouse control) do not count:
  // they move nothing between events, and the events count already. An
  // animator on a hidden node does not run, so it does not count either.
  static bool HasRunningAnimators(const irr::scene::ISceneNode *node);

private:
  // What the game shows, boiled down to numbers; a change means a new frame.
  static std::vector<irr::f32> VisibleState();

  uint32_t inputEvents = 0;
  uint32_t inputEventsSeen = 0;
  std::vector<irr::f32> lastState;
};
