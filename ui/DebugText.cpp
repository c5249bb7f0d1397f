#include "ui/DebugText.h"

#include "app/KelvarTypes.h"

#include <cwchar>

using namespace irr;

const wchar_t *GameStateWord(s32 state) {
  switch (state) {
  case None:
    return L"none";
  case Idle:
    return L"idle";
  case LocalGame:
    return L"localgame";
  default: // the start-up phase included
    return L"#undefined#";
  }
}

const wchar_t *ActivePlayerWord(s32 color) {
  switch (color) {
  case White:
    return L"white";
  case Black:
    return L"black";
  default:
    return L"";
  }
}

const wchar_t *FormatDebugText(const DebugValues &v, wchar_t *buffer, std::size_t size) {
  if (!buffer || size == 0)
    return buffer;
  // Wide swprintf reads %s as a narrow string on this platform: the words are
  // wide, so they go in with %ls.
  const int written = swprintf(
      buffer, size,
      L"%ix%i@%i\nFPS: %i\nCamPos: %.1f %.1f %.1f\nCamRot: %.1f, %.1f, %.1f\n"
      L"CamLookAt: %.1f, %.1f, %.1f\nPrimitives: %i\nMeshCache: %i\n"
      L"MouseButtons: %i/%i\nGame State: %ls\nActive Player: %ls\n"
      L"SelTokenAt: %.1f, %.1f, %.1f\n",
      v.width, v.height, v.colorBits, v.fps, double(v.cameraPosition.X), double(v.cameraPosition.Y),
      double(v.cameraPosition.Z), double(v.cameraRotation.X), double(v.cameraRotation.Y), double(v.cameraRotation.Z),
      double(v.cameraTarget.X), double(v.cameraTarget.Y), double(v.cameraTarget.Z), int(v.primitives), int(v.meshCount),
      v.leftButton ? 1 : 0, v.rightButton ? 1 : 0, GameStateWord(v.gameState), ActivePlayerWord(v.activePlayer),
      double(v.selectedTokenPosition.X), double(v.selectedTokenPosition.Y), double(v.selectedTokenPosition.Z));
  // swprintf reports a text that does not fit as an error and leaves the
  // buffer's content unspecified: end it where the buffer ends.
  if (written < 0)
    buffer[size - 1] = L'\0';
  return buffer;
}
