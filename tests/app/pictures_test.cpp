// The embedded pictures and the sound: each one decodes, has the size its
// unit needs, and every state of a button looks different.
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/pictures.h"
#include "platform/image.h"
#include "platform/sound.h"

namespace app_test {
namespace {

bool IsJpeg(std::span<const std::uint8_t> b) {
  return b.size() > 2 && b[0] == 0xFF && b[1] == 0xD8;
}

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}
std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

struct ButtonCase {
  const char* what;
  fw::ImageSet set;
  int width;
  int height;
  bool hasDisabled;
};

TEST(Pictures, EveryButtonStateIsADistinctJpegOfItsUnitsSize) {
  const std::vector<ButtonCase> cases = {
      {"minimise", app::MinimizeButtonImages(), 24, 24, true},
      {"close", app::CloseButtonImages(), 24, 24, false},
      {"load", app::LoadButtonImages(), 82, 23, true},
      {"param shown", app::ParamWindowButtonImages(true), 82, 23, true},
      {"param hidden", app::ParamWindowButtonImages(false), 82, 23, true},
      {"mastery shown", app::MasteryWindowButtonImages(true), 82, 23, true},
      {"mastery hidden", app::MasteryWindowButtonImages(false), 82, 23, true},
      {"prompt ok", app::PromptOkButtonImages(), 65, 23, true},
      {"prompt cancel", app::PromptCancelButtonImages(), 65, 23, true},
  };
  std::vector<std::vector<std::uint8_t>> seen;
  for (const ButtonCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<fw::Image> states = {c.set.normal, c.set.hot, c.set.pressed};
    if (c.hasDisabled) {
      states.push_back(c.set.disabled);
    } else {
      EXPECT_TRUE(c.set.disabled.Empty());
    }
    for (const fw::Image& image : states) {
      SCOPED_TRACE(std::string(image.name));
      ASSERT_TRUE(IsJpeg(image.bytes));
      const auto decoded = platform::DecodeImage(image.bytes);
      ASSERT_TRUE(decoded.has_value());
      EXPECT_EQ(decoded->width, c.width);
      EXPECT_EQ(decoded->height, c.height);
      // No two pictures of the editor are the same: every state differs
      // from the others, and the shown and hidden sets differ.
      for (const auto& other : seen) EXPECT_NE(decoded->pixels, other);
      seen.push_back(decoded->pixels);
    }
  }
}

// The figure stands 198 pixels left of and 124 above the prompt box; where
// the box lies (its text lines and buttons included) it is fully
// transparent, and around it the figure covers a fair part of the picture.
TEST(Pictures, TheDecorationIsAnRgbaPngClearWhereThePromptLies) {
  const fw::Image image = app::PromptDecorationImage();
  ASSERT_GE(image.bytes.size(), 33u);
  EXPECT_EQ(std::memcmp(image.bytes.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  EXPECT_EQ(image.bytes[24], 8);  // bit depth
  EXPECT_EQ(image.bytes[25], 6);  // colour type: RGB with alpha
  const auto decoded = platform::DecodeImage(image.bytes);
  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width, 345);
  ASSERT_EQ(decoded->height, 337);
  auto alpha = [&](int x, int y) {
    return decoded
        ->pixels[(static_cast<std::size_t>(y) * 345 + static_cast<std::size_t>(x)) * 4 + 3];
  };
  int opaque = 0;
  int insidePromptOpaque = 0;
  for (int y = 0; y < 337; ++y) {
    for (int x = 0; x < 345; ++x) {
      if (alpha(x, y) == 255) ++opaque;
      if (x >= 198 && y >= 124 && y < 124 + 121 && alpha(x, y) != 0) ++insidePromptOpaque;
    }
  }
  EXPECT_EQ(insidePromptOpaque, 0);
  const double share = static_cast<double>(opaque) / (345.0 * 337.0);
  EXPECT_GT(share, 0.10);
  EXPECT_LT(share, 0.40);
}

TEST(Pictures, TheSoundIsAnEightBitMonoPcmWave) {
  const std::span<const std::uint8_t> wave = app::PromptSound();
  ASSERT_GE(wave.size(), 44u);
  EXPECT_EQ(std::memcmp(wave.data(), "RIFF", 4), 0);
  EXPECT_EQ(Le32(wave, 4) + 8, wave.size());
  EXPECT_EQ(std::memcmp(wave.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(Le32(wave, 16), 18u);     // fmt chunk size
  EXPECT_EQ(Le16(wave, 20), 1);       // PCM
  EXPECT_EQ(Le16(wave, 22), 1);       // mono
  EXPECT_EQ(Le32(wave, 24), 16000u);  // samples per second
  EXPECT_EQ(Le32(wave, 28), 16000u);  // bytes per second
  EXPECT_EQ(Le16(wave, 32), 1);       // block alignment
  EXPECT_EQ(Le16(wave, 34), 8);       // bits per sample
  EXPECT_EQ(std::memcmp(wave.data() + 38, "data", 4), 0);
  EXPECT_EQ(Le32(wave, 42), 5600u);
  // SDL's loader, which plays it, reads it the same way.
  const auto loaded = platform::Wave::Load(wave);
  ASSERT_TRUE(loaded.has_value());
  EXPECT_EQ(loaded->samplesPerSecond(), 16000);
  EXPECT_EQ(loaded->samples().size(), 5600u);
}

}  // namespace
}  // namespace app_test
