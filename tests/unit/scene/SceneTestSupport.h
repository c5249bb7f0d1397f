// Helpers of the scene tests: a small scene of box-shaped pieces and fields
// on the null driver, and a game of the chess core that the board follows
// move by move, as the game controller has it follow.
#pragma once

#include "app/CApplication.h"
#include "chess/CGameRecord.h"
#include "game/CShownGame.h"
#include "scene/CGameToken.h"
#include "scene/CMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scene_testing {

// "e4" -> (4, 3).
BoardSquare Sq(const char *name);
std::string Name(const BoardSquare &s);

// Index of the uncaptured token on the square, -1 for none.
irr::s32 TokenOn(const CMap &map, const char *square);

// The game the board shows, as the game controller has it.
CShownGame &Shown();
// Its record.
const chess::CGameRecord &Game();
// Sets the game and the board up at the position of fen.
void SetUp(const char *fen);
// Plays from-to in the game and shows it on the board, the mover selected
// with its targets first as a click selects it; false if refused.
bool Play(const char *from, const char *to, irr::s32 promotion = Queen);
// Plays moves given as "e2e4 e7e5 ..."; stops at the first refused one.
bool PlayLine(const std::string &moves);
// Takes the last move back in the game and on the board.
bool Undo();

// Everything about the board's tokens the game can change, for before/after checks.
std::string DescribeBoard(const CMap &map);

// Writes box meshes for fields, labels, pieces and the marker, and the four
// token textures, into a fresh temporary folder's media/ and makes that the
// working directory. Needs the null device (it writes images through it).
void WriteFixtureMedia();

// Null device, the camera rig and the board's fields, labels and pieces made
// from the fixture media, then a new game on the board.
void StartBoardScene();

// Runs frames until no piece of the board is travelling any more (three
// seconds at the most); false if one still is.
bool FinishAnimations();

// A test on the board scene of StartBoardScene, with positions set by FEN.
class BoardSceneFixture : public testing::Test {
protected:
  void SetUp() override { StartBoardScene(); }
  static void Load(const char *fen) { scene_testing::SetUp(fen); }
};

// Puts the mouse pointer over a world position as the scene camera sees it.
void PointAt(const irr::core::vector3df &world);

} // namespace scene_testing
