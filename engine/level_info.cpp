#include "engine/level_info.h"

#include <string>

#include "app/globals.h"
#include "app/read_skill.h"
#include "app/main_window.h"
#include "app/prompt.h"
#include "app/units.h"
#include "engine/blocks.h"
#include "engine/level_table.h"
#include "engine/static_data.h"
#include "engine/text.h"
#include "platform/gbk.h"

namespace {

using namespace app;
using platform::Gbk;

constexpr std::string_view kSpOpen = "[@05][level info]";
constexpr std::string_view kSpClose = "[@05][/level info]";
constexpr std::string_view kSpPvpOpen = "[@05][pvp]";
constexpr std::string_view kSpPvpClose = "[@05][/pvp]";
constexpr std::string_view kPtOpen = "[level info]";
constexpr std::string_view kPtClose = "[/level info]";
constexpr std::string_view kPtPvpOpen = "[pvp]";
constexpr std::string_view kPtPvpClose = "[/pvp]";

int Size(std::string_view tag) {
  return static_cast<int>(tag.size());
}

int Find(std::string_view sought, int start = 1) {
  return FindText(g_scriptText, sought, start);
}

// The static copy that goes with the chosen block: the common block when
// the script has one, `splitLoader`'s copy when it has more, none without.
// Returns whether the split copy was loaded.
bool BeginCut(void (*commonLoader)(), void (*splitLoader)()) {
  main_window::编辑框1->Disable();
  g_scriptText = main_window::编辑框1->Text();
  if (!g_hasStaticData) return false;
  if (!g_staticDataSplit) {
    commonLoader();
    return false;
  }
  splitLoader();
  return true;
}

// Keeps the cut block and parses it, or reports a block that is not where
// the copy needs it.
void FinishCut(bool found, TextSpan block, void (*parse)()) {
  if (!found) {
    ShowMessage(Gbk("技能数据设置不正确！"));
    return;
  }
  g_levelInfoText = SpanText(g_scriptText, block);
  g_levelInfoStart = block.start;
  g_levelInfoLength = block.length;
  parse();
}

// SP: the whole block, from its open tag through its close tag.
TextSpan SpBlock(int open, int close) {
  return {open, close - open + Size(kSpClose)};
}

// PT: the values line between the tags.
TextSpan PtBlock(int open, int close) {
  return BlockBody(g_scriptText, open + Size(kPtOpen), close);
}

}  // namespace

void ChooseDataSet(fw::Ref<fw::Radio> radio, std::string_view readTypeUtf8, void (*spCutter)(),
                   void (*ptCutter)()) {
  if (FindText(main_window::编辑框1->Text(), "[level info]", 1, true) < 0) {
    ShowMessage(Gbk("该技能没有随等级变化的数据！"));
    radio->SetChecked(false);
    return;
  }
  ClearLoadedSkillData();
  radio->SetChecked(true);
  if (g_scriptFormat == "SP") {
    g_readType = Gbk(readTypeUtf8);
    spCutter();
  } else if (g_scriptFormat == "PT") {
    g_readType = Gbk(readTypeUtf8);
    ptCutter();
  } else {
    ShowMessage(Gbk("不支持的格式！"));
    radio->SetChecked(false);
  }
}

void LoadDungeonLevelInfoSp() {
  BeginCut(&LoadCommonStaticDataSp, &LoadDungeonStaticDataSp);
  const int pvp = Find(kSpPvpOpen);
  const int open = Find(kSpOpen);
  const int close = Find(kSpClose);
  // Without an arena block the first block is the dungeon copy; with one,
  // the copy lies wholly before it.
  const bool found = open > 0 && close > open && (pvp < 0 || close < pvp);
  FinishCut(found, SpBlock(open, close), &ParseLevelInfoSp);
}

void LoadPvpLevelInfoSp() {
  BeginCut(&LoadCommonStaticDataSp, &LoadPvpStaticDataSp);
  const int pvp = Find(kSpPvpOpen);
  const int pvpEnd = Find(kSpPvpClose);
  const int open = pvp > 0 ? Find(kSpOpen, pvp + Size(kSpPvpOpen)) : -1;
  const int close = pvp > 0 ? Find(kSpClose, pvp + Size(kSpPvpOpen)) : -1;
  const bool found = pvp > 0 && pvpEnd > 0 && open > pvp && close > open && close < pvpEnd;
  FinishCut(found, SpBlock(open, close), &ParseLevelInfoSp);
}

void LoadCommonLevelInfoSp() {
  if (BeginCut(&LoadCommonStaticDataSp, &LoadDungeonStaticDataSp)) {
    main_window::变换按钮->Enable();
  }
  const int open = Find(kSpOpen);
  const int close = Find(kSpClose);
  FinishCut(open > 0 && close > open, SpBlock(open, close), &ParseLevelInfoSp);
}

void LoadDungeonLevelInfoPt() {
  BeginCut(&LoadCommonStaticDataPt, &LoadDungeonStaticDataPt);
  const int pvp = Find(kPtPvpOpen);
  const int open = Find(kPtOpen);
  // The values line is the line after the open tag's line.
  const TextSpan line = open > 0 ? LineAfter(g_scriptText, open) : TextSpan{};
  const bool found = open > 0 && (pvp < 0 || line.start + line.length <= pvp);
  FinishCut(found, line, &ParseLevelInfoPt);
}

void LoadPvpLevelInfoPt() {
  BeginCut(&LoadCommonStaticDataPt, &LoadPvpStaticDataPt);
  const int pvp = Find(kPtPvpOpen);
  const int pvpEnd = Find(kPtPvpClose);
  const int open = pvp > 0 ? Find(kPtOpen, pvp + Size(kPtPvpOpen)) : -1;
  const int close = pvp > 0 ? Find(kPtClose, pvp + Size(kPtPvpOpen)) : -1;
  const bool found = pvp > 0 && pvpEnd > 0 && open > pvp && close > open && close < pvpEnd;
  FinishCut(found, found ? PtBlock(open, close) : TextSpan{}, &ParseLevelInfoPt);
}

void LoadCommonLevelInfoPt() {
  if (BeginCut(&LoadCommonStaticDataPt, &LoadDungeonStaticDataPt)) {
    main_window::变换按钮->Enable();
  }
  const int open = Find(kPtOpen);
  const int close = Find(kPtClose);
  const bool found = open > 0 && close > open;
  FinishCut(found, found ? PtBlock(open, close) : TextSpan{}, &ParseLevelInfoPt);
}

namespace app {

void OnDungeonRadioClicked() {
  ChooseDataSet(main_window::刷图单选框, "地下城", &LoadDungeonLevelInfoSp,
                &LoadDungeonLevelInfoPt);
}

void OnCommonRadioClicked() {
  ChooseDataSet(main_window::通用单选框, "通用", &LoadCommonLevelInfoSp, &LoadCommonLevelInfoPt);
}

}  // namespace app
