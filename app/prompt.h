// The prompt box: the one message window of the program. Every message,
// and the one question the editor asks, goes through ShowPromptBox.
#pragma once

#include <string_view>

#include "framework/form.h"

namespace app {

// Shows three lines (GBK; empty for a line not needed) in PromptWindow,
// loaded modally over MainWindow, with one centred OK button, or OK and
// Cancel when `twoButtons` is true. Returns 1 for OK, 0 for Cancel (and 0
// when the box could not be shown), after the box has been destroyed.
// Events of every window keep being served while it waits, so program-wide
// state may have changed when it returns. A request made while a prompt is
// open (by a handler running inside that prompt's wait) waits until that
// prompt has closed, then shows its own.
int ShowPromptBox(std::string_view line1, std::string_view line2, std::string_view line3,
                  bool twoButtons);

// The usual message: `message` (GBK) as the second line, one button.
inline void ShowMessage(std::string_view message) {
  ShowPromptBox({}, message, {}, false);
}

// The form of PromptWindow; it lives for the whole process.
const fw::WindowDef& PromptWindowForm();

// Handlers of PromptWindow.
void OnPromptWindowCreated();
void OnPromptOkButton1Clicked();
void OnPromptOkButton2Clicked();
void OnPromptCancelButtonClicked();

}  // namespace app
