// A headless session of the whole program in which a test acts as the
// user who reads scripts (the hands of user_hands.h), with the script
// fixtures and readers of what the units show.
#pragma once

#include <cstddef>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "app/program.h"
#include "app/testing/prompts.h"
#include "app/units.h"
#include "engine/level_info.h"
#include "engine/rebuild.h"
#include "engine/script_form.h"
#include "framework/headless.h"
#include "platform/codepage.h"
#include "user_hands.h"

namespace read_test {

using app_test::Utf8;

// A script fixture as the editor holds it (GBK, CR LF); `form` is "SP" or
// "PT".
inline std::string Fixture(std::string_view stem, std::string_view form) {
  const std::string path = std::string(SE_FIXTURES_DIR) + "/scripts/" + std::string(stem) +
                           (form == "SP" ? ".sp.txt" : ".pt.txt");
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Column `col` of the data rows of a grid, UTF-8.
inline std::vector<std::string> Column(fw::Ref<fw::Grid> grid, int col = 0) {
  std::vector<std::string> cells;
  for (int row = 1; row < grid->RowCount(); ++row) cells.push_back(Utf8(grid->CellText(row, col)));
  return cells;
}

template <class Unit>
std::string Text(fw::Ref<Unit> unit) {
  return Utf8(unit->Text());
}

// The remembered choices in the words the editor shows them in: the form of
// the script read ("SP", "PT"), the data set (its radio's caption) and the
// mode (its radio's name); "" for none.
inline std::string Named(std::optional<ScriptForm> form) {
  if (!form) return "";
  switch (*form) {
    case ScriptForm::Sp:
      return "SP";
    case ScriptForm::Pt:
      return "PT";
  }
  return "?";
}
inline std::string Named(std::optional<DataSet> set) {
  if (!set) return "";
  switch (*set) {
    case DataSet::Dungeon:
      return "地下城";
    case DataSet::Arena:
      return "决斗场";
    case DataSet::Common:
      return "通用";
  }
  return "?";
}
inline std::string Named(std::optional<ModifyMode> mode) {
  if (!mode) return "";
  switch (*mode) {
    case ModifyMode::Add:
      return "增加";
    case ModifyMode::Assign:
      return "赋值";
    case ModifyMode::Increment:
      return "递增";
    case ModifyMode::Ratio:
      return "倍率";
  }
  return "?";
}

class ReadSession : public app_test::UserHands {
 protected:
  ReadSession() { h.SetStallAfter(2000); }

  // Starts the program, runs `body` once MainWindow is up, then closes it.
  void Run(const std::function<void()>& body) { RunProgram(body); }
};

template <class Param>
class ReadSessionWith : public ReadSession, public ::testing::WithParamInterface<Param> {};

// A case over a fixture (a struct with a `stem`), run on its SP and its PT
// twin; the test is named after both.
template <class Case>
using CaseAndForm = std::tuple<Case, const char*>;
template <class Case>
std::string StemAndForm(const ::testing::TestParamInfo<CaseAndForm<Case>>& info) {
  return std::string(std::get<0>(info.param).stem) + "_" + std::get<1>(info.param);
}
template <class Case>
auto OverBothForms(const std::vector<Case>& cases) {
  return ::testing::Combine(::testing::ValuesIn(cases), ::testing::Values("SP", "PT"));
}

}  // namespace read_test
