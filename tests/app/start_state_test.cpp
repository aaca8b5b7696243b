// The editor as it stands right after start: MainWindow in the "读取数据"
// state with its two side windows embedded.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/program.h"
#include "app/side_windows.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "program_fixture.h"

namespace app_test {
namespace {

using namespace app;

struct TextCase {
  std::string_view unit;
  std::string_view text;  // UTF-8
};

TEST_F(ProgramTest, MainWindowStartsWithItsCaptionsAndInitialTexts) {
  const std::vector<TextCase> cases = {
      {"标签14", " Varnok技能数据批量修改工具 Ver1.7.1"},
      {"帮助按钮", "使用帮助"},
      {"编辑框1",
       "\r\n拖放技能数据文件到此处(只支持拖放PVFTool文件)\r\n\r\n"
       "粘贴技能数据文本到此处(支持SuperPVF和PVFTool)\r\n\r\n"
       "只有拖放进来技能数据文件时，才可以保存到文件。"},
      {"路径编辑框", "*"},
      {"读取按钮", "读取数据"},
      {"复制按钮", "↑复制↑"},
      {"清空按钮", "↑清空↑"},
      {"保存按钮", "保存修改"},
      {"保存文件按钮", "保存文件"},
      {"标签6", "名称:"},
      {"技能名称标签", ""},
      {"标签13", "职业:"},
      {"职业标签", ""},
      {"标签7", "技能动态数据"},
      {"标签4", "技能有"},
      {"等级标签", ""},
      {"标签5", "级的动态数据"},
      {"上一页按钮", "<"},
      {"页数编辑框", "1"},
      {"标签2", "级"},
      {"下一页按钮", ">"},
      {"跳转按钮", "跳转"},
      {"标签10", "修改"},
      {"最低编辑框", "1"},
      {"标签11", "--"},
      {"最高编辑框", "1"},
      {"标签12", "级"},
      {"标签8", "技能静态数据"},
      {"标签18", "类型:"},
      {"静态类型标签", ""},
      {"变换按钮", "变换类型"},
      {"标签编辑框", "技能描述(红色-动态，蓝色-静态)"},
      {"描述编辑框",
       "技能描述加载完后，只需要用鼠标左键点击其中\r\n"
       "一项描述，本工具可以自动定位到该项描述对应\r\n"
       "的数据，并且高亮显示。"},
      {"标签1", "读取类型"},
      {"通用单选框", "通用"},
      {"刷图单选框", "地下城"},
      {"PK单选框", "决斗场"},
      {"标签3", "动态数据修改方式"},
      {"增加单选框", "增加"},
      {"赋值单选框", "等于"},
      {"递增单选框", "递增"},
      {"倍率单选框", "倍率"},
  };
  RunProgram([&] {
    EXPECT_EQ(Utf8(main_window::window->Caption()), "Varnok技能数据批量修改工具 Ver1.6.3");
    EXPECT_EQ(main_window::window->Width(), 961);
    EXPECT_EQ(main_window::window->Height(), 597);
    // Its own caption bar instead of the system's; a taskbar button;
    // centred, draggable, minimisable, not on top.
    const fw::WindowFlags& flags = MainWindowForm().flags;
    EXPECT_TRUE(flags.frameless);
    EXPECT_TRUE(flags.inTaskbar);
    EXPECT_TRUE(flags.centred);
    EXPECT_TRUE(flags.draggable);
    EXPECT_TRUE(flags.minimisable);
    EXPECT_FALSE(flags.onTop);
    EXPECT_TRUE(flags.visibleWhenLoaded);
    for (const TextCase& c : cases) {
      EXPECT_EQ(Utf8(fw::GetControl(kMainWindow, c.unit).Text()), c.text) << c.unit;
    }
  });
}

TEST_F(ProgramTest, OnlyTheRadiosAndTheSaveFileAndSwitchButtonsStartDisabled) {
  const std::vector<std::string_view> disabled = {
      "通用单选框", "刷图单选框", "PK单选框",     "增加单选框", "赋值单选框",
      "递增单选框", "倍率单选框", "保存文件按钮", "变换按钮",
  };
  const std::vector<std::string_view> enabled = {
      "编辑框1",    "路径编辑框", "读取按钮",   "复制按钮",     "清空按钮",     "保存按钮",
      "加载按钮",   "帮助按钮",   "最小化按钮", "关闭按钮",     "数据表格",     "静态表格",
      "上一页按钮", "页数编辑框", "下一页按钮", "跳转按钮",     "最低编辑框",   "最高编辑框",
      "描述编辑框", "分组框1",    "分组框2",    "参数窗口按钮", "精通窗口按钮",
  };
  RunProgram([&] {
    for (std::string_view unit : disabled) {
      const fw::Control& c = fw::GetControl(kMainWindow, unit);
      EXPECT_TRUE(c.Disabled()) << unit;
      EXPECT_TRUE(c.Visible()) << unit;
    }
    for (std::string_view unit : enabled) {
      const fw::Control& c = fw::GetControl(kMainWindow, unit);
      EXPECT_FALSE(c.Disabled()) << unit;
      EXPECT_TRUE(c.Visible()) << unit;
    }
    for (const fw::Ref<fw::Radio>& radio :
         {main_window::通用单选框, main_window::刷图单选框, main_window::PK单选框,
          main_window::增加单选框, main_window::赋值单选框, main_window::递增单选框,
          main_window::倍率单选框}) {
      EXPECT_FALSE(radio->Checked()) << radio.unit;
    }
    // A user cannot reach a disabled radio.
    EXPECT_FALSE(h.Click(kMainWindow, "通用单选框"));
    EXPECT_FALSE(h.Click(kMainWindow, "保存文件按钮"));
  });
}

TEST_F(ProgramTest, UnitsSitWhereTheHandlersExpectThem) {
  struct Place {
    std::string_view unit;
    fw::Rect rect;
  };
  const std::vector<Place> places = {
      {"标签14", {0, 0, 968, 24}},          {"编辑框1", {7, 51, 324, 398}},
      {"路径编辑框", {51, 453, 279, 24}},   {"读取按钮", {7, 560, 85, 31}},
      {"复制按钮", {103, 560, 60, 31}},     {"清空按钮", {171, 560, 64, 31}},
      {"保存按钮", {245, 560, 85, 31}},     {"保存文件按钮", {258, 478, 71, 24}},
      {"加载按钮", {51, 479, 82, 23}},      {"帮助按钮", {824, 4, 48, 16}},
      {"最小化按钮", {893, 0, 24, 24}},     {"关闭按钮", {929, 0, 24, 24}},
      {"技能名称标签", {43, 31, 150, 15}},  {"职业标签", {233, 31, 98, 15}},
      {"数据表格", {336, 50, 160, 461}},    {"静态表格", {502, 71, 160, 520}},
      {"标签编辑框", {688, 30, 249, 18}},   {"描述编辑框", {668, 51, 286, 513}},
      {"分组框1", {9, 502, 125, 55}},       {"分组框2", {137, 502, 194, 55}},
      {"参数窗口按钮", {669, 567, 82, 23}}, {"精通窗口按钮", {871, 567, 82, 23}},
  };
  RunProgram([&] {
    for (const Place& p : places) {
      EXPECT_EQ(fw::GetControl(kMainWindow, p.unit).Geometry(), p.rect) << p.unit;
    }
    // The radios belong to their group boxes, so each group is exclusive.
    for (std::string_view radio : {"通用单选框", "刷图单选框", "PK单选框"}) {
      EXPECT_EQ(fw::GetControl(kMainWindow, radio).parent(), &*main_window::分组框1) << radio;
    }
    for (std::string_view radio : {"增加单选框", "赋值单选框", "递增单选框", "倍率单选框"}) {
      EXPECT_EQ(fw::GetControl(kMainWindow, radio).parent(), &*main_window::分组框2) << radio;
    }
  });
}

TEST_F(ProgramTest, EveryGridHoldsOnlyItsHeaderRow) {
  struct GridCase {
    fw::Ref<fw::Grid> grid;
    std::string_view col0;
    std::string_view col1;
  };
  const std::vector<GridCase> cases = {
      {main_window::数据表格, "技能原数值", "修改的数值"},
      {main_window::静态表格, "技能原数值", "修改的数值"},
      {param_window::参数表格, "数据类型", "数值"},
      {mastery_window::精通表格, "职业", "精通等级"},
  };
  RunProgram([&] {
    for (const GridCase& c : cases) {
      SCOPED_TRACE(std::string(c.grid.window) + "." + std::string(c.grid.unit));
      EXPECT_EQ(c.grid->RowCount(), 1);
      EXPECT_EQ(c.grid->ColCount(), 2);
      EXPECT_EQ(Utf8(c.grid->CellText(0, 0)), c.col0);
      EXPECT_EQ(Utf8(c.grid->CellText(0, 1)), c.col1);
    }
  });
}

TEST_F(ProgramTest, LegendColoursOnlyItsTwoKeywords) {
  RunProgram([&] {
    fw::RichEdit& legend = *main_window::标签编辑框;
    const std::string& text = platform::Gbk(kLegend);
    ASSERT_EQ(legend.Text(), text);
    // "技能描述(" is five characters, then "红色-动态" (five), "，" and
    // "蓝色-静态" (five), then ")".
    ASSERT_EQ(legend.Length(), 17);
    for (int pos = 0; pos < legend.Length(); ++pos) {
      fw::CharFormat f = legend.FormatAt(pos);
      fw::Colour expected = fw::kDefaultColour;
      if (pos >= 5 && pos < 10) expected = 0x000000FFu;
      if (pos >= 11 && pos < 16) expected = 0x00FF0000u;
      EXPECT_EQ(f.colour, expected) << "character " << pos;
      EXPECT_EQ(Utf8(f.face), "宋体") << "character " << pos;
      EXPECT_EQ(f.points, 11) << "character " << pos;
      EXPECT_TRUE(f.bold) << "character " << pos;
    }
    EXPECT_EQ(legend.SelLength(), 0);
  });
}

struct BindingCase {
  std::string_view unit;  // empty: the window itself
  fw::Event event;
  fw::Handler handler;
  fw::FilesHandler filesHandler = nullptr;
};

// Every unit event of a form goes to its own handler, and nothing else is
// bound.
void ExpectBindings(const fw::WindowDef& form, const std::vector<BindingCase>& cases) {
  SCOPED_TRACE(std::string(form.name));
  EXPECT_EQ(form.bindings.size(), cases.size());
  for (const BindingCase& c : cases) {
    const auto it =
        std::find_if(form.bindings.begin(), form.bindings.end(),
                     [&](const fw::Binding& b) { return b.unit == c.unit && b.event == c.event; });
    ASSERT_NE(it, form.bindings.end()) << "no binding for " << c.unit;
    EXPECT_EQ(it->handler, c.handler) << c.unit;
    EXPECT_EQ(it->filesHandler, c.filesHandler) << c.unit;
  }
}

TEST(Forms, BindEveryUnitEventToItsHandler) {
  using fw::Event;
  ExpectBindings(MainWindowForm(),
                 {
                     {"", Event::Created, &OnMainWindowCreated},
                     {"", Event::CloseRequested, &OnCloseButtonClicked},
                     {"关闭按钮", Event::Clicked, &OnCloseButtonClicked},
                     {"最小化按钮", Event::Clicked, &OnMinimizeButtonClicked},
                     {"帮助按钮", Event::Clicked, &OnHelpButtonClicked},
                     {"编辑框1", Event::TextChanged, &OnScriptEditTextChanged},
                     {"编辑框1", Event::LeftButtonDown, &OnScriptEditLeftButtonDown},
                     {"编辑框1", Event::RightButtonDown, &OnScriptEditRightButtonDown},
                     {"拖放对象1", Event::FilesDropped, nullptr, &OnDropTargetFilesDropped},
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
                     {"静态表格", Event::CellEvent, &OnStaticGridCellEvent},
                     {"上一页按钮", Event::Clicked, &OnPrevPageButtonClicked},
                     {"下一页按钮", Event::Clicked, &OnNextPageButtonClicked},
                     {"跳转按钮", Event::Clicked, &OnJumpButtonClicked},
                     {"页数编辑框", Event::TextChanged, &OnPageEditTextChanged},
                     {"最低编辑框", Event::TextChanged, &OnLowLevelEditTextChanged},
                     {"最高编辑框", Event::TextChanged, &OnHighLevelEditTextChanged},
                     {"变换按钮", Event::Clicked, &OnSwitchButtonClicked},
                     {"描述编辑框", Event::LeftButtonUp, &OnDescriptionEditLeftButtonUp},
                     {"参数窗口按钮", Event::Clicked, &OnParamWindowButtonClicked},
                     {"精通窗口按钮", Event::Clicked, &OnMasteryWindowButtonClicked},
                 });
  ExpectBindings(SkillParamWindowForm(),
                 {
                     {"", Event::Created, &OnSkillParamWindowCreated},
                     {"保存按钮", Event::Clicked, &OnParamSaveButtonClicked},
                 });
  ExpectBindings(MasteryLevelWindowForm(),
                 {
                     {"", Event::Created, &OnMasteryLevelWindowCreated},
                     {"全职业组合框", Event::SelectionChanged, &OnAllClassComboSelectionChanged},
                     {"保存按钮", Event::Clicked, &OnMasterySaveButtonClicked},
                 });
}

TEST_F(ProgramTest, FilesDropOnTheScriptBoxOnly) {
  RunProgram([&] {
    EXPECT_EQ(main_window::拖放对象1->Target(), &*main_window::编辑框1);
    for (std::string_view elsewhere : {"数据表格", "描述编辑框", "路径编辑框"}) {
      EXPECT_FALSE(h.Drop(kMainWindow, elsewhere, {"/tmp/a.skl"})) << elsewhere;
    }
  });
}

TEST_F(ProgramTest, SideWindowsAreEmbeddedSideBySideAndOpen) {
  RunProgram([&] {
    fw::Window& main = *main_window::window;
    fw::Window& params = *param_window::window;
    fw::Window& mastery = *mastery_window::window;
    ASSERT_TRUE(params.IsLoaded());
    ASSERT_TRUE(mastery.IsLoaded());
    EXPECT_EQ(params.EmbeddedIn(), &main);
    EXPECT_EQ(mastery.EmbeddedIn(), &main);
    EXPECT_EQ(params.Geometry(), (fw::Rect{627, 125, 173, 439}));
    EXPECT_EQ(mastery.Geometry(), (fw::Rect{800, 256, 152, 310}));
    EXPECT_TRUE(params.Visible());
    EXPECT_TRUE(mastery.Visible());

    EXPECT_FALSE(mastery_window::全职业组合框->Visible());
    EXPECT_EQ(mastery_window::全职业组合框->Count(), 0);
    EXPECT_TRUE(param_window::保存按钮->Visible());
    EXPECT_TRUE(mastery_window::保存按钮->Visible());
    EXPECT_EQ(Utf8(param_window::保存按钮->Text()), "保存");
    EXPECT_EQ(Utf8(mastery_window::保存按钮->Text()), "保存");
  });
  EXPECT_EQ(h.LoadCount(kSkillParamWindow), 1);
  EXPECT_EQ(h.LoadCount(kMasteryLevelWindow), 1);
}

}  // namespace
}  // namespace app_test
