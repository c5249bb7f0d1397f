// Helpers of the rules tests: boards without a scene set up from FEN, and a
// small scene of box-shaped pieces and fields on the null driver.
#pragma once

#include "app/CApplication.h"
#include "rules/CGameToken.h"
#include "rules/FenPosition.h"
#include "rules/PgnGame.h"
#include "scene/CMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rules_testing {

// "e4" -> (4, 3).
BoardSquare Sq(const char *name);
std::string Name(const BoardSquare &s);

// Index of the uncaptured token on the square, -1 for none.
irr::s32 TokenOn(const CMap &map, const char *square);
// The token's legal targets, in list order, as square names.
std::vector<std::string> TargetsOf(const CMap &map, const char *square);
// Selects the token on from and plays it to to; false if refused.
bool Play(CMap &map, const char *from, const char *to, bool *promoted = nullptr);
// Plays moves given as "e2e4 e7e5 ..."; stops at the first refused one.
bool PlayLine(CMap &map, const std::string &moves);

// A game of pseudo-random legal moves from fen (empty: the standard start),
// up to plies long; the result follows the end reached (mate, stalemate) or
// stays open. Tagged as Kelvar tags its games.
PgnGame RandomGame(const std::string &fen, int plies, unsigned seed);

// Everything about a board the rules can change, for before/after checks.
std::string DescribeBoard(const CMap &map);

// A board of its own with token objects but no scene, set to a position.
struct FenBoard {
  CMap map;
  irr::s32 side = White;
  explicit FenBoard(const char *fen) {
    map.InitGameTokens();
    std::string error;
    EXPECT_TRUE(LoadFen(map, fen, side, error)) << fen << ": " << error;
  }
};

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
  static void Load(const char *fen) {
    irr::s32 side;
    std::string error;
    ASSERT_TRUE(LoadFen(app.map, fen, side, error)) << error;
  }
};

// Puts the mouse pointer over a world position as the scene camera sees it.
void PointAt(const irr::core::vector3df &world);

} // namespace rules_testing
