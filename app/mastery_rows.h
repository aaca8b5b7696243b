// The mastery levels of the skill in 精通表格 of the mastery window
// (engine/mastery.h). g_masteryValues keeps every value of the section in
// order, as cut (the mastery writer rebuilds the section from it),
// g_hasSecondGrowtype which section it was.
//
// A skill that several classes share (its class label names a group) first
// offers 全职业组合框, so that the user names the class whose growtypes
// title the rows.
#pragma once

#include <string_view>

#include "engine/mastery.h"

namespace app {

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

// Stores the values of a growtype section in g_masteryValues and appends
// its rows titled with the growtype names of `classKey` ("无用数据" with a
// grey value cell beyond them); nothing at all for a key without names.
void AppendGrowtypeRows(std::string_view classKey, const MasterySection& section);

// Takes back the class choice: 全职业组合框 hidden (its items stay) and
// g_classChoicePending cleared. The release does it, and so does every read
// before it decides what to offer, so that a choice offered for one script
// never names the class of another.
void WithdrawClassChoice();

// Takes back a class choice when the text of 编辑框1 is no longer the one
// it was offered for (typed, pasted, picked, dropped, cleared or written
// since), so that a class pick acts only on the script that was read.
void WithdrawClassChoiceOnceTextChanged();

// Column 0 of every data row of 精通表格 read-only and grey.
void LockMasteryTitleColumn();

// Fill 全职业组合框 for the class groups "全职业通用技能", "魔法师(男/女)" and
// "鬼剑士/黑暗武士": "请选择一个职业" and the group's classes, item data
// 0, 1, 2, ..., the placeholder selected.
void FillClassComboAll();
void FillClassComboMage();
void FillClassComboSwordman();

}  // namespace app
