#include "engine/file_save.h"

#include "app/feedback.h"
#include "app/prompt.h"
#include "app/units.h"
#include "engine/text.h"
#include "platform/file_save.h"
#include "platform/gbk.h"

namespace app {

void OnSaveFileButtonClicked() {
  using platform::Gbk;
  if (main_window::编辑框1->Disabled()) {
    ShowMessage(Gbk("技能修改状态下，无法保存！"));
    return;
  }
  const std::string bytes = ConvertGbkToUtf8(main_window::编辑框1->Text());
  if (!platform::ReplaceFileContents(main_window::路径编辑框->Text(), bytes)) {
    ShowMessage(Gbk("保存失败！"));
    return;
  }
  ShowWriteDone(main_window::保存文件按钮, "保存文件");
}

}  // namespace app
