// The graphics layer; see gdiplus.h.
#include "skin/gdiplus.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/codepage.h"
#include "platform/image.h"
#include "skin/text.h"

namespace skin::gdip {

namespace {

bool g_started = false;
int g_live = 0;

// Counts the objects that exist; every kind derives from it.
struct Counted {
  Counted() { ++g_live; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;
  ~Counted() { --g_live; }
};

constexpr int kMaxSide = 16384;

// Pixel storage of disposed images, kept for the next bitmaps. A few
// buffers are enough for a window's frame being composed while the one it
// replaces is still shown; buffers of more than kKeptPixels are not kept.
// A frame's pixels may be let go of by whoever held the frame last, so
// the store is locked.
class PixelStore {
 public:
  // `count` pixels, every one 0.
  std::vector<Argb> Take(std::size_t count) {
    std::vector<Argb> pixels;
    if (count == 0) return pixels;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      // The smallest kept buffer that holds them.
      auto best = spare_.end();
      for (auto it = spare_.begin(); it != spare_.end(); ++it) {
        if (it->size() >= count && (best == spare_.end() || it->size() < best->size())) best = it;
      }
      if (best == spare_.end()) return std::vector<Argb>(count);
      pixels = std::move(*best);
      spare_.erase(best);
    }
    // Cleared in one go: an element-wise fill of a whole frame costs more
    // than the drawing where the code is instrumented (the fuzz build).
    pixels.resize(count);
    std::memset(pixels.data(), 0, count * sizeof(Argb));
    return pixels;
  }

  void Give(std::vector<Argb>&& pixels) {
    if (pixels.empty() || pixels.size() > kKeptPixels) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (spare_.size() < kKeptBuffers) spare_.push_back(std::move(pixels));
  }

