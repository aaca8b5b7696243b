#include "engine/mastery.h"

#include <cstddef>
#include <initializer_list>

#include "engine/blocks.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "platform/gbk.h"

namespace {

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
// (`prefix` before the plain tag), the second kind first: `where` gives
// the span of the values of the section whose tag ends before byte
// `afterTag`, `split` the values of that text.
template <class Where>
MasterySection ReadSection(std::string_view script, std::string_view prefix, Where where,
                           std::vector<std::string> (*split)(std::string_view)) {
  MasterySection section;
  for (const std::string_view tag : {kSecondTag, kGrowtypeTag}) {
    const int at = FindText(script, std::string(prefix) + std::string(tag));
    if (at < 0) continue;
    section.found = true;
    section.second = tag == kSecondTag;
    const TextSpan values = where(at + static_cast<int>(prefix.size() + tag.size()));
    section.values = split(SpanText(script, values));
    section.span = {at, values.start + values.length - at};
    break;
  }
  return section;
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

bool HoldsClassSpecialSection(std::string_view script) {
  return FindText(script, kSecondTag) > 0;
}

MasterySection ReadMasterySectionSp(std::string_view script) {
  return ReadSection(
      script, "[@05]",
      [&](int afterTag) {
        // Up to the next section tag, or to the end of the text.
        const int end = FindText(script, "[@05]", afterTag);
        return TextSpan{afterTag, (end > 0 ? end : static_cast<int>(script.size()) + 1) - afterTag};
      },
      &SpValues);
}

MasterySection ReadMasterySectionPt(std::string_view script) {
  return ReadSection(
      script, "", [&](int afterTag) { return LineAfter(script, afterTag - 1); }, &SplitPtValues);
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
