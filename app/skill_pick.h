// Opening a skill from the skill list: a pick in one of the eleven class
// combo boxes, and the search of each tab group, which walks through the
// items whose name holds the search text and wraps around at the end.
//
// A pick puts the file's path into 路径编辑框 and its text (UTF-8 made
// GBK, line breaks made CR LF) into 编辑框1 and enables 保存文件按钮; the
// user then reads it with 读取按钮.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/skill_files.h"
#include "framework/units.h"

namespace app {

// SelectionChanged of the eleven class combo boxes.
void OnSwordmanComboSelectionChanged();
void OnDemonicswordmanComboSelectionChanged();
void OnAtfighterComboSelectionChanged();
void OnGunnerComboSelectionChanged();
void OnAtmageComboSelectionChanged();
void OnPriestComboSelectionChanged();
void OnMageComboSelectionChanged();
void OnFighterComboSelectionChanged();
void OnAtgunnerComboSelectionChanged();
void OnThiefComboSelectionChanged();
void OnCreatormageComboSelectionChanged();

// Opens the file of the selected item of class `classIndex` (ClassFolders()
// order). The placeholder, no selection, or an item without a path opens
// nothing; a file that cannot be read, is no text script or is not UTF-8
// is reported and changes nothing. A file that would be opened over unsaved
// changes in the script box is opened only when the user lets them go
// (MayDiscardScriptBoxText); false when the user kept them, nothing
// opened, so that the caller shows the list as it was before the pick.
bool PickSkill(int classIndex);

// What a pick or a drop of a file that is no text script says (UTF-8).
inline constexpr std::string_view kNotATextScript = "该文件不是文本技能脚本，请换一个技能文件！";
// What a pick or a drop of a file that is not UTF-8 says (UTF-8).
inline constexpr std::string_view kNotUtf8SkillFile = "该文件不是UTF-8技能文件，请另存为UTF-8！";

// When the bytes of `file` must not be opened (a zero byte inside, not
// UTF-8), says so and returns true; nothing else changes.
bool RefuseUnfitFile(const SkillFileText& file);

// Puts a skill file read from `path` (as the system names it) into the
// main editor: its text into 编辑框1, kept as the file's (KeepScriptBoxText),
// the path as the user is shown it into 路径编辑框 and as it is into
// g_scriptFilePath, 保存文件按钮 enabled; then, when characters had to be
// replaced, warns that saving will write the replacements.
void PutSkillFileInScriptBox(const std::string& path, const SkillFileText& file);

// The search buttons of the two groups and what resets their positions.
void OnMaleSearchButtonClicked();
void OnFemaleSearchButtonClicked();
void OnMaleTabsTabChanged();
void OnMaleSearchEditTextChanged();
void OnFemaleTabsTabChanged();
void OnFemaleSearchEditTextChanged();

// One search step in `combo` (a list of the group) with the group's search
// text (搜索框男 / 搜索框女) and resume position (g_maleSearchResume /
// g_femaleSearchResume), as FindNextItem takes it: the item found is
// selected and returned; 0 when no item holds the text, the selection
// unchanged.
int FindNextInMaleCombo(fw::Combo& combo);
int FindNextInFemaleCombo(fw::Combo& combo);

// The texts of the skill items 1..n of a combo box (the placeholder, item
// 0, is left out): element k - 1 is item k.
std::vector<std::string> GetComboItemTexts(const fw::Combo& combo);

// One search step over `items` (item k is items[k - 1]): the first item
// after `resume` whose text holds `sought` (ASCII letters without case,
// never from the middle of a two-byte character; an empty `sought` is held
// by every non-empty text), else, from the top again, the first such item.
// Returns the item found and leaves `resume` on it; returns 0 when no item
// holds it, with `resume` at the top (0), or unchanged when there are no
// items at all.
int FindNextItem(const std::vector<std::string>& items, std::string_view sought, int& resume);

}  // namespace app
