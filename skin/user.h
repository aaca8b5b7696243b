// The window services the skinned-window module is written against, over
// the framework's windows and units: 32-bit handles, window rectangles and
// the child order, properties, window procedures and messages, focus, the
// caret, timers, fonts of controls and window classes.
//
// A handle names one loaded instance of a window (fw::Window) or of one of
// its units (fw::Control); once that instance is destroyed the handle is no
// window any more, and the framework has dropped its properties and timers.
// Handles are never reused.
//
// GUI thread only.
#pragma once

#include <any>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/unit.h"

namespace skin {

using Hwnd = std::int32_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using WndProc = LResult (*)(Hwnd, unsigned message, WParam, LParam);
using TimerProc = void (*)(Hwnd, unsigned message, std::uintptr_t id, std::uint32_t time);

// Messages.
inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_SETFOCUS = 0x0007;
inline constexpr unsigned WM_KILLFOCUS = 0x0008;
inline constexpr unsigned WM_ENABLE = 0x000A;
inline constexpr unsigned WM_SETTEXT = 0x000C;
inline constexpr unsigned WM_GETFONT = 0x0031;
inline constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr unsigned WM_KEYDOWN = 0x0100;
inline constexpr unsigned WM_CHAR = 0x0102;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_IME_CHAR = 0x0286;
inline constexpr unsigned WM_MOUSELEAVE = 0x02A3;
inline constexpr unsigned WM_CUT = 0x0300;
inline constexpr unsigned WM_PASTE = 0x0302;

inline constexpr WParam HTCAPTION = 2;
inline constexpr unsigned TME_LEAVE = 2;

// A mouse position packed into a message's lParam: x low, y high.
constexpr LParam MakePoint(int x, int y) {
  return static_cast<LParam>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                             static_cast<std::uint32_t>(x & 0xFFFF));
}
constexpr int PointX(LParam l) {
  return static_cast<std::int16_t>(static_cast<std::uint32_t>(l) & 0xFFFF);
}
constexpr int PointY(LParam l) {
  return static_cast<std::int16_t>((static_cast<std::uint32_t>(l) >> 16) & 0xFFFF);
}

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct Point {
  int x = 0;
  int y = 0;
};

// ---- Handles ----------------------------------------------------------------

// The handle of a loaded window or of a unit of one; 0 when not loaded.
// The same instance always gets the same handle.
Hwnd HandleOf(fw::Window& window);
Hwnd HandleOf(fw::Control& unit);
// The live window or unit a handle names, or nullptr.
fw::Window* WindowOf(Hwnd hwnd);
fw::Control* ControlOf(Hwnd hwnd);
// 1 when the handle names a live window or unit, else 0.
int IsWindow(Hwnd hwnd);
// Forgets every handle, the focus, the capture and the caret: for a new
// runtime (each start of the program in one process, as tests do).
void ForgetHandles();

// ---- Geometry and order -----------------------------------------------------

// The outer rectangle in screen coordinates (a unit's from its window's).
bool GetWindowRect(Hwnd hwnd, Rect* rect);
// Screen coordinates to the client coordinates of `hwnd`.
bool ScreenToClient(Hwnd hwnd, Point* point);
// The containing unit (group box, tab control) or window of a unit; 0 for a
// window.
Hwnd GetParent(Hwnd hwnd);
// GW_CHILD: the topmost child (units lie in form order, later ones above
// earlier ones; timers and drop targets are no windows); GW_HWNDNEXT: the
// next lower sibling. 0 when there is none.
inline constexpr unsigned GW_HWNDNEXT = 2;
inline constexpr unsigned GW_CHILD = 5;
Hwnd GetWindow(Hwnd hwnd, unsigned command);

inline constexpr unsigned SWP_NOSIZE = 0x0001;
inline constexpr unsigned SWP_NOMOVE = 0x0002;
inline constexpr unsigned SWP_NOZORDER = 0x0004;
inline constexpr unsigned SWP_NOREDRAW = 0x0008;
// Moves and sizes a window or unit; the z-order is never changed here.
bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int width, int height, unsigned flags);

// Enables or disables a unit and sends it WM_ENABLE, as the system does.
bool EnableWindow(Hwnd hwnd, bool enable);
// From now on a unit of this window that the program enables or disables
// through the framework (fw::Control::SetDisabled) gets WM_ENABLE too, as
// one that EnableWindow changes does: a window whose units the module
// draws sees both roads alike. Once per window instance is enough.
void SendEnableOnFrameworkChanges(Hwnd window);

// The text of a window (its caption) or unit (GBK).
int GetWindowTextLength(Hwnd hwnd);
std::string GetWindowText(Hwnd hwnd);

