// The bulk modification: 保存按钮 of MainWindow (caption "保存修改"); the
// handler OnSaveChangesButtonClicked is MainWindow's (main_window.h).
//
// The user picks a data set, a mode and a level range, types inputs into
// column 1 of 数据表格 (one per value of a level) and of 静态表格, and
// presses the button. The range and every input are checked, and the level
// table of the shown copy and the shown static block are rebuilt
// (engine/rebuild.h) into one new text, before the user is asked to
// confirm, so that every refusal comes before the confirmation. Only after
// OK is that text put into 编辑框1, followed by the button's feedback and a
// quiet re-read that shows the new values with the same data set and mode.
// A refusal shows its message and leaves the script, the skill and the
// typed inputs as they were.
#pragma once

namespace app {

// g_levelRangeList: "[L]" for every level L of the table within
// g_levelRangeLow .. g_levelRangeHigh, ascending.
void BuildLevelRangeList();

}  // namespace app
