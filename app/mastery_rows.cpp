#include "app/mastery_rows.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/units.h"
#include "engine/colour.h"
#include "engine/script_form.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

constexpr std::string_view kChooseClass = "请选择一个职业";

// The version of 编辑框1's text (fw::Edit::LastSplice) for which the class
// choice was offered.
std::uint64_t classChoiceText = 0;

// Stores the values the section's rows stand for and appends the rows.
void AppendRows(const MasterySection& section, std::string_view classKey) {
  std::vector<std::string> stored;
  const std::vector<MasteryRow> rows = MasteryRows(section, classKey, &stored);
  for (std::string& value : stored) g_masteryValues.Append(std::move(value));
  fw::Grid& grid = *mastery_window::精通表格;
  for (const MasteryRow& row : rows) {
    const int r = grid.AppendRow(row.title);
    grid.SetCellText(r, 1, row.value);
    if (row.greyValue) grid.SetBackColour(fw::CellRange::Cell(r, 1), kGreyCellColour);
  }
}

void LoadMasterySection(const MasterySection& section, std::string_view classKey) {
  g_masteryValues.Clear();
  fw::Grid& grid = *mastery_window::精通表格;
  grid.DeleteDataRows();
  if (section.found) g_hasSecondGrowtype = section.second;
  g_masteryStart = section.span.start;
  g_masteryLength = section.span.length;
  if (section.second) {
    AppendRows(section, {});
  } else {
    AppendGrowtypeRows(classKey, section);
  }
  if (grid.RowCount() > 1) HoldSkill();
  LockMasteryTitleColumn();
}

void FillClassCombo(std::initializer_list<std::string_view> classes) {
  fw::Combo& combo = *mastery_window::全职业组合框;
  combo.RemoveAll();
  std::int32_t data = 0;
  combo.AddItem(Gbk(kChooseClass), data++);
  for (std::string_view c : classes) combo.AddItem(Gbk(c), data++);
  combo.SelectPrefix(Gbk(kChooseClass));
}

}  // namespace

void LoadMasteryLevels() {
  const bool second = HoldsClassSpecialSection(main_window::编辑框1->TextRef());
  const std::string label = main_window::职业标签->Text();
  struct Group {
    std::string_view label;
    void (*fill)();
  };
  const Group groups[] = {
      {"全职业通用技能", &FillClassComboAll},
      {"魔法师(男/女)", &FillClassComboMage},
      {"鬼剑士/黑暗武士", &FillClassComboSwordman},
  };
  auto load = [](std::string_view key) {
    if (!g_scriptFormat) return;  // nothing read yet
    switch (*g_scriptFormat) {
      case ScriptForm::Sp:
        LoadMasteryLevelsSp(key);
        break;
      case ScriptForm::Pt:
        LoadMasteryLevelsPt(key);
        break;
    }
  };
  if (second) return load({});
  for (const Group& g : groups) {
    if (label == Gbk(g.label)) {
      mastery_window::全职业组合框->SetVisible(true);
      g_classChoicePending = true;
      classChoiceText = main_window::编辑框1->LastSplice().version;
      g.fill();
      return;
    }
  }
  const std::string key = ClassKeyOfLabel(label);
  if (!key.empty()) load(key);
}

void LoadMasteryLevelsSp(std::string_view classKey) {
  LoadMasterySection(ReadMasterySectionSp(main_window::编辑框1->TextRef()), classKey);
}

void LoadMasteryLevelsPt(std::string_view classKey) {
  LoadMasterySection(ReadMasterySectionPt(main_window::编辑框1->TextRef()), classKey);
}

void AppendGrowtypeRows(std::string_view classKey, const MasterySection& section) {
  AppendRows(section, classKey);
}

void WithdrawClassChoice() {
  mastery_window::全职业组合框->SetVisible(false);
  g_classChoicePending = false;
}

void WithdrawClassChoiceOnceTextChanged() {
  if (g_classChoicePending && main_window::编辑框1->LastSplice().version != classChoiceText) {
    WithdrawClassChoice();
  }
}

void LockMasteryTitleColumn() {
  fw::Grid& grid = *mastery_window::精通表格;
  if (grid.RowCount() <= 1) return;
  const fw::CellRange titles = fw::CellRange::Rows(1, grid.RowCount() - 1, 0);
  grid.SetReadOnly(titles, true);
  grid.SetBackColour(titles, kGreyCellColour);
}

void FillClassComboAll() {
  FillClassCombo({"鬼剑士", "格斗家(男/女)", "神枪手(男/女)", "魔法师(女)", "魔法师(男)", "圣职者",
                  "暗夜使者", "黑暗武士", "缔造者"});
}

void FillClassComboMage() {
  FillClassCombo({"魔法师(女)", "魔法师(男)"});
}

void FillClassComboSwordman() {
  FillClassCombo({"鬼剑士", "黑暗武士"});
}

}  // namespace app
