// Choosing the data set: which [level info] block is shown and modified
// (engine/level_info.h), and its level table in 数据表格.
//
// A choice clears the level part of the model, loads the static data that
// belongs to the copy (static_copy.h), cuts the copy's block into
// g_levelInfoText and parses it.
#pragma once

#include "engine/level_info.h"
#include "framework/runtime.h"

namespace app {

// What a click on a read-type radio does: with no "[level info]" in any
// letter case in 编辑框1, "该技能没有随等级变化的数据！" and the radio
// unchecked; otherwise the model is cleared, the radio checked, g_readType
// set to `set` and the cutter of the script's form run ("不支持的格式！" and
// the radio unchecked while no script has been read).
void ChooseDataSet(fw::Ref<fw::Radio> radio, DataSet set, void (*spCutter)(), void (*ptCutter)());

// The cutters. Each holds the skill again (the clear before it unlocked
// 编辑框1), copies 编辑框1 into g_scriptText, loads the static copy (the
// common block when the script has one, the split copy named below when it
// has more), then cuts and parses its block, or shows "技能数据设置不正确！"
// and leaves the level table empty.
//
// Dungeon (split static copy: dungeon), arena (split static copy: arena)
// and common (split static copy: dungeon, and 变换按钮 enabled).
void LoadDungeonLevelInfoSp();
void LoadDungeonLevelInfoPt();
void LoadPvpLevelInfoSp();
void LoadPvpLevelInfoPt();
void LoadCommonLevelInfoSp();
void LoadCommonLevelInfoPt();

// The parsers read g_levelInfoText into g_valuesPerLevel, g_levelCount,
// g_levelValues and g_levelRows, size 数据表格 to one row per value, show the
// level count and level 1, and put the mode radios into their starting
// state: all enabled, 赋值单选框 checked, g_modifyMode 赋值 and its grid
// headers.
void ParseLevelInfoSp();
void ParseLevelInfoPt();

}  // namespace app
