#include "app/static_copy.h"

#include <string>
#include <string_view>
#include <utility>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/prompt.h"
#include "app/read_type.h"
#include "app/units.h"
#include "engine/script_form.h"
#include "engine/static_data.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

// A copy, its label and the message shown when it is missing (UTF-8).
struct Copy {
  StaticCopy copy;
  std::string_view label;
  std::string_view missing;
};
constexpr Copy kCommon{StaticCopy::Common, "通用", "技能没有静态数据！"};
constexpr Copy kDungeon{StaticCopy::Dungeon, "地下城", "技能没有[地下城]静态数据！"};
constexpr Copy kPvp{StaticCopy::Arena, "决斗场", "技能没有[决斗场]静态数据！"};

void Succeed() {
  FormatStaticGrid();
  g_staticDataShown = true;
  // Shown static data means a held skill.
  HoldSkill();
}

// A copy that is missing leaves the editor in the state it was in: a read
// that found nothing else to show holds nothing, a held skill stays held.
void Fail(const Copy& copy) {
  g_staticDataShown = false;
  if (g_reportMissingData) ShowMessage(Gbk(copy.missing));
}

void Load(const Copy& copy, StaticCut (*cut)(std::string_view, StaticCopy)) {
  main_window::静态类型标签->SetText(Gbk(copy.label));
  StaticCut values = cut(g_scriptText, copy.copy);
  if (!values.found) return Fail(copy);
  g_staticDataText = std::move(values.text);
  g_staticDataStart = values.block.start;
  g_staticDataLength = values.block.length;
  for (const std::string& row : values.rows) main_window::静态表格->AppendRow(row);
  Succeed();
}

}  // namespace

void LoadCommonStaticDataSp() {
  Load(kCommon, &CutStaticDataSp);
}
void LoadDungeonStaticDataSp() {
  Load(kDungeon, &CutStaticDataSp);
}
void LoadPvpStaticDataSp() {
  Load(kPvp, &CutStaticDataSp);
}
void LoadCommonStaticDataPt() {
  Load(kCommon, &CutStaticDataPt);
}
void LoadDungeonStaticDataPt() {
  Load(kDungeon, &CutStaticDataPt);
}
void LoadPvpStaticDataPt() {
  Load(kPvp, &CutStaticDataPt);
}

void OnSwitchButtonClicked() {
  // The switch is the user's own action: a missing copy is reported even
  // when the skill was last read quietly.
  g_reportMissingData = true;
  main_window::静态表格->DeleteDataRows();
  const bool showsArena = main_window::静态类型标签->Text() == Gbk("决斗场");
  // The button is enabled only by a read, which set the form.
  if (!g_scriptFormat) return;
  switch (*g_scriptFormat) {
    case ScriptForm::Sp:
      showsArena ? LoadDungeonStaticDataSp() : LoadPvpStaticDataSp();
      break;
    case ScriptForm::Pt:
      showsArena ? LoadDungeonStaticDataPt() : LoadPvpStaticDataPt();
      break;
  }
}

}  // namespace app
