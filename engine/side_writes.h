// Writing the side windows back: the header fields of 参数表格 (the
// parameter window's 保存按钮) and the mastery levels of 精通表格 (the
// mastery window's 保存按钮).
//
// Each save rebuilds the sections it changes from the values the loaders
// stored and compares them with the script at the very place the loader
// read them (header_fields.h, mastery.h): a section that is not there as
// it was read, a value that is not accepted or a limit that is broken
// refuses the whole save, with nothing written. A field or section whose
// values did not change needs no finding. Only a save that went through is
// followed by "技能参数保存成功！" and the quiet re-read; a refused one
// keeps the skill and the typed values as they are.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/header_fields.h"
#include "engine/rebuild.h"

// A data row of a side window's grid: column 0 and column 1 (GBK).
struct GridRow {
  std::string title;
  std::string value;
};

// The header fields of `script` as the loader of `form` reads them.
HeaderFieldLoad ReadHeaderFields(std::string_view script, ScriptForm form);

// The header fields of `rows` written into `script`: every field whose
// first value is not empty, by the titles of its rows; the second row of
// [cool time] and [casting time] ("[通用型]", "[地下城]" or "[决斗场]")
// picks the first copy or the arena copy after the [pvp] tag. A value the
// user changed must be a number as the level inputs read it (full-width
// forms folded, blanks trimmed), and is written so: a 32-bit integer, or a
// decimal where the stored value is one (PT); else the save is refused as
// NotInteger, NotNumber, OutOfRange or ForbiddenCharacter. A first value
// left empty passes its field over. Every "最大等级" must be at least
// `highestMastery` (none: no limit). Every field left alone must read
// afterwards as it did before (two tags on one line share their values),
// else the save is refused as NotFound.
Rebuilt RebuildHeaderFields(std::string_view script, ScriptForm form,
                            const std::array<std::string, kHeaderSlotCount>& slots,
                            const std::vector<GridRow>& rows, std::optional<int> highestMastery);

// The mastery section written into `script`: `values` are the section's
// values as read (g_masteryValues), `cells` column 1 of 精通表格. Growtype
// section: cell i is value i. Class-special section: the k-th value above
// 0 takes cell k. An empty cell keeps its value; others are integers, at
// most `maximum` (none: no limit).
Rebuilt RebuildMasteryLevels(std::string_view script, ScriptForm form, bool secondGrowtype,
                             const std::vector<std::string>& values,
                             const std::vector<std::string>& cells, std::optional<int> maximum);

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

namespace app {
void OnParamSaveButtonClicked();
void OnMasterySaveButtonClicked();
}  // namespace app
