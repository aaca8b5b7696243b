#include "app/paging.h"

#include <string>

#include "app/description_box.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/prompt.h"
#include "app/units.h"
#include "engine/level_table.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

bool LevelTableLoaded() {
  if (g_valuesPerLevel != 0) return true;
  ShowMessage(Gbk("请先加载一个技能数据！"));
  return false;
}

void ShowLevelPage(int level, ScriptForm form) {
  const std::vector<std::string> cells = PageCells(level, form);
  fw::Grid& grid = *main_window::数据表格;
  for (std::size_t i = 0; i < cells.size(); ++i)
    grid.SetCellText(static_cast<int>(i) + 1, 0, cells[i]);
}

void ShowLevel(int level) {
  if (!g_scriptFormat) {
    ShowMessage(Gbk("加载技能数据出错！"));
    return;
  }
  switch (*g_scriptFormat) {
    case ScriptForm::Sp:
      ShowLevelPageSp(level);
      break;
    case ScriptForm::Pt:
      ShowLevelPagePt(level);
      break;
  }
}

// An edit may not ask for more levels than the table has: a larger number
// becomes the level count, or "1" while no table is loaded. Nothing below
// is changed. The writes here are not reported back to this handler.
void ClampToLevelCount(fw::Ref<fw::Edit> edit) {
  const std::string count = main_window::等级标签->Text();
  if (TextToInt(edit->TextRef()) <= TextToInt(count)) return;
  edit->SetText(count);
  if (TextToInt(edit->TextRef()) == 0) edit->SetText("1");
}

}  // namespace

std::vector<std::string> PageCells(int level, ScriptForm form) {
  if (level < 1 || level > g_levelRows.Size()) return {};
  bool removeMarker = false;
  switch (form) {
    case ScriptForm::Sp:
      removeMarker = true;
      break;
    case ScriptForm::Pt:
      break;
  }
  return LevelPageCells(g_levelRows[level], g_valuesPerLevel, removeMarker);
}

void ShowLevelPageSp(int level) {
  ShowLevelPage(level, ScriptForm::Sp);
  RenderDescriptionSp();
}

void ShowLevelPagePt(int level) {
  ShowLevelPage(level, ScriptForm::Pt);
  RenderDescriptionPt();
}

void OnJumpButtonClicked() {
  if (!LevelTableLoaded()) return;
  const int level = TextToInt(main_window::页数编辑框->TextRef());
  if (level < 1 || level > g_levelCount) {
    ShowMessage(Gbk("超出技能等级范围！"));
    return;
  }
  g_currentLevel = level;
  ShowLevel(level);
}

void OnPrevPageButtonClicked() {
  if (!LevelTableLoaded()) return;
  if (g_currentLevel <= 1) {
    ShowMessage(Gbk("当前已是第一级数据！"));
    return;
  }
  --g_currentLevel;
  ShowLevel(g_currentLevel);
  main_window::页数编辑框->SetText(IntToText(g_currentLevel));
}

void OnNextPageButtonClicked() {
  if (!LevelTableLoaded()) return;
  // "At least": a table without a complete level has its last level at 0.
  if (g_currentLevel >= g_levelCount) {
    ShowMessage(Gbk("当前已是满级数据！"));
    return;
  }
  ++g_currentLevel;
  ShowLevel(g_currentLevel);
  main_window::页数编辑框->SetText(IntToText(g_currentLevel));
}

void OnPageEditTextChanged() {
  ClampToLevelCount(main_window::页数编辑框);
}

void OnLowLevelEditTextChanged() {
  ClampToLevelCount(main_window::最低编辑框);
}

void OnHighLevelEditTextChanged() {
  ClampToLevelCount(main_window::最高编辑框);
}

}  // namespace app
