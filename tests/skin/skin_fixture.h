// Shared set-up of the skin tests: a headless runtime with the module
// started, a text rasteriser that draws each character as a solid block
// (so that text shows in composed pixels), small pictures made in memory,
// and a window to skin.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/form.h"
#include "framework/headless.h"
#include "framework/runtime.h"
#include "skin/gdiplus.h"
#include "skin/module.h"
#include "skin/text.h"

namespace skin_test {

// Draws every character as a block `pixels` wide and high, from the left
// of the layout rectangle, centred on its line when asked; knows the
// families "宋体" and any whose name begins with "Face".
class BlockText final : public skin::TextRasteriser {
 public:
  std::vector<skin::TextRun> runs;  // every run drawn, in order

  bool HasFamily(std::string_view family) override {
    return family == "宋体" || family.rfind("Face", 0) == 0;
  }
  void Draw(std::vector<std::uint32_t>& pixels, int width, int height,
            const skin::TextRun& run) override {
    runs.push_back(run);
    const int size = static_cast<int>(run.style.pixels);
    const int w = size * static_cast<int>(run.text.size());
    const int x0 = static_cast<int>(run.x);
    int y0 = static_cast<int>(run.y);
    if (run.lineAlign == 1) y0 += (static_cast<int>(run.height) - size) / 2;
    for (int y = y0; y < y0 + size; ++y) {
      for (int x = x0; x < x0 + w; ++x) {
        if (x < 0 || y < 0 || x >= width || y >= height) continue;
        if (x >= run.x + run.width || y >= run.y + run.height) continue;
        pixels[static_cast<std::size_t>(y * width + x)] = run.colour;
      }
    }
  }
  float Advance(std::u16string_view text, const skin::TextStyle& style) override {
    return style.pixels * static_cast<float>(text.size());
  }
  float LineHeight(const skin::TextStyle& style) override { return style.pixels; }
};

// A PNG of `width` x `height` pixels, each `argb` (0xAARRGGBB), or of the
// given pixels.
inline std::vector<std::uint8_t> Png(int width, int height, std::vector<std::uint32_t> argb) {
  std::vector<std::uint8_t> rgba;
  for (std::uint32_t p : argb) {
    rgba.push_back(static_cast<std::uint8_t>(p >> 16));
    rgba.push_back(static_cast<std::uint8_t>(p >> 8));
    rgba.push_back(static_cast<std::uint8_t>(p));
    rgba.push_back(static_cast<std::uint8_t>(p >> 24));
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<std::uint8_t> out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
  out.resize(size);
  return out;
}
inline std::vector<std::uint8_t> Png(int width, int height, std::uint32_t argb) {
  return Png(width, height,
             std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), argb));
}

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::ResetSkinState();
    skin::InitSkinModule();
    skin::SetTextRasteriser(&text);
    liveAtStart = skin::gdip::LiveObjects();
  }
  void TearDown() override {
    skin::ResetSkinState();
    skin::SetTextRasteriser(nullptr);
  }
  fw::Headless h;
  BlockText text;
  int liveAtStart = 0;
};

}  // namespace skin_test
