// Playback of a RIFF WAVE held in memory, through SDL2's audio. Tests set
// SDL_AUDIODRIVER=dummy so that playback runs without a sound device.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace platform {

// The parts of a RIFF WAVE the player needs. Chunks other than "fmt " and
// "data" (LIST, metadata) are skipped.
struct WaveInfo {
  int channels = 0;
  int samplesPerSecond = 0;
  int bitsPerSample = 0;
  std::span<const std::uint8_t> samples;  // the "data" chunk, inside the input
};

// Parses a PCM RIFF WAVE (8 or 16 bits); nullopt when the bytes are not one
// (wrong signature, chunk running past the end, not PCM, no data chunk).
std::optional<WaveInfo> ParseWave(std::span<const std::uint8_t> bytes);

class SoundPlayer {
 public:
  SoundPlayer();   // audio is opened on the first Play
  ~SoundPlayer();  // stops playback and closes the audio device
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Starts playing the wave once and returns at once; a sound still
  // playing is cut off and replaced. The samples are copied, so the bytes
  // need not outlive the call. False when the wave does not parse or audio
  // cannot be opened (the caller carries on silently).
  bool Play(std::span<const std::uint8_t> wave);
  void Stop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
