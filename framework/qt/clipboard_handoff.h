// Keeping the clipboard after the program ends. On X11 the text a program
// puts on the clipboard lives in that program: when it ends, the text goes
// with it, unless the desktop's clipboard manager took a copy first. Qt
// asks for that copy only when its application object is destroyed, which
// the exit road never does (it ends the process without unwinding).
#pragma once

namespace fw::qt {

// When this program holds the clipboard and a clipboard manager runs,
// asks the manager to save what the clipboard holds and serves its
// requests until it has, for at most `timeoutMs`. Does nothing on other
// platforms (offscreen, Wayland, no manager). Window events of the program
// are not delivered meanwhile (user input stays queued); call it on the
// exit road, after the windows are gone.
void HandClipboardToManager(int timeoutMs);

}  // namespace fw::qt
