// Skinned child controls and the caret; see children.h.
#include "skin/children.h"

#include <cmath>

#include "platform/codepage.h"
#include "skin/module.h"
#include "skin/wrappers.h"

namespace skin {

namespace {

gdip::Image* ImageProp(Hwnd hwnd, std::string_view name) {
  const ImageRef* image = GetPropAs<ImageRef>(hwnd, name);
  return image == nullptr ? nullptr : image->get();
}

void SetDrawState(Hwnd button, int state) {
  SetProp(button, kDrawStateProperty, state);
  RedrawSkinnedWindow(GetParent(button), nullptr, false);
}

WndProc SavedProc(Hwnd hwnd) {
  const WndProc* proc = GetPropAs<WndProc>(hwnd, kChildWndProcProperty);
  return proc == nullptr ? &DefWindowProc : *proc;
}

}  // namespace

void PngSkin::SubclassChildren() {
  if (IsWindow(hwnd_) == 0) return;
  for (Hwnd child = GetWindow(hwnd_, GW_CHILD); child != 0; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::intptr_t type = GetProp(child, kTypeProperty);
    if (type == 0) continue;
    // A procedure its user put aside is put back first.
    if (const WndProc* earlier = GetPropAs<WndProc>(child, "PngControl_WndProc");
        earlier != nullptr && *earlier != nullptr) {
      SetWindowProc(child, *earlier);
      RemoveProp(child, "PngControl_WndProc");
    }
    if (GetPropValue(child, kChildWndProcProperty) != nullptr) continue;
    WndProc old = nullptr;
    if (type == kSkinButton) old = SetWindowProc(child, &SkinButtonWndProc);
    if (type == kSkinEdit) old = SetWindowProc(child, &SkinEditWndProc);
    if (old != nullptr) SetProp(child, kChildWndProcProperty, old);
    // A button disabled before it was skinned (by its form, say) shows its
    // disabled image from the start, as after WM_ENABLE.
    if (type == kSkinButton && old != nullptr) {
      if (const fw::Control* unit = ControlOf(child); unit != nullptr && unit->Disabled())
        SetProp(child, kDrawStateProperty, kStateDisabled);
    }
  }
  RedrawSkinnedWindow(hwnd_, nullptr, false);
}

int GetDrawState(Hwnd hwnd) {
  return static_cast<int>(GetProp(hwnd, kDrawStateProperty));
}

gdip::Image* GetStateImage(Hwnd hwnd, int state) {
  gdip::Image* image = nullptr;
  switch (state) {
    case kStateHot:
      image = ImageProp(hwnd, "PngControl_OverlImage");
      break;
    case kStatePressed:
      image = ImageProp(hwnd, "PngControl_DownImage");
      break;
    case kStateDisabled:
      image = ImageProp(hwnd, "PngControl_DisableImage");
      break;
    default:
      break;
  }
  return image != nullptr ? image : ImageProp(hwnd, "PngControl_NormalImage");
}

void FitSizeKeepAspect(int w, int h, int maxW, int maxH, int* fitW, int* fitH) {
  double width = w;
  double height = h;
  if (width > maxW) {
    height = std::trunc(height * maxW / width);
    width = maxW;
  }
  if (height > maxH) {
    width = std::trunc(width * maxH / height);
    height = maxH;
  }
  *fitW = static_cast<int>(width);
  *fitH = static_cast<int>(height);
}

std::string GetWindowTextAsText(Hwnd hwnd) {
  return GetWindowText(hwnd);
}

void DrawSkinnedChild(Hwnd parent, Hwnd child, gdip::Graphics* graphics) {
  Rect r;
  if (!GetWindowRect(child, &r)) return;
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  Point at{r.left, r.top};
  ScreenToClient(parent, &at);
  const int x = at.x;
  const int y = at.y;

  const std::intptr_t type = GetProp(child, kTypeProperty);
  const std::intptr_t backType = GetProp(child, "PngControl_BackType");
  gdip::Image* image = nullptr;
  if (type == kSkinPicture) {
    image = ImageProp(child, "PngControl_BackImage");
  } else if (type == kSkinButton) {
    image = GetStateImage(child, GetDrawState(child));
  } else if (type == kSkinEdit) {
    image = ImageProp(child, "PngControl_BackImage");
    if (const std::intptr_t fill = GetProp(child, "PngControl_BackColor"); fill != -1) {
      gdip::Brush* brush = nullptr;
      gdip::CreateSolidFill(
          ArgbFromColorAlpha(static_cast<std::uint32_t>(fill),
                             static_cast<int>(GetProp(child, "PngControl_BackAlpha"))),
          &brush);
      gdip::FillRectangle(graphics, brush, static_cast<float>(x), static_cast<float>(y),
                          static_cast<float>(w), static_cast<float>(h));
      gdip::DeleteBrush(brush);
    }
  }

  if (image != nullptr) {
    float iw = 0;
    float ih = 0;
    gdip::GetImageDimension(image, &iw, &ih);
    if (backType == 1) {
      gdip::DrawImageRect(graphics, image, static_cast<float>(x), static_cast<float>(y),
                          static_cast<float>(w), static_cast<float>(h));
    } else if (backType == 2) {
      int fw = 0;
      int fh = 0;
      FitSizeKeepAspect(static_cast<int>(iw), static_cast<int>(ih), w, h, &fw, &fh);
      gdip::DrawImageRect(graphics, image, static_cast<float>(x + (w - fw) / 2),
                          static_cast<float>(y + (h - fh) / 2), static_cast<float>(fw),
                          static_cast<float>(fh));
    } else if (iw - static_cast<float>(w) > 0.0000001f || ih - static_cast<float>(h) > 0.0000001f) {
      // Larger than the child: its top-left part, cut to the child.
      gdip::DrawImagePointRect(graphics, image, static_cast<float>(x), static_cast<float>(y), 0, 0,
                               static_cast<float>(w), static_cast<float>(h), gdip::Unit::Pixel);
    } else {
      gdip::DrawImageRect(graphics, image, static_cast<float>(x), static_cast<float>(y), iw, ih);
    }
  }
  // Pictures and buttons carry everything in their images; an edit gets
  // its border and its text also over an image larger than itself.
  if (type != kSkinEdit) return;

  if (const std::intptr_t border = GetProp(child, "PngControl_OrderColor"); border != -1) {
    gdip::Pen* pen = nullptr;
    gdip::CreatePen1(ArgbFromColorAlpha(static_cast<std::uint32_t>(border),
                                        static_cast<int>(GetProp(child, "PngControl_OrderAlpha"))),
                     1.0f, gdip::Unit::World, &pen);
    gdip::DrawRectangle(graphics, pen, static_cast<float>(x), static_cast<float>(y),
                        static_cast<float>(w), static_cast<float>(h));
    gdip::DeletePen(pen);
  }

  const std::string text = GetWindowTextAsText(child);
  if (text.empty()) return;
  const std::u16string wide = AnsiToWide(text);
  GpFont font;
  font.CreateFromWindow(child);
  GpStringFormat format;
  format.Create(gdip::kStringFormatNoWrap | gdip::kStringFormatNoFitBlackBox, 0);
  format.SetAlignBoth(0, 1);
  gdip::Brush* brush = nullptr;
  gdip::CreateSolidFill(
      ArgbFromColorAlpha(static_cast<std::uint32_t>(GetProp(child, "PngControl_TextColor")), 255),
      &brush);
  if (font.GetHandle() != nullptr) {
    gdip::DrawString(graphics, std::u16string_view(wide).substr(0, wide.size() - 1),
                     font.GetHandle(),
                     {static_cast<float>(x + 2), static_cast<float>(y + 2),
                      static_cast<float>(w - 4), static_cast<float>(h - 4)},
                     format.GetHandle(), brush);
  }
  gdip::DeleteBrush(brush);
}

// Button states. A disabled button stays disabled, showing its disabled
// image, whatever the mouse does, until it is enabled again; a quick second
// click counts as a press.
LResult SkinButtonWndProc(Hwnd hwnd, unsigned message, WParam w, LParam l) {
  const int state = GetDrawState(hwnd);
  int next = state;
  switch (message) {
    case WM_MOUSEMOVE:
      if (state == kStateNormal) {
        next = kStateHot;
        TrackMouseEvent(hwnd, TME_LEAVE);
      }
      break;
    case WM_MOUSELEAVE:
      if (state != kStateDisabled) next = kStateNormal;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (state != kStateDisabled) next = kStatePressed;
      break;
    case WM_LBUTTONUP:
      if (state != kStateDisabled) next = state == kStatePressed ? kStateHot : kStateNormal;
      break;
    case WM_ENABLE:
      next = w != 0 ? kStateNormal : kStateDisabled;
      break;
    default:
      break;
  }
  if (next != state) SetDrawState(hwnd, next);
  return CallWindowProc(SavedProc(hwnd), hwnd, message, w, l);
}

LResult SkinEditWndProc(Hwnd hwnd, unsigned message, WParam w, LParam l) {
  const Hwnd parent = GetParent(hwnd);
  if (message == WM_SETFOCUS) {
    g_skinCaretVisible = false;
    g_skinCaretWindow = parent;
    g_skinFocusedEdit = hwnd;
  } else if (message == WM_KILLFOCUS) {
    g_skinFocusedEdit = 0;
    g_skinCaretWindow = 0;
  }
  const LResult result = CallWindowProc(SavedProc(hwnd), hwnd, message, w, l);
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_SETTEXT:
    case WM_PASTE:
    case WM_CUT:
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      RedrawSkinnedWindow(parent, nullptr, false);
      break;
    default:
      break;
  }
  return result;
}

