// Saving the script to its file: 保存文件按钮 of MainWindow (caption
// "保存文件"). The text of 编辑框1 is written as UTF-8 (no byte-order mark,
// nothing after the text) to the file that 路径编辑框 names, replacing the
// file in one step where its folder allows (platform/file_save.h), so a
// failed save leaves the old file whole. Refused while a skill is held
// (编辑框1 locked), and for an empty script box. The handler
// OnSaveFileButtonClicked is MainWindow's (main_window.h).
//
// The file written is the one a pick or a drop put into the path box while
// the box still shows it, for the text shown may stand for another name (a
// folder "jörg" is shown as "j?rg"); else the file the box's text names.
#pragma once
