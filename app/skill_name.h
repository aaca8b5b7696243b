// The skill's display name and class, shown by a read in 技能名称标签 and
// 职业标签, from the script's [name] link and the embedded name table and
// class key lists (engine/skill_name.h).
#pragma once

#include <string_view>

#include "engine/skill_name.h"

namespace app {

// Reads the key of the name link of the script in 编辑框1, then writes the
// class (LookUpSkillClass) and the display name. 职业标签 is emptied first;
// without a name tag the name label reads "该技能没有名称参数" and no class
// is looked up; a key without a table row gives "未知技能".
void LoadSkillNameSp();
void LoadSkillNamePt();

// Empties 职业标签, then writes the caption of the first class rule whose
// lists all hold "<" + key + ">" (exact case); none: the label stays empty.
void LookUpSkillClass(std::string_view key);

// The eleven embedded class key lists.
const ClassKeyLists& EmbeddedClassKeys();

}  // namespace app
