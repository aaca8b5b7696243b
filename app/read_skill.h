// Reading the script in 编辑框1 into the skill model, and releasing it.
//
// A read fills the name and class, enables the read-type radios of the
// data sets the script offers and, for a script without level data, shows
// its static data; the level grid stays empty until a data set is chosen
// (data_set.h). What it finds of the skill puts the editor into "释放数据"
// (editor_state.h).
#pragma once

namespace app {

// 读取按钮's action: while no skill is held it detects the script's form
// and reads it (LoadSkill), or shows "只支持SuperPVF和PVFTool解密的数据格式！"
// and changes nothing; while one is held it releases it (ReleaseSkillData).
// Missing sections are reported only while g_reportMissingData is set.
void ReadOrReleaseSkill();

// The read proper, once g_scriptFormat holds the form.
void LoadSkill();

// The quiet re-read after a write into the script: the caller has released
// the skill and cleared g_reportMissingData. Reads 编辑框1 again, then
// chooses the remembered data set (g_readType) and mode (g_modifyMode)
// again where the new script still offers them.
void ReloadSkillAndRestoreSelection();

// What every write does once its new text is in 编辑框1: releases the
// skill and reads 编辑框1 again quietly, choosing the remembered data set
// and mode again.
void ReleaseAndReadAgain();

}  // namespace app
