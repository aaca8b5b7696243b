#include "engine/mastery.h"

#include <cstddef>
#include <initializer_list>

#include "app/globals.h"
#include "app/read_skill.h"
#include "app/units.h"
#include "engine/blocks.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "platform/gbk.h"

namespace {

using namespace app;
using platform::Gbk;

constexpr Growtype kGrowtypes[] = {
    {"鬼剑士", "未转职|剑魂|鬼泣|狂战士|阿修罗|"},
    {"格斗家", "未转职|气功师|街霸|散打|柔道家|"},
    {"神枪手", "未转职|漫游枪手|枪炮师|机械师|弹药专家|"},
    {"女魔法师", "未转职|元素师|召唤师|魔道学者|战斗法师|"},
    {"男魔法师", "未转职|元素爆破师|冰结师|"},
    {"圣职者", "未转职|圣骑士|蓝拳圣使|驱魔师|复仇者|"},
    {"暗夜使者", "未转职|刺客|死灵术士|"},
    {"黑暗武士", "黑暗武士|"},
    {"缔造者", "缔造者|"},
};

struct LabelKey {
  std::string_view label;
  std::string_view key;
};
constexpr LabelKey kLabelKeys[] = {
    {"格斗家(男)", "格斗家"},   {"格斗家(女)", "格斗家"},   {"格斗家(男/女)", "格斗家"},
    {"神枪手(男)", "神枪手"},   {"神枪手(女)", "神枪手"},   {"神枪手(男/女)", "神枪手"},
    {"魔法师(男)", "男魔法师"}, {"魔法师(女)", "女魔法师"}, {"鬼剑士", "鬼剑士"},
    {"圣职者", "圣职者"},       {"暗夜使者", "暗夜使者"},   {"黑暗武士", "黑暗武士"},
    {"缔造者", "缔造者"},
};

constexpr std::string_view kGrowtypeTag = "[growtype maximum level]";
constexpr std::string_view kSecondTag = "[second growtype maximum level]";
constexpr std::string_view kChooseClass = "请选择一个职业";

// The values of an SP section body (the lines after its tag line): each
// line that is not blank, with every "[@02]" removed.
std::vector<std::string> SpValues(std::string_view body) {
  std::vector<std::string> values;
  for (const std::string& line : SplitText(body, "\r\n")) {
    if (line.find_first_not_of(" \t\r\n\v\f") == std::string::npos) continue;
    values.push_back(ReplaceAll(line, "[@02]", ""));
  }
  return values;
}

// The section that `script` holds, by its tag in the form's spelling
// (`prefix` before the plain tag), the second kind first; `body` gives the
// values of the section whose tag line holds byte `tagAt`.
template <class Body>
MasterySection ReadSection(std::string_view script, std::string_view prefix, Body body) {
  MasterySection section;
  for (const std::string_view tag : {kSecondTag, kGrowtypeTag}) {
    const int at = FindText(script, std::string(prefix) + std::string(tag));
    if (at < 0) continue;
    section.found = true;
    section.second = tag == kSecondTag;
    section.values = body(at + static_cast<int>(prefix.size() + tag.size()));
    break;
  }
  return section;
}

void LoadMasterySection(const MasterySection& section, std::string_view classKey) {
  g_masteryValues.Clear();
  fw::Grid& grid = *mastery_window::精通表格;
  grid.DeleteDataRows();
  std::vector<std::string> stored;
  const std::vector<MasteryRow> rows = MasteryRows(section, classKey, &stored);
  for (std::string& value : stored) g_masteryValues.Append(std::move(value));
  if (section.found) g_hasSecondGrowtype = section.second;
  for (const MasteryRow& row : rows) {
    const int r = grid.AppendRow(row.title);
    grid.SetCellText(r, 1, row.value);
    if (row.greyValue) grid.SetBackColour(fw::CellRange::Cell(r, 1), 0x00ECECECu);
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

std::span<const Growtype> GrowtypeTable() {
  return kGrowtypes;
}

std::vector<std::string> GrowtypeNames(std::string_view classKey) {
  for (const Growtype& row : kGrowtypes) {
    if (Gbk(row.classKey) == classKey) return SplitText(Gbk(row.names), "|");
  }
  return {};
}

std::string ClassKeyOfLabel(std::string_view label) {
  for (const LabelKey& row : kLabelKeys) {
    if (Gbk(row.label) == label) return Gbk(row.key);
  }
  return {};
}

MasterySection ReadMasterySectionSp(std::string_view script) {
  return ReadSection(script, "[@05]", [&](int afterTag) {
    // Up to the next section tag, or to the end of the text.
    const int end = FindText(script, "[@05]", afterTag);
    const int length = (end > 0 ? end : static_cast<int>(script.size()) + 1) - afterTag;
    return SpValues(SpanText(script, {afterTag, length}));
  });
}

MasterySection ReadMasterySectionPt(std::string_view script) {
  return ReadSection(script, "", [&](int afterTag) {
    return SplitPtValues(SpanText(script, LineAfter(script, afterTag - 1)));
  });
}

std::vector<MasteryRow> MasteryRows(const MasterySection& section, std::string_view classKey,
                                    std::vector<std::string>* stored) {
  std::vector<MasteryRow> rows;
  if (!section.found) return rows;
  if (section.second) {
    if (stored) *stored = section.values;
    for (const std::string& value : section.values) {
      if (TextToInt(value) > 0) rows.push_back({Gbk("职业特殊技"), value, false});
    }
    return rows;
  }
  const std::vector<std::string> names = GrowtypeNames(classKey);
  if (names.empty()) return rows;
  if (stored) *stored = section.values;
  for (std::size_t i = 0; i < section.values.size(); ++i) {
    const bool named = i < names.size();
    rows.push_back({named ? names[i] : Gbk("无用数据"), section.values[i], !named});
  }
  return rows;
}

void LoadMasteryLevels() {
  const std::string text = main_window::编辑框1->Text();
  const bool second = FindText(text, kSecondTag) > 0;
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
    if (g_scriptFormat == "SP") {
      LoadMasteryLevelsSp(key);
    } else if (g_scriptFormat == "PT") {
      LoadMasteryLevelsPt(key);
    }
  };
  if (second) return load({});
  for (const Group& g : groups) {
    if (label == Gbk(g.label)) {
      mastery_window::全职业组合框->SetVisible(true);
      g_classChoicePending = true;
      g.fill();
      return;
    }
  }
  const std::string key = ClassKeyOfLabel(label);
  if (!key.empty()) load(key);
}

void LoadMasteryLevelsSp(std::string_view classKey) {
  LoadMasterySection(ReadMasterySectionSp(main_window::编辑框1->Text()), classKey);
}

void LoadMasteryLevelsPt(std::string_view classKey) {
  LoadMasterySection(ReadMasterySectionPt(main_window::编辑框1->Text()), classKey);
}

void WithdrawClassChoice() {
  mastery_window::全职业组合框->SetVisible(false);
  g_classChoicePending = false;
}

void LockMasteryTitleColumn() {
  fw::Grid& grid = *mastery_window::精通表格;
  if (grid.RowCount() <= 1) return;
  const fw::CellRange titles = fw::CellRange::Rows(1, grid.RowCount() - 1, 0);
  grid.SetReadOnly(titles, true);
  grid.SetBackColour(titles, 0x00ECECECu);
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
