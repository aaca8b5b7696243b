// The owning wrappers; see wrappers.h.
#include "skin/wrappers.h"

#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "skin/module.h"

namespace skin {

namespace {

std::u16string_view WithoutZero(const std::u16string& wide) {
  return std::u16string_view(wide).substr(0, wide.empty() ? 0 : wide.size() - 1);
}

}  // namespace

// ---- GpFontFamily -------------------------------------------------------------

GpFontFamily::GpFontFamily(GpFontFamily&& other) noexcept
    : family_(std::exchange(other.family_, nullptr)) {}

GpFontFamily& GpFontFamily::operator=(GpFontFamily&& other) noexcept {
  if (this != &other) Reset(std::exchange(other.family_, nullptr));
  return *this;
}

void GpFontFamily::Delete() {
  if (family_ != nullptr) gdip::DeleteFontFamily(std::exchange(family_, nullptr));
}

gdip::Status GpFontFamily::Create(std::string_view nameAnsi) {
  const std::u16string wide = AnsiToWide(nameAnsi);
  gdip::FontFamily* family = nullptr;
  const gdip::Status status = gdip::CreateFontFamilyFromName(WithoutZero(wide), nullptr, &family);
  Reset(family);
  return status;
}

void GpFontFamily::Reset(gdip::FontFamily* family) {
  if (family == family_) return;
  Delete();
  family_ = family;
}

// ---- GpFont -------------------------------------------------------------------

GpFont::GpFont(GpFont&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}

GpFont& GpFont::operator=(GpFont&& other) noexcept {
  if (this != &other) Reset(std::exchange(other.font_, nullptr));
  return *this;
}

void GpFont::Delete() {
  if (font_ != nullptr) gdip::DeleteFont(std::exchange(font_, nullptr));
}

gdip::Status GpFont::Create(std::string_view familyAnsi, float emSize, int style, gdip::Unit unit) {
  GpFontFamily family;
  family.Create(familyAnsi);
  gdip::Font* font = nullptr;
  const gdip::Status status = gdip::CreateFont(family.GetHandle(), emSize, style, unit, &font);
  Reset(font);
  return status;
}

gdip::Status GpFont::FromLogFont(const LogFont& log) {
  int style = 0;
  if (log.weight >= 600) style |= gdip::kFontStyleBold;
  if (log.italic != 0) style |= gdip::kFontStyleItalic;
  if (log.underline != 0) style |= gdip::kFontStyleUnderline;
  if (log.strikeOut != 0) style |= gdip::kFontStyleStrikeout;
  // The face name fills its field without a zero byte when it is 32 long.
  const std::size_t length = strnlen(log.faceName, sizeof log.faceName);
  const float size =
      log.height == 0 ? kDefaultFontPixels : static_cast<float>(std::abs(log.height));
  return Create(std::string_view(log.faceName, length), size, style, gdip::Unit::Pixel);
}

gdip::Status GpFont::CreateFromDC(const DeviceContext& dc) {
  if (dc.font == nullptr) {
    Reset(nullptr);
    return gdip::Status::InvalidParameter;
  }
  return FromLogFont(*dc.font);
}

gdip::Font* GpFont::CreateFromWindow(Hwnd window) {
  const LResult font = SendMessage(window, WM_GETFONT, 0, 0);
  return CreateFromHFont(reinterpret_cast<Hfont>(font));
}

gdip::Font* GpFont::CreateFromHFont(Hfont font) {
  if (font == nullptr) return nullptr;
  LogFont log;
  if (GetObject(font, static_cast<int>(sizeof log), &log) == 0) return nullptr;
  FromLogFont(log);
  return font_;
}

void GpFont::Reset(gdip::Font* font) {
  if (font == font_) return;
  Delete();
  font_ = font;
}

gdip::Status GpFont::GetStyle(int* style) const {
  return gdip::GetFontStyle(font_, style);
}
gdip::Status GpFont::GetSize(float* size) const {
  return gdip::GetFontSize(font_, size);
}
gdip::Status GpFont::GetUnit(gdip::Unit* unit) const {
  return gdip::GetFontUnit(font_, unit);
}
gdip::Status GpFont::GetHeight(const gdip::Graphics* graphics, float* height) const {
  return gdip::GetFontHeight(font_, graphics, height);
}

// ---- GpStringFormat -------------------------------------------------------------

GpStringFormat::GpStringFormat(GpStringFormat&& other) noexcept
    : format_(std::exchange(other.format_, nullptr)) {}

GpStringFormat& GpStringFormat::operator=(GpStringFormat&& other) noexcept {
  if (this != &other) Reset(std::exchange(other.format_, nullptr));
  return *this;
}

void GpStringFormat::Delete() {
  if (format_ != nullptr) gdip::DeleteStringFormat(std::exchange(format_, nullptr));
}

void GpStringFormat::Create(int flags, int language) {
  gdip::StringFormat* format = nullptr;
  gdip::CreateStringFormat(flags, language, &format);
  Reset(format);
}

void GpStringFormat::SetAlign(int align) {
  gdip::SetStringFormatAlign(format_, align);
}

void GpStringFormat::SetLineAlign(int align) {
  gdip::SetStringFormatLineAlign(format_, align);
}

void GpStringFormat::SetAlignBoth(int align, int lineAlign) {
  SetAlign(align);
  SetLineAlign(lineAlign);
}

void GpStringFormat::Reset(gdip::StringFormat* format) {
  if (format == format_) return;
  Delete();
  format_ = format;
}

// ---- GlobalMemoryStream -----------------------------------------------------------

GlobalMemoryStream::GlobalMemoryStream(GlobalMemoryStream&& other) noexcept
    : memory_(std::exchange(other.memory_, nullptr)),
      stream_(std::exchange(other.stream_, nullptr)),
      streamOwnsMemory_(std::exchange(other.streamOwnsMemory_, false)) {}

GlobalMemoryStream& GlobalMemoryStream::operator=(GlobalMemoryStream&& other) noexcept {
  if (this != &other) {
    Free();
    memory_ = std::exchange(other.memory_, nullptr);
    stream_ = std::exchange(other.stream_, nullptr);
    streamOwnsMemory_ = std::exchange(other.streamOwnsMemory_, false);
  }
  return *this;
}

void GlobalMemoryStream::Free() {
  if (stream_ != nullptr) gdip::ReleaseStream(std::exchange(stream_, nullptr));
  if (memory_ != nullptr && !streamOwnsMemory_) gdip::GlobalFree(memory_);
  memory_ = nullptr;
  streamOwnsMemory_ = false;
}

gdip::Stream* GlobalMemoryStream::Create(std::span<const std::uint8_t> bytes, bool copy) {
  Free();
  if (copy) {
    memory_ = gdip::GlobalAlloc(false, bytes.size());
    if (void* p = gdip::GlobalLock(memory_); p != nullptr && !bytes.empty()) {
      std::memcpy(p, bytes.data(), bytes.size());
    }
    gdip::GlobalUnlock(memory_);
  } else {
    memory_ = gdip::GlobalAlloc(true, 0);
  }
  if (gdip::CreateStreamOnHGlobal(memory_, !copy, &stream_) != gdip::Status::Ok) {
    stream_ = nullptr;
    return nullptr;
  }
  streamOwnsMemory_ = !copy;
  return stream_;
}

std::size_t GlobalMemoryStream::GetSize() const {
  return gdip::GlobalSize(memory_);
}

std::vector<std::uint8_t> GlobalMemoryStream::GetBytes() const {
  std::vector<std::uint8_t> out(GetSize());
  if (void* p = gdip::GlobalLock(memory_); p != nullptr && !out.empty()) {
    std::memcpy(out.data(), p, out.size());
  }
  gdip::GlobalUnlock(memory_);
  return out;
}

}  // namespace skin
