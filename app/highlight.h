// The click on a description line and the rows it lights.
//
// Each value that the description shows was recorded as a PlaceholderSpan
// in g_placeholderMap ("动态|row|line": row of 数据表格, "静态|row|line": row
// of 静态表格, line of 描述编辑框 counted from 0). A click in the description
// selects the clicked line and paints column 0 of the rows that feed its
// values red; a click or an edit in either grid takes the paint away.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// A grid row that a description line draws a value from.
struct SpanRow {
  bool level;  // 数据表格; otherwise 静态表格
  int row;
  friend bool operator==(const SpanRow&, const SpanRow&) = default;
};

// The rows named by the spans of description line `line`, in the order of
// the spans; pure. A span with fewer than three fields is skipped.
std::vector<SpanRow> RowsOfLine(std::span<const std::string> spans, int line);

// The length in characters, as the box counts them, of a line's GBK bytes
// (its line break given as one CR): a two-byte character counts once, and
// so does a CR with the byte after it; the last byte always counts once.
int AdjustCaretPositionForGbk(std::string_view lineText);

// Column 0 of both grids' data rows back to their normal background: light
// grey, or white in 数据表格 while the increment mode is chosen.
void ResetGridHighlight();

// Paints column 0 of every data row that a value on description line
// `line` comes from; rows outside a grid's data rows are ignored.
void HighlightRowForPlaceholder(int line);

}  // namespace app
