// Sound services; see sound.h. SDL's WAVE loader reads the wave from memory
// and its samples are queued on an SDL2 audio device opened for the wave's
// own format, which SDL converts to what the device plays.
#include "platform/sound.h"

#include <SDL.h>

#include <utility>

namespace platform {

std::optional<Wave> Wave::Load(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return std::nullopt;
  SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (source == nullptr) return std::nullopt;
  SDL_AudioSpec fileFormat{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  // freesrc = 1: the loader closes the source whatever happens.
  if (SDL_LoadWAV_RW(source, 1, &fileFormat, &data, &length) == nullptr) return std::nullopt;
  Wave wave;
  wave.channels_ = fileFormat.channels;
  wave.rate_ = fileFormat.freq;
  wave.bits_ = SDL_AUDIO_BITSIZE(fileFormat.format);
  wave.format_ = fileFormat.format;
  wave.data_ = data;
  wave.length_ = length;
  return wave;
}

Wave::Wave(Wave&& other) noexcept
    : channels_(other.channels_),
      rate_(other.rate_),
      bits_(other.bits_),
      format_(other.format_),
      data_(std::exchange(other.data_, nullptr)),
      length_(std::exchange(other.length_, 0)) {}

Wave& Wave::operator=(Wave&& other) noexcept {
  if (this != &other) {
    if (data_ != nullptr) SDL_FreeWAV(data_);
    channels_ = other.channels_;
    rate_ = other.rate_;
    bits_ = other.bits_;
    format_ = other.format_;
    data_ = std::exchange(other.data_, nullptr);
    length_ = std::exchange(other.length_, 0);
  }
  return *this;
}

Wave::~Wave() {
  if (data_ != nullptr) SDL_FreeWAV(data_);
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

bool SoundPlayer::Play(std::span<const std::uint8_t> bytes) {
  const std::optional<Wave> wave = Wave::Load(bytes);
  if (!wave) return false;
  State& s = *state_;
  if (!s.sdlStarted) {
    // SDL would catch SIGINT and SIGTERM to queue a quit event that nothing
    // here reads, and the program would no longer end on them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    s.sdlStarted = true;
  }
  const bool sameFormat = s.device != 0 && s.opened.freq == wave->samplesPerSecond() &&
                          s.opened.format == wave->sdlFormat() &&
                          s.opened.channels == wave->channels();
  if (!sameFormat) {
    if (s.device != 0) SDL_CloseAudioDevice(s.device);
    SDL_AudioSpec want{};
    want.freq = wave->samplesPerSecond();
    want.format = wave->sdlFormat();
    want.channels = static_cast<Uint8>(wave->channels());
    want.samples = 1024;
    // No changes allowed: SDL converts the wave's format for the device.
    s.device = SDL_OpenAudioDevice(nullptr, 0, &want, &s.opened, 0);
    if (s.device == 0) return false;
  }
  // Whole frames only; a cut-off last frame would shift every later one.
  const std::size_t frame = static_cast<std::size_t>(wave->channels()) *
                            static_cast<std::size_t>(wave->bitsPerSample()) / 8;
  const std::size_t length = frame == 0 ? 0 : wave->samples().size() / frame * frame;
  SDL_ClearQueuedAudio(s.device);
  if (length > 0 &&
      SDL_QueueAudio(s.device, wave->samples().data(), static_cast<Uint32>(length)) != 0)
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
