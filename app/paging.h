// The level pages of 数据表格 (<, >, 跳转) and the clamp of the page and
// range edits; the handlers are MainWindow's (main_window.h).
#pragma once

#include <string>
#include <vector>

#include "engine/script_form.h"

namespace app {

// Writes the values of `level` into column 0 of 数据表格 (SP without the
// "[@02]" marker) and renders that level's description. A level below 1 or
// beyond the table writes no cell.
void ShowLevelPageSp(int level);
void ShowLevelPagePt(int level);

// The texts that the page of `level` writes into column 0 of a script of
// `form` (SP without the "[@02]" marker); none for a level below 1 or
// beyond the table.
std::vector<std::string> PageCells(int level, ScriptForm form);

}  // namespace app
