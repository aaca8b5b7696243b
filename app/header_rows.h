// The header fields of the skill in 参数表格 of the parameter window
// (engine/header_fields.h), and the nineteen header-value slots g_hdr...
// that keep each value as the loader read it.
#pragma once

#include <string>
#include <string_view>

#include "engine/header_fields.h"
#include "engine/script_form.h"
#include "framework/types.h"

namespace app {

// The loaders: empty the slots and the data rows of 参数表格, read 编辑框1,
// fill the slots and the rows; when a row was added the editor holds the
// skill ("释放数据", 编辑框1 locked, the skill-list controls and
// 保存文件按钮 disabled). Column 0 ends read-only. No message.
void LoadHeaderFieldsSp();
void LoadHeaderFieldsPt();
// The loader of a script of `form`.
void LoadHeaderFields(ScriptForm form);

// Appends two rows to 参数表格 titled `title1` and `title2` (GBK), both cells
// of both in the given colours, with the values in column 1.
void AppendTwoValueRows(std::string_view value1, std::string_view value2, std::string_view title1,
                        std::string_view title2, fw::Colour back, fw::Colour text);

// Column 0 of every data row of 参数表格 read-only; nothing without data rows.
void LockHeaderTitleColumn();

}  // namespace app
