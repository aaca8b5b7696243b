// Sound services; see sound.h. SDL's WAVE loader reads the wave from memory
// and its samples are queued on an SDL2 audio device opened once, for the
// first wave's format, which SDL converts to what the device plays.
#include "platform/sound.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/standard_error.h"

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
  enum class Audio { NotTried, Open, Unavailable };
  Audio audio = Audio::NotTried;
  bool sdlStarted = false;
  SDL_AudioDeviceID device = 0;
  SDL_AudioSpec opened{};  // what the device was opened for
};

SoundPlayer::SoundPlayer() : state_(std::make_unique<State>()) {}

SoundPlayer::~SoundPlayer() {
  if (state_->device != 0) SDL_CloseAudioDevice(state_->device);
  if (state_->sdlStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SoundPlayer::OpenAudio(const Wave& wave) {
  State& s = *state_;
  // SDL would catch SIGINT and SIGTERM to queue a quit event that nothing
  // here reads, and the program would no longer end on them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // What the audio libraries print while they look for a device (ALSA
  // writes several lines for each one it cannot open) is held back, for
  // the few milliseconds this takes; what another thread writes meanwhile
  // shares its fate.
  StandardErrorCapture libraries;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    s.sdlStarted = true;
    SDL_AudioSpec want{};
    want.freq = wave.samplesPerSecond();
    want.format = wave.sdlFormat();
    want.channels = static_cast<Uint8>(wave.channels());
    want.samples = 1024;
    // No changes allowed: SDL converts this format for the device.
    s.device = SDL_OpenAudioDevice(nullptr, 0, &want, &s.opened, 0);
  }
  const std::string printed = libraries.End();
  if (s.device != 0) {
    // A device that opens keeps whatever the libraries had to say.
    std::fputs(printed.c_str(), stderr);
    s.audio = State::Audio::Open;
    return true;
  }
  // Without a device the program stays silent: one line says so, instead
  // of the libraries' lines at every sound.
  std::fprintf(stderr, "sound: no audio device (%s); no sound is played in this run\n",
               SDL_GetError());
  std::fflush(stderr);
  if (s.sdlStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  s.sdlStarted = false;
  s.audio = State::Audio::Unavailable;
  return false;
}

bool SoundPlayer::Play(std::span<const std::uint8_t> bytes) {
  State& s = *state_;
  if (s.audio == State::Audio::Unavailable) return false;
  const std::optional<Wave> wave = Wave::Load(bytes);
  if (!wave) return false;
  if (s.audio == State::Audio::NotTried && !OpenAudio(*wave)) return false;
  // Whole frames only; a cut-off last frame would shift every later one.
  const std::size_t frame = static_cast<std::size_t>(wave->channels()) *
                            static_cast<std::size_t>(wave->bitsPerSample()) / 8;
  const std::size_t length = frame == 0 ? 0 : wave->samples().size() / frame * frame;
  // The device stays open for the format it was opened for; a wave of
  // another format is converted to it.
  SDL_AudioCVT cvt{};
  const int conversion = SDL_BuildAudioCVT(
      &cvt, wave->sdlFormat(), static_cast<Uint8>(wave->channels()), wave->samplesPerSecond(),
      s.opened.format, s.opened.channels, s.opened.freq);
  if (conversion < 0 || length > 0x7FFFFFFF / static_cast<std::size_t>(std::max(cvt.len_mult, 1)))
    return false;
  std::vector<std::uint8_t> converted;
  const std::uint8_t* queued = wave->samples().data();
  std::size_t queuedLength = length;
  if (conversion == 1 && length > 0) {
    converted.assign(length * static_cast<std::size_t>(cvt.len_mult), 0);
    std::memcpy(converted.data(), queued, length);
    cvt.buf = converted.data();
    cvt.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&cvt) != 0) return false;
    queued = converted.data();
    queuedLength = static_cast<std::size_t>(cvt.len_cvt);
  }
  SDL_ClearQueuedAudio(s.device);
  if (queuedLength > 0 && SDL_QueueAudio(s.device, queued, static_cast<Uint32>(queuedLength)) != 0)
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
