#include "app/side_saves.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/header_rows.h"
#include "app/mastery_rows.h"
#include "app/prompt.h"
#include "app/read_skill.h"
#include "app/side_windows.h"
#include "app/units.h"
#include "engine/script_form.h"
#include "engine/side_writes.h"
#include "engine/write_messages.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;

std::vector<GridRow> Rows(fw::Ref<fw::Grid> grid) {
  std::vector<GridRow> rows;
  for (int row = 1; row < grid->RowCount(); ++row)
    rows.push_back({grid->CellText(row, 0), grid->CellText(row, 1)});
  return rows;
}

std::vector<std::string> Values(const std::vector<GridRow>& rows) {
  std::vector<std::string> values;
  for (const GridRow& row : rows) values.push_back(row.value);
  return values;
}

std::array<std::string, kHeaderSlotCount> StoredSlots() {
  std::array<std::string, kHeaderSlotCount> slots;
  for (int i = 0; i < kHeaderSlotCount; ++i)
    slots[static_cast<std::size_t>(i)] = HeaderSlotText(static_cast<HeaderSlot>(i));
  return slots;
}

// Puts a saved text into 编辑框1 and says so, or says why nothing was
// written. True when the text was written.
bool Report(const Rebuilt& r, RefusalLines (*refused)(Refusal)) {
  if (!r.Accepted()) {
    const RefusalLines lines = refused(r.refusal);
    ShowPromptBox({}, lines.message, lines.note, false);
    return false;
  }
  main_window::编辑框1->SetText(r.text);
  ShowMessage(Gbk("技能参数保存成功！"));
  return true;
}

// Whether 编辑框1 holds a script of the form that was read. A save writes
// only into such a script: into any other text the read that follows the
// save could not read again, and the editor would hold what it never read.
bool HoldsReadForm(ScriptForm form) {
  if (DetectScriptFormat(main_window::编辑框1->TextRef()) == form) return true;
  ShowMessage(Gbk("请重新读取技能数据！"));
  return false;
}

bool WriteHeaderFields(ScriptForm form) {
  if (!HoldsReadForm(form)) return false;
  return Report(
      RebuildHeaderFields(main_window::编辑框1->TextRef(), form, StoredSlots(), g_hdrSpans,
                          Rows(param_window::参数表格), GetHighestMasteryLevel()),
      &HeaderRefusalLines);
}

bool WriteMasteryLevels(ScriptForm form) {
  if (!HoldsReadForm(form)) return false;
  return Report(
      RebuildMasteryLevels(main_window::编辑框1->TextRef(), form, {g_masteryStart, g_masteryLength},
                           g_hasSecondGrowtype, g_masteryValues.Items(),
                           Values(Rows(mastery_window::精通表格)), GetMaximumLevelParam()),
      &MasteryRefusalLines);
}

// The form of the script read. Only the saves ask, and only after a read;
// before any read the box counts as PT.
ScriptForm ReadForm() {
  return g_scriptFormat.value_or(ScriptForm::Pt);
}

}  // namespace

std::optional<int> GetHighestMasteryLevel() {
  return ScriptHighestMastery(main_window::编辑框1->TextRef(), ReadForm());
}

std::optional<int> GetMaximumLevelParam() {
  return ScriptMaximumLevel(main_window::编辑框1->TextRef(), ReadForm());
}

bool WriteHeaderFieldsSp() {
  return WriteHeaderFields(ScriptForm::Sp);
}
bool WriteHeaderFieldsPt() {
  return WriteHeaderFields(ScriptForm::Pt);
}
bool WriteMasteryLevelsSp() {
  return WriteMasteryLevels(ScriptForm::Sp);
}
bool WriteMasteryLevelsPt() {
  return WriteMasteryLevels(ScriptForm::Pt);
}

void OnParamSaveButtonClicked() {
  if (param_window::参数表格->RowCount() <= 1) {
    ShowMessage(Gbk("没有加载技能数据或该技能没有参数！"));
    return;
  }
  if (!g_scriptFormat) return;
  const ScriptForm form = *g_scriptFormat;
  switch (form) {
    case ScriptForm::Sp:
      if (!WriteHeaderFieldsSp()) return;
      break;
    case ScriptForm::Pt:
      if (!WriteHeaderFieldsPt()) return;
      break;
  }
  ReleaseAndReadAgain();
  LoadHeaderFields(form);
}

void OnMasterySaveButtonClicked() {
  if (mastery_window::精通表格->RowCount() <= 1) {
    ShowMessage(Gbk("没有加载技能数据或该技能没有精通等级参数！"));
    return;
  }
  if (!g_scriptFormat) return;
  switch (*g_scriptFormat) {
    case ScriptForm::Sp:
      if (!WriteMasteryLevelsSp()) return;
      break;
    case ScriptForm::Pt:
      if (!WriteMasteryLevelsPt()) return;
      break;
  }
  ReleaseAndReadAgain();
  LoadMasteryLevels();
}

}  // namespace app
