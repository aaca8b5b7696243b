// The static values of a skill: the values of one [static data] block,
// one row of 静态表格 each, labelled in 静态类型标签.
//
// A script holds one block (the common copy) or more: then the first is the
// dungeon copy and the one inside [pvp] .. [/pvp] the arena copy. Each
// loader reads g_scriptText, sets 静态类型标签 to its copy's name first,
// appends one row per value (column 0) and keeps the copy's text in
// g_staticDataText. On success g_staticDataShown is set and the editor
// holds the skill; on failure g_staticDataShown is cleared, the loader's
// message is shown only while g_reportMissingData is set, and 编辑框1 is
// unlocked only while no skill is held and the script has no level data.
#pragma once

// The first block, labelled "通用"; "技能没有静态数据！" when it is missing.
void LoadCommonStaticDataSp();
void LoadCommonStaticDataPt();
// The first block, labelled "地下城"; "技能没有[地下城]静态数据！".
void LoadDungeonStaticDataSp();
void LoadDungeonStaticDataPt();
// The block inside [pvp] .. [/pvp], labelled "决斗场"; "技能没有[决斗场]静态数据！".
void LoadPvpStaticDataSp();
void LoadPvpStaticDataPt();