 private:
  static constexpr std::size_t kKeptBuffers = 4;
  static constexpr std::size_t kKeptPixels = std::size_t{1024} * 1024;
  std::mutex mutex_;
  std::vector<std::vector<Argb>> spare_;
};

// Never destroyed: a frame held somewhere until the process ends may give
// its pixels back after every static is gone.
PixelStore& Store() {
  static PixelStore* const store = new PixelStore;
  return *store;
}

// Straight-alpha "source over": `src` drawn over `dst`.
Argb Over(Argb dst, Argb src) {
  const std::uint32_t sa = src >> 24;
  if (sa == 255) return src;
  if (sa == 0) return dst;
  const std::uint32_t da = dst >> 24;
  // Everything in 1/255 steps; outA = sa + da (1 - sa).
  const std::uint32_t outA255 = sa * 255 + da * (255 - sa);  // outA * 255
  if (outA255 == 0) return 0;
  auto channel = [&](int shift) {
    const std::uint32_t s = (src >> shift) & 0xFF;
    const std::uint32_t d = (dst >> shift) & 0xFF;
    const std::uint32_t num = s * sa * 255 + d * da * (255 - sa);
    return (num + outA255 / 2) / outA255;
  };
  const std::uint32_t outA = (outA255 + 127) / 255;
  return (outA << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

// The pixel range [begin, end) that a float span covers: pixel i is covered
// when its centre i + 0.5 lies inside.
std::pair<int, int> Cover(float from, float length, int limit) {
  const int begin = static_cast<int>(std::ceil(from - 0.5f));
  const int end = static_cast<int>(std::ceil(from + length - 0.5f));
  return {std::clamp(begin, 0, limit), std::clamp(end, 0, limit)};
}

}  // namespace

struct MemoryBlock : Counted {
  bool movable = false;
  std::vector<std::uint8_t> bytes;
  int locks = 0;
};

struct Stream : Counted {
  MemoryBlock* block = nullptr;
  bool deleteOnRelease = false;
};

struct Image : Counted {
  int width = 0;
  int height = 0;
  std::vector<Argb> pixels;
  // What is known of the pixels, so that drawing need not look at each:
  // a bitmap that nothing has been drawn on yet is all 0 (blank); and
  // every pixel with no alpha may be known to be 0, as drawing with
  // "source over" leaves them (Over makes a pixel clear only by leaving it
  // as it was).
  bool blank = false;
  bool clearIsZero = false;
};

struct Graphics : Counted {
  Image* target = nullptr;
};

namespace {
// The surface that a drawing call changes; it is no longer blank.
Image& DrawnOn(Graphics& graphics) {
  graphics.target->blank = false;
  return *graphics.target;
}
}  // namespace

struct Brush : Counted {
  Argb colour = 0;
};

struct Pen : Counted {
  Argb colour = 0;
  float width = 1;
};

struct FontFamily : Counted {
  std::string name;  // UTF-8
};

struct Font : Counted {
  std::string family;  // UTF-8
  float size = 0;
  int style = 0;
  Unit unit = Unit::Pixel;
};

struct StringFormat : Counted {
  int flags = 0;
  int language = 0;
  int align = 0;
  int lineAlign = 0;
};

// ---- Start-up ---------------------------------------------------------------

Status Startup(std::uint32_t* token) {
  g_started = true;
  if (token != nullptr) *token = 1;
  return Status::Ok;
}

bool Started() {
  return g_started;
}

// ---- Global memory and streams ---------------------------------------------

MemoryBlock* GlobalAlloc(bool movable, std::size_t size) {
  auto* block = new MemoryBlock;
  block->movable = movable;
  block->bytes.resize(size);
  return block;
}

void* GlobalLock(MemoryBlock* block) {
  if (block == nullptr) return nullptr;
  ++block->locks;
  // A zero-sized block still has an address to lock.
  if (block->bytes.empty()) block->bytes.reserve(1);
  return block->bytes.data();
}

void GlobalUnlock(MemoryBlock* block) {
  if (block != nullptr && block->locks > 0) --block->locks;
}

std::size_t GlobalSize(const MemoryBlock* block) {
  return block == nullptr ? 0 : block->bytes.size();
}

MemoryBlock* GlobalFree(MemoryBlock* block) {
  delete block;
  return nullptr;
}

Status CreateStreamOnHGlobal(MemoryBlock* block, bool deleteOnRelease, Stream** stream) {
  if (stream == nullptr) return Status::InvalidParameter;
  *stream = nullptr;
  if (block == nullptr) return Status::InvalidParameter;
  auto* s = new Stream;
  s->block = block;
  s->deleteOnRelease = deleteOnRelease;
  *stream = s;
  return Status::Ok;
}

void ReleaseStream(Stream* stream) {
  if (stream == nullptr) return;
  if (stream->deleteOnRelease) GlobalFree(stream->block);
  delete stream;
}

std::span<const std::uint8_t> StreamBytes(const Stream* stream) {
  if (stream == nullptr || stream->block == nullptr) return {};
  return stream->block->bytes;
}

Status WriteStream(Stream* stream, std::span<const std::uint8_t> bytes) {
  if (stream == nullptr || stream->block == nullptr) return Status::InvalidParameter;
  if (!stream->block->movable) return Status::WrongState;
  stream->block->bytes.insert(stream->block->bytes.end(), bytes.begin(), bytes.end());
  return Status::Ok;
}

// ---- Images and bitmaps -----------------------------------------------------

Status LoadImageFromStream(Stream* stream, Image** image) {
  if (image == nullptr) return Status::InvalidParameter;
  *image = nullptr;
  if (!g_started) return Status::GdiplusNotInitialized;
  if (stream == nullptr) return Status::InvalidParameter;
  const std::optional<platform::RgbaImage> decoded = platform::DecodeImage(StreamBytes(stream));
  if (!decoded) return Status::UnknownImageFormat;
  auto* out = new Image;
  out->width = decoded->width;
  out->height = decoded->height;
  out->pixels =
      Store().Take(static_cast<std::size_t>(out->width) * static_cast<std::size_t>(out->height));
  out->clearIsZero = true;
  for (std::size_t i = 0; i < out->pixels.size(); ++i) {
    const std::uint8_t* p = decoded->pixels.data() + i * 4;
    out->pixels[i] = Argb{p[3]} << 24 | Argb{p[0]} << 16 | Argb{p[1]} << 8 | Argb{p[2]};
    if (p[3] == 0 && out->pixels[i] != 0) out->clearIsZero = false;
  }
  *image = out;
  return Status::Ok;
}

Status CreateBitmapFromScan0(int width, int height, int, int format, Image** bitmap) {
  if (bitmap == nullptr) return Status::InvalidParameter;
  *bitmap = nullptr;
  if (!g_started) return Status::GdiplusNotInitialized;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      format != kPixelFormat32bppArgb)
    return Status::InvalidParameter;
  auto* out = new Image;
  out->width = width;
  out->height = height;
  out->pixels = Store().Take(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  out->blank = true;
  out->clearIsZero = true;
  *bitmap = out;
  return Status::Ok;
}

Status DisposeImage(Image* image) {
  if (image == nullptr) return Status::InvalidParameter;
  Store().Give(std::move(image->pixels));
  delete image;
  return Status::Ok;
}

Status GetImageDimension(Image* image, float* width, float* height) {
  if (image == nullptr || width == nullptr || height == nullptr) return Status::InvalidParameter;
  *width = static_cast<float>(image->width);
  *height = static_cast<float>(image->height);
  return Status::Ok;
}

Status GetImageWidth(Image* image, unsigned* width) {
  if (image == nullptr || width == nullptr) return Status::InvalidParameter;
  *width = static_cast<unsigned>(image->width);
  return Status::Ok;
}

Status GetImageHeight(Image* image, unsigned* height) {
  if (image == nullptr || height == nullptr) return Status::InvalidParameter;
  *height = static_cast<unsigned>(image->height);
  return Status::Ok;
}

Status ImageSelectActiveFrame(Image*, const Guid&, unsigned) {
  // Our images are still pictures: none has a time dimension to select in.
  return Status::InvalidParameter;
}

const std::vector<Argb>* ImagePixels(const Image* image) {
  return image == nullptr ? nullptr : &image->pixels;
}

std::shared_ptr<const std::vector<Argb>> DisposeImageIntoFrame(Image* bitmap) {
  if (bitmap == nullptr) return nullptr;
  if (!bitmap->clearIsZero) {
    for (Argb& p : bitmap->pixels) p = Over(0, p);
  }
  auto* pixels = new std::vector<Argb>(std::move(bitmap->pixels));
  delete bitmap;
  return std::shared_ptr<const std::vector<Argb>>(pixels, [](const std::vector<Argb>* p) {
    // Made without const, so it may give its storage back.
    auto* own = const_cast<std::vector<Argb>*>(p);
    Store().Give(std::move(*own));
    delete own;
  });
}

// ---- Drawing ----------------------------------------------------------------

Status GetImageGraphicsContext(Image* image, Graphics** graphics) {
  if (graphics == nullptr) return Status::InvalidParameter;
  *graphics = nullptr;
  if (!g_started) return Status::GdiplusNotInitialized;
  if (image == nullptr) return Status::InvalidParameter;
  auto* g = new Graphics;
  g->target = image;
  *graphics = g;
  return Status::Ok;
}

Status DeleteGraphics(Graphics* graphics) {
  if (graphics == nullptr) return Status::InvalidParameter;
  delete graphics;
  return Status::Ok;
}

Status DrawImageRect(Graphics* graphics, Image* image, float x, float y, float width,
                     float height) {
  if (graphics == nullptr || image == nullptr || width <= 0 || height <= 0)
    return Status::InvalidParameter;
  const bool wasBlank = graphics->target->blank;
  Image& dst = DrawnOn(*graphics);
  const auto [x0, x1] = Cover(x, width, dst.width);
  const auto [y0, y1] = Cover(y, height, dst.height);
  const auto at = [](const Image& i, int px, int py) {
    return static_cast<std::size_t>(py) * static_cast<std::size_t>(i.width) +
           static_cast<std::size_t>(px);
  };
  // At its own size on whole pixels (a back image of the window's size, a
  // frame presented): the source pixel under each centre is the one at the
  // same offset, so nothing is worked out per pixel.
  if (width == static_cast<float>(image->width) && height == static_cast<float>(image->height) &&
      std::fabs(x) <= kMaxSide && std::fabs(y) <= kMaxSide && x == std::trunc(x) &&
      y == std::trunc(y)) {
    const int ox = static_cast<int>(x);
    const int oy = static_cast<int>(y);
    for (int py = y0; py < y1; ++py) {
      const Argb* src = image->pixels.data() + at(*image, 0, py - oy);
      Argb* row = dst.pixels.data() + at(dst, 0, py);
      if (wasBlank && image->clearIsZero && x0 < x1) {
        // Over a clear pixel, a pixel of such an image is itself.
        std::memmove(row + x0, src + (x0 - ox), static_cast<std::size_t>(x1 - x0) * sizeof(Argb));
      } else {
        for (int px = x0; px < x1; ++px) row[px] = Over(row[px], src[px - ox]);
      }
    }
    return Status::Ok;
  }
  const float sx = static_cast<float>(image->width) / width;
  const float sy = static_cast<float>(image->height) / height;
  for (int py = y0; py < y1; ++py) {
    // The source pixel under this pixel's centre.
    const int iy = std::clamp(static_cast<int>((static_cast<float>(py) + 0.5f - y) * sy), 0,
                              image->height - 1);
    for (int px = x0; px < x1; ++px) {
      const int ix = std::clamp(static_cast<int>((static_cast<float>(px) + 0.5f - x) * sx), 0,
                                image->width - 1);
      Argb& d = dst.pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(dst.width) +
                           static_cast<std::size_t>(px)];
      d = Over(d,
               image->pixels[static_cast<std::size_t>(iy) * static_cast<std::size_t>(image->width) +
                             static_cast<std::size_t>(ix)]);
    }
  }
  return Status::Ok;
}

Status DrawImagePointRect(Graphics* graphics, Image* image, float x, float y, float srcX,
                          float srcY, float srcWidth, float srcHeight, Unit srcUnit) {
  if (graphics == nullptr || image == nullptr || srcUnit != Unit::Pixel || srcWidth <= 0 ||
      srcHeight <= 0)
    return Status::InvalidParameter;
  Image& dst = DrawnOn(*graphics);
  const int sx0 = static_cast<int>(srcX);
  const int sy0 = static_cast<int>(srcY);
  const int dx0 = static_cast<int>(std::lround(x));
  const int dy0 = static_cast<int>(std::lround(y));
  const int w = static_cast<int>(srcWidth);
  const int h = static_cast<int>(srcHeight);
  for (int j = 0; j < h; ++j) {
    const int sy = sy0 + j;
    const int dy = dy0 + j;
    if (sy < 0 || sy >= image->height || dy < 0 || dy >= dst.height) continue;
    for (int i = 0; i < w; ++i) {
      const int sx = sx0 + i;
      const int dx = dx0 + i;
      if (sx < 0 || sx >= image->width || dx < 0 || dx >= dst.width) continue;
      Argb& d = dst.pixels[static_cast<std::size_t>(dy) * static_cast<std::size_t>(dst.width) +
                           static_cast<std::size_t>(dx)];
      d = Over(d,
               image->pixels[static_cast<std::size_t>(sy) * static_cast<std::size_t>(image->width) +
                             static_cast<std::size_t>(sx)]);
    }
  }
  return Status::Ok;
}

Status CreateSolidFill(Argb colour, Brush** brush) {
  if (brush == nullptr) return Status::InvalidParameter;
  *brush = nullptr;
  if (!g_started) return Status::GdiplusNotInitialized;
  auto* b = new Brush;
  b->colour = colour;
  *brush = b;
  return Status::Ok;
}

Status DeleteBrush(Brush* brush) {
  if (brush == nullptr) return Status::InvalidParameter;
  delete brush;
  return Status::Ok;
}

namespace {
void Blend(Image& dst, int x, int y, Argb colour) {
  if (x < 0 || y < 0 || x >= dst.width || y >= dst.height) return;
  Argb& d = dst.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(dst.width) +
                       static_cast<std::size_t>(x)];
  d = Over(d, colour);
}
}  // namespace

Status FillRectangle(Graphics* graphics, Brush* brush, float x, float y, float width,
                     float height) {
  if (graphics == nullptr || brush == nullptr) return Status::InvalidParameter;
  Image& dst = DrawnOn(*graphics);
  const auto [x0, x1] = Cover(x, width, dst.width);
  const auto [y0, y1] = Cover(y, height, dst.height);
  for (int py = y0; py < y1; ++py) {
    for (int px = x0; px < x1; ++px) Blend(dst, px, py, brush->colour);
  }
  return Status::Ok;
}

Status CreatePen1(Argb colour, float width, Unit, Pen** pen) {
  if (pen == nullptr) return Status::InvalidParameter;
  *pen = nullptr;
  if (!g_started) return Status::GdiplusNotInitialized;
  auto* p = new Pen;
  p->colour = colour;
  p->width = width;
  *pen = p;
  return Status::Ok;
}

Status DeletePen(Pen* pen) {
  if (pen == nullptr) return Status::InvalidParameter;
  delete pen;
  return Status::Ok;
}

Status DrawRectangle(Graphics* graphics, Pen* pen, float x, float y, float width, float height) {
  if (graphics == nullptr || pen == nullptr) return Status::InvalidParameter;
  const int left = static_cast<int>(std::floor(x));
  const int top = static_cast<int>(std::floor(y));
  const int right = static_cast<int>(std::floor(x + width));
  const int bottom = static_cast<int>(std::floor(y + height));
  Image& dst = DrawnOn(*graphics);
  for (int px = left; px <= right; ++px) {
    Blend(dst, px, top, pen->colour);
    if (bottom != top) Blend(dst, px, bottom, pen->colour);
  }
  for (int py = top + 1; py < bottom; ++py) {
    Blend(dst, left, py, pen->colour);
    if (right != left) Blend(dst, right, py, pen->colour);
  }
  return Status::Ok;
}

Status DrawLine(Graphics* graphics, Pen* pen, float x1, float y1, float x2, float y2) {
  if (graphics == nullptr || pen == nullptr) return Status::InvalidParameter;
  // One pixel wide, from the first end up to the second (not included),
  // stepping along the longer axis.
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  const int steps = static_cast<int>(std::ceil(std::max(std::fabs(dx), std::fabs(dy))));
  for (int i = 0; i < std::max(steps, 1); ++i) {
    const float t = steps == 0 ? 0.0f : static_cast<float>(i) / static_cast<float>(steps);
    Blend(DrawnOn(*graphics), static_cast<int>(std::floor(x1 + dx * t)),
          static_cast<int>(std::floor(y1 + dy * t)), pen->colour);
  }
  return Status::Ok;
}

// ---- Text -------------------------------------------------------------------

Status CreateFontFamilyFromName(std::u16string_view name, const void*, FontFamily** family) {
  if (family == nullptr) return Status::InvalidParameter;
  *family = nullptr;
  if (!g_started) return Status::GdiplusNotInitialized;
  const std::string utf8 = platform::Utf16ToUtf8(name);
  TextRasteriser* text = CurrentTextRasteriser();
  if (utf8.empty() || text == nullptr || !text->HasFamily(utf8)) return Status::FontFamilyNotFound;
  auto* f = new FontFamily;
  f->name = utf8;
  *family = f;
  return Status::Ok;
}

Status DeleteFontFamily(FontFamily* family) {
  if (family == nullptr) return Status::InvalidParameter;
  delete family;
  return Status::Ok;
}

Status CreateFont(const FontFamily* family, float emSize, int style, Unit unit, Font** font) {
  if (font == nullptr) return Status::InvalidParameter;
  *font = nullptr;
  if (!g_started) return Status::GdiplusNotInitialized;
  if (family == nullptr || !(emSize > 0)) return Status::InvalidParameter;
  auto* f = new Font;
  f->family = family->name;
  f->size = emSize;
  f->style = style;
  f->unit = unit;
  *font = f;
  return Status::Ok;
}

Status DeleteFont(Font* font) {
  if (font == nullptr) return Status::InvalidParameter;
  delete font;
  return Status::Ok;
}

Status GetFontStyle(const Font* font, int* style) {
  if (font == nullptr || style == nullptr) return Status::InvalidParameter;
  *style = font->style;
  return Status::Ok;
}

Status GetFontSize(const Font* font, float* size) {
  if (font == nullptr || size == nullptr) return Status::InvalidParameter;
  *size = font->size;
  return Status::Ok;
}

Status GetFontUnit(const Font* font, Unit* unit) {
  if (font == nullptr || unit == nullptr) return Status::InvalidParameter;
  *unit = font->unit;
  return Status::Ok;
}

namespace {
// Points and the other units as pixels on a 96 dpi screen.
float Pixels(const Font& font) {
  switch (font.unit) {
    case Unit::Point:
      return font.size * 96.0f / 72.0f;
    default:
      return font.size;
  }
}

TextStyle StyleOf(const Font& font) {
  TextStyle s;
  s.family = font.family;
  s.pixels = Pixels(font);
  s.bold = (font.style & kFontStyleBold) != 0;
  s.italic = (font.style & kFontStyleItalic) != 0;
  s.underline = (font.style & kFontStyleUnderline) != 0;
  s.strikeOut = (font.style & kFontStyleStrikeout) != 0;
  return s;
}
}  // namespace

Status GetFontHeight(const Font* font, const Graphics* graphics, float* height) {
  if (font == nullptr || height == nullptr) return Status::InvalidParameter;
  static_cast<void>(graphics);  // one resolution for every surface
  TextRasteriser* text = CurrentTextRasteriser();
  *height = text != nullptr ? text->LineHeight(StyleOf(*font)) : Pixels(*font);
  return Status::Ok;
}

Status CreateStringFormat(int flags, int language, StringFormat** format) {
  if (format == nullptr) return Status::InvalidParameter;
  *format = nullptr;
  if (!g_started) return Status::GdiplusNotInitialized;
  auto* f = new StringFormat;
  f->flags = flags;
  f->language = language;
  *format = f;
  return Status::Ok;
}

Status DeleteStringFormat(StringFormat* format) {
  if (format == nullptr) return Status::InvalidParameter;
  delete format;
  return Status::Ok;
}

Status SetStringFormatAlign(StringFormat* format, int align) {
  if (format == nullptr || align < 0 || align > 2) return Status::InvalidParameter;
  format->align = align;
  return Status::Ok;
}

Status SetStringFormatLineAlign(StringFormat* format, int align) {
  if (format == nullptr || align < 0 || align > 2) return Status::InvalidParameter;
  format->lineAlign = align;
  return Status::Ok;
}

Status DrawString(Graphics* graphics, std::u16string_view text, const Font* font,
                  const RectF& layout, const StringFormat* format, const Brush* brush) {
  if (graphics == nullptr || font == nullptr || brush == nullptr) return Status::InvalidParameter;
  TextRasteriser* rasteriser = CurrentTextRasteriser();
  if (rasteriser == nullptr) return Status::FontFamilyNotFound;
  if (text.empty()) return Status::Ok;
  TextRun run;
  run.text.assign(text);
  run.style = StyleOf(*font);
  run.x = layout.x;
  run.y = layout.y;
  run.width = layout.width;
  run.height = layout.height;
  if (format != nullptr) {
    run.align = format->align;
    run.lineAlign = format->lineAlign;
    run.noWrap = (format->flags & kStringFormatNoWrap) != 0;
  }
  run.colour = brush->colour;
  Image& dst = DrawnOn(*graphics);
  // The rasteriser's pixels are its own: nothing is known of them.
  dst.clearIsZero = false;
  rasteriser->Draw(dst.pixels, dst.width, dst.height, run);
  return Status::Ok;
}

// ---- Accounting -------------------------------------------------------------

int LiveObjects() {
  return g_live;
}

}  // namespace skin::gdip
