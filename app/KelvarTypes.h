// Value types shared by the game flow, the engine link and the scene. The
// chess values (squares, colours, piece kinds, moves) come from the chess
// core; the game knows them under the names it has always used.
#pragma once

#include "chess/Move.h"

#include <irrlicht.h>

// A board coordinate: X is the file (0 = "a"), Y the rank (0 = "1").
using BoardSquare = chess::Square;
using chess::OtherColor;
using chess::SquareName;

// Colour codes; any non-zero colour counts as black where a resource is chosen.
using TokenColor = chess::Color;
using chess::Black;
using chess::White;

// Piece kinds; the knight is the last code.
using TokenType = chess::PieceType;
using chess::Bishop;
using chess::King;
using chess::Knight;
using chess::Pawn;
using chess::Queen;
using chess::Rook;

// Phases of the program.
enum GameState : irr::s32 { Startup = 0, None = 1, Idle = 2, LocalGame = 3 };

// Scene node ids: picking selects on them as id bit masks.
enum SceneNodeId : irr::s32 { ID_NODE_NONE = 0, ID_NODE_FIELD = 1, ID_NODE_TOKEN = 2 };
