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

// What each save checks its new values against: the other window's field
// as the script in 编辑框1 holds it, not as its grid shows it (typed but
// not saved, or not shown at all before a class is chosen). The highest
// value of the script's mastery section, every value counted; none without
// a section.
std::optional<int> GetHighestMasteryLevel();
// The script's [maximum level] as the header loader reads it; none when
// the field has no row.
std::optional<int> GetMaximumLevelParam();

// The writers: read the grids and 编辑框1, write 编辑框1, report. True when
// the text was written; never into a text that is not of the form read.
bool WriteHeaderFieldsSp();
bool WriteHeaderFieldsPt();
bool WriteMasteryLevelsSp();
bool WriteMasteryLevelsPt();

}  // namespace app
