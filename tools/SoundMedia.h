// The game's sounds, synthesised: a short wooden click for a move, a
// heavier knock for a capture and a soft tone for check, as 16-bit mono PCM
// in WAV files.
#pragma once

#include "tools/MediaFolder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mediagen {

constexpr unsigned kSoundRate = 22050;

std::vector<int16_t> MakeMoveClick();
std::vector<int16_t> MakeCaptureKnock();
std::vector<int16_t> MakeCheckTone();

// A RIFF/WAVE file of 16-bit mono PCM samples at the given rate.
std::string WavBytes(const std::vector<int16_t> &samples, unsigned rate);

// Writes "move.wav", "capture.wav" and "check.wav".
bool WriteSoundMedia(const CMediaFolder &folder);

} // namespace mediagen
