// Reading the script in 编辑框1 into the skill model, and releasing it.
//
// The editor holds a skill ("释放数据": 编辑框1 locked, the skill-list
// controls and 保存文件按钮 disabled) or none ("读取数据"). A read fills the
// name and class, enables the read-type radios of the data sets the script
// offers and, for a script without level data, shows its static data; the
// level grid stays empty until a data set is chosen (data_set.h).
#pragma once

namespace app {

// 读取按钮's action: with the caption "读取数据" it detects the script's form
// and reads it (LoadSkill), or shows "只支持SuperPVF和PVFTool解密的数据格式！"
// and changes nothing; with any other caption it releases the skill.
// Missing sections are reported only while g_reportMissingData is set.
void ReadOrReleaseSkill();

// The read proper, once g_scriptFormat holds the form.
void LoadSkill();

// Puts the editor into "释放数据": 编辑框1 locked, the caption set, the
// skill-list controls and 保存文件按钮 disabled. Every loader that finds
// something of the skill to show holds it this way.
void HoldSkill();

// Empties the level part of the model (level rows and values, placeholder
// map, script, level-info and static texts, g_valuesPerLevel 0,
// g_levelCount 1), unchecks the read-type radios, unlocks 编辑框1, unchecks
// and disables the mode radios, keeps only the header rows of both value
// grids and empties 描述编辑框.
void ClearLoadedSkillData();

// The quiet re-read after a write into the script: the caller has released
// the skill, set 读取按钮 to "读取数据" and g_reportMissingData to 0. Reads
// 编辑框1 again, then chooses the remembered data set (g_readType) and mode
// (g_modifyMode) again where the new script still offers them.
void ReloadSkillAndRestoreSelection();

// What every write does once its new text is in 编辑框1: releases the
// skill and reads 编辑框1 again quietly, choosing the remembered data set
// and mode again.
void ReleaseAndReadAgain();

}  // namespace app
