#include "app/modify.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/feedback.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/paging.h"
#include "app/prompt.h"
#include "app/read_skill.h"
#include "app/units.h"
#include "engine/modify.h"
#include "engine/rebuild.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "engine/write_messages.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

struct Mode {
  fw::Ref<fw::Radio> radio;
  ModifyMode mode;
  std::string_view confirmText;  // UTF-8, after the data set in the confirmation
};

// The mode radios in the order in which the first checked one decides.
constexpr Mode kModes[] = {
    {main_window::增加单选框, ModifyMode::Add, "   修改方式:增加"},
    {main_window::赋值单选框, ModifyMode::Assign, "   修改方式:等于"},
    {main_window::递增单选框, ModifyMode::Increment, "   修改方式:递增"},
    {main_window::倍率单选框, ModifyMode::Ratio, "   修改方式:百分比"},
};

const Mode* CheckedMode() {
  for (const Mode& m : kModes) {
    if (m.radio->Checked()) return &m;
  }
  return nullptr;
}

std::string DataSetText() {
  using namespace main_window;
  if (刷图单选框->Checked()) return Gbk("地下城技能");
  if (PK单选框->Checked()) return Gbk("决斗场技能");
  if (通用单选框->Checked()) return Gbk("通用技能");
  return {};
}

std::vector<std::string> Column(fw::Ref<fw::Grid> grid, int col) {
  std::vector<std::string> cells;
  for (int row = 1; row < grid->RowCount(); ++row) cells.push_back(grid->CellText(row, col));
  return cells;
}

LevelTable ShownLevelTable() {
  LevelTable table;
  table.valuesPerLevel = g_valuesPerLevel;
  table.levelCount = g_levelCount;
  table.values = g_levelValues.Items();
  table.block = {g_levelInfoStart, g_levelInfoLength};
  return table;
}

// The level-1 bases of the increment mode, from column 0 as the user left
// it on the shown page.
std::optional<std::vector<std::string>> IncrementBasesShown(ScriptForm form) {
  std::vector<std::string> levelOne;
  for (int c = 1; c <= g_valuesPerLevel && c <= g_levelValues.Size(); ++c) {
    levelOne.push_back(g_levelValues[c]);
  }
  return IncrementBases(form, g_currentLevel, Column(main_window::数据表格, 0),
                        PageCells(g_currentLevel, form), levelOne);
}

// The level-info rebuilder of a mode for a script form.
using LevelRebuilder = Rebuilt (*)(std::string_view, const LevelTable&, const LevelChange&);

LevelRebuilder SpLevelRebuilder(ModifyMode mode) {
  switch (mode) {
    case ModifyMode::Add:
      return &RebuildLevelInfoAddSp;
    case ModifyMode::Assign:
      return &RebuildLevelInfoAssignSp;
    case ModifyMode::Increment:
      return &RebuildLevelInfoIncrementSp;
    case ModifyMode::Ratio:
      return &RebuildLevelInfoRatioSp;
  }
  std::abort();  // no such mode
}

LevelRebuilder PtLevelRebuilder(ModifyMode mode) {
  switch (mode) {
    case ModifyMode::Add:
      return &RebuildLevelInfoAddPt;
    case ModifyMode::Assign:
      return &RebuildLevelInfoAssignPt;
    case ModifyMode::Increment:
      return &RebuildLevelInfoIncrementPt;
    case ModifyMode::Ratio:
      return &RebuildLevelInfoRatioPt;
  }
  std::abort();  // no such mode
}

LevelRebuilder LevelRebuilderOf(ScriptForm form, ModifyMode mode) {
  switch (form) {
    case ScriptForm::Sp:
      return SpLevelRebuilder(mode);
    case ScriptForm::Pt:
      return PtLevelRebuilder(mode);
  }
  std::abort();  // no such form
}

// The static-data rebuilder of a script form.
Rebuilt RebuildStaticData(ScriptForm form, std::string_view script, TextSpan block,
                          const StaticChange& change) {
  switch (form) {
    case ScriptForm::Sp:
      return RebuildStaticDataSp(script, block, change);
    case ScriptForm::Pt:
      return RebuildStaticDataPt(script, block, change);
  }
  std::abort();  // no such form
}

