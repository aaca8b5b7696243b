// The skill's display name and class, shown in 技能名称标签 and 职业标签.
//
// A script names its skill only by the key of a string link under [name].
// The display name is the text of the key's row in the embedded skill-name
// table; the class comes from the eleven embedded class key lists through
// the ordered class rules.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

// Reads the key from the [name] section of the script in 编辑框1 (SP: the
// line two below "[@05][name]", "[@0A]" removed; PT: the link on the line
// after "[name]", up to its first backquote, "<12::" removed), then writes
// the class (LookUpSkillClass) and the display name. 职业标签 is emptied
// first; without a name tag the name label reads "该技能没有名称参数" and no
// class is looked up; a key without a table row gives "未知技能".
void LoadSkillNameSp();
void LoadSkillNamePt();

// Empties 职业标签, then writes the caption of the first class rule whose
// lists all hold "<" + key + ">" (exact case); none: the label stays empty.
void LookUpSkillClass(std::string_view key);

// The text after "<" + key + ">" of the first row of the skill-name table
// that begins with it (a comment or another row that merely contains the
// bracketed key does not count). Without such a row: the empty text, and
// `found` is set to false.
std::string LookUpSkillName(std::string_view key, bool* found = nullptr);

// One class rule: the class key lists (one to three) that must all hold a
// key, and the caption it gives 职业标签.
struct ClassRule {
  std::array<std::string_view (*)(), 3> lists;  // unused entries are nullptr
  std::string_view captionUtf8;
};

// The sixteen rules in the order they are tried.
std::span<const ClassRule> ClassRuleTable();
