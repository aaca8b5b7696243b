// The level table of the chosen data set and the page of one level.
//
// The [level info] block holds first the number of values per level, then
// the values of every level one after another. The parsers read
// g_levelInfoText (SP: the block with its tags; PT: the TAB-separated values
// line) into g_valuesPerLevel, g_levelCount, g_levelValues and g_levelRows,
// size 数据表格 to one row per value, show the level count and level 1, and
// put the mode radios into their starting state: all enabled, 赋值单选框
// checked, g_modifyMode "赋值" and its grid headers.
//
// A count of 0 or below, or one that is not a number, loads no level
// (g_valuesPerLevel 0); only complete levels count; 数据表格 never gets
// more rows than the block holds values.
#pragma once

#include <string>
#include <vector>

void ParseLevelInfoSp();
void ParseLevelInfoPt();

// Writes the values of `level` into column 0 of 数据表格 (SP without the
// "[@02]" marker) and renders that level's description. A level below 1 or
// beyond the table writes no cell.
void ShowLevelPageSp(int level);
void ShowLevelPagePt(int level);

// The texts that the page of `level` writes into column 0, one per value
// (`removeMarker`: SP, without the "[@02]" marker); none for a level below
// 1 or beyond the table.
std::vector<std::string> LevelPageCells(int level, bool removeMarker);
