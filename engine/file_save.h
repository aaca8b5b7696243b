// Saving the script to its file: 保存文件按钮 of MainWindow (caption
// "保存文件"). The text of 编辑框1 is written as UTF-8 (no byte-order mark,
// nothing after the text) to the file that 路径编辑框 names, replacing the
// file in one step where its folder allows (platform/file_save.h), so a
// failed save leaves the old file whole. Refused while a skill is held
// (编辑框1 locked), and for an empty script box.
#pragma once

namespace app {
void OnSaveFileButtonClicked();
}  // namespace app
