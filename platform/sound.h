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

// The audio device is opened once, at the first Play, for that wave's
// format. When it cannot be opened (a machine without a sound card), one
// line on standard error says so, the audio libraries' own complaints are
// not shown, and the player stays silent for the rest of its life without
// trying again.
class SoundPlayer {
 public:
  SoundPlayer();
  ~SoundPlayer();  // stops playback and closes the audio device
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Starts playing the wave once and returns at once; a sound still
  // playing is cut off and replaced. A wave of another format than the
  // first is converted for the open device. The samples are copied, so the
  // bytes need not outlive the call. False when SDL does not load the wave
  // or there is no audio device (the caller carries on silently).
  bool Play(std::span<const std::uint8_t> wave);
  void Stop();

 private:
  bool OpenAudio(const Wave& wave);
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
