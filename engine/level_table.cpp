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

// Builds the level table from the values of the block (value k is
// values(k), 1-based, over `valueCount` values) once g_valuesPerLevel is
// set, then sizes and fills the grid and resets the page and the modes.
template <class ValueAt>
void BuildLevelTable(int valueCount, ValueAt values, bool keepsAllValues, void (*showPage)(int)) {
  const int perLevel = g_valuesPerLevel;
  g_levelCount = perLevel > 0 ? valueCount / perLevel : 0;
  if (keepsAllValues) {
    for (int k = 1; k <= valueCount; ++k) g_levelValues.Append(values(k));
  }
  int k = 0;
  for (int level = 1; level <= g_levelCount; ++level) {
    std::string row;
    for (int i = 1; i <= perLevel; ++i) {
      ++k;
      if (!keepsAllValues) g_levelValues.Append(values(k));
      if (i > 1) row.append(kCrLf);
      row.append(values(k));
    }
    g_levelRows.Append(std::move(row));
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
  if (level >= 1 && level <= g_levelRows.Size()) {
    const std::vector<std::string> values = SplitLines(g_levelRows[level]);
    fw::Grid& grid = *main_window::数据表格;
    for (int i = 1; i <= g_valuesPerLevel; ++i) {
      const std::string& value = LineOrEmpty(values, i);
      grid.SetCellText(i, 0, removeMarker ? ReplaceText(value, 1, 1, true, "[@02]", "") : value);
    }
  }
}

}  // namespace

void ParseLevelInfoSp() {
  const std::string countLine = ReplaceText(GetLine(g_levelInfoText, 2), 1, 1, true, "[@02]", "");
  g_valuesPerLevel = std::max(TextToInt(countLine), 0);

  std::string body = ReplaceText(g_levelInfoText, 1, 1, true, "[@05][level info]", "");
  body = ReplaceText(body, 1, 1, true, "[@05][/level info]", "");
  body = TrimBlankLines(body);
  body = DeleteLine(body, 1);
  body = TrimBlankLines(body);
  const int valueCount = CountLines(body);
  const std::vector<std::string> lines = SplitLines(body);
  BuildLevelTable(
      valueCount, [&](int k) -> const std::string& { return LineOrEmpty(lines, k); }, false,
      &ShowLevelPageSp);
}

void ParseLevelInfoPt() {
  // The first value is the count when a separator follows it; the level
  // values follow the count.
  std::vector<std::string> tokens = SplitPtValues(g_levelInfoText);
  const bool counted =
      tokens.size() > 1 || (tokens.size() == 1 && tokens[0].size() < g_levelInfoText.size());
  if (counted) {
    g_valuesPerLevel = std::max(TextToInt(tokens[0]), 0);
    tokens.erase(tokens.begin());
  } else {
    g_valuesPerLevel = 0;
    tokens.clear();
  }
  BuildLevelTable(
      static_cast<int>(tokens.size()),
      [&](int k) -> const std::string& { return LineOrEmpty(tokens, k); }, true, &ShowLevelPagePt);
}

void ShowLevelPageSp(int level) {
  ShowLevelPage(level, true);
  RenderDescriptionSp();
}

void ShowLevelPagePt(int level) {
  ShowLevelPage(level, false);
  RenderDescriptionPt();
}
