#include "app/data_set.h"

#include <optional>
#include <string>
#include <utility>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/modes.h"
#include "app/paging.h"
#include "app/prompt.h"
#include "app/read_type.h"
#include "app/static_copy.h"
#include "app/units.h"
#include "engine/level_info.h"
#include "engine/level_table.h"
#include "engine/rebuild.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

// The routines of one script form.
struct Form {
  std::optional<TextSpan> (*cut)(std::string_view, DataSet);
  void (*loadCommonStatic)();
  void (*parse)();
};
constexpr Form kSp{&CutLevelInfoSp, &LoadCommonStaticDataSp, &ParseLevelInfoSp};
constexpr Form kPt{&CutLevelInfoPt, &LoadCommonStaticDataPt, &ParseLevelInfoPt};

// Holds the skill again and copies 编辑框1 into g_scriptText; loads the
// static copy that goes with the chosen block (the common block when the
// script has one, `splitLoader`'s copy when it has more, none without; the
// common set then offers the switch to the other copy); then keeps the cut
// block and parses it, or reports a block that is not where the set needs
// it.
void Cut(DataSet set, const Form& form, void (*splitLoader)()) {
  // The clear before the cut unlocked the box: the chosen set holds the
  // skill again.
  HoldSkill();
  g_scriptText = main_window::编辑框1->TextRef();
  if (g_hasStaticData && !g_staticDataSplit) {
    form.loadCommonStatic();
  } else if (g_hasStaticData) {
    splitLoader();
    if (set == DataSet::Common) main_window::变换按钮->Enable();
  }
  const std::optional<TextSpan> block = form.cut(g_scriptText, set);
  if (!block) {
    ShowMessage(Gbk("技能数据设置不正确！"));
    return;
  }
  g_levelInfoText = SpanText(g_scriptText, *block);
  g_levelInfoStart = block->start;
  g_levelInfoLength = block->length;
  form.parse();
}

// Keeps the parsed table, sizes and fills the grid, and resets the page and
// the modes.
void ShowLevelTable(LevelTableRead table, void (*showPage)(int)) {
  g_valuesPerLevel = table.valuesPerLevel;
  g_levelCount = table.levelCount;
  if (g_levelRows.Size() == 0) {
    g_levelRows = fw::TextArray(std::move(table.rows));
  } else {
    for (std::string& row : table.rows) g_levelRows.Append(std::move(row));
  }
  if (g_levelValues.Size() == 0) {
    g_levelValues = fw::TextArray(std::move(table.values));
  } else {
    for (std::string& value : table.values) g_levelValues.Append(std::move(value));
  }

  fw::Grid& grid = *main_window::数据表格;
  if (grid.RowCount() == 1) {
    for (int i = 0; i < table.gridRows; ++i) grid.AppendRow("");
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
  g_modifyMode = ModifyMode::Assign;
  WriteDataGridHeaders(ModifyMode::Assign);
}

}  // namespace

void ChooseDataSet(fw::Ref<fw::Radio> radio, DataSet set, void (*spCutter)(), void (*ptCutter)()) {
  if (FindText(main_window::编辑框1->TextRef(), "[level info]", 1, true) < 0) {
    ShowMessage(Gbk("该技能没有随等级变化的数据！"));
    radio->SetChecked(false);
    return;
  }
  ClearLoadedSkillData();
  radio->SetChecked(true);
  if (!g_scriptFormat) {
    ShowMessage(Gbk("不支持的格式！"));
    radio->SetChecked(false);
    return;
  }
  g_readType = set;
  switch (*g_scriptFormat) {
    case ScriptForm::Sp:
      spCutter();
      break;
    case ScriptForm::Pt:
      ptCutter();
      break;
  }
}

void LoadDungeonLevelInfoSp() {
  Cut(DataSet::Dungeon, kSp, &LoadDungeonStaticDataSp);
}
void LoadPvpLevelInfoSp() {
  Cut(DataSet::Arena, kSp, &LoadPvpStaticDataSp);
}
void LoadCommonLevelInfoSp() {
  Cut(DataSet::Common, kSp, &LoadDungeonStaticDataSp);
}
void LoadDungeonLevelInfoPt() {
  Cut(DataSet::Dungeon, kPt, &LoadDungeonStaticDataPt);
}
void LoadPvpLevelInfoPt() {
  Cut(DataSet::Arena, kPt, &LoadPvpStaticDataPt);
}
void LoadCommonLevelInfoPt() {
  Cut(DataSet::Common, kPt, &LoadDungeonStaticDataPt);
}

void ParseLevelInfoSp() {
  ShowLevelTable(ReadLevelTableSp(g_levelInfoText), &ShowLevelPageSp);
}

void ParseLevelInfoPt() {
  ShowLevelTable(ReadLevelTablePt(g_levelInfoText), &ShowLevelPagePt);
}

void OnDungeonRadioClicked() {
  ChooseDataSet(main_window::刷图单选框, DataSet::Dungeon, &LoadDungeonLevelInfoSp,
                &LoadDungeonLevelInfoPt);
}

void OnPkRadioClicked() {
  ChooseDataSet(main_window::PK单选框, DataSet::Arena, &LoadPvpLevelInfoSp, &LoadPvpLevelInfoPt);
}

void OnCommonRadioClicked() {
  ChooseDataSet(main_window::通用单选框, DataSet::Common, &LoadCommonLevelInfoSp,
                &LoadCommonLevelInfoPt);
}

}  // namespace app
