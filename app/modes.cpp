#include "app/modes.h"

#include <cstdlib>
#include <string_view>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/read_type.h"
#include "app/units.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

struct Mode {
  ModifyMode mode;           // g_modifyMode
  std::string_view header0;  // header of column 0: the values as read, or the bases
  std::string_view header1;  // header of column 1: what the user types
  bool editableBase;         // column 0 holds editable level-1 base values
};

constexpr Mode kAdd{ModifyMode::Add, "技能原数值", "增加的数值", false};
constexpr Mode kAssign{ModifyMode::Assign, "技能原数值", "修改的数值", false};
constexpr Mode kIncrement{ModifyMode::Increment, "1级数值", "递增数值", true};
constexpr Mode kRatio{ModifyMode::Ratio, "技能原数值", "倍率", false};

const Mode& ModeOf(ModifyMode mode) {
  switch (mode) {
    case ModifyMode::Add:
      return kAdd;
    case ModifyMode::Assign:
      return kAssign;
    case ModifyMode::Increment:
      return kIncrement;
    case ModifyMode::Ratio:
      return kRatio;
  }
  std::abort();  // no such mode
}

void WriteHeaders(const Mode& mode) {
  main_window::数据表格->SetCellText(0, 0, Gbk(mode.header0));
  main_window::数据表格->SetCellText(0, 1, Gbk(mode.header1));
}

// Remembers the mode, shows level 1 again and relabels the grid; the
// values typed into column 1 stay.
void ChooseMode(const Mode& mode) {
  main_window::页数编辑框->SetText("1");
  g_modifyMode = mode.mode;
  OnJumpButtonClicked();
  mode.editableBase ? UnlockDataGridBaseColumn() : FormatDataGrid();
  WriteHeaders(mode);
}

}  // namespace

void WriteDataGridHeaders(ModifyMode mode) {
  WriteHeaders(ModeOf(mode));
}

void OnAddRadioClicked() {
  ChooseMode(kAdd);
}

void OnAssignRadioClicked() {
  ChooseMode(kAssign);
}

void OnIncrementRadioClicked() {
  ChooseMode(kIncrement);
}

void OnRatioRadioClicked() {
  ChooseMode(kRatio);
}

}  // namespace app
