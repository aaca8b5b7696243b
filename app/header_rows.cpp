#include "app/header_rows.h"

#include <cstddef>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/units.h"

namespace app {

namespace {

void FillHeaderRows(HeaderFieldLoad (*read)(std::string_view)) {
  for (int i = 0; i < kHeaderSlotCount; ++i) HeaderSlotText(static_cast<HeaderSlot>(i)).clear();
  fw::Grid& grid = *param_window::参数表格;
  grid.DeleteDataRows();
  const HeaderFieldLoad load = read(main_window::编辑框1->TextRef());
  for (std::size_t i = 0; i < load.slots.size(); ++i)
    HeaderSlotText(static_cast<HeaderSlot>(i)) = load.slots[i];
  g_hdrSpans = load.spans;

  for (const HeaderRowGroup& g : load.groups) {
    if (g.titles.size() == 2) {
      AppendTwoValueRows(g.values[0], g.values[1], g.titles[0], g.titles[1], g.back, g.text);
      continue;
    }
    for (std::size_t i = 0; i < g.titles.size(); ++i) {
      const int row = grid.AppendRow(g.titles[i]);
      grid.SetCellText(row, 1, g.values[i]);
      const fw::CellRange cells =
          g.titleCellOnly ? fw::CellRange::Cell(row, 0) : fw::CellRange{row, 0, row, 1};
      grid.SetBackColour(cells, g.back);
      if (fw::IsSet(g.text)) grid.SetTextColour(cells, g.text);
    }
  }
  if (grid.RowCount() > 1) HoldSkill();
  LockHeaderTitleColumn();
}

}  // namespace

void LoadHeaderFieldsSp() {
  FillHeaderRows(&ReadHeaderFieldsSp);
}

void LoadHeaderFieldsPt() {
  FillHeaderRows(&ReadHeaderFieldsPt);
}

void LoadHeaderFields(ScriptForm form) {
  switch (form) {
    case ScriptForm::Sp:
      LoadHeaderFieldsSp();
      break;
    case ScriptForm::Pt:
      LoadHeaderFieldsPt();
      break;
  }
}

void AppendTwoValueRows(std::string_view value1, std::string_view value2, std::string_view title1,
                        std::string_view title2, fw::Colour back, fw::Colour text) {
  fw::Grid& grid = *param_window::参数表格;
  for (std::string_view title : {title1, title2}) {
    const int row = grid.AppendRow(title);
    grid.SetBackColour({row, 0, row, 1}, back);
    grid.SetTextColour({row, 0, row, 1}, text);
  }
  const int last = grid.RowCount() - 1;
  grid.SetCellText(last - 1, 1, value1);
  grid.SetCellText(last, 1, value2);
}

void LockHeaderTitleColumn() {
  fw::Grid& grid = *param_window::参数表格;
  if (grid.RowCount() > 1) grid.SetReadOnly(fw::CellRange::Rows(1, grid.RowCount() - 1, 0), true);
}

}  // namespace app
