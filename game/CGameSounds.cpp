#include "game/CGameSounds.h"

#include "app/CApplication.h"
#include "chess/Position.h"
#include "platform/Platform.h"

using namespace irr;

namespace {

const uint32_t MATE_TONE_HZ = 2500, MATE_TONE_MS = 1000;

const char *const MOVE_SOUND = "./media/move.wav";
const char *const CAPTURE_SOUND = "./media/capture.wav";
const char *const CHECK_SOUND = "./media/check.wav";

} // namespace

void CGameSounds::MovePlayed(bool capture, const chess::Position &after) {
  if (!app.settings.Get().sound)
    return;
  platform::PlaySound(capture ? CAPTURE_SOUND : MOVE_SOUND);
  // Check, but not mate, which has its own tone.
  if (after.IsInCheck() && !after.IsCheckmate())
    platform::PlaySound(CHECK_SOUND);
}

void CGameSounds::Checkmate() {
  if (app.settings.Get().sound)
    platform::PlaySamples(platform::MakeTone(MATE_TONE_HZ, MATE_TONE_MS));
}
