// A headless session of the whole program in which a test acts as the
// user who reads scripts: paste into 编辑框1, press buttons, choose radios,
// and sees what each action showed in the prompt box.
#pragma once

#include <cstddef>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "app/program.h"
#include "app/testing/prompts.h"
#include "app/units.h"
#include "framework/headless.h"
#include "platform/codepage.h"

namespace read_test {

inline std::string Utf8(std::string_view gbk) {
  return platform::GbkToUtf8(gbk);
}

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

class ReadSession : public ::testing::Test {
 protected:
  ReadSession() { h.SetStallAfter(2000); }

  // Starts the program, runs `body` once MainWindow is up, then closes it.
  void Run(const std::function<void()>& body) {
    h.Then([this, body] {
      body();
      h.Click(app::kMainWindow, "关闭按钮");
    });
    const fw::ProgramEnded end = h.Run(&app::ProgramStart);
    EXPECT_FALSE(end.fatal) << Utf8(end.fatalMessage);
  }

  // Runs `action`, answering `expected` prompts with OK; returns the
  // messages that were shown meanwhile. A prompt beyond them ends the run
  // as stalled.
  std::vector<std::string> Prompted(std::size_t expected, const std::function<void()>& action) {
    const std::size_t before = prompts.Shown().size();
    prompts.Ok(static_cast<int>(expected));
    action();
    EXPECT_EQ(prompts.Unused(), 0) << "fewer prompts than expected";
    const std::vector<std::string> all = prompts.Messages();
    return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
  }

  bool Paste(std::string_view gbk) { return h.Type(app::kMainWindow, "编辑框1", gbk); }
  std::vector<std::string> Click(std::string_view unit, std::size_t expectedPrompts = 0) {
    return Prompted(expectedPrompts, [&] { EXPECT_TRUE(h.Click(app::kMainWindow, unit)) << unit; });
  }
  // Pastes a script and presses 读取按钮.
  std::vector<std::string> PasteAndRead(std::string_view gbk, std::size_t expectedPrompts = 0) {
    EXPECT_TRUE(Paste(gbk));
    return Click("读取按钮", expectedPrompts);
  }

  fw::Headless h;
  app::testing::Prompts prompts{h};
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
