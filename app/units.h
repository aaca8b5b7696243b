// Names of the windows and of the units that handlers use, one namespace
// per window. Each is a lookup by name on every use (see fw::Ref), so they
// are safe to keep as constants.
//
//   main_window::编辑框1->SetText(text);
#pragma once

#include "framework/runtime.h"

namespace app {

inline constexpr std::string_view kMainWindow = "MainWindow";
inline constexpr std::string_view kSkillParamWindow = "SkillParamWindow";
inline constexpr std::string_view kMasteryLevelWindow = "MasteryLevelWindow";
inline constexpr std::string_view kPromptWindow = "PromptWindow";
inline constexpr std::string_view kHelpWindow = "HelpWindow";
inline constexpr std::string_view kSkillListWindow = "SkillListWindow";

namespace main_window {
inline constexpr fw::WindowRef window{kMainWindow};

// Caption bar.
inline constexpr fw::Ref<fw::Label> 标签14{kMainWindow, "标签14"};
inline constexpr fw::Ref<fw::Label> 标签15{kMainWindow, "标签15"};
inline constexpr fw::Ref<fw::Label> 标签16{kMainWindow, "标签16"};
inline constexpr fw::Ref<fw::Label> 标签17{kMainWindow, "标签17"};
inline constexpr fw::Ref<fw::SuperButton> 帮助按钮{kMainWindow, "帮助按钮"};
inline constexpr fw::Ref<fw::PictureButton> 最小化按钮{kMainWindow, "最小化按钮"};
inline constexpr fw::Ref<fw::PictureButton> 关闭按钮{kMainWindow, "关闭按钮"};

// Script box column.
inline constexpr fw::Ref<fw::Label> 技能名称标签{kMainWindow, "技能名称标签"};
inline constexpr fw::Ref<fw::Label> 职业标签{kMainWindow, "职业标签"};
inline constexpr fw::Ref<fw::Edit> 编辑框1{kMainWindow, "编辑框1"};
inline constexpr fw::Ref<fw::Edit> 路径编辑框{kMainWindow, "路径编辑框"};
inline constexpr fw::Ref<fw::DropTarget> 拖放对象1{kMainWindow, "拖放对象1"};
inline constexpr fw::Ref<fw::PictureButton> 加载按钮{kMainWindow, "加载按钮"};
inline constexpr fw::Ref<fw::Button> 保存文件按钮{kMainWindow, "保存文件按钮"};
inline constexpr fw::Ref<fw::Button> 读取按钮{kMainWindow, "读取按钮"};
inline constexpr fw::Ref<fw::Button> 复制按钮{kMainWindow, "复制按钮"};
inline constexpr fw::Ref<fw::Button> 清空按钮{kMainWindow, "清空按钮"};
inline constexpr fw::Ref<fw::Button> 保存按钮{kMainWindow, "保存按钮"};

// Read type and modification mode.
inline constexpr fw::Ref<fw::GroupBox> 分组框1{kMainWindow, "分组框1"};
inline constexpr fw::Ref<fw::Radio> 通用单选框{kMainWindow, "通用单选框"};
inline constexpr fw::Ref<fw::Radio> 刷图单选框{kMainWindow, "刷图单选框"};
inline constexpr fw::Ref<fw::Radio> PK单选框{kMainWindow, "PK单选框"};
inline constexpr fw::Ref<fw::GroupBox> 分组框2{kMainWindow, "分组框2"};
inline constexpr fw::Ref<fw::Radio> 增加单选框{kMainWindow, "增加单选框"};
inline constexpr fw::Ref<fw::Radio> 赋值单选框{kMainWindow, "赋值单选框"};
inline constexpr fw::Ref<fw::Radio> 递增单选框{kMainWindow, "递增单选框"};
inline constexpr fw::Ref<fw::Radio> 倍率单选框{kMainWindow, "倍率单选框"};

// Level data column.
inline constexpr fw::Ref<fw::Label> 标签7{kMainWindow, "标签7"};
inline constexpr fw::Ref<fw::Grid> 数据表格{kMainWindow, "数据表格"};
inline constexpr fw::Ref<fw::Label> 等级标签{kMainWindow, "等级标签"};
inline constexpr fw::Ref<fw::Edit> 最低编辑框{kMainWindow, "最低编辑框"};
inline constexpr fw::Ref<fw::Edit> 最高编辑框{kMainWindow, "最高编辑框"};
inline constexpr fw::Ref<fw::Button> 上一页按钮{kMainWindow, "上一页按钮"};
inline constexpr fw::Ref<fw::Edit> 页数编辑框{kMainWindow, "页数编辑框"};
inline constexpr fw::Ref<fw::Button> 下一页按钮{kMainWindow, "下一页按钮"};
inline constexpr fw::Ref<fw::Button> 跳转按钮{kMainWindow, "跳转按钮"};

// Static data column.
inline constexpr fw::Ref<fw::Label> 标签8{kMainWindow, "标签8"};
inline constexpr fw::Ref<fw::Label> 静态类型标签{kMainWindow, "静态类型标签"};
inline constexpr fw::Ref<fw::Button> 变换按钮{kMainWindow, "变换按钮"};
inline constexpr fw::Ref<fw::Grid> 静态表格{kMainWindow, "静态表格"};

// Description column.
inline constexpr fw::Ref<fw::RichEdit> 标签编辑框{kMainWindow, "标签编辑框"};
inline constexpr fw::Ref<fw::RichEdit> 描述编辑框{kMainWindow, "描述编辑框"};
inline constexpr fw::Ref<fw::PictureButton> 参数窗口按钮{kMainWindow, "参数窗口按钮"};
inline constexpr fw::Ref<fw::PictureButton> 精通窗口按钮{kMainWindow, "精通窗口按钮"};
}  // namespace main_window

namespace param_window {
inline constexpr fw::WindowRef window{kSkillParamWindow};
inline constexpr fw::Ref<fw::Grid> 参数表格{kSkillParamWindow, "参数表格"};
inline constexpr fw::Ref<fw::Button> 保存按钮{kSkillParamWindow, "保存按钮"};
}  // namespace param_window

namespace mastery_window {
inline constexpr fw::WindowRef window{kMasteryLevelWindow};
inline constexpr fw::Ref<fw::Combo> 全职业组合框{kMasteryLevelWindow, "全职业组合框"};
inline constexpr fw::Ref<fw::Grid> 精通表格{kMasteryLevelWindow, "精通表格"};
inline constexpr fw::Ref<fw::Button> 保存按钮{kMasteryLevelWindow, "保存按钮"};
}  // namespace mastery_window

namespace prompt_window {
inline constexpr fw::WindowRef window{kPromptWindow};
inline constexpr fw::Ref<fw::Label> 标签1{kPromptWindow, "标签1"};
inline constexpr fw::Ref<fw::Label> 第一行{kPromptWindow, "第一行"};
inline constexpr fw::Ref<fw::Label> 第二行{kPromptWindow, "第二行"};
inline constexpr fw::Ref<fw::Label> 第三行{kPromptWindow, "第三行"};
inline constexpr fw::Ref<fw::PictureButton> 确定按钮1{kPromptWindow, "确定按钮1"};
inline constexpr fw::Ref<fw::PictureButton> 取消按钮{kPromptWindow, "取消按钮"};
inline constexpr fw::Ref<fw::PictureButton> 确定按钮2{kPromptWindow, "确定按钮2"};
inline constexpr fw::Ref<fw::Timer> 时钟1{kPromptWindow, "时钟1"};  // opening
inline constexpr fw::Ref<fw::Timer> 时钟2{kPromptWindow, "时钟2"};  // closing
}  // namespace prompt_window

namespace help_window {
inline constexpr fw::WindowRef window{kHelpWindow};
inline constexpr fw::Ref<fw::PictureButton> 关闭按钮{kHelpWindow, "关闭按钮"};
inline constexpr fw::Ref<fw::RichEdit> 超级编辑框1{kHelpWindow, "超级编辑框1"};
}  // namespace help_window

namespace skill_list_window {
inline constexpr fw::WindowRef window{kSkillListWindow};
inline constexpr fw::Ref<fw::PictureButton> 关闭按钮{kSkillListWindow, "关闭按钮"};
inline constexpr fw::Ref<fw::Button> 加载技能按钮{kSkillListWindow, "加载技能按钮"};
inline constexpr fw::Ref<fw::Label> 标签5{kSkillListWindow, "标签5"};
// The male group.
inline constexpr fw::Ref<fw::Tabs> 选择夹男{kSkillListWindow, "选择夹男"};
inline constexpr fw::Ref<fw::Combo> 鬼剑士组合框{kSkillListWindow, "鬼剑士组合框"};
inline constexpr fw::Ref<fw::Combo> 黑武士组合框{kSkillListWindow, "黑武士组合框"};
inline constexpr fw::Ref<fw::Combo> 男格斗组合框{kSkillListWindow, "男格斗组合框"};
inline constexpr fw::Ref<fw::Combo> 男枪手组合框{kSkillListWindow, "男枪手组合框"};
inline constexpr fw::Ref<fw::Combo> 男法师组合框{kSkillListWindow, "男法师组合框"};
inline constexpr fw::Ref<fw::Combo> 圣职者组合框{kSkillListWindow, "圣职者组合框"};
inline constexpr fw::Ref<fw::Edit> 搜索框男{kSkillListWindow, "搜索框男"};
inline constexpr fw::Ref<fw::Button> 搜索按钮男{kSkillListWindow, "搜索按钮男"};
// The female group.
inline constexpr fw::Ref<fw::Tabs> 选择夹女{kSkillListWindow, "选择夹女"};
inline constexpr fw::Ref<fw::Combo> 女法师组合框{kSkillListWindow, "女法师组合框"};
inline constexpr fw::Ref<fw::Combo> 女格斗组合框{kSkillListWindow, "女格斗组合框"};
inline constexpr fw::Ref<fw::Combo> 女枪手组合框{kSkillListWindow, "女枪手组合框"};
inline constexpr fw::Ref<fw::Combo> 暗夜使组合框{kSkillListWindow, "暗夜使组合框"};
inline constexpr fw::Ref<fw::Combo> 缔造者组合框{kSkillListWindow, "缔造者组合框"};
inline constexpr fw::Ref<fw::Edit> 搜索框女{kSkillListWindow, "搜索框女"};
inline constexpr fw::Ref<fw::Button> 搜索按钮女{kSkillListWindow, "搜索按钮女"};
}  // namespace skill_list_window

inline constexpr std::string_view kPromptBackdropWindow = "PromptBackdropWindow";

namespace prompt_backdrop_window {
inline constexpr fw::WindowRef window{kPromptBackdropWindow};
inline constexpr fw::Ref<fw::Timer> 时钟1{kPromptBackdropWindow, "时钟1"};  // follows the prompt
inline constexpr fw::Ref<fw::Timer> 时钟2{kPromptBackdropWindow, "时钟2"};
}  // namespace prompt_backdrop_window

}  // namespace app
