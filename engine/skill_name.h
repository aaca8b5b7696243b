// The skill's display name and class.
//
// A script names its skill only by the key of a string link under [name].
// The display name is the text of the key's row in the skill-name table;
// the class comes from the eleven class key lists through the ordered class
// rules. The tables are the program's embedded data, which the caller
// passes in.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The key of the script's name link. SP: the line two below the first line
// holding "[@05][name]" (letter case ignored), "[@0A]" removed; PT: the
// link on the line after the first line holding "[name]", of the text with
// its blank lines removed, up to its first backquote, "<12::" removed
// (empty without a backquote). nullopt when the tag does not occur with
// exact letter case (the tag line is then looked for in any case, so a tag
// that passes the test is also the one whose link is read).
std::optional<std::string> ReadSkillNameKeySp(std::string_view script);
std::optional<std::string> ReadSkillNameKeyPt(std::string_view script);

// The eleven class key lists: one "<" + key + ">" line per skill of the
// class.
struct ClassKeyLists {
  std::string_view fighterMale;
  std::string_view gunnerFemale;
  std::string_view swordman;
  std::string_view fighterFemale;
  std::string_view gunnerMale;
  std::string_view mageMale;
  std::string_view mageFemale;
  std::string_view darkKnight;
  std::string_view creator;
  std::string_view priest;
  std::string_view thief;
};

// One class rule: the class key lists (one to three) that must all hold a
// key, and the caption it gives the class label.
struct ClassRule {
  std::array<std::string_view ClassKeyLists::*, 3> lists;  // unused entries are nullptr
  std::string_view captionUtf8;
};

// The sixteen rules in the order they are tried.
std::span<const ClassRule> ClassRuleTable();

// The caption (GBK) of the first class rule whose lists all hold "<" + key
// + ">" (exact case); empty when none does.
std::string SkillClassCaption(std::string_view key, const ClassKeyLists& lists);

// The text after "<" + key + ">" of the first row of the skill-name table
// `table` that begins with it (a comment or another row that merely
// contains the bracketed key does not count). Without such a row: the
// empty text, and `found` is set to false.
std::string LookUpSkillName(std::string_view table, std::string_view key, bool* found = nullptr);
