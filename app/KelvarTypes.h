// Value types shared by the rules, the game flow, the engine link and the scene.
#pragma once

#include <irrlicht.h>

// A board coordinate: X is the file (0 = "a"), Y the rank (0 = "1").
struct BoardSquare {
  irr::s32 X = 0;
  irr::s32 Y = 0;

  BoardSquare() = default;
  BoardSquare(irr::s32 x, irr::s32 y) : X(x), Y(y) {}

  bool operator==(const BoardSquare &o) const { return X == o.X && Y == o.Y; }
  bool operator!=(const BoardSquare &o) const { return !(*this == o); }
  BoardSquare operator+(const BoardSquare &step) const { return {X + step.X, Y + step.Y}; }
  bool IsOnBoard() const { return X >= 0 && X <= 7 && Y >= 0 && Y <= 7; }
};

// Colour codes; any non-zero colour counts as black where a resource is chosen.
enum TokenColor : irr::s32 { White = 0, Black = 1 };

inline irr::s32 OtherColor(irr::s32 c) { return c == White ? Black : White; }

// Piece kinds; the knight is the last code.
enum TokenType : irr::s32 { Pawn = 0, Rook = 1, Bishop = 2, Queen = 3, King = 4, Knight = 5 };

// Phases of the program.
enum GameState : irr::s32 { Startup = 0, None = 1, Idle = 2, LocalGame = 3 };

// Scene node ids: picking selects on them as id bit masks.
enum SceneNodeId : irr::s32 { ID_NODE_NONE = 0, ID_NODE_FIELD = 1, ID_NODE_TOKEN = 2 };