// Reads the level range from 最低编辑框 and 最高编辑框 into g_levelRangeLow
// and g_levelRangeHigh; false, after its message, when the range is not one
// to modify.
bool ReadLevelRangeEdits() {
  const LevelRange range =
      ReadLevelRange(main_window::最低编辑框->TextRef(), main_window::最高编辑框->TextRef(),
                     g_valuesPerLevel, g_levelCount);
  g_levelRangeLow = range.low;
  g_levelRangeHigh = range.high;
  if (range.check == RangeCheck::Fine) return true;
  ShowMessage(LevelRangeMessage(range.check));
  return false;
}

// Asks the user; true for OK.
bool Confirmed(const Mode& mode) {
  using namespace main_window;
  const std::string line1 = Gbk("数据类型:") + DataSetText() + Gbk(mode.confirmText);
  const std::string line2 =
      Gbk("等级区间:") + 最低编辑框->TextRef() + "--" + 最高编辑框->TextRef() + Gbk("级");
  return ShowPromptBox(line1, line2, Gbk("确定修改吗？"), true) == 1;
}

}  // namespace

void BuildLevelRangeList() {
  g_levelRangeList = LevelRangeList(g_levelCount, g_levelRangeLow, g_levelRangeHigh);
}

void OnSaveChangesButtonClicked() {
  using namespace main_window;
  if (FindText(g_scriptText, "[type]") < 0) {
    ShowMessage(Gbk("请先读取一个技能数据！"));
    return;
  }
  if (!g_scriptFormat) return;
  const ScriptForm form = *g_scriptFormat;
  const std::vector<std::string> staticInputs = Column(静态表格, 1);

  // The whole new script is worked out before the user is asked, so that
  // every refusal comes before the confirmation and nothing is written.
  const Mode* mode = nullptr;
  std::optional<std::string> text;  // the new script, once something was rebuilt
  std::vector<TextShift> levelShifts;
  if (g_hasLevelData) {
    if (!ReadLevelRangeEdits()) return;
    mode = CheckedMode();
    if (mode == nullptr) {
      ShowMessage(Gbk("请选择一个动态数据保存类型！"));
      return;
    }
    LevelChange change{g_levelRangeLow, g_levelRangeHigh, Column(数据表格, 1), {}};
    if (mode->mode == ModifyMode::Increment) {
      auto bases = IncrementBasesShown(form);
      if (!bases) {
        ShowMessage(Gbk("请回到第1级页面输入1级数值！"));
        return;
      }
      change.bases = std::move(*bases);
    }
    Refusal refusal = CheckLevelInputs(form, mode->mode, change);
    if (refusal == Refusal::None && g_staticDataShown) refusal = CheckIntegerInputs(staticInputs);
    if (refusal == Refusal::None) {
      Rebuilt level = LevelRebuilderOf(form, mode->mode)(g_scriptText, ShownLevelTable(), change);
      refusal = level.refusal;
      text = std::move(level.text);
      levelShifts = std::move(level.shifts);
    }
    if (refusal != Refusal::None) {
      ShowMessage(LevelRefusalMessage(refusal, mode->mode, form));
      return;
    }
  }
  if (g_staticDataShown) {
    const std::string& script = text ? *text : 编辑框1->TextRef();
    const StaticChange change{g_staticDataText, staticInputs};
    // Where the shown block was read, after what the level rebuild moved.
    const TextSpan block = ShiftedSpan({g_staticDataStart, g_staticDataLength}, levelShifts);
    Rebuilt rebuilt = RebuildStaticData(form, script, block, change);
    if (!rebuilt.Accepted()) {
      ShowMessage(StaticRefusalMessage(rebuilt.refusal));
      return;
    }
    text = std::move(rebuilt.text);
  }
  if (!text) return;
  if (mode != nullptr) {
    if (!Confirmed(*mode)) return;
    BuildLevelRangeList();
  }
  编辑框1->SetText(*text);
  ShowWriteDone(保存按钮, "保存修改");
  ReleaseAndReadAgain();
}

}  // namespace app
