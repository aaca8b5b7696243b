// Which [level info] block holds the chosen data set.
//
// A script keeps its per-level values in one [level info] block or in two:
// the dungeon copy before [pvp] and the arena copy inside [pvp] .. [/pvp].
#pragma once

#include <optional>
#include <string_view>

#include "engine/blocks.h"

// The data set that the user chooses with a read-type radio.
enum class DataSet { Dungeon, Arena, Common };

// Where the copy of `set` lies: SP the whole block, from its open tag
// through its close tag; PT its values line (for the dungeon copy the line
// after the open tag's line, for the others the text between the tags
// without a line break at either end). nullopt when the block is not where
// the set needs it. A block is found only when its open tag comes before
// its close tag.
//
// Dungeon: the first block, which must lie wholly before [pvp] when the
// script has one. Arena: the first block after [pvp], closed before
// [/pvp]. Common: the first block.
std::optional<TextSpan> CutLevelInfoSp(std::string_view script, DataSet set);
std::optional<TextSpan> CutLevelInfoPt(std::string_view script, DataSet set);
