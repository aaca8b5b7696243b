#include "app/help_window.h"

#include "app/look.h"
#include "app/pictures.h"
#include "app/skill_list_window.h"
#include "app/units.h"
#include "framework/runtime.h"

namespace app {

const std::string_view kHelpText =
    "【技能列表】把从游戏PVF包里提取出来的skill文件夹放到本工具所在的目录下，"
    "点击“技能列表”打开技能列表窗口，再点击“加载技能”，全部技能文件就会按职业列出。"
    "选好职业后挑选技能即可；也可以输入技能名的关键字搜索，搜索到末尾会从头"
    "再找，反复点击“搜索”会依次跳到下一个含有关键字的技能名。注意：新版"
    "PVFTool提取文件前，请在设置里把文本编码设为UTF-8，并取消“精简输出”。\r\n"
    "\r\n"
    "【支持格式】本工具只支持SuperPVF和PVFTool解密出来的技能文本。\r\n"
    "\r\n"
    "【使用步骤】用上面的工具解密技能文件，把文本复制到左边的文本框里，点击"
    "“读取数据”。本工具会检测该技能有哪些数据类型(地下城、决斗场、通用)，"
    "没有的类型不能选择；选择其中一种即可开始修改。\r\n"
    "\r\n"
    "【修改数据】动态数据按等级逐级显示在“技能动态数据”表格里，在原数值旁边"
    "输入新数值。修改方式：“增加”在原数值上加上输入的数(输入负数即减少)；"
    "“倍率”把原数值乘以输入的数；“等于”把原数值改成输入的数；不输入则保持"
    "原数值。“递增”先在第一列填好每一项的1级数值(不能为空)，再在第二列填每级"
    "增加的量：增加量为0则每级都是该数值，不填则保持技能原有的数值。静态数据"
    "不论哪种方式都按输入的数值写入。技能描述里红色是动态数据，蓝色是静态数据，"
    "左键点击一项描述会高亮它对应的表格行。只有所设等级区间内的等级会被修改。\r\n"
    "\r\n"
    "【完成】点击“保存修改”后，左边文本框里就是修改好的技能数据，"
    "再用PVF工具把它放回去即可。\r\n"
    "\r\n"
    "使用中遇到问题或有好的建议，欢迎反馈！";

namespace {

fw::WindowDef BuildHelpWindowForm() {
  using fw::Event;
  return fw::WindowDef("HelpWindow", "使用帮助", 390, 476)
      .Centred()
      .Draggable()
      .UserMayClose()
      .Units({
          // Caption bar and borders, drawn by the window itself.
          CaptionTitle("标签1", {0, 0, 408, 24}, "  使用帮助"),
          BorderStrip("标签2", {0, 24, 3, 452}),
          BorderStrip("标签3", {387, 24, 3, 452}),
          BorderStrip("标签4", {0, 473, 390, 3}),
          fw::PictureButtonUnit("关闭按钮", {363, 0, 24, 24}, CloseButtonImages()),
          fw::RichEditBox("超级编辑框1", {4, 25, 382, 447}, kHelpText).ReadOnly(),
      })
      .Bind({
          {"", Event::CloseRequested, &OnHelpCloseButtonClicked},
          {"关闭按钮", Event::Clicked, &OnHelpCloseButtonClicked},
      });
}

}  // namespace

const fw::WindowDef& HelpWindowForm() {
  static const fw::WindowDef form = BuildHelpWindowForm();
  return form;
}

void OnHelpButtonClicked() {
  fw::Window& help = *help_window::window;
  if (help.IsLoaded()) {
    help.BringToFront();
    return;
  }
  // Owned by the main editor, so it stays above it; not modal, so the user
  // can follow the help while working in the editor.
  fw::LoadOptions options;
  options.owner = &*main_window::window;
  help.Load(options);
}

void OnHelpCloseButtonClicked() {
  help_window::window->Destroy();
}

void OnLoadButtonClicked() {
  fw::Window& list = *skill_list_window::window;
  if (list.IsLoaded()) {
    list.BringToFront();
    return;
  }
  list.Load();
}

void OnMinimizeButtonClicked() {
  MinimizeWindow(*main_window::window);
}

bool MinimizeWindow(fw::Window& window) {
  return window.Minimise();
}

}  // namespace app
