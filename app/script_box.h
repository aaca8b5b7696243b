// The script box 编辑框1 and the buttons under it: read, copy, clear.
#pragma once

#include <string_view>

namespace app {

// Puts `gbk` on the clipboard as plain text.
void CopyTextToClipboard(std::string_view gbk);

// Unsaved work in the script box. Its text is kept (g_keptScriptText) when
// it came from a file (a pick or a drop), went to one (保存文件按钮) or went
// to the clipboard (复制按钮). Any other text in the box is work made in the
// editor and found nowhere else: typed or pasted there, or written by a
// modification (保存修改, the side windows' 保存). An empty box and the
// start hint hold nothing to lose.
void KeepScriptBoxText();
bool ScriptBoxHoldsUnsavedChanges();

// Asked by a road that would replace the text of 编辑框1 or end the program
// (a pick, a drop, closing the editor), once it has found nothing else to
// refuse: with unsaved changes in the box, the prompt box asks whether to
// discard them. True when the road may go on (nothing to lose, or OK).
bool MayDiscardScriptBoxText();

// The question (UTF-8).
inline constexpr std::string_view kDiscardChangesQuestion =
    "技能数据的修改尚未保存，确定放弃修改吗？";
// The warning after a user's edit whose characters GBK cannot hold became
// "?" (UTF-8; second and third line).
inline constexpr std::string_view kTypedReplacedWarning = "粘贴或输入的文字中有GBK无法表示的字符，";
inline constexpr std::string_view kTypedReplacedWarningNote =
    "已显示为?，保存文件时它们会被?替换！";

}  // namespace app
