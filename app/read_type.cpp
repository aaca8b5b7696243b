#include "app/read_type.h"

#include "app/units.h"

namespace app {

namespace {

void FormatBaseColumn(fw::Grid& grid, bool readOnly, fw::Colour colour) {
  const int rows = grid.RowCount();
  if (rows <= 1) return;
  const fw::CellRange column = fw::CellRange::Rows(1, rows - 1, 0);
  grid.SetReadOnly(column, readOnly);
  grid.SetBackColour(column, colour);
}

}  // namespace

void SetReadTypeRadiosDisabled(bool dungeon, bool pvp, bool common) {
  main_window::刷图单选框->SetDisabled(dungeon);
  main_window::PK单选框->SetDisabled(pvp);
  main_window::通用单选框->SetDisabled(common);
}

void FormatStaticGrid() {
  FormatBaseColumn(*main_window::静态表格, true, kReadOnlyCellColour);
}

void FormatDataGrid() {
  FormatBaseColumn(*main_window::数据表格, true, kReadOnlyCellColour);
}

void UnlockDataGridBaseColumn() {
  FormatBaseColumn(*main_window::数据表格, false, kEditableCellColour);
}

}  // namespace app
