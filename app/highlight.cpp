#include "app/highlight.h"

#include "app/globals.h"
#include "app/look.h"
#include "app/main_window.h"
#include "app/read_type.h"
#include "app/units.h"
#include "engine/text.h"
#include "platform/codepage.h"
#include "platform/gbk.h"

namespace app {

std::vector<SpanRow> RowsOfLine(std::span<const std::string> spans, int line) {
  std::vector<SpanRow> rows;
  for (const std::string& span : spans) {
    const std::vector<std::string> fields = SplitText(span, "|");
    if (fields.size() < 3 || TextToInt(fields[2]) != line) continue;
    rows.push_back({fields[0] == platform::Gbk("动态"), TextToInt(fields[1])});
  }
  return rows;
}

int AdjustCaretPositionForGbk(std::string_view lineText) {
  const int length = static_cast<int>(lineText.size());
  int count = length;
  for (int i = 0; i < length - 1;) {
    const auto byte = static_cast<unsigned char>(lineText[static_cast<std::size_t>(i)]);
    if (platform::IsGbkLeadByte(byte) || byte == '\r') {
      --count;
      i += 2;
    } else {
      ++i;
    }
  }
  return count;
}

void ResetGridHighlight() {
  using namespace main_window;
  const fw::Colour levelBase = 递增单选框->Checked() ? kEditableCellColour : kReadOnlyCellColour;
  struct Base {
    fw::Ref<fw::Grid> grid;
    fw::Colour colour;
  };
  for (const Base& b : {Base{数据表格, levelBase}, Base{静态表格, kReadOnlyCellColour}}) {
    const int rows = b.grid->RowCount();
    if (rows > 1) b.grid->SetBackColour(fw::CellRange::Rows(1, rows - 1, 0), b.colour);
  }
}

void HighlightRowForPlaceholder(int line) {
  for (const SpanRow& r : RowsOfLine(g_placeholderMap.Items(), line)) {
    fw::Grid& grid = r.level ? *main_window::数据表格 : *main_window::静态表格;
    if (r.row >= 1 && r.row < grid.RowCount())
      grid.SetBackColour(fw::CellRange::Cell(r.row, 0), kRed);
  }
}

void OnDescriptionEditLeftButtonUp() {
  fw::RichEdit& box = *main_window::描述编辑框;
  const int line = box.CaretLine();
  box.SetSelStart(box.LineStart(line));
  box.SetSelLength(AdjustCaretPositionForGbk(box.LineText(line)));
  ResetGridHighlight();
  HighlightRowForPlaceholder(line);
}

void OnDataGridCellEvent() {
  ResetGridHighlight();
}

void OnStaticGridCellEvent() {
  ResetGridHighlight();
}

}  // namespace app
