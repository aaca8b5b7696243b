// PNG and JPEG decoding of small pictures written here with libpng and
// libjpeg.
#include "platform/image.h"

#include <gtest/gtest.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WritePng(int width, int height, png_uint_32 format, const Bytes& pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr));
  Bytes out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

Bytes WriteJpeg(int width, int height, int components, const Bytes& pixels) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(
        pixels.data() + cinfo.next_scanline * static_cast<std::size_t>(width * components));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

TEST(DecodePng, GivesStraightRgbaTopRowFirst) {
  const Bytes rgba = {255, 0, 0,   255, 0,  255, 0,  128,  // top row: red, half-transparent green
                      0,   0, 255, 0,   10, 20,  30, 255};
  const auto image = DecodeImage(WritePng(2, 2, PNG_FORMAT_RGBA, rgba));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->pixels, rgba);
}

TEST(DecodePng, PicturesWithoutAlphaAreOpaque) {
  const Bytes grey = {0, 100, 200};
  const auto image = DecodeImage(WritePng(3, 1, PNG_FORMAT_GRAY, grey));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->pixels, (Bytes{0, 0, 0, 255, 100, 100, 100, 255, 200, 200, 200, 255}));
}

TEST(DecodeJpeg, ColourAndGreyComeBackCloseAndOpaque) {
  const Bytes rgb(8 * 8 * 3, 0);
  Bytes orange;
  for (int i = 0; i < 64; ++i) orange.insert(orange.end(), {230, 120, 40});
  const auto colour = DecodeImage(WriteJpeg(8, 8, 3, orange));
  ASSERT_TRUE(colour.has_value());
  EXPECT_EQ(colour->width, 8);
  ASSERT_EQ(colour->pixels.size(), 8u * 8u * 4u);
  for (std::size_t i = 0; i < colour->pixels.size(); i += 4) {
    EXPECT_NEAR(colour->pixels[i], 230, 6);
    EXPECT_NEAR(colour->pixels[i + 1], 120, 6);
    EXPECT_NEAR(colour->pixels[i + 2], 40, 6);
    EXPECT_EQ(colour->pixels[i + 3], 255);
  }
  const auto grey = DecodeImage(WriteJpeg(4, 2, 1, Bytes(8, 90)));
  ASSERT_TRUE(grey.has_value());
  EXPECT_NEAR(grey->pixels[0], 90, 3);
  EXPECT_EQ(grey->pixels[0], grey->pixels[2]);
  EXPECT_EQ(grey->pixels[3], 255);
}

TEST(DecodeImage, RefusesDamagedUnknownAndOversizedPictures) {
  Bytes png = WritePng(4, 4, PNG_FORMAT_RGBA, Bytes(64, 7));
  Bytes badCrc = png;
  const Bytes idat = {'I', 'D', 'A', 'T'};
  const auto data = std::search(badCrc.begin(), badCrc.end(), idat.begin(), idat.end());
  ASSERT_NE(data, badCrc.end());
  data[6] ^= 0xFF;  // inside the image data
  Bytes truncatedPng(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2));
  Bytes jpeg = WriteJpeg(16, 16, 3, Bytes(16 * 16 * 3, 50));
  Bytes truncatedJpeg(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 2));
  Bytes headerOnlyJpeg(jpeg.begin(), jpeg.begin() + 3);

  EXPECT_FALSE(DecodeImage(badCrc).has_value());
  EXPECT_FALSE(DecodeImage(truncatedPng).has_value());
  EXPECT_FALSE(DecodeImage(truncatedJpeg).has_value());
  EXPECT_FALSE(DecodeImage(headerOnlyJpeg).has_value());
  EXPECT_FALSE(DecodeImage(Bytes{'G', 'I', 'F', '8', '9', 'a'}).has_value());
  EXPECT_FALSE(DecodeImage(Bytes{}).has_value());
  EXPECT_FALSE(DecodeImage(WritePng(16385, 1, PNG_FORMAT_GRAY, Bytes(16385, 0))).has_value());
  EXPECT_FALSE(DecodeImage(WriteJpeg(1, 16385, 1, Bytes(16385, 0))).has_value());
  EXPECT_TRUE(DecodeImage(WritePng(16384, 1, PNG_FORMAT_GRAY, Bytes(16384, 0))).has_value());
}

}  // namespace
}  // namespace platform
