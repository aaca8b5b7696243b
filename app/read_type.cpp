#include "app/read_type.h"

#include <string_view>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/mastery_rows.h"
#include "app/read_skill.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

// The units of the skill-list window through which a skill is opened. The
// window may not be loaded; then there is nothing to switch.
constexpr std::string_view kSkillListUnits[] = {
    "鬼剑士组合框", "男格斗组合框", "女格斗组合框", "男法师组合框", "女法师组合框", "男枪手组合框",
    "女枪手组合框", "黑武士组合框", "圣职者组合框", "缔造者组合框", "暗夜使组合框", "加载技能按钮",
    "选择夹男",     "选择夹女",     "搜索按钮男",   "搜索按钮女",
};

void SetSkillListControlsDisabled(bool disabled) {
  if (fw::Window* list = fw::Runtime::Current().FindWindow(kSkillListWindow);
      list != nullptr && list->IsLoaded()) {
    for (std::string_view name : kSkillListUnits) {
      if (fw::Control* unit = list->Find(name)) unit->SetDisabled(disabled);
    }
  }
  main_window::保存文件按钮->SetDisabled(disabled);
}

void FormatBaseColumn(fw::Grid& grid, bool readOnly, fw::Colour colour) {
  const int rows = grid.RowCount();
  if (rows <= 1) return;
  const fw::CellRange column = fw::CellRange::Rows(1, rows - 1, 0);
  grid.SetReadOnly(column, readOnly);
  grid.SetBackColour(column, colour);
}

}  // namespace

void ReleaseSkillData() {
  using namespace main_window;
  ClearLoadedSkillData();
  SetReadTypeRadiosDisabled(true, true, true);
  变换按钮->Disable();
  for (fw::Ref<fw::Label> label : {等级标签, 技能名称标签, 静态类型标签, 职业标签}) {
    label->SetText("");
  }
  for (fw::Ref<fw::Edit> edit : {最低编辑框, 最高编辑框, 页数编辑框}) edit->SetText("1");
  读取按钮->SetText(Gbk("读取数据"));
  EnableSkillListControls();
  WithdrawClassChoice();
  param_window::参数表格->DeleteDataRows();
  mastery_window::精通表格->DeleteDataRows();
}

void SetReadTypeRadiosDisabled(bool dungeon, bool pvp, bool common) {
  main_window::刷图单选框->SetDisabled(dungeon);
  main_window::PK单选框->SetDisabled(pvp);
  main_window::通用单选框->SetDisabled(common);
}

void DisableSkillListControls() {
  SetSkillListControlsDisabled(true);
}

void EnableSkillListControls() {
  SetSkillListControlsDisabled(false);
}

void FormatStaticGrid() {
  FormatBaseColumn(*main_window::静态表格, true, kReadOnlyCellColour);
}

void FormatDataGrid() {
  FormatBaseColumn(*main_window::数据表格, true, kReadOnlyCellColour);
}

void UnlockDataGridBaseColumn() {
  FormatBaseColumn(*main_window::数据表格, false, kEditableCellColour);
}

}  // namespace app
