// The skinned-window module's start-up, its program-wide state, its text
// conversion, and the loading-dialog window class it offers.
//
// The module is started once, before the first window is made
// (InitSkinModule): it starts the graphics layer for the process, fills
// the frame-dimension identifier that image loading uses and registers the
// window class "HalyxLoadDialog". No window of that class is made by the
// editor; the class and its procedure are there for a program that shows a
// loading window with a picture and a worker.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skin/gdiplus.h"
#include "skin/user.h"

namespace skin {

// ---- Program-wide state of the module -------------------------------------------

extern std::int32_t g_gdiplusToken;       // the graphics layer's start-up token
extern std::string g_frameDimensionTime;  // 16 bytes: the time frame dimension
// The caret of the focused skinned edit: the skinned window that holds it,
// the edit, the last frame composed for that window (owned by the module)
// and the blink phase.
extern Hwnd g_skinCaretWindow;
extern Hwnd g_skinFocusedEdit;
extern gdip::Image* g_skinFrameImage;
extern bool g_skinCaretVisible;

// Gives the state above its start values, releasing the kept frame, and
// forgets the window handles of an earlier run (skin/user.h).
void ResetSkinState();

// ---- Start-up -------------------------------------------------------------------

// RegisterHalyxLoadDialogClass; always 0.
int InitSkinModule();
// Starts the graphics layer, fills g_frameDimensionTime, registers the
// class. No result is looked at: start-up always goes on.
void RegisterHalyxLoadDialogClass();
gdip::Status StartGdiplus();

// The text (ANSI code page: GBK) as UTF-16 with its terminating zero: the
// result holds one unit more than the text has characters, and an empty
// text gives the zero alone.
std::u16string AnsiToWide(std::string_view ansi);

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (UTF-16) into a GUID's
// 16 bytes (first three fields little-endian); false, and the bytes left
// alone, when the text is no such identifier.
bool ClsidFromString(std::u16string_view text, gdip::Guid* guid);

// ---- The loading dialog ---------------------------------------------------------

inline constexpr std::string_view kLoadDialogClass = "HalyxLoadDialog";

// Properties a window of the class may carry (set by whoever makes one):
//   "Halyx_Thread": std::shared_ptr<platform::Thread>, its worker;
//   "Halyx_Image":  ImageRef (skin/png_skin.h), the picture it shows;
//   "Halyx_Stream": std::shared_ptr<GlobalMemoryStream>, the memory the
//                   picture was loaded from;
//   "HalyxHitMove": 1 to let the user drag the window by its client area.
// WM_DESTROY asks the worker to stop and waits for it, then releases the
// picture, then the memory; WM_LBUTTONDOWN on a window whose HalyxHitMove is
// exactly 1 lets the user drag it; everything else goes to DefWindowProc.
LResult HalyxLoadDialogWndProc(Hwnd hwnd, unsigned message, WParam w, LParam l);

}  // namespace skin
