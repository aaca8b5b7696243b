// HelpWindow, and the small handlers of MainWindow's caption bar and load
// button that open other windows or act on the main window itself.
#pragma once

#include <string_view>

#include "framework/form.h"
#include "framework/unit.h"

namespace app {

// The help text that the help window shows (UTF-8; the box holds GBK).
extern const std::string_view kHelpText;

// The form of HelpWindow; it lives for the whole process.
const fw::WindowDef& HelpWindowForm();

// 帮助按钮 of MainWindow: opens the help window above the main editor, or
// brings the open one to the front; the editor stays usable meanwhile.
void OnHelpButtonClicked();
// 关闭按钮 of HelpWindow, and a close through the window manager.
void OnHelpCloseButtonClicked();

// 加载按钮 of MainWindow: opens the skill-list window, or brings the open
// one to the front.
void OnLoadButtonClicked();

// 最小化按钮 of MainWindow.
void OnMinimizeButtonClicked();
// Minimises a loaded top-level window; false when it cannot.
bool MinimizeWindow(fw::Window& window);

}  // namespace app
