// The four modification modes of the level grid: 增加 (add), 赋值 (set, the
// radio's caption is "等于"), 递增 (increment) and 倍率 (multiply).
#pragma once

#include "engine/rebuild.h"

namespace app {

// Writes the header row of 数据表格 for `mode`.
void WriteDataGridHeaders(ModifyMode mode);

}  // namespace app
