#include "engine/skill_name.h"

#include <cstddef>

#include "engine/text.h"
#include "platform/gbk.h"

namespace {

using platform::Gbk;
using L = ClassKeyLists;

constexpr ClassRule kClassRules[] = {
    {{&L::fighterMale, &L::gunnerFemale, &L::swordman}, "全职业通用技能"},
    {{&L::fighterMale, &L::fighterFemale}, "格斗家(男/女)"},
    {{&L::gunnerFemale, &L::gunnerMale}, "神枪手(男/女)"},
    {{&L::mageMale, &L::mageFemale}, "魔法师(男/女)"},
    {{&L::darkKnight, &L::swordman}, "鬼剑士/黑暗武士"},
    {{&L::fighterMale}, "格斗家(男)"},
    {{&L::gunnerFemale}, "神枪手(女)"},
    {{&L::mageMale}, "魔法师(男)"},
    {{&L::creator}, "缔造者"},
    {{&L::darkKnight}, "黑暗武士"},
    {{&L::fighterFemale}, "格斗家(女)"},
    {{&L::gunnerMale}, "神枪手(男)"},
    {{&L::mageFemale}, "魔法师(女)"},
    {{&L::priest}, "圣职者"},
    {{&L::swordman}, "鬼剑士"},
    {{&L::thief}, "暗夜使者"},
};

}  // namespace

std::optional<std::string> ReadSkillNameKeySp(std::string_view script) {
  constexpr std::string_view kTag = "[@05][name]";
  if (FindText(script, kTag, 1, true) < 0) return std::nullopt;
  const int tagLine = FindLineIndex(script, kTag, false);
  return ReplaceText(GetLine(script, tagLine + 2), 1, 1, true, "[@0A]", "");
}

std::optional<std::string> ReadSkillNameKeyPt(std::string_view script) {
  std::string text(script);
  text = TrimBlankLines(text);
  constexpr std::string_view kTag = "[name]";
  if (FindText(text, kTag, 1, true) < 0) return std::nullopt;
  const int tagLine = FindLineIndex(text, kTag, false);
  const std::string link = ReplaceText(GetLine(text, tagLine + 1), 1, 1, true, "<12::", "");
  const int backquote = FindText(link, "`");
  return backquote > 0 ? LeftText(link, backquote - 1) : std::string();
}

std::span<const ClassRule> ClassRuleTable() {
  return kClassRules;
}

std::string SkillClassCaption(std::string_view key, const ClassKeyLists& lists) {
  const std::string bracketed = "<" + std::string(key) + ">";
  for (const ClassRule& rule : kClassRules) {
    bool all = true;
    for (auto list : rule.lists) {
      if (list != nullptr && FindText(lists.*list, bracketed) < 0) {
        all = false;
        break;
      }
    }
    if (all) return Gbk(rule.captionUtf8);
  }
  return {};
}

std::string LookUpSkillName(std::string_view table, std::string_view key, bool* found) {
  if (found) *found = false;
  const std::string bracketed = "<" + std::string(key) + ">";
  std::size_t begin = 0;
  while (begin <= table.size()) {
    std::size_t end = table.find("\r\n", begin);
    if (end == std::string_view::npos) end = table.size();
    const std::string_view row = table.substr(begin, end - begin);
    if (row.starts_with(bracketed)) {
      if (found) *found = true;
      return std::string(row.substr(bracketed.size()));
    }
    begin = end + 2;
  }
  return {};
}
