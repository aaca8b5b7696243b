#include "engine/static_data.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/globals.h"
#include "app/prompt.h"
#include "app/read_type.h"
#include "app/units.h"
#include "engine/blocks.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "platform/gbk.h"

namespace {

using namespace app;
using platform::Gbk;

constexpr std::string_view kSpOpen = "[@05][static data]";
constexpr std::string_view kSpClose = "[@05][/static data]";
constexpr std::string_view kSpPvpOpen = "[@05][pvp]";
constexpr std::string_view kSpPvpClose = "[@05][/pvp]";
constexpr std::string_view kPtOpen = "[static data]";
constexpr std::string_view kPtClose = "[/static data]";
constexpr std::string_view kPtPvpOpen = "[pvp]";
constexpr std::string_view kPtPvpClose = "[/pvp]";

// A copy's label and the message shown when it is missing (UTF-8).
struct Copy {
  std::string_view label;
  std::string_view missing;
};
constexpr Copy kCommon{"通用", "技能没有静态数据！"};
constexpr Copy kDungeon{"地下城", "技能没有[地下城]静态数据！"};
constexpr Copy kPvp{"决斗场", "技能没有[决斗场]静态数据！"};

// Where a block's open and close tags were found (1-based, -1 absent).
struct Tags {
  int open = -1;
  int close = -1;
};

int Size(std::string_view tag) {
  return static_cast<int>(tag.size());
}

bool Found(const Tags& t) {
  return t.open > 0 && t.close > 0 && t.open < t.close;
}

// The first block of the script.
Tags FirstBlock(std::string_view open, std::string_view close) {
  return {FindText(g_scriptText, open), FindText(g_scriptText, close)};
}

// The first block after the arena's open tag, when it also closes before
// the arena's close tag; a script without either arena tag has none.
Tags ArenaBlock(std::string_view pvpOpen, std::string_view pvpClose, std::string_view open,
                std::string_view close) {
  const int p = FindText(g_scriptText, pvpOpen);
  const int q = FindText(g_scriptText, pvpClose);
  if (p < 0 || q < 0) return {};
  const Tags t{FindText(g_scriptText, open, p + Size(pvpOpen)),
               FindText(g_scriptText, close, p + Size(pvpOpen))};
  if (!Found(t) || t.open <= p || t.close >= q) return {};
  return t;
}

void AppendRows(const std::vector<std::string>& values) {
  for (const std::string& value : values) main_window::静态表格->AppendRow(value);
}

void Succeed() {
  FormatStaticGrid();
  g_staticDataShown = true;
  // Shown static data means a held skill: the box is locked with it, so the
  // caption and the lock never disagree.
  main_window::读取按钮->SetText(Gbk("释放数据"));
  main_window::编辑框1->Disable();
  DisableSkillListControls();
}

void Fail(const Copy& copy) {
  g_staticDataShown = false;
  // Only a read that has not yet held the skill unlocks the box again; a
  // failed switch of the static copy leaves the held skill locked.
  if (!g_hasLevelData && main_window::读取按钮->Text() != Gbk("释放数据")) {
    main_window::编辑框1->Enable();
  }
  if (g_reportMissingData) ShowMessage(Gbk(copy.missing));
}

// SP: the values between the tags, one per line, markers removed.
void LoadSp(const Copy& copy, const Tags& tags) {
  main_window::静态类型标签->SetText(Gbk(copy.label));
  if (!Found(tags)) return Fail(copy);
  const int begin = tags.open + Size(kSpOpen);
  g_staticDataText = MidText(g_scriptText, begin, tags.close - begin);
  g_staticDataText = TrimBlankLines(g_staticDataText);
  if (g_staticDataText.empty()) return Fail(copy);
  g_staticDataText = StripSpMarker(g_staticDataText, "[@02]");
  g_staticDataText = TrimBlankLines(g_staticDataText);
  const int count = CountLines(g_staticDataText);
  const std::vector<std::string> lines = SplitLines(g_staticDataText);
  for (int i = 0; i < count; ++i) {
    main_window::静态表格->AppendRow(i < static_cast<int>(lines.size()) ? lines[i] : "");
  }
  Succeed();
}

// PT: the values line as the script holds it; the rows come from a copy
// with the TABs turned into separators.
void LoadPtLine(const Copy& copy, std::string line) {
  if (line.empty()) return Fail(copy);
  g_staticDataText = std::move(line);
  AppendRows(SplitPtValues(g_staticDataText));
  Succeed();
}

}  // namespace

void LoadCommonStaticDataSp() {
  LoadSp(kCommon, FirstBlock(kSpOpen, kSpClose));
}

void LoadDungeonStaticDataSp() {
  LoadSp(kDungeon, FirstBlock(kSpOpen, kSpClose));
}

void LoadPvpStaticDataSp() {
  LoadSp(kPvp, ArenaBlock(kSpPvpOpen, kSpPvpClose, kSpOpen, kSpClose));
}

namespace {

// PT common and dungeon copy: the line after the first open tag. A block
// whose close tag directly follows the open tag holds no values.
void LoadFirstPt(const Copy& copy) {
  main_window::静态类型标签->SetText(Gbk(copy.label));
  const int open = FindText(g_scriptText, kPtOpen);
  if (open < 0) return Fail(copy);
  std::string line = SpanText(g_scriptText, LineAfter(g_scriptText, open));
  if (FindText(line, kPtClose, 1, true) > 0) return Fail(copy);
  LoadPtLine(copy, std::move(line));
}

}  // namespace

void LoadCommonStaticDataPt() {
  LoadFirstPt(kCommon);
}

void LoadDungeonStaticDataPt() {
  LoadFirstPt(kDungeon);
}

void LoadPvpStaticDataPt() {
  main_window::静态类型标签->SetText(Gbk(kPvp.label));
  const Tags tags = ArenaBlock(kPtPvpOpen, kPtPvpClose, kPtOpen, kPtClose);
  if (!Found(tags)) return Fail(kPvp);
  std::string body =
      SpanText(g_scriptText, BlockBody(g_scriptText, tags.open + Size(kPtOpen), tags.close));
  LoadPtLine(kPvp, TrimBlankLines(body));
}
