#include "app/read_skill.h"

#include <optional>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/header_rows.h"
#include "app/main_window.h"
#include "app/mastery_rows.h"
#include "app/prompt.h"
#include "app/read_type.h"
#include "app/skill_name.h"
#include "app/static_copy.h"
#include "app/units.h"
#include "engine/level_info.h"
#include "engine/rebuild.h"
#include "engine/script_form.h"
#include "engine/skill_read.h"
#include "platform/gbk.h"

namespace app {

using platform::Gbk;

void ReadOrReleaseSkill() {
  if (SkillHeld()) {
    ReleaseSkillData();
    return;
  }
  // The switch between two static copies and the class choice belong to
  // the script read last: a read that held nothing leaves them offered, and
  // the next read must not offer the old script's other copy or classes.
  main_window::变换按钮->Disable();
  WithdrawClassChoice();
  const std::optional<ScriptForm> form = DetectScriptFormat(main_window::编辑框1->TextRef());
  if (!form) {
    ShowMessage(Gbk("只支持SuperPVF和PVFTool解密的数据格式！"));
    return;
  }
  g_scriptFormat = form;
  LoadSkill();
}

void LoadSkill() {
  const ScriptForm form = *g_scriptFormat;
  switch (form) {
    case ScriptForm::Sp:
      LoadSkillNameSp();
      break;
    case ScriptForm::Pt:
      LoadSkillNamePt();
      break;
  }

  const ScriptOutline outline = OutlineScript(main_window::编辑框1->TextRef());
  if (outline.levelBlocks > 0) {
    const OfferedDataSets& offered = outline.offered;
    SetReadTypeRadiosDisabled(!offered.dungeon, !offered.arena, !offered.common);
  }
  g_hasLevelData = outline.levelBlocks > 0;
  if (g_hasLevelData) {
    HoldSkill();
  } else if (g_reportMissingData) {
    ShowMessage(Gbk("该技能没有随等级变化的数据！"));
  }

  g_hasStaticData = outline.staticBlocks > 0;
  if (g_hasStaticData) {
    g_staticDataSplit = outline.staticBlocks > 1;
  } else if (g_reportMissingData) {
    ShowMessage(Gbk("该技能没有静态数据！"));
  }

  // With level data the static copy waits for the choice of a data set.
  // A static copy that is shown holds the skill (static_copy.h).
  if (!g_hasLevelData && g_hasStaticData) {
    g_scriptText = main_window::编辑框1->TextRef();
    // A script of one static block shows it as the common copy; of more,
    // the first as the dungeon copy, with the switch to the arena copy.
    switch (form) {
      case ScriptForm::Sp:
        g_staticDataSplit ? LoadDungeonStaticDataSp() : LoadCommonStaticDataSp();
        break;
      case ScriptForm::Pt:
        g_staticDataSplit ? LoadDungeonStaticDataPt() : LoadCommonStaticDataPt();
        break;
    }
    if (g_staticDataSplit) main_window::变换按钮->Enable();
  }

  LoadHeaderFields(form);
  LoadMasteryLevels();
}

namespace {

// Chooses `set` again as its radio's click does, when the script read
// offers it.
void ChooseDataSetAgain(DataSet set) {
  using namespace main_window;
  switch (set) {
    case DataSet::Dungeon:
      if (!刷图单选框->Disabled()) OnDungeonRadioClicked();
      break;
    case DataSet::Arena:
      if (!PK单选框->Disabled()) OnPkRadioClicked();
      break;
    case DataSet::Common:
      if (!通用单选框->Disabled()) OnCommonRadioClicked();
      break;
  }
}

// Chooses `mode` again as its radio's click does, when a level table was
// parsed (which enables the mode radios) and checks its radio in place of
// 赋值单选框.
void ChooseModeAgain(fw::Ref<fw::Radio> radio, void (*choose)()) {
  if (radio->Disabled()) return;
  choose();
  radio->SetChecked(true);
  main_window::赋值单选框->SetChecked(false);
}

}  // namespace

void ReloadSkillAndRestoreSelection() {
  using namespace main_window;
  // Choosing the data set parses the level table, which resets the mode to
  // 赋值: the mode to restore is the one remembered before the read.
  const std::optional<ModifyMode> mode = g_modifyMode;
  ReadOrReleaseSkill();

  if (g_readType) ChooseDataSetAgain(*g_readType);

  if (!mode) return;
  switch (*mode) {
    case ModifyMode::Add:
      ChooseModeAgain(增加单选框, &OnAddRadioClicked);
      break;
    case ModifyMode::Ratio:
      ChooseModeAgain(倍率单选框, &OnRatioRadioClicked);
      break;
    case ModifyMode::Increment:
      ChooseModeAgain(递增单选框, &OnIncrementRadioClicked);
      break;
    case ModifyMode::Assign:
      // The parse of the level table has chosen it already.
      break;
  }
}

void ReleaseAndReadAgain() {
  ReleaseSkillData();
  g_reportMissingData = false;
  ReloadSkillAndRestoreSelection();
}

}  // namespace app
