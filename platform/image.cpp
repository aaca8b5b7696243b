// Image services; see image.h.
#include "platform/image.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <csetjmp>
#include <jpeglib.h>
#include <jerror.h>
#include <png.h>
// clang-format on

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr int kMaxSide = 16384;

bool IsPng(std::span<const std::uint8_t> b) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return b.size() >= 8 && std::memcmp(b.data(), kSignature, 8) == 0;
}
bool IsJpeg(std::span<const std::uint8_t> b) {
  return b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF;
}

std::optional<RgbaImage> DecodePng(std::span<const std::uint8_t> bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
  if (image.width < 1 || image.height < 1 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  RgbaImage out;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return out;
}

// libjpeg reports errors through a callback that must not return: it jumps
// back to the decoder, which gives up on the picture. Premature end of the
// data is only a warning to libjpeg (it fills the rest with grey); here it
// counts as a damaged picture.
struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  bool truncated;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

void JpegMessage(j_common_ptr cinfo, int level) {
  auto* err = reinterpret_cast<JpegError*>(cinfo->err);
  if (level < 0 && err->mgr.msg_code == JWRN_JPEG_EOF) err->truncated = true;
}

// Kept apart from the C++ objects it fills: between setjmp and a longjmp
// only trivially destructible locals live in this frame.
bool DecodeJpegInto(std::span<const std::uint8_t> bytes, RgbaImage& out) {
  jpeg_decompress_struct cinfo;
  JpegError err;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegErrorExit;
  err.mgr.emit_message = JpegMessage;
  err.truncated = false;
  std::uint8_t* row = nullptr;
  if (setjmp(err.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    std::free(row);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (cinfo.image_width < 1 || cinfo.image_height < 1 || cinfo.image_width > kMaxSide ||
      cinfo.image_height > kMaxSide) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  const int width = static_cast<int>(cinfo.output_width);
  const int height = static_cast<int>(cinfo.output_height);
  const int components = cinfo.output_components;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  row = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(width * components)));
  if (row == nullptr) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(cinfo.output_scanline) *
                                                static_cast<std::size_t>(width) * 4;
    JSAMPROW rows[1] = {row};
    jpeg_read_scanlines(&cinfo, rows, 1);
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* src = row + x * components;
      if (cmyk) {
        // Adobe writes CMYK inverted: each value is already 255 - ink.
        const int k = src[3];
        dst[0] = static_cast<std::uint8_t>(src[0] * k / 255);
        dst[1] = static_cast<std::uint8_t>(src[1] * k / 255);
        dst[2] = static_cast<std::uint8_t>(src[2] * k / 255);
      } else {
        dst[0] = src[0];
        dst[1] = src[components == 3 ? 1 : 0];
        dst[2] = src[components == 3 ? 2 : 0];
      }
      dst[3] = 255;
      dst += 4;
    }
  }
  jpeg_finish_decompress(&cinfo);
  const bool truncated = err.truncated;
  jpeg_destroy_decompress(&cinfo);
  std::free(row);
  return !truncated;
}

}  // namespace

std::optional<RgbaImage> DecodeImage(std::span<const std::uint8_t> bytes) {
  if (IsPng(bytes)) return DecodePng(bytes);
  if (IsJpeg(bytes)) {
    RgbaImage out;
    if (!DecodeJpegInto(bytes, out)) return std::nullopt;
    return out;
  }
  return std::nullopt;
}

}  // namespace platform
