#include "app/read_skill.h"

#include <string>

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

namespace {

using platform::Gbk;

bool IsHeld() {
  return main_window::读取按钮->Text() == Gbk("释放数据");
}

}  // namespace

void HoldSkill() {
  main_window::编辑框1->Disable();
  main_window::读取按钮->SetText(Gbk("释放数据"));
  DisableSkillListControls();
}

void ReadOrReleaseSkill() {
  if (main_window::读取按钮->Text() != Gbk("读取数据")) {
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
  if (!g_hasLevelData && g_hasStaticData) {
    main_window::编辑框1->Disable();
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
  // Whichever step held the skill, no other skill may be opened over it
  // and the file may not be saved while it is held.
  if (IsHeld()) DisableSkillListControls();
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
  using namespace main_window;
  ReleaseSkillData();
  编辑框1->Enable();
  读取按钮->SetText(Gbk("读取数据"));
  EnableSkillListControls();
  SetReadTypeRadiosDisabled(true, true, true);
  g_reportMissingData = false;
  ReloadSkillAndRestoreSelection();
}

}  // namespace app
