// The layered-window skin; see png_skin.h.
#include "skin/png_skin.h"

#include <utility>
#include <vector>

#include "skin/children.h"
#include "skin/module.h"
#include "skin/wrappers.h"

namespace skin {

// ---- PngSkin --------------------------------------------------------------------

bool PngSkin::Attach(Hwnd hwnd) {
  if (IsWindow(hwnd) == 0) return false;
  hwnd_ = hwnd;
  // The window keeps its own flags; it turns layered with its first frame.
  CreateCaret(hwnd_, 0, 1, 12);
  if (GetProp(hwnd_, kTimeProperty) == 0) {
    SetTimer(hwnd_, kCaretTimerId, kCaretBlinkMs, &CaretBlinkTimerProc);
    SetProp(hwnd_, kTimeProperty, kCaretTimerId);
    // The window shows only its frame: its mouse and keyboard reach the
    // skinned children as their messages, and so does a change of a
    // child's enabled state made through the framework.
    if (fw::Window* window = WindowOf(hwnd_)) {
      window->SetRawInputHook([hwnd](const fw::RawInput& input) { RouteInput(hwnd, input); });
    }
    SendEnableOnFrameworkChanges(hwnd_);
  }
  return true;
}

bool PngSkin::SetBackImage(ImageRef image) {
  if (IsWindow(hwnd_) == 0 || image == nullptr) return false;
  SetProp(hwnd_, kBackImageProperty, std::move(image));
  RedrawSkinnedWindow(hwnd_, nullptr, false);
  return true;
}

bool PngSkin::LoadBackImage(std::span<const std::uint8_t> bytes) {
  ImageRef image = LoadImageFromBytes(bytes);
  return image != nullptr && SetBackImage(std::move(image));
}

void PngSkin::MoveWindow(std::optional<int> x, std::optional<int> y, std::optional<int> width,
                         std::optional<int> height, std::optional<bool> noRedraw) {
  Rect r;
  GetWindowRect(hwnd_, &r);
  unsigned flags = SWP_NOZORDER;
  if (noRedraw.value_or(false)) flags |= SWP_NOREDRAW;
  if (!x && !y) flags |= SWP_NOMOVE;
  if (!width && !height) flags |= SWP_NOSIZE;
  SetWindowPos(hwnd_, 0, x.value_or(r.left), y.value_or(r.top), width.value_or(r.right - r.left),
               height.value_or(r.bottom - r.top), flags);
}

bool PngSkin::IsValid() const {
  return IsWindow(hwnd_) == 1;
}

LResult PngSkin::SendMessage(unsigned message, WParam w, LParam l) {
  return skin::SendMessage(hwnd_, message, w, l);
}

// ---- Composition ------------------------------------------------------------------

namespace {

// Shows `width` x `height` pixels, composed for the window, as its frame.
void PresentFrame(Hwnd hwnd, int width, int height,
                  std::shared_ptr<const std::vector<gdip::Argb>> pixels) {
  fw::Window* window = WindowOf(hwnd);
  if (window == nullptr || pixels == nullptr) return;
  fw::Frame frame;
  frame.width = width;
  frame.height = height;
  frame.pixels = std::move(pixels);
  window->PresentLayered(frame);
}

}  // namespace

ImageRef LoadImageFromBytes(std::span<const std::uint8_t> bytes) {
  auto memory = std::make_shared<GlobalMemoryStream>();
  gdip::Stream* stream = memory->Create(bytes, true);
  if (stream == nullptr) return nullptr;
  gdip::Image* image = nullptr;
  if (gdip::LoadImageFromStream(stream, &image) != gdip::Status::Ok) return nullptr;
  // The first frame of the time dimension, for animated pictures; a still
  // one has none, and the status is not looked at.
  gdip::Guid time;
  for (std::size_t i = 0; i < sizeof time.bytes && i < g_frameDimensionTime.size(); ++i)
    time.bytes[i] = static_cast<std::uint8_t>(g_frameDimensionTime[i]);
  gdip::ImageSelectActiveFrame(image, time, 0);
  // The memory stays with the image and goes after it.
  return ImageRef(image, [memory = std::move(memory)](gdip::Image* i) { gdip::DisposeImage(i); });
}

void RedrawSkinnedWindow(Hwnd hwnd, gdip::Image** frame, bool keep) {
  Rect r;
  if (!GetWindowRect(hwnd, &r)) return;
  gdip::Image* bitmap = nullptr;
  gdip::CreateBitmapFromScan0(r.right - r.left, r.bottom - r.top, 0, gdip::kPixelFormat32bppArgb,
                              &bitmap);
  gdip::Graphics* graphics = nullptr;
  gdip::GetImageGraphicsContext(bitmap, &graphics);

  if (const ImageRef* back = GetPropAs<ImageRef>(hwnd, kBackImageProperty);
      back != nullptr && *back != nullptr) {
    float w = 0;
    float h = 0;
    gdip::GetImageDimension(bitmap, &w, &h);
    gdip::DrawImageRect(graphics, back->get(), 0, 0, w, h);
  }
  for (Hwnd child = GetWindow(hwnd, GW_CHILD); child != 0; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetProp(child, kTypeProperty) != 0) DrawSkinnedChild(hwnd, child, graphics);
  }
  gdip::DeleteGraphics(graphics);

  if (keep) {
    if (frame != nullptr) {
      *frame = bitmap;
    } else if (bitmap != nullptr) {
      gdip::DisposeImage(bitmap);
    }
    return;
  }
  if (bitmap == nullptr) return;
  if (hwnd == g_skinCaretWindow) {
    // The caret blink presents this frame again.
    PresentLayeredWindow(hwnd, bitmap, false);
    if (g_skinFrameImage != nullptr) gdip::DisposeImage(g_skinFrameImage);
    g_skinFrameImage = bitmap;
  } else {
    // Nobody keeps this frame: its own pixels are presented, as drawing it
    // onto a clear section of the window's size would show them.
    PresentFrame(hwnd, r.right - r.left, r.bottom - r.top, gdip::DisposeImageIntoFrame(bitmap));
  }
}

void PresentLayeredWindow(Hwnd hwnd, gdip::Image* image, bool caret) {
  fw::Window* window = WindowOf(hwnd);
  if (window == nullptr || image == nullptr) return;
  Rect r;
  GetWindowRect(hwnd, &r);
  gdip::Image* section = nullptr;
  if (gdip::CreateBitmapFromScan0(r.right - r.left, r.bottom - r.top, 0,
                                  gdip::kPixelFormat32bppArgb, &section) != gdip::Status::Ok)
    return;
  gdip::Graphics* graphics = nullptr;
  gdip::GetImageGraphicsContext(section, &graphics);
  unsigned w = 0;
  unsigned h = 0;
  gdip::GetImageWidth(image, &w);
  gdip::GetImageHeight(image, &h);
  gdip::DrawImageRect(graphics, image, 0, 0, static_cast<float>(w), static_cast<float>(h));
  if (caret) DrawCaret(hwnd, g_skinFocusedEdit, graphics);
  gdip::DeleteGraphics(graphics);

  PresentFrame(hwnd, r.right - r.left, r.bottom - r.top, gdip::DisposeImageIntoFrame(section));
}

gdip::Argb ArgbFromColorAlpha(std::uint32_t colour, int alpha) {
  const std::uint32_t red = colour & 0xFF;
  const std::uint32_t green = (colour >> 8) & 0xFF;
  const std::uint32_t blue = (colour >> 16) & 0xFF;
  return (static_cast<std::uint32_t>(alpha & 0xFF) << 24) | (red * 65536 + green * 256 + blue);
}

}  // namespace skin
