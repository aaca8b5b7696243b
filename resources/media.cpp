#include "resources/media.h"

#include <string_view>

std::string_view EmbeddedPromptSoundFile();  // generated from prompt_sound.wav

namespace {

std::span<const std::uint8_t> AsBytes(std::string_view bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

}  // namespace

std::span<const std::uint8_t> EmbeddedPicture(std::string_view fileName) {
  for (const auto& [name, bytes] : EmbeddedPictureTable()) {
    if (name == fileName) return AsBytes(bytes());
  }
  return {};
}

std::span<const std::uint8_t> EmbeddedPromptSound() {
  return AsBytes(EmbeddedPromptSoundFile());
}
