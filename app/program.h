// Program start and exit.
#pragma once

#include <array>

#include "framework/form.h"

namespace app {

// The forms of the program's seven windows, MainWindow first.
const std::array<const fw::WindowDef*, 7>& ProgramForms();

// Registers every window form of the program with the current runtime.
// Forms already registered with it are left as they are, so a test may
// register them before starting the program.
void RegisterForms();

// The program's start routine, run once on the GUI thread over a runtime
// that exists: registers the forms, gives the program-wide state its start
// values, registers the exit routine, starts the skinned-window module,
// loads MainWindow (a failure is the
// fatal error "载入启动窗口失败") and runs the message loop. The program ends
// only through the exit road (fw::Exit), so it does not return in practice;
// the result would be 0.
int ProgramStart();

// 关闭按钮 Clicked on MainWindow, and a system close of MainWindow: ends
// the program with exit code 0 through the exit road, which runs
// FreeProgramGlobals once, and does not return. With unsaved changes in
// the script box it asks first (MayDiscardScriptBoxText); Cancel returns
// and the program runs on.
void OnCloseButtonClicked();

}  // namespace app
