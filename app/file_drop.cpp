#include "app/file_drop.h"

#include <optional>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/prompt.h"
#include "app/script_box.h"
#include "app/skill_files.h"
#include "app/skill_pick.h"
#include "app/units.h"
#include "engine/text.h"
#include "platform/files.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

void RefuseNotASkillFile() {
  ShowMessage(Gbk("只能拖入PVFTool解压的技能文件！"));
}

}  // namespace

void OnDropTargetFilesDropped(const std::string& paths) {
  if (SkillHeld()) {
    ShowMessage(Gbk("请修改完成后再拖放文件！"));
    return;
  }
  if (CountLines(paths) != 1) {
    ShowMessage(Gbk("只能拖入一个技能文件！"));
    return;
  }
  const std::string& path = paths;
  // A name outside GBK names no file here: the platform passes one that
  // names nothing.
  const std::optional<std::string> native = platform::NativePath(path);
  if (!native || GetFileSizeKb(path) >= 100) return RefuseNotASkillFile();
  // The limit holds for what is read as well, should the file have grown
  // since its size was looked at. A file that cannot be read (also a named
  // pipe or a device) has no TAB either.
  const std::optional<SkillFileText> file = ReadSkillFile(*native, kMaxDroppedFileBytes);
  if (file && RefuseUnfitFile(*file)) return;
  if (!file || file->text.find('\t') == std::string::npos) return RefuseNotASkillFile();
  // Only a drop that would open the file asks about the box's work.
  if (!MayDiscardScriptBoxText()) return;
  g_droppedFilePath = path;
  PutSkillFileInScriptBox(*native, *file);
  OnReadButtonClicked();
}

std::int64_t GetFileSizeKb(std::string_view path) {
  const std::optional<std::string> native = platform::NativePath(path);
  if (!native) return -1;
  const std::optional<std::int64_t> bytes = platform::FileSize(*native);
  if (!bytes) return -1;
  return *bytes / 1024 + (*bytes % 1024 != 0 ? 1 : 0);
}

}  // namespace app
