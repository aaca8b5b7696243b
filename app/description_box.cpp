#include "app/description_box.h"

#include <optional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/look.h"
#include "app/units.h"
#include "engine/description.h"
#include "engine/text.h"
#include "platform/gbk.h"
#include "resources/embedded.h"

namespace app {

namespace {

using platform::Gbk;

// Column 0 of the data rows of a grid.
std::vector<std::string> BaseColumn(fw::Grid& grid) {
  std::vector<std::string> cells;
  for (int row = 1; row < grid.RowCount(); ++row) cells.push_back(grid.CellText(row, 0));
  return cells;
}

fw::CharFormat DescriptionFormat(fw::Colour colour) {
  fw::CharFormat f;
  f.face = Gbk("宋体");
  f.points = 9;
  f.colour = colour;
  return f;
}

// "name  Lv level[data set]" for the checked read-type radio; none when no
// radio is checked.
std::optional<std::string> Heading() {
  using namespace main_window;
  struct Tag {
    fw::Ref<fw::Radio> radio;
    std::string_view tag;
  };
  const Tag tags[] = {{刷图单选框, "[地下城]"}, {PK单选框, "[决斗场]"}, {通用单选框, "[通用]"}};
  for (const Tag& t : tags) {
    if (t.radio->Checked()) {
      return 技能名称标签->Text() + "  Lv " + IntToText(g_currentLevel) + Gbk(t.tag);
    }
  }
  return std::nullopt;
}

void Render(LevelProperty (*read)(std::string_view)) {
  fw::RichEdit& box = *main_window::描述编辑框;
  box.SetDefaultFormat(DescriptionFormat(kBlack));
  box.SetText("");
  const LevelProperty property = read(g_scriptText);
  const Description d = RenderDescription(
      DescriptionTemplate(EmbeddedSkillNameTable(), property.key), property.entries, Heading(),
      BaseColumn(*main_window::静态表格), BaseColumn(*main_window::数据表格));
  if (d.tooManyPlaceholders) {
    box.SetText(Gbk("描述加载出错！"));
    return;
  }
  for (const DescriptionPiece& piece : d.pieces) AppendDescriptionText(piece.text, piece.colour);
  for (const std::string& span : d.spans) g_placeholderMap.Append(span);
}

}  // namespace

void RenderDescriptionSp() {
  Render(&ReadLevelPropertySp);
}

void RenderDescriptionPt() {
  Render(&ReadLevelPropertyPt);
}

void AppendDescriptionText(std::string_view text, fw::Colour colour) {
  fw::RichEdit& box = *main_window::描述编辑框;
  box.SetSelection(box.Length(), 0);
  box.SetSelectionFormat(DescriptionFormat(colour));
  box.ReplaceSelection(std::string(text) + "\r\n");
}

}  // namespace app
