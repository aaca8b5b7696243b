// The editor's two states and the controls that switch with them: the
// release of a held skill, the read-type radios, the skill-list controls
// and the column-0 format of the two value grids.
#pragma once

#include "app/look.h"
#include "framework/types.h"

namespace app {

// Returns the editor to "读取数据": empties the level part of the model and
// both value grids, disables the read-type radios and 变换按钮, empties the
// name, class, level-count and static-type labels, puts "1" into the range
// and page edits, enables the skill-list controls, hides the class combo of
// the mastery window and deletes the data rows of the parameter and mastery
// grids. The script stays in 编辑框1, editable.
void ReleaseSkillData();

// true disables, false enables 刷图单选框, PK单选框 and 通用单选框; their
// check marks stay.
void SetReadTypeRadiosDisabled(bool dungeon, bool pvp, bool common);

// The controls through which another skill could be opened or the file
// saved: 保存文件按钮 of MainWindow and, while the skill-list window is
// loaded, its class combos, load button, tabs and search buttons.
void DisableSkillListControls();
void EnableSkillListControls();

// Column 0 of every data row read-only on light grey (the value as read);
// nothing on a grid with only its header row.
void FormatStaticGrid();
void FormatDataGrid();
// Column 0 of every data row of 数据表格 editable on white: the level-1
// base values of the increment mode.
void UnlockDataGridBaseColumn();

// The background of column 0 of the value grids' data rows.
inline constexpr fw::Colour kReadOnlyCellColour = 0x00ECECECu;
inline constexpr fw::Colour kEditableCellColour = kWhite;

}  // namespace app
