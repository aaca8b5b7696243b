#include "engine/level_table.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/globals.h"
#include "app/modes.h"
#include "app/read_type.h"
#include "app/units.h"
#include "engine/description.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "platform/gbk.h"

namespace {

using namespace app;
using platform::Gbk;

constexpr std::string_view kCrLf = "\r\n";

// The value of line `k` (1-based) of `lines`, the empty text beyond them.
const std::string& LineOrEmpty(const std::vector<std::string>& lines, int k) {
  static const std::string kEmpty;
  return k >= 1 && k <= static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(k) - 1]
                                                       : kEmpty;
}

// Builds the level table from the values of the block (`values`, the first
// `valueCount` of them, an absent one counting as empty) once
// g_valuesPerLevel is set, then sizes and fills the grid and resets the page
// and the modes. g_levelValues keeps every value, or only those of the
// complete levels.
void BuildLevelTable(std::vector<std::string> values, int valueCount, bool keepsAllValues,
                     void (*showPage)(int)) {
  const int perLevel = g_valuesPerLevel;
  g_levelCount = perLevel > 0 ? valueCount / perLevel : 0;
  values.resize(static_cast<std::size_t>(valueCount));
  std::size_t k = 0;
  for (int level = 1; level <= g_levelCount; ++level) {
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
    g_levelRows.Append(std::move(row));
  }
  if (!keepsAllValues) values.resize(k);
  if (g_levelValues.Size() == 0) {
    g_levelValues = fw::TextArray(std::move(values));
  } else {
    for (std::string& value : values) g_levelValues.Append(std::move(value));
  }

  fw::Grid& grid = *main_window::数据表格;
  if (grid.RowCount() == 1) {
    // Never more rows than the block has values: an absurd count over a few
    // values gives only those few rows.
    const int rows = std::min(perLevel, valueCount);
    for (int i = 0; i < rows; ++i) grid.AppendRow("");
  }
  const std::string count = IntToText(g_levelCount);
  main_window::等级标签->SetText(count);
  main_window::最高编辑框->SetText(count);
  g_currentLevel = 1;
  main_window::页数编辑框->SetText("1");
  showPage(g_currentLevel);
  FormatDataGrid();

  for (fw::Ref<fw::Radio> radio : {main_window::增加单选框, main_window::赋值单选框,
                                   main_window::递增单选框, main_window::倍率单选框}) {
    radio->SetChecked(false);
    radio->Enable();
  }
  // The checked mode is also the remembered one, with its headers, so that
  // a re-read restores only a mode the user chose.
  main_window::赋值单选框->SetChecked(true);
  g_modifyMode = Gbk("赋值");
  WriteDataGridHeaders(g_modifyMode);
}

void ShowLevelPage(int level, bool removeMarker) {
  const std::vector<std::string> cells = LevelPageCells(level, removeMarker);
  fw::Grid& grid = *main_window::数据表格;
  for (std::size_t i = 0; i < cells.size(); ++i)
    grid.SetCellText(static_cast<int>(i) + 1, 0, cells[i]);
}

}  // namespace

std::vector<std::string> LevelPageCells(int level, bool removeMarker) {
  std::vector<std::string> cells;
  if (level < 1 || level > g_levelRows.Size()) return cells;
  const std::vector<std::string> values = SplitLines(g_levelRows[level]);
  // A level row exists only when the table holds all its values.
  cells.reserve(static_cast<std::size_t>(g_valuesPerLevel));
  for (int i = 1; i <= g_valuesPerLevel; ++i) {
    const std::string& value = LineOrEmpty(values, i);
    cells.push_back(removeMarker ? ReplaceText(value, 1, 1, true, "[@02]", "") : value);
  }
  return cells;
}

void ParseLevelInfoSp() {
  const std::string countLine = ReplaceText(GetLine(g_levelInfoText, 2), 1, 1, true, "[@02]", "");
  g_valuesPerLevel = std::max(TextToInt(countLine), 0);

  std::string body = ReplaceText(g_levelInfoText, 1, 1, true, "[@05][level info]", "");
  body = ReplaceText(body, 1, 1, true, "[@05][/level info]", "");
  body = TrimBlankLines(body);
  body = DeleteLine(body, 1);
  body = TrimBlankLines(body);
  BuildLevelTable(SplitLines(body), CountLines(body), false, &ShowLevelPageSp);
}

void ParseLevelInfoPt() {
  // The first value is the count when a separator (a TAB or a bar) follows
  // it; the level values follow the count.
  const std::string_view text = g_levelInfoText;
  const int tab = FindText(text, "\t");
  const int bar = FindText(text, "|");
  const int separator = tab < 0 ? bar : bar < 0 ? tab : std::min(tab, bar);
  std::vector<std::string> values;
  if (separator > 0) {
    const auto after = static_cast<std::size_t>(separator);
    g_valuesPerLevel = std::max(TextToInt(text.substr(0, after - 1)), 0);
    values = SplitPtValues(text.substr(after));
  } else {
    g_valuesPerLevel = 0;
  }
  const int valueCount = static_cast<int>(values.size());
  BuildLevelTable(std::move(values), valueCount, true, &ShowLevelPagePt);
}

void ShowLevelPageSp(int level) {
  ShowLevelPage(level, true);
  RenderDescriptionSp();
}

void ShowLevelPagePt(int level) {
  ShowLevelPage(level, false);
  RenderDescriptionPt();
}
