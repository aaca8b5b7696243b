// The editor's two states. It holds no skill ("读取数据": 编辑框1 editable,
// the skill-list controls and 保存文件按钮 usable) or holds one ("释放数据":
// 编辑框1 locked, those controls disabled, the grids showing the skill).
//
// The state is kept in no variable of its own: the caption of 读取按钮 and
// the lock of 编辑框1 carry it, and only the routines here write them, so
// that the two never disagree where the user can see them. Every road that
// may act in one state only asks SkillHeld().
#pragma once

namespace app {

// Whether the editor holds a skill (读取按钮 shows "释放数据"). The read
// button then releases instead of reading; copy, clear, a drop and the file
// save are refused; a skill-list window keeps its controls disabled.
bool SkillHeld();

// Enters "释放数据": 编辑框1 locked, 读取按钮 captioned "释放数据", the
// skill-list controls and 保存文件按钮 disabled. The read holds the skill
// when the script offers a data set, and every loader that shows something
// of it (static values, header fields, mastery levels) and the cut of a
// chosen data set hold it too; holding a held skill changes nothing.
void HoldSkill();

// Returns the editor to "读取数据": empties the level part of the model and
// both value grids (ClearLoadedSkillData), disables the read-type radios
// and 变换按钮, empties the name, class, level-count and static-type labels,
// puts "1" into the range and page edits, sets the caption, enables the
// skill-list controls, takes back the class choice of the mastery window
// and deletes the data rows of the parameter and mastery grids. The script
// stays in 编辑框1, editable; the remembered form, data set and mode stay
// for the re-read after a write.
void ReleaseSkillData();

// Empties the level part of the model (level rows and values, placeholder
// map, script, level-info and static texts with where they were read,
// g_valuesPerLevel 0, g_levelCount 1), unchecks the read-type radios,
// unlocks 编辑框1, unchecks and disables the mode radios, keeps only the
// header rows of both value grids and empties 描述编辑框. The first step of
// ReleaseSkillData; a data-set choice takes it too before it cuts its copy,
// and the cut holds the skill again.
void ClearLoadedSkillData();

// The controls through which another skill could be opened or the file
// saved: 保存文件按钮 of MainWindow and, while the skill-list window is
// loaded, its class combos, load button, tabs and search buttons. They
// switch with the state; a skill-list window opened while a skill is held
// disables its own.
void DisableSkillListControls();
void EnableSkillListControls();

}  // namespace app
