// Choosing the data set: which [level info] block is shown and modified.
//
// A script keeps its per-level values in one [level info] block or in two:
// the dungeon copy before [pvp] and the arena copy inside [pvp] .. [/pvp].
// A choice clears the level part of the model, loads the static data that
// belongs to the copy, cuts the copy's block into g_levelInfoText and
// parses it (level_table.h).
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/runtime.h"

// What a click on a read-type radio does: with no "[level info]" in any
// letter case in 编辑框1, "该技能没有随等级变化的数据！" and the radio
// unchecked; otherwise the model is cleared, the radio checked, g_readType
// set to `readTypeUtf8` and the cutter of the script's form run ("不支持的格式！"
// and the radio unchecked when the form is neither).
void ChooseDataSet(fw::Ref<fw::Radio> radio, std::string_view readTypeUtf8, void (*spCutter)(),
                   void (*ptCutter)());

// The cutters. Each locks 编辑框1, copies it into g_scriptText, loads the
// static copy (the common block when the script has one, the split copy
// named below when it has more), then cuts and parses its block, or shows
// "技能数据设置不正确！" and leaves the level table empty. A block is found
// only when its open tag comes before its close tag.
//
// Dungeon: the first block, which must lie wholly before [pvp] when the
// script has one (split static copy: dungeon).
void LoadDungeonLevelInfoSp();
void LoadDungeonLevelInfoPt();
// Arena: the first block after [pvp], closed before [/pvp] (split static
// copy: arena).
void LoadPvpLevelInfoSp();
void LoadPvpLevelInfoPt();
// Common: the first block (split static copy: dungeon, and 变换按钮 enabled).
void LoadCommonLevelInfoSp();
void LoadCommonLevelInfoPt();
