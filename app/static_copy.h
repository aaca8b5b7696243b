// The static values of the skill in 静态表格, labelled in 静态类型标签
// (engine/static_data.h), and 变换按钮 that switches between the dungeon and
// the arena copy.
//
// Each loader reads g_scriptText, sets 静态类型标签 to its copy's name first,
// appends one row per value (column 0) and keeps the copy's values in
// g_staticDataText. On success g_staticDataShown is set and the editor
// holds the skill (HoldSkill); on failure g_staticDataShown is cleared, the
// loader's message is shown only while g_reportMissingData is set, and the
// editor stays in the state it was in.
// The loaders append rows without emptying 静态表格 first.
#pragma once

namespace app {

// The first block, labelled "通用"; "技能没有静态数据！" when it is missing.
void LoadCommonStaticDataSp();
void LoadCommonStaticDataPt();
// The first block, labelled "地下城"; "技能没有[地下城]静态数据！".
void LoadDungeonStaticDataSp();
void LoadDungeonStaticDataPt();
// The block inside [pvp] .. [/pvp], labelled "决斗场"; "技能没有[决斗场]静态数据！".
void LoadPvpStaticDataSp();
void LoadPvpStaticDataPt();

}  // namespace app
