// Sound services; see sound.h. The wave is parsed here and its PCM samples
// are queued on an SDL2 audio device, which SDL converts to what the device
// plays.
#include "platform/sound.h"

#include <SDL.h>

#include <cstring>

namespace platform {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}
std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
bool IsId(const std::uint8_t* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

}  // namespace

std::optional<WaveInfo> ParseWave(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 12 || !IsId(bytes.data(), "RIFF") || !IsId(bytes.data() + 8, "WAVE"))
    return std::nullopt;
  const std::uint64_t riffEnd = std::uint64_t{Le32(bytes.data() + 4)} + 8;
  if (riffEnd > bytes.size()) return std::nullopt;

  WaveInfo info;
  bool haveFormat = false;
  bool haveData = false;
  std::uint64_t at = 12;
  while (at + 8 <= riffEnd) {
    const std::uint8_t* chunk = bytes.data() + at;
    const std::uint64_t size = Le32(chunk + 4);
    const std::uint64_t body = at + 8;
    if (body + size > riffEnd) return std::nullopt;
    if (IsId(chunk, "fmt ")) {
      if (size < 16) return std::nullopt;
      const std::uint8_t* f = chunk + 8;
      std::uint16_t tag = Le16(f);
      if (tag == kFormatExtensible) {
        // The real format is the first two bytes of the sub-format GUID.
        if (size < 40 || Le16(f + 16) < 22) return std::nullopt;
        tag = Le16(f + 24);
      }
      if (tag != kFormatPcm) return std::nullopt;
      info.channels = Le16(f + 2);
      info.samplesPerSecond = static_cast<int>(Le32(f + 4));
      info.bitsPerSample = Le16(f + 14);
      if (info.channels < 1 || info.channels > 8 || info.samplesPerSecond <= 0 ||
          (info.bitsPerSample != 8 && info.bitsPerSample != 16))
        return std::nullopt;
      haveFormat = true;
    } else if (IsId(chunk, "data") && !haveData) {
      info.samples = bytes.subspan(static_cast<std::size_t>(body), static_cast<std::size_t>(size));
      haveData = true;
    }
    at = body + size + (size & 1);  // chunks are padded to an even size
  }
  if (!haveFormat || !haveData) return std::nullopt;
  return info;
}

struct SoundPlayer::State {
  bool sdlStarted = false;
  SDL_AudioDeviceID device = 0;
  SDL_AudioSpec opened{};  // what the device was opened for
};

SoundPlayer::SoundPlayer() : state_(std::make_unique<State>()) {}

SoundPlayer::~SoundPlayer() {
  if (state_->device != 0) SDL_CloseAudioDevice(state_->device);
  if (state_->sdlStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SoundPlayer::Play(std::span<const std::uint8_t> wave) {
  const std::optional<WaveInfo> info = ParseWave(wave);
  if (!info) return false;
  State& s = *state_;
  if (!s.sdlStarted) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    s.sdlStarted = true;
  }
  const SDL_AudioFormat format = info->bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  const bool sameFormat = s.device != 0 && s.opened.freq == info->samplesPerSecond &&
                          s.opened.format == format && s.opened.channels == info->channels;
  if (!sameFormat) {
    if (s.device != 0) SDL_CloseAudioDevice(s.device);
    SDL_AudioSpec want{};
    want.freq = info->samplesPerSecond;
    want.format = format;
    want.channels = static_cast<Uint8>(info->channels);
    want.samples = 1024;
    // No changes allowed: SDL converts the wave's format for the device.
    s.device = SDL_OpenAudioDevice(nullptr, 0, &want, &s.opened, 0);
    if (s.device == 0) return false;
  }
  // Whole frames only; a cut-off last frame would shift every later one.
  const std::size_t frame = static_cast<std::size_t>(info->channels * info->bitsPerSample / 8);
  const std::size_t length = info->samples.size() / frame * frame;
  SDL_ClearQueuedAudio(s.device);
  if (length > 0 &&
      SDL_QueueAudio(s.device, info->samples.data(), static_cast<Uint32>(length)) != 0)
    return false;
  SDL_PauseAudioDevice(s.device, 0);
  return true;
}

void SoundPlayer::Stop() {
  if (state_->device == 0) return;
  SDL_ClearQueuedAudio(state_->device);
  SDL_PauseAudioDevice(state_->device, 1);
}

}  // namespace platform
