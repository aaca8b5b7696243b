// Text for the skinned-window module (skin/text.h), drawn with QPainter: the
// Qt backend registers one while it exists, so that skinned edits show
// their text in the real program. The module itself stays free of Qt.
#pragma once

#include "skin/text.h"

namespace fw::qt {

class QtTextRasteriser final : public skin::TextRasteriser {
 public:
  bool HasFamily(std::string_view family) override;
  void Draw(std::vector<std::uint32_t>& pixels, int width, int height,
            const skin::TextRun& run) override;
  float Advance(std::u16string_view text, const skin::TextStyle& style) override;
  float LineHeight(const skin::TextStyle& style) override;
};

}  // namespace fw::qt
