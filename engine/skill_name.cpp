#include "engine/skill_name.h"

#include <cstddef>

#include "app/units.h"
#include "engine/text.h"
#include "platform/gbk.h"
#include "resources/embedded.h"

namespace {

using app::main_window::技能名称标签;
using app::main_window::职业标签;
using platform::Gbk;

constexpr ClassRule kClassRules[] = {
    {{&EmbeddedClassKeyListFighterMale, &EmbeddedClassKeyListGunnerFemale,
      &EmbeddedClassKeyListSwordman},
     "全职业通用技能"},
    {{&EmbeddedClassKeyListFighterMale, &EmbeddedClassKeyListFighterFemale}, "格斗家(男/女)"},
    {{&EmbeddedClassKeyListGunnerFemale, &EmbeddedClassKeyListGunnerMale}, "神枪手(男/女)"},
    {{&EmbeddedClassKeyListMageMale, &EmbeddedClassKeyListMageFemale}, "魔法师(男/女)"},
    {{&EmbeddedClassKeyListDarkKnight, &EmbeddedClassKeyListSwordman}, "鬼剑士/黑暗武士"},
    {{&EmbeddedClassKeyListFighterMale}, "格斗家(男)"},
    {{&EmbeddedClassKeyListGunnerFemale}, "神枪手(女)"},
    {{&EmbeddedClassKeyListMageMale}, "魔法师(男)"},
    {{&EmbeddedClassKeyListCreator}, "缔造者"},
    {{&EmbeddedClassKeyListDarkKnight}, "黑暗武士"},
    {{&EmbeddedClassKeyListFighterFemale}, "格斗家(女)"},
    {{&EmbeddedClassKeyListGunnerMale}, "神枪手(男)"},
    {{&EmbeddedClassKeyListMageFemale}, "魔法师(女)"},
    {{&EmbeddedClassKeyListPriest}, "圣职者"},
    {{&EmbeddedClassKeyListSwordman}, "鬼剑士"},
    {{&EmbeddedClassKeyListThief}, "暗夜使者"},
};

void ShowNameAndClass(std::string_view key) {
  LookUpSkillClass(key);
  bool found = false;
  const std::string name = LookUpSkillName(key, &found);
  技能名称标签->SetText(found ? name : Gbk("未知技能"));
}

void ShowNoNameTag() {
  技能名称标签->SetText(Gbk("该技能没有名称参数"));
}

}  // namespace

std::span<const ClassRule> ClassRuleTable() {
  return kClassRules;
}

void LookUpSkillClass(std::string_view key) {
  职业标签->SetText("");
  const std::string bracketed = "<" + std::string(key) + ">";
  for (const ClassRule& rule : kClassRules) {
    bool all = true;
    for (auto list : rule.lists) {
      if (list != nullptr && FindText(list(), bracketed) < 0) {
        all = false;
        break;
      }
    }
    if (all) {
      职业标签->SetText(Gbk(rule.captionUtf8));
      return;
    }
  }
}

std::string LookUpSkillName(std::string_view key, bool* found) {
  if (found) *found = false;
  const std::string bracketed = "<" + std::string(key) + ">";
  const std::string_view table = EmbeddedSkillNameTable();
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

void LoadSkillNameSp() {
  职业标签->SetText("");
  const std::string text = app::main_window::编辑框1->Text();
  constexpr std::string_view kTag = "[@05][name]";
  // The tag line is looked for with the letter-case rule of the presence
  // test, so a tag that passes the test is also the one whose link is read.
  if (FindText(text, kTag, 1, true) < 0) return ShowNoNameTag();
  const int tagLine = FindLineIndex(text, kTag, false);
  const std::string key = ReplaceText(GetLine(text, tagLine + 2), 1, 1, true, "[@0A]", "");
  ShowNameAndClass(key);
}

void LoadSkillNamePt() {
  职业标签->SetText("");
  std::string script = app::main_window::编辑框1->Text();
  script = TrimBlankLines(script);
  constexpr std::string_view kTag = "[name]";
  if (FindText(script, kTag, 1, true) < 0) return ShowNoNameTag();
  const int tagLine = FindLineIndex(script, kTag, false);
  const std::string link = ReplaceText(GetLine(script, tagLine + 1), 1, 1, true, "<12::", "");
  const int backquote = FindText(link, "`");
  ShowNameAndClass(backquote > 0 ? LeftText(link, backquote - 1) : std::string());
}