void CaretBlinkTimerProc(Hwnd hwnd, unsigned, std::uintptr_t id, std::uint32_t) {
  if (id != static_cast<std::uintptr_t>(kCaretTimerId) || hwnd != g_skinCaretWindow ||
      g_skinFocusedEdit == 0 || g_skinFrameImage == nullptr)
    return;
  g_skinCaretVisible = !g_skinCaretVisible;
  PresentLayeredWindow(hwnd, g_skinFrameImage, g_skinCaretVisible);
}

void DrawCaret(Hwnd parent, Hwnd edit, gdip::Graphics* graphics) {
  Rect r;
  if (!GetWindowRect(edit, &r)) return;
  const int h = r.bottom - r.top;
  Point at{r.left, r.top};
  ScreenToClient(parent, &at);
  Point caret;
  GetCaretPos(&caret);
  const float x = static_cast<float>(at.x + caret.x + 5);
  const float top = static_cast<float>(at.y + (h - 12) / 2);
  gdip::Pen* pen = nullptr;
  gdip::CreatePen1(ArgbFromColorAlpha(0, 255), 1.0f, gdip::Unit::World, &pen);
  gdip::DrawLine(graphics, pen, x, top, x, top + 12);
  gdip::DeletePen(pen);
}

namespace {

// The child of `window` under a point of its client area, from the top of
// the z-order down; 0 for none.
Hwnd ChildAt(Hwnd window, int x, int y) {
  Rect outer;
  if (!GetWindowRect(window, &outer)) return 0;
  for (Hwnd child = GetWindow(window, GW_CHILD); child != 0;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const fw::Control* unit = ControlOf(child);
    if (unit == nullptr || !unit->Visible()) continue;
    Rect r;
    GetWindowRect(child, &r);
    const int sx = outer.left + x;
    const int sy = outer.top + y;
    if (sx >= r.left && sx < r.right && sy >= r.top && sy < r.bottom) return child;
  }
  return 0;
}

// A point of the window's client area in a child's coordinates.
LParam PointIn(Hwnd window, Hwnd child, int x, int y) {
  Rect outer;
  GetWindowRect(window, &outer);
  Point p{outer.left + x, outer.top + y};
  ScreenToClient(child, &p);
  return MakePoint(p.x, p.y);
}

bool ChildOf(Hwnd window, Hwnd child) {
  return child != 0 && GetParent(child) == window;
}

constexpr std::string_view kHoverProperty = "Skin_Hover";

}  // namespace

