// PngSkin: turns one top-level window into a layered window whose whole
// look, per-pixel transparency included, is composed off screen from a back
// image and from the window's skinned child controls (skin/children.h), and
// then presented as the window's frame (fw::Window::PresentLayered). Every
// change (a new back image, a button changing state, text typed into a
// skinned edit) composes and presents the whole frame again.
//
// The window keeps every flag of its form when it is attached (on top, no
// taskbar entry, input transparency). What the module keeps on the window
// (back image, caret timer) goes with it when it is destroyed.
#pragma once

#include <memory>
#include <optional>
#include <span>

#include "skin/gdiplus.h"
#include "skin/user.h"

namespace skin {

// An image owned by whoever holds it; the last holder disposes of it (and
// of the memory it was loaded from). Window properties that hold images
// hold these.
using ImageRef = std::shared_ptr<gdip::Image>;

// The skinned window's properties.
inline constexpr std::string_view kTimeProperty = "PngControl_Time";
inline constexpr std::string_view kBackImageProperty = "PngControl_BackImage";
// The caret timer's identifier and period.
inline constexpr int kCaretTimerId = 64;
inline constexpr int kCaretBlinkMs = 500;

class PngSkin {
 public:
  PngSkin() = default;
  // Leaves the window as it is.
  ~PngSkin() = default;
  PngSkin(const PngSkin&) = default;
  PngSkin& operator=(const PngSkin&) = default;

  // False, and nothing changed, when `hwnd` is no window. Else keeps the
  // handle, makes a caret for the window and starts its caret timer (once
  // per window) and returns true; the window becomes layered when its first
  // frame is presented.
  bool Attach(Hwnd hwnd);
  // False when the attached window is gone or the image is empty; else the
  // image becomes the window's back image and the window is composed and
  // presented.
  bool SetBackImage(ImageRef image);
  // SetBackImage with the image decoded from `bytes` (PNG or JPEG); false
  // when they do not decode, the window keeping its look.
  bool LoadBackImage(std::span<const std::uint8_t> bytes);
  // Puts the module's procedures in front of the skinned buttons and edits
  // of the window, once each, then composes and presents it
  // (skin/children.h).
  void SubclassChildren();
  // Moves and/or sizes the window; an omitted x and y keep the place, an
  // omitted width and height keep the size. Never changes the z-order.
  void MoveWindow(std::optional<int> x = {}, std::optional<int> y = {},
                  std::optional<int> width = {}, std::optional<int> height = {},
                  std::optional<bool> noRedraw = {});
  Hwnd GetHandle() const { return hwnd_; }
  // True exactly when IsWindow gives 1 for the handle.
  bool IsValid() const;
  LResult SendMessage(unsigned message, WParam w, LParam l);

 private:
  Hwnd hwnd_ = 0;
};

// The image decoded from bytes held in memory (a copy is kept with the
// image for as long as it lives), or empty.
ImageRef LoadImageFromBytes(std::span<const std::uint8_t> bytes);

// Composes the window's frame: a new 32-bit ARGB bitmap of the window's
// outer size, the back image stretched over it, then every skinned child
// from the top of the z-order down (so a lower child covers a higher one
// where they overlap). With `keep` the frame is handed to `frame` (the
// caller disposes of it) and nothing is presented; otherwise it is
// presented, and kept as g_skinFrameImage when the window holds the caret.
void RedrawSkinnedWindow(Hwnd hwnd, gdip::Image** frame, bool keep);

// Shows `image` as the window's frame, at its own size from the top-left
// corner, with the focused edit's caret drawn over it when `caret` is set.
// Does nothing for a handle that is no window or for no image.
void PresentLayeredWindow(Hwnd hwnd, gdip::Image* image, bool caret);

// 0x00BBGGRR and an alpha of 0..255 as 0xAARRGGBB; the colour's top byte
// is ignored.
gdip::Argb ArgbFromColorAlpha(std::uint32_t colour, int alpha);

}  // namespace skin
