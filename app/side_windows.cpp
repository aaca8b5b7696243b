#include "app/side_windows.h"

#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"

namespace app {

namespace {

fw::WindowDef BuildSkillParamWindowForm() {
  return fw::WindowDef("SkillParamWindow", "技能参数修改", kParamWindowWidth, kParamWindowHeight)
      .Centred()
      .Draggable()
      .Units({
          fw::GridUnit("参数表格", {3, 3, 167, 400}),
          fw::ButtonUnit("保存按钮", {3, 406, 167, 30}, "保存"),
      })
      .Bind({
          {"", fw::Event::Created, &OnSkillParamWindowCreated},
          {"保存按钮", fw::Event::Clicked, &OnParamSaveButtonClicked},
      });
}

fw::WindowDef BuildMasteryLevelWindowForm() {
  return fw::WindowDef("MasteryLevelWindow", "技能精通等级修改", kMasteryWindowWidth,
                       kMasteryWindowHeight)
      .Centred()
      .Draggable()
      .Units({
          fw::ComboBox("全职业组合框", {3, 3, 146, 20}).Hidden(),
          fw::GridUnit("精通表格", {3, 26, 146, 248}),
          fw::ButtonUnit("保存按钮", {3, 277, 146, 30}, "保存"),
      })
      .Bind({
          {"", fw::Event::Created, &OnMasteryLevelWindowCreated},
          {"全职业组合框", fw::Event::SelectionChanged, &OnAllClassComboSelectionChanged},
          {"保存按钮", fw::Event::Clicked, &OnMasterySaveButtonClicked},
      });
}

}  // namespace

const fw::WindowDef& SkillParamWindowForm() {
  static const fw::WindowDef form = BuildSkillParamWindowForm();
  return form;
}

const fw::WindowDef& MasteryLevelWindowForm() {
  static const fw::WindowDef form = BuildMasteryLevelWindowForm();
  return form;
}

void OnSkillParamWindowCreated() {
  using platform::Gbk;
  param_window::参数表格->SetCellText(0, 0, Gbk("数据类型"));
  param_window::参数表格->SetCellText(0, 1, Gbk("数值"));
  param_window::window->EmbedIn(*main_window::window, kParamWindowLeft, kParamWindowTop);
}

void OnMasteryLevelWindowCreated() {
  using platform::Gbk;
  mastery_window::精通表格->SetCellText(0, 0, Gbk("职业"));
  mastery_window::精通表格->SetCellText(0, 1, Gbk("精通等级"));
  fw::Window& params = *param_window::window;
  mastery_window::window->EmbedIn(*main_window::window, params.Left() + params.Width(),
                                  kMasteryWindowTop);
}

}  // namespace app
