#include "game/CGameSounds.h"

#include "app/CApplication.h"
#include "platform/Platform.h"

using namespace irr;

namespace {

const uint32_t MATE_TONE_HZ = 2500, MATE_TONE_MS = 1000;

const char *const MOVE_SOUND = "./media/move.wav";
const char *const CAPTURE_SOUND = "./media/capture.wav";
const char *const CHECK_SOUND = "./media/check.wav";

} // namespace

void CGameSounds::MovePlayed(size_t capturesBefore, s32 color) {
  if (!app.settings.Get().sound)
    return;
  platform::PlaySound(app.map.GetCaptureOrder().size() > capturesBefore ? CAPTURE_SOUND : MOVE_SOUND);
  // Check, but not mate, which has its own tone.
  const s32 opponent = OtherColor(color);
  s32 king;
  if (app.map.IsKingAttacked(app.map.GetTokens(), opponent, king) && !app.map.IsMate(opponent))
    platform::PlaySound(CHECK_SOUND);
}

void CGameSounds::Checkmate() {
  if (app.settings.Get().sound)
    platform::PlaySamples(platform::MakeTone(MATE_TONE_HZ, MATE_TONE_MS));
}
