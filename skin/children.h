// Skinned child controls and the caret. A skinned window shows only the
// frame the module composes, never its units themselves; a unit takes part
// when its user gives it properties (a type, images, colours), and
// PngSkin::SubclassChildren puts the module's procedures in front of its
// skinned buttons and edits so that mouse, keyboard and focus messages
// change their drawn state and compose the window's frame again. The caret
// of the focused skinned edit is drawn by the module and blinks with the
// window's 500 ms caret timer.
//
// Properties of a child (set by its user; an absent one reads as 0):
//   "PngControl_Type"         int: 2 picture, 3 button, 4 edit; 0: not skinned;
//                             any other value: visited, nothing drawn
//   "PngControl_BackType"     int: 1 stretched, 2 fitted with its aspect
//                             kept and centred, else its own size (cut)
//   "PngControl_BackImage"    ImageRef: a picture's image, an edit's back
//   "PngControl_NormalImage", "PngControl_OverlImage",
//   "PngControl_DownImage", "PngControl_DisableImage"
//                             ImageRef: a button's state images
//   "PngControl_BackColor", "PngControl_OrderColor"
//                             int: 0x00BBGGRR or -1 (none): an edit's fill
//                             and border
//   "PngControl_BackAlpha", "PngControl_OrderAlpha"  int 0..255
//   "PngControl_TextColor"    int: 0x00BBGGRR, opaque
// The module sets "PngControl_ChildWndProc" (WndProc) and "Halyx_DrawState"
// (int: 0 normal, 1 mouse over, 2 pressed, 3 disabled), and restores and
// removes "PngControl_WndProc" (WndProc).
#pragma once

#include <string>
#include <string_view>

#include "skin/gdiplus.h"
#include "skin/png_skin.h"
#include "skin/user.h"

namespace skin {

inline constexpr std::string_view kTypeProperty = "PngControl_Type";
inline constexpr std::string_view kChildWndProcProperty = "PngControl_ChildWndProc";
inline constexpr std::string_view kDrawStateProperty = "Halyx_DrawState";

inline constexpr int kSkinPicture = 2;
inline constexpr int kSkinButton = 3;
inline constexpr int kSkinEdit = 4;

inline constexpr int kStateNormal = 0;
inline constexpr int kStateHot = 1;
inline constexpr int kStatePressed = 2;
inline constexpr int kStateDisabled = 3;

// Draws one child onto the frame of its parent window.
void DrawSkinnedChild(Hwnd parent, Hwnd child, gdip::Graphics* graphics);
int GetDrawState(Hwnd hwnd);
// The image for a button state, or its normal image when that state has
// none.
gdip::Image* GetStateImage(Hwnd hwnd, int state);
// Scales (w, h) down to fit (maxW, maxH) keeping the aspect; never up.
void FitSizeKeepAspect(int w, int h, int maxW, int maxH, int* fitW, int* fitH);
std::string GetWindowTextAsText(Hwnd hwnd);

// The procedures of skinned buttons and edits, and the caret timer's.
LResult SkinButtonWndProc(Hwnd hwnd, unsigned message, WParam w, LParam l);
LResult SkinEditWndProc(Hwnd hwnd, unsigned message, WParam w, LParam l);
void CaretBlinkTimerProc(Hwnd hwnd, unsigned message, std::uintptr_t id, std::uint32_t time);
// A 12-pixel black line at the focused edit's caret, centred in the edit.
void DrawCaret(Hwnd parent, Hwnd edit, gdip::Graphics* graphics);

// The mouse and keyboard of a skinned window, as its children's messages:
// the child under the pointer (or the one that holds the capture) gets
// WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK and WM_LBUTTONUP in its
// own coordinates, and WM_MOUSELEAVE when the pointer leaves it after it
// asked for that; typed characters (WM_CHAR, WM_IME_CHAR for a two-byte
// character) and keys go to the focused child. PngSkin::Attach routes the
// window's raw input here.
void RouteInput(Hwnd window, const fw::RawInput& input);

}  // namespace skin
