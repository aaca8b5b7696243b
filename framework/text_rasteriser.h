// Text drawn into pixels by whoever can render fonts. The framework keeps
// the one rasteriser in use; a backend with a font engine registers one
// (the Qt backend does, over QPainter) and code that composes its own
// frames, such as the skinned-window module, draws its text through it.
// Without one, font families are not found and no text is drawn, which is
// what such code does when a font cannot be made.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

struct TextStyle {
  std::string family;  // UTF-8, as the program names it ("宋体")
  float pixels = 12;   // em size in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

struct TextRun {
  std::u16string text;
  TextStyle style;
  // Layout rectangle in the target's pixels.
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
  int align = 0;      // 0 near (left), 1 centre, 2 far
  int lineAlign = 0;  // 0 near (top), 1 centre, 2 far
  bool noWrap = false;
  std::uint32_t colour = 0xFF000000u;  // 0xAARRGGBB
};

class TextRasteriser {
 public:
  virtual ~TextRasteriser() = default;
  // Whether a family of this name (UTF-8) can be drawn.
  virtual bool HasFamily(std::string_view family) = 0;
  // Draws the run onto `pixels` (width x height, 0xAARRGGBB, straight
  // alpha, top row first), clipped to the layout rectangle and the target.
  virtual void Draw(std::vector<std::uint32_t>& pixels, int width, int height,
                    const TextRun& run) = 0;
  // The advance of `text` in pixels, and the height of a line.
  virtual float Advance(std::u16string_view text, const TextStyle& style) = 0;
  virtual float LineHeight(const TextStyle& style) = 0;
};

// The rasteriser in use, or nullptr. Registering replaces the previous one;
// registering nullptr removes it. The caller keeps ownership.
void SetTextRasteriser(TextRasteriser* rasteriser);
TextRasteriser* CurrentTextRasteriser();

}  // namespace fw
