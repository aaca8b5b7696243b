#include "app/main_window.h"

#include "app/look.h"
#include "app/pictures.h"
#include "app/program.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/codepage.h"
#include "platform/gbk.h"

namespace app {

namespace {

fw::WindowDef BuildMainWindowForm() {
  using fw::Event;
  return fw::WindowDef("MainWindow", "Varnok技能数据批量修改工具 Ver1.6.3", 961, 597)
      .Centred()
      .InTaskbar()
      .Draggable()
      .Minimisable()
      .UserMayClose()
      .Units({
          // Caption bar and borders, drawn by the window itself.
          CaptionTitle("标签14", {0, 0, 968, 24}, " Varnok技能数据批量修改工具 Ver1.7.1"),
          BorderStrip("标签15", {0, 24, 3, 573}),
          BorderStrip("标签16", {958, 24, 3, 573}),
          BorderStrip("标签17", {0, 594, 961, 3}),
          fw::SuperButtonUnit("帮助按钮", {824, 4, 48, 16}, "使用帮助").Colours(kWhite, kPurple),
          fw::PictureButtonUnit("最小化按钮", {893, 0, 24, 24}, MinimizeButtonImages()),
          fw::PictureButtonUnit("关闭按钮", {929, 0, 24, 24}, CloseButtonImages()),

          // Script box column.
          fw::LabelUnit("标签6", {7, 31, 36, 15}, "名称:"),
          fw::LabelUnit("技能名称标签", {43, 31, 150, 15}),
          fw::LabelUnit("标签13", {197, 31, 36, 15}, "职业:"),
          fw::LabelUnit("职业标签", {233, 31, 98, 15}),
          fw::EditBox("编辑框1", {7, 51, 324, 398}, kScriptBoxHint).Multiline().CrLfLines(),
          fw::DropTargetUnit("拖放对象1"),
          fw::LabelUnit("标签19", {7, 457, 44, 15}, "路径:"),
          fw::EditBox("路径编辑框", {51, 453, 279, 24}, kNoFilePath),
          fw::PictureButtonUnit("加载按钮", {51, 479, 82, 23}, LoadButtonImages()),
          fw::ButtonUnit("保存文件按钮", {258, 478, 71, 24}, "保存文件").Disabled(),

          fw::GroupBoxUnit("分组框1", {9, 502, 125, 55}),
          fw::LabelUnit("标签1", {6, 0, 60, 14}, "读取类型").In("分组框1"),
          fw::RadioBox("通用单选框", {8, 18, 50, 16}, "通用").In("分组框1").Disabled(),
          fw::RadioBox("刷图单选框", {62, 18, 60, 16}, "地下城").In("分组框1").Disabled(),
          fw::RadioBox("PK单选框", {8, 35, 60, 16}, "决斗场").In("分组框1").Disabled(),

          fw::GroupBoxUnit("分组框2", {137, 502, 194, 55}),
          fw::LabelUnit("标签3", {6, 0, 110, 14}, "动态数据修改方式").In("分组框2"),
          fw::RadioBox("增加单选框", {8, 18, 80, 16}, "增加").In("分组框2").Disabled(),
          fw::RadioBox("赋值单选框", {100, 18, 80, 16}, "等于").In("分组框2").Disabled(),
          fw::RadioBox("递增单选框", {8, 35, 80, 16}, "递增").In("分组框2").Disabled(),
          fw::RadioBox("倍率单选框", {100, 35, 80, 16}, "倍率").In("分组框2").Disabled(),

          fw::ButtonUnit("读取按钮", {7, 560, 85, 31}, "读取数据"),
          fw::ButtonUnit("复制按钮", {103, 560, 60, 31}, "↑复制↑"),
          fw::ButtonUnit("清空按钮", {171, 560, 64, 31}, "↑清空↑"),
          fw::ButtonUnit("保存按钮", {245, 560, 85, 31}, "保存修改"),

          // Level data column.
          fw::LabelUnit("标签7", {336, 31, 160, 16}, "技能动态数据")
              .WithFont(SongTi(true))
              .Colours(kRed),
          fw::GridUnit("数据表格", {336, 50, 160, 461}),
          fw::LabelUnit("标签4", {341, 515, 40, 16}, "技能有"),
          fw::LabelUnit("等级标签", {381, 515, 30, 16}),
          fw::LabelUnit("标签5", {411, 515, 80, 16}, "级的动态数据"),
          fw::LabelUnit("标签10", {341, 537, 26, 16}, "修改"),
          fw::EditBox("最低编辑框", {369, 535, 40, 20}, "1"),
          fw::LabelUnit("标签11", {411, 537, 16, 16}, "--"),
          fw::EditBox("最高编辑框", {429, 535, 40, 20}, "1"),
          fw::LabelUnit("标签12", {471, 537, 19, 16}, "级"),
          fw::ButtonUnit("上一页按钮", {341, 562, 26, 26}, "<"),
          fw::EditBox("页数编辑框", {370, 565, 34, 20}, "1"),
          fw::LabelUnit("标签2", {406, 567, 14, 16}, "级"),
          fw::ButtonUnit("下一页按钮", {421, 562, 26, 26}, ">"),
          fw::ButtonUnit("跳转按钮", {450, 562, 44, 26}, "跳转"),

          // Static data column.
          fw::LabelUnit("标签8", {505, 30, 157, 16}, "技能静态数据")
              .WithFont(SongTi(true))
              .Colours(kBlue),
          fw::LabelUnit("标签18", {505, 50, 36, 16}, "类型:"),
          fw::LabelUnit("静态类型标签", {541, 50, 50, 16}),
          fw::ButtonUnit("变换按钮", {594, 46, 68, 22}, "变换类型").Disabled(),
          fw::GridUnit("静态表格", {502, 71, 160, 520}),

          // Description column. Both boxes only show: the legend is fixed
          // and the description's lines map to the values it shows.
          fw::RichEditBox("标签编辑框", {688, 30, 249, 18}, kLegend).ReadOnly(),
          fw::RichEditBox("描述编辑框", {668, 51, 286, 513}, kDescriptionHint).ReadOnly(),
          fw::PictureButtonUnit("参数窗口按钮", {669, 567, 82, 23}, ParamWindowButtonImages(true)),
          fw::PictureButtonUnit("精通窗口按钮", {871, 567, 82, 23},
                                MasteryWindowButtonImages(true)),
      })
      .Bind({
          {"", Event::Created, &OnMainWindowCreated},
          {"", Event::CloseRequested, &OnCloseButtonClicked},
          {"关闭按钮", Event::Clicked, &OnCloseButtonClicked},
          {"最小化按钮", Event::Clicked, &OnMinimizeButtonClicked},
          {"帮助按钮", Event::Clicked, &OnHelpButtonClicked},
          {"编辑框1", Event::TextChanged, &OnScriptEditTextChanged},
          {"编辑框1", Event::LeftButtonDown, &OnScriptEditLeftButtonDown},
          {"编辑框1", Event::RightButtonDown, &OnScriptEditRightButtonDown},
          {"拖放对象1", Event::FilesDropped, &OnDropTargetFilesDropped},
          {"加载按钮", Event::Clicked, &OnLoadButtonClicked},
          {"保存文件按钮", Event::Clicked, &OnSaveFileButtonClicked},
          {"通用单选框", Event::Clicked, &OnCommonRadioClicked},
          {"刷图单选框", Event::Clicked, &OnDungeonRadioClicked},
          {"PK单选框", Event::Clicked, &OnPkRadioClicked},
          {"增加单选框", Event::Clicked, &OnAddRadioClicked},
          {"赋值单选框", Event::Clicked, &OnAssignRadioClicked},
          {"递增单选框", Event::Clicked, &OnIncrementRadioClicked},
          {"倍率单选框", Event::Clicked, &OnRatioRadioClicked},
          {"读取按钮", Event::Clicked, &OnReadButtonClicked},
          {"复制按钮", Event::Clicked, &OnCopyButtonClicked},
          {"清空按钮", Event::Clicked, &OnClearButtonClicked},
          {"保存按钮", Event::Clicked, &OnSaveChangesButtonClicked},
          {"数据表格", Event::CellEvent, &OnDataGridCellEvent},
          {"最低编辑框", Event::TextChanged, &OnLowLevelEditTextChanged},
          {"最高编辑框", Event::TextChanged, &OnHighLevelEditTextChanged},
          {"上一页按钮", Event::Clicked, &OnPrevPageButtonClicked},
          {"页数编辑框", Event::TextChanged, &OnPageEditTextChanged},
          {"下一页按钮", Event::Clicked, &OnNextPageButtonClicked},
          {"跳转按钮", Event::Clicked, &OnJumpButtonClicked},
          {"变换按钮", Event::Clicked, &OnSwitchButtonClicked},
          {"静态表格", Event::CellEvent, &OnStaticGridCellEvent},
          {"描述编辑框", Event::LeftButtonUp, &OnDescriptionEditLeftButtonUp},
          {"参数窗口按钮", Event::Clicked, &OnParamWindowButtonClicked},
          {"精通窗口按钮", Event::Clicked, &OnMasteryWindowButtonClicked},
      });
}

// Characters as the rich edit box counts them: a two-byte GBK character is
// one.
int GbkCharCount(std::string_view gbk) {
  int count = 0;
  for (std::size_t i = 0; i < gbk.size(); ++i, ++count) {
    if (platform::IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size()) ++i;
  }
  return count;
}

fw::CharFormat LegendFormat(fw::Colour colour) {
  fw::CharFormat f;
  f.face = platform::Gbk("宋体");
  f.points = 11;
  f.bold = true;
  f.colour = colour;
  return f;
}

// Gives the first occurrence of `wordUtf8` in the box the legend format in
// `colour`; a box without the word is left as it is.
void ColourWord(fw::RichEdit& box, std::string_view wordUtf8, fw::Colour colour) {
  const std::string& word = platform::Gbk(wordUtf8);
  int at = box.Find(word, 0);
  if (at < 0) return;
  box.SetSelection(at, GbkCharCount(word));
  box.SetSelectionFormat(LegendFormat(colour));
}

}  // namespace

const fw::WindowDef& MainWindowForm() {
  static const fw::WindowDef form = BuildMainWindowForm();
  return form;
}

void OnMainWindowCreated() {
  using namespace main_window;
  using platform::Gbk;

  // Every backend draws the controls in the platform's own themed look, so
  // there is no look to switch on here.

  for (const fw::Ref<fw::Grid>& grid : {数据表格, 静态表格}) {
    grid->SetCellText(0, 0, Gbk("技能原数值"));
    grid->SetCellText(0, 1, Gbk("修改的数值"));
  }

  // The legend: bold 宋体 throughout, its two keywords in the colours that
  // mark level data (red) and static data (blue) everywhere else.
  fw::RichEdit& legend = *标签编辑框;
  legend.SetDefaultFormat(LegendFormat(fw::kDefaultColour));
  ColourWord(legend, kLegendLevelWord, kRed);
  ColourWord(legend, kLegendStaticWord, kBlue);
  legend.SetSelection(0, 0);

  拖放对象1->Register(*编辑框1);

  // Each side window embeds itself in this window when it is created.
  param_window::window->Load();
  mastery_window::window->Load();
}

}  // namespace app
