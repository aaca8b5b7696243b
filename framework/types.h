// Small value types shared by the framework's models, form definitions and
// backends.
//
// Texts: every text a unit shows or holds (captions, edit texts, items,
// cells, font names) is GBK bytes in a std::string and is kept byte for byte.
// Form definitions are written as UTF-8 source literals and converted to GBK
// once, when the form is registered. Unit and window names are UTF-8 keys
// that are never shown.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// A colour as the models keep it: 0x00BBGGRR (red in the low byte). The
// backends convert to their own order. A value with a non-zero high byte
// is not a colour but "not set": the unit draws in its default colour
// (for a rich edit box: the automatic colour).
using Colour = std::uint32_t;
inline constexpr Colour kDefaultColour = 0xFF000000u;

constexpr bool IsSet(Colour c) {
  return (c & 0xFF000000u) == 0;
}
constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Colour{r} | (Colour{g} << 8) | (Colour{b} << 16);
}

// Position and size in pixels. For a unit: relative to its parent unit (group
// box, tab page) or to its window's client area. For a top-level window:
// screen coordinates of its outer frame (all windows are frameless, so the
// frame and the client area coincide). For an embedded window: relative to
// the client area of the window it is embedded in.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

enum class FontUnit : std::uint8_t { Points, Pixels };

// A unit's font. An empty face means the backend's default font. The face
// is GBK text ("宋体" is mapped by the Qt backend to the CJK font it ships
// with).
struct Font {
  std::string face;
  double size = 0;  // 0: the default size
  FontUnit unit = FontUnit::Points;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// A picture held in memory, normally embedded by resources/. The bytes are
// encoded PNG or JPEG and must live as long as the process (embedded arrays
// do); the backend decodes them through platform/image.h and may cache the
// result by address. The name identifies the picture in tests and logs.
struct Image {
  std::string_view name;
  std::span<const std::uint8_t> bytes;
  bool Empty() const { return bytes.empty(); }
  friend bool operator==(const Image& a, const Image& b) {
    return a.name == b.name && a.bytes.data() == b.bytes.data() && a.bytes.size() == b.bytes.size();
  }
};

// The four state pictures of a picture button. An empty picture falls back
// to `normal` (a close button with three pictures has no disabled one).
struct ImageSet {
  Image normal;
  Image hot;
  Image pressed;
  Image disabled;
  friend bool operator==(const ImageSet&, const ImageSet&) = default;
};

// A picture that the program composed for a layered window (see
// Window::PresentLayered): `width` x `height` pixels, top row first, each
// 0xAARRGGBB with its alpha not premultiplied. Frames are immutable once
// presented, so copies share the pixels.
struct Frame {
  int width = 0;
  int height = 0;
  std::shared_ptr<const std::vector<std::uint32_t>> pixels;

  bool Empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
  // The pixel at (x, y); 0 (fully transparent) outside the frame.
  std::uint32_t At(int x, int y) const {
    if (Empty() || x < 0 || y < 0 || x >= width || y >= height) return 0;
    return (*pixels)[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)];
  }
};

// The kinds of unit a form may hold. A window is not a unit: it is the form.
enum class Kind : std::uint8_t {
  Label,
  GroupBox,  // scope of radio exclusivity for the radios inside it
  Edit,      // single or multi-line plain text box
  Button,
  PictureButton,  // four state pictures, no caption
  SuperButton,    // flat text button
  Radio,
  Combo,  // drop-down list (not editable), items with integer data
  Tabs,   // tab control whose pages hold units
  Timer,  // invisible
  Grid,
  RichEdit,
  DropTarget,  // invisible; registered on another unit
  Picture,     // shows one picture (PNG with alpha allowed)
};

// Events a handler can be bound to. Window events use an empty unit name in
// a binding. Which kinds raise which events:
//   window:       Created, Destroying, Moved, CloseRequested
//   Edit:         TextChanged, LeftButtonDown, RightButtonDown
//   Button, PictureButton, SuperButton, Radio, Label, Picture: Clicked
//   Combo:        SelectionChanged
//   Tabs:         TabChanged
//   Timer:        Tick
//   Grid:         CellEvent
//   RichEdit:     LeftButtonUp
//   DropTarget:   FilesDropped (the one event whose handler takes a text)
enum class Event : std::uint8_t {
  Created,
  Destroying,
  Moved,
  CloseRequested,
  Clicked,
  TextChanged,
  LeftButtonDown,
  RightButtonDown,
  LeftButtonUp,
  SelectionChanged,
  TabChanged,
  Tick,
  CellEvent,
  FilesDropped,
};

// Handlers are plain functions; application code may also call them
// directly. Details of the event that is being delivered (mouse position,
// grid cell) are available through fw::CurrentEventArgs() (runtime.h).
using Handler = void (*)();
// FilesDropped: the dropped paths as one GBK text: a single path alone, with
// no line break; several paths each followed by CR LF. A path that GBK
// cannot hold is given as kPathOutsideGbk, which names no file.
using FilesHandler = void (*)(const std::string& paths);
inline constexpr std::string_view kPathOutsideGbk{"\0", 1};

// The result of the one exit road, as a test sees it (headless.h). In the
// program the process ends instead.
struct ProgramEnded {
  int code = 0;
  bool fatal = false;
  std::string fatalMessage;  // GBK
};

enum class MouseButton : std::uint8_t { Left, Right };

// What a user did to a grid cell that raised CellEvent.
enum class CellAction : std::uint8_t {
  Clicked,  // the user clicked (selected) the cell
  Edited,   // the user changed the cell's text and committed it
};

}  // namespace fw
