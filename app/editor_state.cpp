#include "app/editor_state.h"

#include <string_view>

#include "app/globals.h"
#include "app/mastery_rows.h"
#include "app/read_type.h"
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

}  // namespace

bool SkillHeld() {
  return main_window::读取按钮->Text() == Gbk("释放数据");
}

void HoldSkill() {
  main_window::编辑框1->Disable();
  main_window::读取按钮->SetText(Gbk("释放数据"));
  DisableSkillListControls();
}

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

void ClearLoadedSkillData() {
  using namespace main_window;
  g_levelRows.Clear();
  g_levelValues.Clear();
  g_placeholderMap.Clear();
  g_scriptText.clear();
  g_levelInfoText.clear();
  g_staticDataText.clear();
  g_levelInfoStart = 0;
  g_levelInfoLength = 0;
  g_staticDataStart = 0;
  g_staticDataLength = 0;
  g_valuesPerLevel = 0;
  g_levelCount = 1;
  for (fw::Ref<fw::Radio> radio : {刷图单选框, PK单选框, 通用单选框}) radio->SetChecked(false);
  编辑框1->Enable();
  for (fw::Ref<fw::Radio> radio : {增加单选框, 赋值单选框, 递增单选框, 倍率单选框}) {
    radio->SetChecked(false);
    radio->Disable();
  }
  数据表格->DeleteDataRows();
  静态表格->DeleteDataRows();
  描述编辑框->SetText("");
}

void DisableSkillListControls() {
  SetSkillListControlsDisabled(true);
}

void EnableSkillListControls() {
  SetSkillListControlsDisabled(false);
}

}  // namespace app
