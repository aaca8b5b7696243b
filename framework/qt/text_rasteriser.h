// The framework's text rasteriser (framework/text_rasteriser.h) drawn with
// QPainter: the Qt backend registers one while it exists, so that what
// composes its own frames (the skinned windows) shows real text. The code
// that draws through it stays free of Qt.
#pragma once

#include "framework/text_rasteriser.h"

namespace fw::qt {

class QtTextRasteriser final : public fw::TextRasteriser {
 public:
  bool HasFamily(std::string_view family) override;
  void Draw(std::vector<std::uint32_t>& pixels, int width, int height,
            const fw::TextRun& run) override;
  float Advance(std::u16string_view text, const fw::TextStyle& style) override;
  float LineHeight(const fw::TextStyle& style) override;
};

}  // namespace fw::qt
