// The controls that change with the data set chosen and the skill held: the
// enabled state of the read-type radios and the column-0 format of the two
// value grids. Entering and leaving the held state is editor_state.h.
#pragma once

#include "app/look.h"
#include "framework/types.h"

namespace app {

// true disables, false enables 刷图单选框, PK单选框 and 通用单选框; their
// check marks stay.
void SetReadTypeRadiosDisabled(bool dungeon, bool pvp, bool common);

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
