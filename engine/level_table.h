// The level table of the chosen data set and the page of one level.
//
// The [level info] block holds first the number of values per level, then
// the values of every level one after another. The readers take the cut
// copy (SP: the block with its tags; PT: the TAB-separated values line).
//
// A count of 0 or below, or one that is not a number, gives no level
// (valuesPerLevel 0); only complete levels count; the level grid never gets
// more rows than the block holds values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct LevelTableRead {
  int valuesPerLevel = 0;
  int levelCount = 0;  // complete levels
  // Every value of the block, level-major, as the script holds it (SP the
  // whole line, marker included); SP keeps only the values of the complete
  // levels, PT every value.
  std::vector<std::string> values;
  // One element per complete level: that level's values joined by CR LF.
  std::vector<std::string> rows;
  // The data rows that an empty level grid gets: one per value of a level,
  // but never more than the block holds values.
  int gridRows = 0;
};

LevelTableRead ReadLevelTableSp(std::string_view levelInfo);
LevelTableRead ReadLevelTablePt(std::string_view levelInfo);

// The bytes of a PT values line that its count token takes, the separator
// after it (the first TAB or "|") included: the level values start after
// them. 0 when the line holds no separator, and so no level.
int PtCountTokenLength(std::string_view levelInfo);

// The texts that the page of a level writes into column 0, one per value
// (`removeMarker`: SP, without the "[@02]" marker), from that level's
// element of LevelTableRead::rows.
std::vector<std::string> LevelPageCells(std::string_view levelRow, int valuesPerLevel,
                                        bool removeMarker);
