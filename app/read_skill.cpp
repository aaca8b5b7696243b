#include "app/read_skill.h"

#include <string>

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
  const std::string form = DetectScriptFormat(main_window::编辑框1->TextRef());
  if (form.empty()) {
    ShowMessage(Gbk("只支持SuperPVF和PVFTool解密的数据格式！"));
    return;
  }
  g_scriptFormat = form;
  LoadSkill();
}

void LoadSkill() {
  const bool sp = g_scriptFormat == "SP";
  sp ? LoadSkillNameSp() : LoadSkillNamePt();

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
    if (!g_staticDataSplit) {
      sp ? LoadCommonStaticDataSp() : LoadCommonStaticDataPt();
    } else {
      sp ? LoadDungeonStaticDataSp() : LoadDungeonStaticDataPt();
      main_window::变换按钮->Enable();
    }
  }

  if (sp) {
    LoadHeaderFieldsSp();
  } else {
    LoadHeaderFieldsPt();
  }
  LoadMasteryLevels();
}

void ReloadSkillAndRestoreSelection() {
  using namespace main_window;
  // Choosing the data set parses the level table, which resets the mode to
  // 赋值: the mode to restore is the one remembered before the read.
  const std::string mode = g_modifyMode;
  ReadOrReleaseSkill();

  if (g_readType == Gbk("地下城") && !刷图单选框->Disabled()) {
    OnDungeonRadioClicked();
  } else if (g_readType == Gbk("决斗场") && !PK单选框->Disabled()) {
    OnPkRadioClicked();
  } else if (g_readType == Gbk("通用") && !通用单选框->Disabled()) {
    OnCommonRadioClicked();
  }

  struct Restore {
    std::string_view modeUtf8;
    fw::Ref<fw::Radio> radio;
    void (*handler)();
  };
  const Restore restores[] = {
      {"增加", 增加单选框, &OnAddRadioClicked},
      {"倍率", 倍率单选框, &OnRatioRadioClicked},
      {"递增", 递增单选框, &OnIncrementRadioClicked},
  };
  for (const Restore& r : restores) {
    if (mode == Gbk(r.modeUtf8) && !r.radio->Disabled()) {
      r.handler();
      r.radio->SetChecked(true);
      赋值单选框->SetChecked(false);
      return;
    }
  }
}

void ReleaseAndReadAgain() {
  ReleaseSkillData();
  g_reportMissingData = false;
  ReloadSkillAndRestoreSelection();
}

}  // namespace app
