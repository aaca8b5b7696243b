#include "engine/level_table.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "engine/script_form.h"
#include "engine/text.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The value of line `k` (1-based) of `lines`, the empty text beyond them.
const std::string& LineOrEmpty(const std::vector<std::string>& lines, int k) {
  static const std::string kEmpty;
  return k >= 1 && k <= static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(k) - 1]
                                                       : kEmpty;
}

// Builds the level table from the values of the block (`values`, the first
// `valueCount` of them, an absent one counting as empty) once the count per
// level is known. `keepsAllValues`: the values of an incomplete last level
// stay in the table's values.
LevelTableRead BuildLevelTable(int perLevel, std::vector<std::string> values, int valueCount,
                               bool keepsAllValues) {
  LevelTableRead table;
  table.valuesPerLevel = perLevel;
  table.levelCount = perLevel > 0 ? valueCount / perLevel : 0;
  values.resize(static_cast<std::size_t>(valueCount));
  table.rows.reserve(static_cast<std::size_t>(table.levelCount));
  std::size_t k = 0;
  for (int level = 1; level <= table.levelCount; ++level) {
    std::size_t length = 0;
    for (std::size_t i = k; i < k + static_cast<std::size_t>(perLevel); ++i) {
      length += values[i].size() + kCrLf.size();
    }
    std::string row;
    row.reserve(length);
    for (int i = 1; i <= perLevel; ++i, ++k) {
      if (i > 1) row.append(kCrLf);
      row.append(values[k]);
    }
    table.rows.push_back(std::move(row));
  }
  if (!keepsAllValues) values.resize(k);
  table.values = std::move(values);
  table.gridRows = std::min(perLevel, valueCount);
  return table;
}

}  // namespace

LevelTableRead ReadLevelTableSp(std::string_view levelInfo) {
  const std::string countLine = ReplaceText(GetLine(levelInfo, 2), 1, 1, true, "[@02]", "");
  const int perLevel = std::max(TextToInt(countLine), 0);

  std::string body = ReplaceText(levelInfo, 1, 1, true, "[@05][level info]", "");
  body = ReplaceText(body, 1, 1, true, "[@05][/level info]", "");
  body = TrimBlankLines(body);
  body = DeleteLine(body, 1);
  body = TrimBlankLines(body);
  return BuildLevelTable(perLevel, SplitLines(body), CountLines(body), false);
}

int PtCountTokenLength(std::string_view levelInfo) {
  const int tab = FindText(levelInfo, "\t");
  const int bar = FindText(levelInfo, "|");
  const int separator = tab < 0 ? bar : bar < 0 ? tab : std::min(tab, bar);
  return std::max(separator, 0);
}

LevelTableRead ReadLevelTablePt(std::string_view levelInfo) {
  // The first value is the count when a separator (a TAB or a bar) follows
  // it; the level values follow the count.
  const int token = PtCountTokenLength(levelInfo);
  if (token == 0) return BuildLevelTable(0, {}, 0, true);
  const auto after = static_cast<std::size_t>(token);
  const int perLevel = std::max(TextToInt(levelInfo.substr(0, after - 1)), 0);
  std::vector<std::string> values = SplitPtValues(levelInfo.substr(after));
  const int valueCount = static_cast<int>(values.size());
  return BuildLevelTable(perLevel, std::move(values), valueCount, true);
}

std::vector<std::string> LevelPageCells(std::string_view levelRow, int valuesPerLevel,
                                        bool removeMarker) {
  const std::vector<std::string> values = SplitLines(levelRow);
  // A level row exists only when the table holds all its values.
  std::vector<std::string> cells;
  cells.reserve(static_cast<std::size_t>(std::max(valuesPerLevel, 0)));
  for (int i = 1; i <= valuesPerLevel; ++i) {
    const std::string& value = LineOrEmpty(values, i);
    cells.push_back(removeMarker ? ReplaceText(value, 1, 1, true, "[@02]", "") : value);
  }
  return cells;
}
