// Playback of a RIFF WAVE held in memory, through SDL2's audio. Tests set
// SDL_AUDIODRIVER=dummy so that playback runs without a sound device.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace platform {

// A WAVE decoded by SDL's own loader (SDL_LoadWAV_RW over the bytes held
// in memory): its format and its samples, owned. Chunks other than "fmt "
// and "data" (LIST, metadata) are skipped by the loader.
class Wave {
 public:
  // nullopt when SDL does not take the bytes as a WAVE it can play.
  static std::optional<Wave> Load(std::span<const std::uint8_t> bytes);

  Wave(Wave&&) noexcept;
  Wave& operator=(Wave&&) noexcept;
  ~Wave();

  int channels() const { return channels_; }
  int samplesPerSecond() const { return rate_; }
  int bitsPerSample() const { return bits_; }
  std::uint16_t sdlFormat() const { return format_; }  // SDL_AudioFormat
  std::span<const std::uint8_t> samples() const { return {data_, length_}; }

 private:
  Wave() = default;
  int channels_ = 0;
  int rate_ = 0;
  int bits_ = 0;
  std::uint16_t format_ = 0;
  std::uint8_t* data_ = nullptr;  // allocated by SDL, freed with SDL_FreeWAV
  std::size_t length_ = 0;
};

class SoundPlayer {
 public:
  SoundPlayer();   // audio is opened on the first Play
  ~SoundPlayer();  // stops playback and closes the audio device
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Starts playing the wave once and returns at once; a sound still
  // playing is cut off and replaced. The samples are copied, so the bytes
  // need not outlive the call. False when SDL does not load the wave or
  // audio cannot be opened (the caller carries on silently).
  bool Play(std::span<const std::uint8_t> wave);
  void Stop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
