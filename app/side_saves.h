// Saving the side windows into the script: the header fields of 参数表格
// (the parameter window's 保存按钮) and the mastery levels of 精通表格 (the
// mastery window's 保存按钮), through the engine's writers
// (engine/side_writes.h). Only a save that went through is followed by
// "技能参数保存成功！" and the quiet re-read; a refused one keeps the skill
// and the typed values as they are. The handlers OnParamSaveButtonClicked
// and OnMasterySaveButtonClicked are the side windows' (side_windows.h).
#pragma once

#include <optional>

namespace app {

// The highest value of column 1 of 精通表格; none without data rows.
std::optional<int> GetHighestMasteryLevel();
// The value of the last "最大等级" row of 参数表格; none without such a row.
std::optional<int> GetMaximumLevelParam();

// The writers: read the grids and 编辑框1, write 编辑框1, report. True when
// the text was written; never into a text that is not of the form read.
bool WriteHeaderFieldsSp();
bool WriteHeaderFieldsPt();
bool WriteMasteryLevelsSp();
bool WriteMasteryLevelsPt();

}  // namespace app
