// Decoding of the program's pictures (PNG through libpng, JPEG through
// libjpeg) from bytes held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

// Pixels top row first, four bytes per pixel in the order R, G, B, A, alpha
// not premultiplied. Pictures without alpha get A = 255.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes
};

// Detects the format by its signature. nullopt for anything else, for a
// damaged picture, or for one larger than 16384 pixels on a side.
std::optional<RgbaImage> DecodeImage(std::span<const std::uint8_t> bytes);

}  // namespace platform
