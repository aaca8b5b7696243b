// The skill's description in 描述编辑框, for the level that 数据表格 shows
// (engine/description.h): rendered by every level page, with the values of
// column 0 of 静态表格 and 数据表格, and every value recorded as a
// PlaceholderSpan in g_placeholderMap for the click highlighting.
#pragma once

#include <string_view>

#include "framework/types.h"

namespace app {

// The renderers that the level pages call after writing the level into
// 数据表格: they write the whole of 描述编辑框 and append to g_placeholderMap.
// Above the description stands the heading "name  Lv level[data set]" of
// the checked read-type radio; none when no radio is checked.
void RenderDescriptionSp();
void RenderDescriptionPt();

// Appends `text` + CR LF at the end of 描述编辑框 in 宋体 9 points, `colour`.
void AppendDescriptionText(std::string_view text, fw::Colour colour);

}  // namespace app
