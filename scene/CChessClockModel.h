// The chess clock standing on the table beside the board: a wooden case with
// a slanted front plate carrying two digital faces, and one button on top
// per side. White's face and button are at the end nearer White.
#pragma once

#include <irrlicht.h>

#include <string>

class CChessClockModel {
public:
  // The most characters a face shows; a longer text keeps its last ones.
  static constexpr int FACE_SLOTS = 8;

  CChessClockModel() = default;
  CChessClockModel(const CChessClockModel &) = delete;
  CChessClockModel &operator=(const CChessClockModel &) = delete;

  // Places the clock beside the board from its media files; false, with a
  // log line (LogMessage from app/CApplication.h), when a file is missing: the
  // game then goes on without the clock on the table.
  bool Init();
  void Exit();
  // The room the clock takes on the table, in the world, shown or not.
  static irr::core::aabbox3df TableBox();
  // Shown only while a game runs under a time control.
  void SetVisible(bool visible);
  bool IsVisible() const;
  // The faces' texts (as chess::ClockFaceText gives them: "1:30:00", "4:57",
  // "0:09.3"; at most 7 characters of "0123456789:." ), the side whose button
  // is up / time runs (0 White, 1 Black, -1 none: both buttons level), and the
  // side whose time is out (-1 none): its face turns red / its flag shows.
  void Show(const std::string &whiteFace, const std::string &blackFace, int running, int flagged);

  // The scene nodes, for tests and for judging the placement: the node that
  // carries the whole clock, and a side's face (its glyph quads) and button.
  irr::scene::ISceneNode *GetRootNode() const { return root; }
  irr::scene::IMeshSceneNode *GetFaceNode(int side) const { return faces[side == 0 ? 0 : 1]; }
  irr::scene::ISceneNode *GetButtonNode(int side) const { return buttons[side == 0 ? 0 : 1]; }

private:
  // Makes a side's face: a dark background quad and FACE_SLOTS glyph quads.
  bool CreateFace(int side);
  // Lays the texts out on both faces with one glyph size that fits the wider.
  void LayOutFaces();

  irr::scene::ISceneNode *root = nullptr;
  irr::scene::IMeshSceneNode *faces[2] = {nullptr, nullptr};
  irr::scene::ISceneNode *buttons[2] = {nullptr, nullptr};
  irr::video::ITexture *digits = nullptr;
  irr::video::ITexture *redDigits = nullptr;
  std::string shownText[2];
  bool laidOut = false;
};
