// The text of the "Debug Data" window, built from plain values so that its
// exact form can be checked without a running program.
#pragma once

#include <irrlicht.h>

#include <cstddef>

struct DebugValues {
  irr::s32 width = 0, height = 0, colorBits = 0;
  irr::s32 fps = 0;
  irr::core::vector3df cameraPosition, cameraRotation, cameraTarget;
  irr::u32 primitives = 0;
  irr::u32 meshCount = 0;
  bool leftButton = false, rightButton = false;
  irr::s32 gameState = 0;
  irr::s32 activePlayer = 0;
  irr::core::vector3df selectedTokenPosition;
};

// "none", "idle", "localgame" for the states 1, 2, 3; "#undefined#" otherwise.
const wchar_t *GameStateWord(irr::s32 state);
// "white" for 0, "black" for 1, an empty word otherwise.
const wchar_t *ActivePlayerWord(irr::s32 color);
// Writes the window's text into buffer (size wide characters, always
// terminated); a text too long for it is cut. Returns buffer.
const wchar_t *FormatDebugText(const DebugValues &values, wchar_t *buffer, std::size_t size);
