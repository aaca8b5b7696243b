// The checks of a bulk modification that come before its rebuild
// (rebuild.h): the level range typed into the two range edits, the list of
// levels it names, and the level-1 bases of the increment mode.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/rebuild.h"

// What is wrong with a typed level range.
enum class RangeCheck {
  Fine,
  NotInteger,     // a bound that is empty or not an integer
  Reversed,       // the high bound below the low one
  OutsideLevels,  // no level of the loaded table between them
};

struct LevelRange {
  std::int32_t low = 0;  // each bound read as an integer, also when refused
  std::int32_t high = 0;
  RangeCheck check = RangeCheck::Fine;
};

// The range of `lowText` .. `highText` over a table of `levelCount` levels
// (`valuesPerLevel` 0: no table loaded, which any ordered range fits).
LevelRange ReadLevelRange(std::string_view lowText, std::string_view highText, int valuesPerLevel,
                          int levelCount);

// "[L]" for every level L of a table of `levelCount` levels within
// `low` .. `high`, ascending; empty when none is.
std::string LevelRangeList(int levelCount, int low, int high);

// The level-1 bases of the increment mode. `column` is column 0 of the
// level grid as the user left it while level `currentLevel` is shown: on
// the level-1 page it holds the bases. On another page column 0 shows that
// level's values (`shownCells`, under the heading "1级数值" all the same):
// left as shown, the bases are the stored level-1 values (`levelOneValues`,
// as the script holds them; SP without their "[@02]"); typed over, there is
// no base to take (nullopt), since the bases are typed on the level-1 page.
std::optional<std::vector<std::string>> IncrementBases(
    ScriptForm form, int currentLevel, std::vector<std::string> column,
    std::vector<std::string> shownCells, const std::vector<std::string>& levelOneValues);
