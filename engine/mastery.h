// The mastery levels of a skill, shown in 精通表格 of the mastery window.
//
// A script holds one of two mastery sections: [growtype maximum level], one
// value per growtype (sub-class) of the owning class, titled with the
// growtype names of the GrowtypeTable; or [second growtype maximum level],
// any number of class-special values, of which each value above 0 gets a
// row titled "职业特殊技". When a script holds both, the class-special one is
// read. g_masteryValues keeps every value of the section in order, as cut
// (the mastery writer rebuilds the section from it), g_hasSecondGrowtype
// which section it was.
//
// A skill that several classes share (its class label names a group) first
// offers 全职业组合框, so that the user names the class whose growtypes
// title the rows.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// One row of the GrowtypeTable: a class key and its growtype names, each
// followed by "|" (UTF-8).
struct Growtype {
  std::string_view classKey;
  std::string_view names;
};

// The nine class keys in their order of lookup.
std::span<const Growtype> GrowtypeTable();

// The growtype names (GBK) of a class key (GBK); none for a key that no row
// holds (an empty key too).
std::vector<std::string> GrowtypeNames(std::string_view classKey);

// The class key (GBK) of a single-class label of 职业标签 (GBK); the empty
// text for any other label (a class group, an unknown or empty label).
std::string ClassKeyOfLabel(std::string_view label);

// A script's mastery section, read without touching any unit.
struct MasterySection {
  bool found = false;   // one of the two tags is present
  bool second = false;  // it is [second growtype maximum level]
  // Every value in section order, marker removed. Empty values keep their
  // places (SP: a bare "[@02]" line; PT: nothing between two TABs), so each
  // value stays under its own growtype; blank lines are no values.
  std::vector<std::string> values;
};

// SP: the lines after "[@05]" + tag up to the next "[@05]", or to the end of
// the text when the section ends the script. PT: the line after the tag's
// line, split at TAB. Tags are found with letter case significant.
MasterySection ReadMasterySectionSp(std::string_view script);
MasterySection ReadMasterySectionPt(std::string_view script);

// One data row of 精通表格.
struct MasteryRow {
  std::string title;  // GBK
  std::string value;
  bool greyValue = false;  // a "无用数据" row: its value cell is grey too
};

// The rows of a section: class-special, one "职业特殊技" row per value above
// 0; growtype, one row per value titled by the class key's growtype names in
// order, "无用数据" beyond them, and none at all for a key without names.
// `stored` receives the values that g_masteryValues keeps (every value,
// except for a growtype section without names, which stores none).
std::vector<MasteryRow> MasteryRows(const MasterySection& section, std::string_view classKey,
                                    std::vector<std::string>* stored);

// Entry: loads the mastery rows for the class in 职业标签, or offers the
// class choice for a class group. No message.
void LoadMasteryLevels();

// Load the section of the script in 编辑框1 for `classKey` (GBK; empty for a
// class-special section): g_masteryValues, g_hasSecondGrowtype (only when a
// tag is found) and the rows of 精通表格, deleted first. With rows the
// editor holds the skill ("释放数据", 编辑框1 locked, skill-list controls and
// 保存文件按钮 disabled).
void LoadMasteryLevelsSp(std::string_view classKey = {});
void LoadMasteryLevelsPt(std::string_view classKey = {});

// Takes back the class choice: 全职业组合框 hidden (its items stay) and
// g_classChoicePending cleared. The release does it, and so does every read
// before it decides what to offer, so that a choice offered for one script
// never names the class of another.
void WithdrawClassChoice();

// Column 0 of every data row of 精通表格 read-only and grey.
void LockMasteryTitleColumn();

// Fill 全职业组合框 for the class groups "全职业通用技能", "魔法师(男/女)" and
// "鬼剑士/黑暗武士": "请选择一个职业" and the group's classes, item data
// 0, 1, 2, ..., the placeholder selected.
void FillClassComboAll();
void FillClassComboMage();
void FillClassComboSwordman();
