// The prompt box: the one message window of the program. Every message,
// and the one question the editor asks, goes through ShowPromptBox. The box
// plays the prompt sound, unrolls from a strip 1 pixel wide to its full
// width, waits for a button (or Enter, Escape, a close from outside) and
// rolls back up before it goes. Beside it stands a decoration window, a
// figure drawn with per-pixel alpha by the skinned-window module, which
// follows the box and goes at most 50 ms after it.
#pragma once

#include <string_view>

#include "framework/form.h"
#include "skin/png_skin.h"

namespace app {

// The box's final size and its animation: 32 pixels every 10 ms.
inline constexpr int kPromptWidth = 320;
inline constexpr int kPromptHeight = 121;
inline constexpr int kPromptAnimStep = 32;
inline constexpr int kPromptAnimPeriodMs = 10;
// The decoration: its size, and its top-left corner's place relative to
// the box's (198 pixels to the left, 124 above).
inline constexpr int kBackdropWidth = 345;
inline constexpr int kBackdropHeight = 337;
inline constexpr int kBackdropLeftOf = 198;
inline constexpr int kBackdropAbove = 124;

// Shows three lines (GBK; empty for a line not needed) in PromptWindow,
// loaded modally over MainWindow, with one centred OK button, or OK and
// Cancel when `twoButtons` is true. Returns 1 for OK, 0 for Cancel (and 0
// when the box could not be shown), after the box has rolled up and been
// destroyed. Events of every window keep being served while it waits, so
// program-wide state may have changed when it returns. A request made
// while a prompt is open (by a handler running inside that prompt's wait)
// waits until that prompt has closed, then shows its own.
int ShowPromptBox(std::string_view line1, std::string_view line2, std::string_view line3,
                  bool twoButtons);

// The usual message: `message` (GBK) as the second line, one button.
inline void ShowMessage(std::string_view message) {
  ShowPromptBox({}, message, {}, false);
}

// The forms of PromptWindow and PromptBackdropWindow; they live for the
// whole process.
const fw::WindowDef& PromptWindowForm();
const fw::WindowDef& PromptBackdropWindowForm();

// Handlers of PromptWindow.
void OnPromptWindowCreated();
void OnPromptOpenTimerTick();
void OnPromptCloseTimerTick();
void OnPromptOkButton1Clicked();
void OnPromptOkButton2Clicked();
void OnPromptCancelButtonClicked();
// A close from the window system acts as the Escape key.
void OnPromptWindowCloseRequested();
void OnPromptWindowMoved();

// The figure beside the box, decoded from its PNG once for the whole
// process, at the first call after the skinned-window module has started
// (ProgramStart makes that call); empty before. Every decoration window
// shows this one picture as its back image, and nothing draws on it.
const skin::ImageRef& PromptDecorationPicture();

// Handlers of PromptBackdropWindow.
void OnPromptBackdropWindowCreated();
void OnPromptBackdropTimerTick();

}  // namespace app
