// The graphics layer's pixels: an image drawn at its own size onto a clear
// or a drawn-on bitmap, wherever it is placed; bitmaps that start clear
// whatever storage they are given; bitmaps handed over as frames.
#include <cstdint>
#include <memory>
#include <vector>

#include "skin/gdiplus.h"
#include "skin/png_skin.h"
#include "skin_fixture.h"

namespace skin_test {
namespace {

namespace gdip = skin::gdip;

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kHalfRed = 0x80FF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kClearGreen = 0x0000FF00u;  // no alpha, a colour all the same

class Pixels : public SkinTest {
 protected:
  gdip::Image* Bitmap(int width, int height) {
    gdip::Image* bitmap = nullptr;
    EXPECT_EQ(gdip::CreateBitmapFromScan0(width, height, 0, gdip::kPixelFormat32bppArgb, &bitmap),
              gdip::Status::Ok);
    return bitmap;
  }
  void Fill(gdip::Image* bitmap, std::uint32_t argb) {
    gdip::Graphics* g = nullptr;
    gdip::GetImageGraphicsContext(bitmap, &g);
    gdip::Brush* brush = nullptr;
    gdip::CreateSolidFill(argb, &brush);
    gdip::FillRectangle(g, brush, 0, 0, 100, 100);
    gdip::DeleteBrush(brush);
    gdip::DeleteGraphics(g);
  }
  static std::vector<std::uint32_t> Of(const gdip::Image* image) {
    return *gdip::ImagePixels(image);
  }
};

// A 2 x 2 image at its own size on a 3 x 2 bitmap, at whole-pixel places
// inside, across and beyond its edges. Over a clear bitmap each pixel is
// itself, but a clear one is clear whatever its colour; over blue, source
// over. Two pictures: one whose clear pixel has a colour, one whose clear
// pixel is 0.
struct Picture {
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint32_t> overClear;
  std::vector<std::uint32_t> overBlue;
};

struct OwnSizeCase {
  const char* name;
  float x;
  float y;
  bool drawnOn;  // blue before the image
};

TEST_F(Pixels, AnImageAtItsOwnSizeIsDrawnPixelForPixelWhereItIsPlaced) {
  const std::vector<Picture> pictures = {
      {{kRed, kHalfRed, kClearGreen, 0}, {kRed, kHalfRed, 0, 0}, {kRed, 0xFF80007Fu, kBlue, kBlue}},
      {{kRed, kHalfRed, kBlue, 0}, {kRed, kHalfRed, kBlue, 0}, {kRed, 0xFF80007Fu, kBlue, kBlue}},
  };
  const std::vector<OwnSizeCase> cases = {
      {"top left, clear", 0, 0, false},           {"top left, drawn on", 0, 0, true},
      {"right edge, clear", 2, 0, false},         {"right edge, drawn on", 2, 0, true},
      {"left of it, below, clear", -1, 1, false}, {"left of it, below, drawn on", -1, 1, true},
      {"above it, clear", 1, -1, false},          {"outside, drawn on", 5, 0, true},
  };
  for (const Picture& picture : pictures) {
    const skin::ImageRef image = skin::LoadImageFromBytes(Png(2, 2, picture.pixels));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(Of(image.get()), picture.pixels);  // a clear pixel keeps its colour
    for (const OwnSizeCase& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << c.name << ", clear pixel " << std::hex << picture.pixels[2]);
      gdip::Image* bitmap = Bitmap(3, 2);
      if (c.drawnOn) Fill(bitmap, kBlue);
      gdip::Graphics* g = nullptr;
      gdip::GetImageGraphicsContext(bitmap, &g);
      EXPECT_EQ(gdip::DrawImageRect(g, image.get(), c.x, c.y, 2, 2), gdip::Status::Ok);
      gdip::DeleteGraphics(g);

      const std::vector<std::uint32_t>& drawn = c.drawnOn ? picture.overBlue : picture.overClear;
      std::vector<std::uint32_t> expected;
      for (int ty = 0; ty < 2; ++ty) {
        for (int tx = 0; tx < 3; ++tx) {
          const int ix = tx - static_cast<int>(c.x);
          const int iy = ty - static_cast<int>(c.y);
          const bool inside = ix >= 0 && ix < 2 && iy >= 0 && iy < 2;
          expected.push_back(inside      ? drawn[static_cast<std::size_t>(iy * 2 + ix)]
                             : c.drawnOn ? kBlue
                                         : 0);
        }
      }
      EXPECT_EQ(Of(bitmap), expected);
      gdip::DisposeImage(bitmap);
    }
  }
  EXPECT_EQ(gdip::LiveObjects(), liveAtStart);
}

// Storage of disposed bitmaps serves new ones, which still start clear;
// a bitmap handed over as a frame keeps its pixels while others are drawn.
TEST_F(Pixels, NewBitmapsStartClearAndFramesKeepTheirPixels) {
  // More bitmaps at once than the layer keeps storage for, all drawn on:
  // whatever storage is kept afterwards held red pixels.
  std::vector<gdip::Image*> used;
  for (int i = 0; i < 8; ++i) {
    used.push_back(Bitmap(7, 3));
    Fill(used.back(), kRed);
  }
  std::shared_ptr<const std::vector<gdip::Argb>> frame = gdip::DisposeImageIntoFrame(used.back());
  used.pop_back();
  for (gdip::Image* bitmap : used) gdip::DisposeImage(bitmap);

  for (int i = 0; i < 3; ++i) {
    gdip::Image* fresh = Bitmap(7, 3);
    EXPECT_EQ(Of(fresh), std::vector<std::uint32_t>(21, 0)) << i;
    Fill(fresh, kBlue);
    gdip::DisposeImage(fresh);
  }
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(*frame, std::vector<std::uint32_t>(21, kRed));

  // Once let go of, the frame's storage serves a new bitmap, clear too.
  std::vector<gdip::Image*> next;
  for (int i = 0; i < 4; ++i) next.push_back(Bitmap(7, 3));  // all the storage kept
  frame.reset();
  next.push_back(Bitmap(7, 3));
  for (gdip::Image* bitmap : next) EXPECT_EQ(Of(bitmap), std::vector<std::uint32_t>(21, 0));
  for (gdip::Image* bitmap : next) gdip::DisposeImage(bitmap);
  EXPECT_EQ(gdip::LiveObjects(), liveAtStart);
  EXPECT_EQ(gdip::DisposeImageIntoFrame(nullptr), nullptr);
}

// A frame shows what drawing the bitmap onto a clear surface shows: text
// the rasteriser put down in a colour without alpha is clear in it.
TEST_F(Pixels, AFrameIsClearWhereItsBitmapHasNoAlpha) {
  gdip::Image* bitmap = Bitmap(4, 1);
  gdip::Graphics* g = nullptr;
  gdip::GetImageGraphicsContext(bitmap, &g);
  gdip::FontFamily* family = nullptr;
  ASSERT_EQ(gdip::CreateFontFamilyFromName(u"宋体", nullptr, &family), gdip::Status::Ok);
  gdip::Font* font = nullptr;
  gdip::CreateFont(family, 1, 0, gdip::Unit::Pixel, &font);
  gdip::Brush* clear = nullptr;
  gdip::CreateSolidFill(kClearGreen, &clear);
  gdip::Brush* red = nullptr;
  gdip::CreateSolidFill(kRed, &red);
  gdip::DrawString(g, u"ab", font, {0, 0, 2, 1}, nullptr, clear);
  gdip::DrawString(g, u"c", font, {3, 0, 1, 1}, nullptr, red);
  ASSERT_EQ(Of(bitmap), (std::vector<std::uint32_t>{kClearGreen, kClearGreen, 0, kRed}));
  for (gdip::Brush* b : {clear, red}) gdip::DeleteBrush(b);
  gdip::DeleteFont(font);
  gdip::DeleteFontFamily(family);
  gdip::DeleteGraphics(g);

  const auto frame = gdip::DisposeImageIntoFrame(bitmap);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(*frame, (std::vector<std::uint32_t>{0, 0, 0, kRed}));
  EXPECT_EQ(gdip::LiveObjects(), liveAtStart);
}

}  // namespace
}  // namespace skin_test