void RouteInput(Hwnd window, const fw::RawInput& input) {
  using Kind = fw::RawInput::Kind;
  const Hwnd hover = static_cast<Hwnd>(GetProp(window, kHoverProperty));
  auto leave = [&] {
    if (hover != 0 && TrackedMouseLeave() == hover) SendMessage(hover, WM_MOUSELEAVE, 0, 0);
    SetProp(window, kHoverProperty, 0);
  };
  const Hwnd capture = ChildOf(window, GetCapture()) ? GetCapture() : 0;
  switch (input.kind) {
    case Kind::PointerMove: {
      const Hwnd under = ChildAt(window, input.x, input.y);
      if (under != hover) {
        leave();
        SetProp(window, kHoverProperty, static_cast<int>(under));
      }
      const Hwnd target = capture != 0 ? capture : under;
      if (target != 0)
        SendMessage(target, WM_MOUSEMOVE, 0, PointIn(window, target, input.x, input.y));
      return;
    }
    case Kind::PointerLeave:
      leave();
      return;
    case Kind::LeftDown:
    case Kind::LeftDouble: {
      const Hwnd target = ChildAt(window, input.x, input.y);
      if (target == 0) {
        SetFocus(0);
        return;
      }
      SendMessage(target, input.kind == Kind::LeftDown ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK, 1,
                  PointIn(window, target, input.x, input.y));
      return;
    }
    case Kind::LeftUp: {
      const Hwnd target = capture != 0 ? capture : ChildAt(window, input.x, input.y);
      if (target != 0)
        SendMessage(target, WM_LBUTTONUP, 0, PointIn(window, target, input.x, input.y));
      if (capture != 0) ReleaseCapture();
      return;
    }
    case Kind::Character: {
      const Hwnd focus = GetFocus();
      if (!ChildOf(window, focus) || input.text.empty()) return;
      const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(input.text[i]); };
      if (input.text.size() >= 2 && platform::IsGbkLeadByte(byte(0))) {
        SendMessage(focus, WM_IME_CHAR, static_cast<WParam>(byte(0) << 8 | byte(1)), 0);
      } else {
        SendMessage(focus, WM_CHAR, byte(0), 0);
      }
      return;
    }
    case Kind::KeyDown: {
      const Hwnd focus = GetFocus();
      if (ChildOf(window, focus)) SendMessage(focus, WM_KEYDOWN, static_cast<WParam>(input.key), 0);
      return;
    }
  }
}

}  // namespace skin
