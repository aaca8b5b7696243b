#include "app/file_save.h"

#include <optional>
#include <string>
#include <string_view>

#include "app/editor_state.h"
#include "app/feedback.h"
#include "app/globals.h"
#include "app/prompt.h"
#include "app/script_box.h"
#include "app/units.h"
#include "engine/text.h"
#include "platform/file_save.h"
#include "platform/files.h"
#include "platform/gbk.h"

namespace app {

namespace {

// The file a save writes to: `kept` (as the system names it) while the box
// shows it, else the file the box's text (GBK) names, if any.
std::optional<std::string> SaveTarget(std::string_view shown, const std::string& kept) {
  if (!kept.empty() && shown == platform::ShownPath(kept)) return kept;
  return platform::NativePath(shown);
}

}  // namespace

void OnSaveFileButtonClicked() {
  using platform::Gbk;
  if (SkillHeld()) {
    ShowMessage(Gbk("技能修改状态下，无法保存！"));
    return;
  }
  const std::string& script = main_window::编辑框1->TextRef();
  if (script.empty()) {
    ShowMessage(Gbk("脚本框是空的，请先放入技能数据再保存！"));
    return;
  }
  const std::string bytes = ConvertGbkToUtf8(script);
  const std::optional<std::string> target =
      SaveTarget(main_window::路径编辑框->TextRef(), g_scriptFilePath);
  if (!target || !platform::ReplaceFileContents(*target, bytes)) {
    ShowMessage(Gbk("保存失败！"));
    return;
  }
  KeepScriptBoxText();
  ShowWriteDone(main_window::保存文件按钮, "保存文件");
}

}  // namespace app
