// Small owning wrappers of the graphics layer's objects. Each holds one
// object (or a memory block and the stream over it) and releases it exactly
// once: when it is deleted, reset to another object, or destroyed. They are
// movable (the moved-from wrapper is empty) and not copyable, so no two
// wrappers ever own the same object; resetting one to the object it holds
// already does nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "skin/gdiplus.h"
#include "skin/user.h"

namespace skin {

// The font sizes the module uses when a GDI font gives none (height 0): the
// size of the system's default GUI font.
inline constexpr float kDefaultFontPixels = 12;

// A device context as far as fonts go: the font selected into it.
struct DeviceContext {
  Hfont font = nullptr;
};

class GpFontFamily {
 public:
  GpFontFamily() = default;
  ~GpFontFamily() { Delete(); }
  GpFontFamily(GpFontFamily&& other) noexcept;
  GpFontFamily& operator=(GpFontFamily&& other) noexcept;
  GpFontFamily(const GpFontFamily&) = delete;
  GpFontFamily& operator=(const GpFontFamily&) = delete;

  void Delete();
  // A family of the installed fonts by its name in the ANSI code page
  // (GBK); the old family goes either way.
  gdip::Status Create(std::string_view nameAnsi);
  gdip::FontFamily* GetHandle() const { return family_; }
  void Reset(gdip::FontFamily* family);

 private:
  gdip::FontFamily* family_ = nullptr;
};

class GpFont {
 public:
  GpFont() = default;
  ~GpFont() { Delete(); }
  GpFont(GpFont&& other) noexcept;
  GpFont& operator=(GpFont&& other) noexcept;
  GpFont(const GpFont&) = delete;
  GpFont& operator=(const GpFont&) = delete;

  void Delete();
  // A font of the named family; the old font goes either way.
  gdip::Status Create(std::string_view familyAnsi, float emSize, int style, gdip::Unit unit);
  // The font selected into the device context.
  gdip::Status CreateFromDC(const DeviceContext& dc);
  // The font of a window or unit (WM_GETFONT); nullptr, and nothing
  // changed, when it uses the default font.
  gdip::Font* CreateFromWindow(Hwnd window);
  // A font from a GDI font: bold for a weight of 600 or more; italic,
  // underline and strike-out for any non-zero byte; the face name read to
  // its zero byte or its 32nd byte; the size the absolute height in pixels
  // (the default size for a height of 0). nullptr, and nothing changed,
  // for no GDI font; nullptr after dropping the old font when the font
  // cannot be made.
  gdip::Font* CreateFromHFont(Hfont font);
  gdip::Font* GetHandle() const { return font_; }
  void Reset(gdip::Font* font);
  gdip::Status GetStyle(int* style) const;
  gdip::Status GetSize(float* size) const;
  gdip::Status GetUnit(gdip::Unit* unit) const;
  gdip::Status GetHeight(const gdip::Graphics* graphics, float* height) const;

 private:
  gdip::Status FromLogFont(const LogFont& font);
  gdip::Font* font_ = nullptr;
};

class GpStringFormat {
 public:
  GpStringFormat() = default;
  ~GpStringFormat() { Delete(); }
  GpStringFormat(GpStringFormat&& other) noexcept;
  GpStringFormat& operator=(GpStringFormat&& other) noexcept;
  GpStringFormat(const GpStringFormat&) = delete;
  GpStringFormat& operator=(const GpStringFormat&) = delete;

  void Delete();
  void Create(int flags = 0, int language = 0);
  void SetAlign(int align);
  void SetLineAlign(int align);
  void SetAlignBoth(int align, int lineAlign);
  gdip::StringFormat* GetHandle() const { return format_; }
  void Reset(gdip::StringFormat* format);

 private:
  gdip::StringFormat* format_ = nullptr;
};

// A memory block and the stream over it, for loading images from bytes
// held in memory. The wrapper owns both and releases both: the stream, and
// the block unless the stream frees it on release.
class GlobalMemoryStream {
 public:
  GlobalMemoryStream() = default;
  ~GlobalMemoryStream() { Free(); }
  GlobalMemoryStream(GlobalMemoryStream&& other) noexcept;
  GlobalMemoryStream& operator=(GlobalMemoryStream&& other) noexcept;
  GlobalMemoryStream(const GlobalMemoryStream&) = delete;
  GlobalMemoryStream& operator=(const GlobalMemoryStream&) = delete;

  // Releases the stream and the block; may be called any number of times.
  void Free();
  // With `copy`: a fixed block of exactly the bytes, and a stream over it
  // that leaves the block alone on release. Without: a growing block of
  // size 0 and a stream that frees it on release. Returns the stream, or
  // nullptr.
  gdip::Stream* Create(std::span<const std::uint8_t> bytes, bool copy);
  gdip::Stream* GetStream() const { return stream_; }
  std::size_t GetSize() const;
  std::vector<std::uint8_t> GetBytes() const;

 private:
  gdip::MemoryBlock* memory_ = nullptr;
  gdip::Stream* stream_ = nullptr;
  bool streamOwnsMemory_ = false;
};

}  // namespace skin