// ---- Properties ---------------------------------------------------------------

// Properties of the instance (fw::PropertyBag); an absent one reads as 0.
bool SetProp(Hwnd hwnd, std::string_view name, std::any value);
// An integer property (any integral type stored), or 0.
std::intptr_t GetProp(Hwnd hwnd, std::string_view name);
// A property of type T, or nullptr.
template <class T>
const T* GetPropAs(Hwnd hwnd, std::string_view name);
const std::any* GetPropValue(Hwnd hwnd, std::string_view name);
void RemoveProp(Hwnd hwnd, std::string_view name);

// ---- Window procedures ----------------------------------------------------------

// Every window and unit starts with DefWindowProc.
WndProc GetWindowProc(Hwnd hwnd);
// Installs `proc` and returns the procedure it replaces (nullptr for a
// handle that is no window).
WndProc SetWindowProc(Hwnd hwnd, WndProc proc);
LResult CallWindowProc(WndProc proc, Hwnd hwnd, unsigned message, WParam w, LParam l);
// Calls the handle's procedure; 0 for a handle that is no window.
LResult SendMessage(Hwnd hwnd, unsigned message, WParam w, LParam l);
// What windows and units do by themselves: a button is clicked by a press
// and a release over it; an edit takes typed characters, pasted text and
// WM_SETTEXT, and gets the focus when pressed; WM_GETFONT gives a unit's
// font (0 for the default font); WM_NCLBUTTONDOWN with HTCAPTION lets the
// user drag a window.
LResult DefWindowProc(Hwnd hwnd, unsigned message, WParam w, LParam l);

// ---- Focus, mouse, caret, timers ----------------------------------------------

// Moves the keyboard focus (WM_KILLFOCUS to the old owner, WM_SETFOCUS to
// the new one) and returns the old owner.
Hwnd SetFocus(Hwnd hwnd);
Hwnd GetFocus();
// Asks for WM_MOUSELEAVE once the mouse leaves `hwnd`.
bool TrackMouseEvent(Hwnd hwnd, unsigned flags);
Hwnd TrackedMouseLeave();  // the handle that asked, or 0
bool ReleaseCapture();
Hwnd GetCapture();

// A caret for `hwnd` (never shown by the system here). GetCaretPos gives
// the caret of the focused edit in its client coordinates: after its text.
bool CreateCaret(Hwnd hwnd, int bitmap, int width, int height);
bool GetCaretPos(Point* point);

// A timer of a window: `proc` runs every `periodMs` with the id, until the
// window is destroyed. A second SetTimer with the same id restarts it.
bool SetTimer(Hwnd hwnd, std::uintptr_t id, int periodMs, TimerProc proc);

// ---- Fonts of controls -----------------------------------------------------------

// A GDI font description, as a control's font handle points to one.
struct LogFont {
  int height = 0;  // negative: character height in pixels; 0: the default
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  char faceName[32] = {};  // ANSI (GBK); not necessarily ended by a zero
};
using Hfont = const LogFont*;
// Copies the font's description; 0 for no font, else the bytes copied.
int GetObject(Hfont font, int size, LogFont* out);

// ---- Window classes --------------------------------------------------------------

struct WndClassEx {
  std::uint32_t size = 48;
  std::uint32_t style = 0;
  WndProc windowProc = nullptr;
  int classExtra = 0;
  int windowExtra = 0;
  std::intptr_t instance = 0;
  std::intptr_t icon = 0;
  std::intptr_t cursor = 0;
  std::intptr_t background = 0;
  std::string menuName;
  std::string className;
  std::intptr_t smallIcon = 0;
};
inline constexpr std::uint32_t CS_VREDRAW = 0x0001;
inline constexpr std::uint32_t CS_HREDRAW = 0x0002;
inline constexpr std::intptr_t IDC_ARROW = 32512;
inline constexpr std::intptr_t COLOR_BTNFACE = 15;

// Registers a class for the life of the process; 0 when the structure's
// size is wrong or a class of that name exists.
std::uint16_t RegisterClassEx(const WndClassEx& cls);
const WndClassEx* FindClass(std::string_view name);
// The program's own module, and a system cursor.
std::intptr_t GetModuleHandle();
std::intptr_t LoadCursor(std::intptr_t instance, std::intptr_t id);

// ---- Template definitions ------------------------------------------------------

template <class T>
const T* GetPropAs(Hwnd hwnd, std::string_view name) {
  const std::any* value = GetPropValue(hwnd, name);
  return value == nullptr ? nullptr : std::any_cast<T>(value);
}

}  // namespace skin
