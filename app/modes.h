// The four modification modes of the level grid: 增加 (add), 赋值 (set, the
// radio's caption is "等于"), 递增 (increment) and 倍率 (multiply).
#pragma once

#include <string_view>

namespace app {

// Writes the header row of 数据表格 for `modeGbk`, one of the four mode
// texts; another text writes nothing.
void WriteDataGridHeaders(std::string_view modeGbk);

}  // namespace app
