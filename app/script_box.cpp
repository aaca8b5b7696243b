#include "app/script_box.h"

#include <string>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/mastery_rows.h"
#include "app/prompt.h"
#include "app/read_skill.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

// A click on the box removes the start hint, so that the user can paste at
// once; a text of the user's own is never removed, whatever it holds.
void RemoveHint() {
  if (main_window::编辑框1->TextRef() == Gbk(kScriptBoxHint)) main_window::编辑框1->SetText("");
}

}  // namespace

void CopyTextToClipboard(std::string_view gbk) {
  fw::SetClipboardText(gbk);
}

void KeepScriptBoxText() {
  g_keptScriptText = main_window::编辑框1->TextRef();
}

bool ScriptBoxHoldsUnsavedChanges() {
  const std::string& text = main_window::编辑框1->TextRef();
  return !text.empty() && text != g_keptScriptText && text != Gbk(kScriptBoxHint);
}

bool MayDiscardScriptBoxText() {
  if (!ScriptBoxHoldsUnsavedChanges()) return true;
  return ShowPromptBox({}, Gbk(kDiscardChangesQuestion), {}, true) == 1;
}

void OnReadButtonClicked() {
  g_reportMissingData = true;
  ReadOrReleaseSkill();
}

void OnCopyButtonClicked() {
  if (SkillHeld()) {
    ShowMessage(Gbk("技能修改状态下无法复制，请先点击 释放数据！"));
    return;
  }
  CopyTextToClipboard(main_window::编辑框1->TextRef());
  KeepScriptBoxText();
  ShowMessage(Gbk("技能数据已复制！"));
}

void OnClearButtonClicked() {
  if (SkillHeld()) {
    ShowMessage(Gbk("技能修改状态下无法清空，请先点击 释放数据！"));
    return;
  }
  main_window::编辑框1->SetText("");
  // The emptied box belongs to no file any more: a save would write nothing,
  // or a script pasted next, over the file picked or dropped last.
  g_scriptFilePath.clear();
  main_window::路径编辑框->SetText(kNoFilePath);
  main_window::保存文件按钮->Disable();
}

void OnScriptEditTextChanged() {
  // A class choice belongs to the script that was read.
  WithdrawClassChoiceOnceTextChanged();
  // The warning waits until the edit is done: it is not shown from inside
  // the toolkit's handling of the keystroke or paste.
  if (fw::CurrentEventArgs().textReplaced) {
    fw::PostToGui([] {
      ShowPromptBox({}, Gbk(kTypedReplacedWarning), Gbk(kTypedReplacedWarningNote), false);
    });
  }
}

void OnScriptEditLeftButtonDown() {
  RemoveHint();
}

void OnScriptEditRightButtonDown() {
  RemoveHint();
}

}  // namespace app
