// The unit models: grid rectangles, byte-exact edit texts, combo prefix
// selection, rich edit lines and formats, change notifications.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/input.h"
#include "platform/codepage.h"
#include "test_backend.h"
#include "test_forms.h"
#include "tests/test_names.h"

namespace fwtest {
namespace {

namespace tw = test_window;

// ---- Grid rectangles --------------------------------------------------------

struct RectCase {
  const char* name;
  fw::CellRange range;
  std::set<std::pair<int, int>> cells;  // the cells the range reaches
};

class GridRectangles : public ::testing::TestWithParam<RectCase> {};

TEST_P(GridRectangles, ColoursAndReadOnlyReachTheCutRectangleOnly) {
  Env env;
  fw::Grid& grid = *tw::grid;
  grid.AppendRow("a");
  grid.AppendRow("b");  // rows 0..2, columns 0..1
  const RectCase& c = GetParam();
  const fw::Colour red = fw::Rgb(255, 0, 0);
  const fw::Colour grey = 0x00ECECEC;
  grid.SetBackColour(c.range, grey);
  grid.SetTextColour(c.range, red);
  grid.SetReadOnly(c.range, true);
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int col = 0; col < grid.ColCount(); ++col) {
      const bool in = c.cells.count({r, col}) > 0;
      EXPECT_EQ(grid.CellBackColour(r, col), in ? grey : fw::kDefaultColour) << r << "," << col;
      EXPECT_EQ(grid.CellTextColour(r, col), in ? red : fw::kDefaultColour) << r << "," << col;
      EXPECT_EQ(grid.CellReadOnly(r, col), in || r == 0) << r << "," << col;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, GridRectangles,
    ::testing::Values(
        RectCase{"SingleCell", fw::CellRange::Cell(1, 1), {{1, 1}}},
        RectCase{"HeaderCell", {0, 0, std::nullopt, std::nullopt}, {{0, 0}}},
        RectCase{"ColumnOfRows", fw::CellRange::Rows(1, 2, 0), {{1, 0}, {2, 0}}},
        RectCase{"OmittedLastColumnIsTheFirst", {1, 1, 2, std::nullopt}, {{1, 1}, {2, 1}}},
        RectCase{"CutAtLastRowAndColumn", {1, 0, 50, 9}, {{1, 0}, {1, 1}, {2, 0}, {2, 1}}},
        RectCase{"StartPastLastRow", {3, 0, 5, 1}, {}},
        RectCase{"StartPastLastColumn", {0, 2, 2, 3}, {}},
        RectCase{"NegativeStart", {-1, 0, 2, 1}, {}},
        RectCase{"EndRowBeforeStart", {2, 0, 1, 1}, {}},
        RectCase{"EndColumnBeforeStart", {1, 1, 2, 0}, {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(GridRows, HeaderCountsAndStaysWhileDataRowsComeAndGo) {
  Env env;
  fw::Grid& grid = *tw::grid;
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.ColCount(), 2);
  EXPECT_EQ(grid.AppendRow("x"), 1);
  EXPECT_EQ(grid.AppendRow("y"), 2);
  grid.SetCellText(2, 1, "z");
  grid.SetCellText(5, 0, "ignored");
  EXPECT_EQ(grid.CellText(2, 0), "y");
  EXPECT_EQ(grid.CellText(2, 1), "z");
  EXPECT_EQ(grid.CellText(9, 9), "");
  grid.DeleteRow(0);  // the header cannot be deleted
  grid.DeleteRow(7);
  EXPECT_EQ(grid.RowCount(), 3);
  grid.DeleteRow(1);
  EXPECT_EQ(grid.CellText(1, 0), "y");
  grid.DeleteDataRows();
  EXPECT_EQ(grid.RowCount(), 1);
  tw::window->Destroy();
  tw::window->Load();
  EXPECT_EQ(grid.RowCount(), 1);
}

// ---- Edit bytes -------------------------------------------------------------

class EditBytes : public ::testing::TestWithParam<std::string> {};

TEST_P(EditBytes, ComeBackExactlyAsWrittenOrTyped) {
  Env env;
  const std::string& bytes = GetParam();
  tw::edit->SetText(bytes);
  EXPECT_EQ(tw::edit->Text(), bytes);
  tw::edit->SetText("other");
  EXPECT_TRUE(env.h.Type("TestWindow", "编辑框", bytes));
  EXPECT_EQ(tw::edit->Text(), bytes);
}

INSTANTIATE_TEST_SUITE_P(Table, EditBytes,
                         ::testing::Values(std::string("a\r\nb\r\n"), std::string("a\rb"),
                                           std::string("a\nb"), std::string("\tx\t\t"),
                                           std::string("\r\n\r\r\n\n"), std::string(),
                                           std::string("\x80\xFF\xD6\xD0", 4),
                                           std::string("nul\0byte", 8)),
                         test_names::Text());

// ---- Edit splices: a user's edit by the part it changed ---------------------

// A box that stores the user's line breaks as CR LF and one that keeps
// every byte, each raising TextChanged.
fw::WindowDef SpliceForm() {
  return fw::WindowDef("SpliceWindow", "拼接", 300, 200)
      .Units({
          fw::EditBox("脚本", {1, 1, 200, 90}, "").Multiline().CrLfLines(),
          fw::EditBox("多行", {1, 100, 200, 90}, "").Multiline(),
      })
      .Bind({
          {"脚本", fw::Event::TextChanged, &On<"TextChanged 脚本">},
          {"多行", fw::Event::TextChanged, &On<"TextChanged 多行">},
      });
}

class SpliceEnv {
 public:
  SpliceEnv() {
    Reset();
    fw::RegisterForm(SpliceForm());
    fw::GetWindow("SpliceWindow").Load();
  }
  ~SpliceEnv() { Reset(); }
  fw::Edit& Box(bool crlf) { return fw::Get<fw::Edit>("SpliceWindow", crlf ? "脚本" : "多行"); }
  fw::Headless h;
};

// A changed text counts one change, and the last splice, applied to the
// text before it, gives the text after it: a view that follows the
// splices holds the model's text.
void ExpectSpliceLeadsFrom(const std::string& before, std::uint64_t version, const fw::Edit& edit) {
  const fw::Edit::Splice& s = edit.LastSplice();
  const std::string after = edit.Text();
  ASSERT_EQ(s.version, version + (after != before ? 1 : 0));
  if (after == before) return;
  ASSERT_LE(s.offset + s.removed, before.size());
  ASSERT_LE(s.offset + s.inserted, after.size());
  EXPECT_EQ(before.substr(0, s.offset) + after.substr(s.offset, s.inserted) +
                before.substr(s.offset + s.removed),
            after);
}

struct SpliceCase {
  const char* name;
  bool crlf;
  std::string before;
  std::size_t offset, removed;
  std::string inserted;
  std::string after;
};

class EditSplices : public ::testing::TestWithParam<SpliceCase> {};

TEST_P(EditSplices, GiveTheTextOfTheWholeEditAndRaiseOnce) {
  const SpliceCase& c = GetParam();
  SpliceEnv env;
  fw::Edit& box = env.Box(c.crlf);
  box.SetText(c.before);
  Events().clear();
  const std::uint64_t version = box.LastSplice().version;
  ASSERT_TRUE(fw::input::ReplaceText(box, c.offset, c.removed, c.inserted));
  EXPECT_EQ(box.Text(), c.after);
  EXPECT_EQ(Events().size(), 1u);
  ExpectSpliceLeadsFrom(c.before, version, box);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditSplices,
    ::testing::Values(
        SpliceCase{"Typed", true, "a\r\nb", 1, 0, "x", "ax\r\nb"},
        SpliceCase{"EnterGivesCrLf", true, "ab", 1, 0, "\n", "a\r\nb"},
        SpliceCase{"PastedBreaksOfEveryKind", true, "ab", 1, 0, "1\n2\r3\r\n4\r",
                   "a1\r\n2\r\n3\r\n4\r\nb"},
        SpliceCase{"CrTypedBeforeAnLf", true, "a\r\nb", 1, 0, "\r", "a\r\n\r\nb"},
        SpliceCase{"TypedBetweenCrAndLf", true, "a\r\nb", 2, 0, "x", "a\r\nx\r\nb"},
        SpliceCase{"LfOfACrLfDeleted", true, "a\r\nb", 2, 1, "", "a\r\nb"},
        SpliceCase{"CrLfDeleted", true, "a\r\nb\r\n", 1, 2, "", "ab\r\n"},
        SpliceCase{"ProgramsLoneBreaksBecomeCrLf", true, "a\nb\rc", 5, 0, "d", "a\r\nb\r\ncd"},
        SpliceCase{"SameBytes", true, "ab", 1, 1, "b", "ab"},
        SpliceCase{"NothingChangedStillNormalises", true, "a\nb", 0, 0, "", "a\r\nb"},
        SpliceCase{"PlainBoxKeepsEveryByte", false, "x\ny\r", 1, 1, "\r", "x\ry\r"},
        SpliceCase{"ReplacedGbk", false, "\xD6\xD0\xCE\xC4", 2, 2, "\xD7\xD6", "\xD6\xD0\xD7\xD6"}),
    test_names::Named());

TEST(EditSplicesRefused, OutsideTheTextOrWhereTheUserCannotType) {
  SpliceEnv env;
  fw::Edit& box = env.Box(true);
  box.SetText("abc");
  Events().clear();
  EXPECT_FALSE(fw::input::ReplaceText(box, 4, 0, "x"));
  EXPECT_FALSE(fw::input::ReplaceText(box, 2, 2, "x"));
  box.Disable();
  EXPECT_FALSE(fw::input::ReplaceText(box, 0, 0, "x"));
  EXPECT_EQ(box.Text(), "abc");
  EXPECT_TRUE(Events().empty());
}

// Random chains of splices, with program writes between them, against the
// whole new text given to EditText: the same bytes after every edit, as the
// edit moves its gap from one splice to the next, or has it closed by a
// reader of the whole text now and then.
TEST(EditSplicesRandom, AgreeWithTheWholeTextEdit) {
  SpliceEnv env;
  const std::string pieces[] = {"a", "\r", "\n", "\r\n", "\xD6\xD0", "\xFF", "\t"};
  std::uint32_t seed = 12345;
  auto next = [&](std::uint32_t bound) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % bound;
  };
  auto randomText = [&](std::uint32_t most) {
    std::string t;
    for (std::uint32_t n = next(most + 1); n > 0; --n) t += pieces[next(std::size(pieces))];
    return t;
  };
  for (bool crlf : {true, false}) {
    fw::Edit& box = env.Box(crlf);
    for (int round = 0; round < 60; ++round) {
      box.SetText(randomText(12));
      for (int step = 0; step < 30; ++step) {
        const std::string before = box.Text();
        const std::uint64_t version = box.LastSplice().version;
        const std::size_t offset = next(static_cast<std::uint32_t>(before.size()) + 1);
        const std::size_t removed = next(static_cast<std::uint32_t>(before.size() - offset) + 1);
        const std::string inserted = randomText(4);
        std::string expected = before;
        expected.replace(offset, removed, inserted);
        if (crlf) expected = platform::WithCrLfLineBreaks(expected);
        ASSERT_TRUE(fw::input::ReplaceText(box, offset, removed, inserted));
        ASSERT_EQ(box.Text(), expected) << "round " << round << " step " << step;
        ExpectSpliceLeadsFrom(before, version, box);
        if (next(8) == 0) {
          ASSERT_EQ(box.TextRef(), expected);
        }
      }
    }
  }
}

// ---- Combo ------------------------------------------------------------------

struct PrefixCase {
  const char* name;
  std::string prefix;
  int selected;
};

class ComboPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(ComboPrefix, SelectsTheFirstMatchingItemOrKeepsTheSelection) {
  Env env;
  fw::Combo& combo = *tw::combo;
  combo.AddItem(Gbk("请选择一个技能"));
  combo.AddItem("Back Step");
  combo.AddItem(Gbk("中文"));
  combo.AddItem("\x81\x41x");  // a two-byte character whose trail byte is 'A'
  combo.AddItem("back");
  combo.SetCurrent(0);
  const PrefixCase& c = GetParam();
  EXPECT_EQ(combo.SelectPrefix(c.prefix), c.selected);
  EXPECT_EQ(combo.Current(), c.selected < 0 ? 0 : c.selected);
}

INSTANTIATE_TEST_SUITE_P(Table, ComboPrefix,
                         ::testing::Values(PrefixCase{"Exact", "Back", 1},
                                           PrefixCase{"LettersWithoutCase", "bACK s", 1},
                                           PrefixCase{"WholeTwoByteCharacter", Gbk("中"), 2},
                                           PrefixCase{"HalfACharacterNeverMatches", "\xD6", -1},
                                           PrefixCase{"TrailBytesAreNotLetters", "\x81\x61", -1},
                                           PrefixCase{"TrailByteExact", "\x81\x41", 3},
                                           PrefixCase{"LongerThanEveryItem", "Back Steps", -1},
                                           PrefixCase{"EmptyMatchesTheFirst", "", 0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ComboItems, DataSelectionAndRemoval) {
  Env env;
  fw::Combo& combo = *tw::combo;
  EXPECT_EQ(combo.AddItem("a", 7), 0);
  EXPECT_EQ(combo.AddItem("b", -2), 1);
  EXPECT_EQ(combo.ItemData(1), -2);
  EXPECT_EQ(combo.ItemData(2), 0);
  EXPECT_EQ(combo.ItemText(-1), "");
  EXPECT_EQ(combo.CurrentText(), "");
  combo.SetCurrent(1);
  EXPECT_EQ(combo.CurrentText(), "b");
  combo.SetCurrent(5);
  EXPECT_EQ(combo.Current(), -1);
  combo.SetCurrent(0);
  combo.RemoveAll();
  EXPECT_EQ(combo.Count(), 0);
  EXPECT_EQ(combo.Current(), -1);
}

// ---- Tabs, pictures ---------------------------------------------------------

TEST(TabsAndPictures, TakeTheirFormValuesAtEveryLoad) {
  Env env;
  EXPECT_EQ(tw::tabs->Count(), 2);
  EXPECT_EQ(tw::tabs->Caption(1), Gbk("第二页"));
  EXPECT_EQ(tw::tabs->Caption(2), "");
  EXPECT_EQ(tw::tabs->Current(), 0);
  tw::tabs->SetCurrent(1);
  tw::tabs->SetCurrent(2);
  EXPECT_EQ(tw::tabs->Current(), 1);
  tw::window->Destroy();
  tw::window->Load();
  EXPECT_EQ(tw::tabs->Current(), 0);
}

// ---- Rich edit --------------------------------------------------------------

TEST(RichEditText, LineBreaksCountOnceAndComeBackAsCrLf) {
  Env env;
  fw::RichEdit& box = *tw::rich;
  box.SetText("a\rb\nc\r\n" + Gbk("中") + "d");
  EXPECT_EQ(box.Text(), "a\r\nb\r\nc\r\n" + Gbk("中") + "d");
  EXPECT_EQ(box.Length(), 8);
  EXPECT_EQ(box.LineCount(), 4);
  EXPECT_EQ(box.LineStart(0), 0);
  EXPECT_EQ(box.LineStart(3), 6);
  EXPECT_EQ(box.LineStart(4), -1);
  EXPECT_EQ(box.LineStart(-1), -1);
  EXPECT_EQ(box.LineText(1), "b\r");
  EXPECT_EQ(box.LineText(3), Gbk("中") + "d");
  EXPECT_EQ(box.LineText(9), "");
  box.SetSelStart(7);
  EXPECT_EQ(box.CaretLine(), 3);

  box.SetText("ends\r\n");
  EXPECT_EQ(box.LineCount(), 2);
  EXPECT_EQ(box.LineText(1), "");
  box.SetText("");
  EXPECT_EQ(box.LineCount(), 1);
}

TEST(RichEditText, LongLinesAreCutAtAWholeCharacter) {
  Env env;
  std::string line;
  for (int i = 0; i < 4095; ++i) line += Gbk("中");  // 8,190 bytes
  tw::rich->SetText(line + "\r\nnext");
  EXPECT_EQ(tw::rich->LineText(0).size(), 8186u);
  tw::rich->SetText("a" + line);
  EXPECT_EQ(tw::rich->LineText(0), "a" + line.substr(0, 8186));
}

TEST(RichEditText, SelectionIsClampedToTheText) {
  Env env;
  fw::RichEdit& box = *tw::rich;
  box.SetText("abcdef");
  box.SetSelection(2, 3);
  box.SetSelStart(4);  // keeps the length, cut at the end
  EXPECT_EQ(box.SelStart(), 4);
  EXPECT_EQ(box.SelLength(), 2);
  box.SetSelLength(50);
  EXPECT_EQ(box.SelLength(), 2);
  box.SetSelection(-3, -1);
  EXPECT_EQ(box.SelStart(), 0);
  EXPECT_EQ(box.SelLength(), 0);
  box.SetSelStart(99);
  EXPECT_EQ(box.SelStart(), 6);
}

TEST(RichEditText, FindIgnoresLetterCaseButNotCharacters) {
  Env env;
  fw::RichEdit& box = *tw::rich;
  box.SetText(Gbk("技能描述(红色-动态，蓝色-静态) Level\r\nlevel"));
  EXPECT_EQ(box.Find(Gbk("红色-动态")), 5);
  EXPECT_EQ(box.Find(Gbk("蓝色-静态"), 0), 11);
  EXPECT_EQ(box.Find("LEVEL"), 18);
  EXPECT_EQ(box.Find("level", 19), 24);
  EXPECT_EQ(box.Find(")\r\nL", -5), -1);
  EXPECT_EQ(box.Find(") level\nL"), 16);
  EXPECT_EQ(box.Find("\xBA"), -1);  // half of 红
  EXPECT_EQ(box.Find(""), -1);
  EXPECT_EQ(box.Find("x"), -1);
}

TEST(RichEditFormats, SelectionFormatsKeepTheRestInTheDefault) {
  Env env;
  fw::RichEdit& box = *tw::rich;  // "红色和蓝色"
  fw::CharFormat base;
  base.face = Gbk("宋体");
  base.points = 11;
  base.bold = true;
  box.SetDefaultFormat(base);
  fw::CharFormat red = base;
  red.colour = fw::Rgb(255, 0, 0);
  box.SetSelection(box.Find(Gbk("红色")), 2);
  box.SetSelectionFormat(red);
  EXPECT_EQ(box.FormatAt(0), red);
  EXPECT_EQ(box.FormatAt(1), red);
  EXPECT_EQ(box.FormatAt(2), base);
  EXPECT_EQ(box.FormatAt(99), base);
  EXPECT_EQ(box.DefaultFormat(), base);

  // An empty selection's format applies to the next insertion there.
  fw::CharFormat blue = base;
  blue.colour = fw::Rgb(0, 0, 255);
  box.SetSelection(5, 0);
  box.SetSelectionFormat(blue);
  box.ReplaceSelection("!!");
  EXPECT_EQ(box.FormatAt(5), blue);
  EXPECT_EQ(box.SelStart(), 7);
  // Without one, inserted text takes the format of the character before.
  box.SetSelection(1, 1);
  box.ReplaceSelection("xy");
  EXPECT_EQ(box.Text(), Gbk("红") + "xy" + Gbk("和蓝色") + "!!");
  EXPECT_EQ(box.FormatAt(2), red);
  // A new default format covers the whole text.
  box.SetDefaultFormat(base);
  EXPECT_EQ(box.FormatAt(0), base);
  EXPECT_EQ(box.FormatAt(7), base);
}

// ---- Change notifications ---------------------------------------------------------

TEST(Notifications, OnlyWhenTheValueChangesAndOnlyWhileLoaded) {
  RecordingBackend backend;
  fw::Runtime runtime(backend);
  Reset();
  fw::RegisterForm(TestForm());
  tw::button->SetText("x");  // not loaded
  ASSERT_TRUE(tw::window->Load());
  backend.changes.clear();
  tw::button->SetText("x");
  tw::button->SetText("x");
  tw::button->SetVisible(true);    // already visible
  tw::edit->SetText(Gbk("初始"));  // identical: raises TextChanged, changes nothing shown
  tw::grid->SetBackColour(fw::CellRange::Cell(0, 0), fw::kDefaultColour);
  tw::window->SetLeft(tw::window->Left());
  EXPECT_EQ(backend.changes,
            (std::vector<std::string>{"按钮 " + std::to_string(static_cast<int>(fw::Prop::Text))}));
  EXPECT_EQ(Events(), (std::vector<std::string>{"Created", "TextChanged 编辑框"}));
  Reset();
}

// A grid write tells which cells or rows it changed, and nothing more: a
// view that shows cell by cell repaints exactly those.
TEST(Notifications, GridWritesNameTheCellsAndRowsTheyChanged) {
  RecordingBackend backend;
  fw::Runtime runtime(backend);
  Reset();
  fw::RegisterForm(TestForm());
  ASSERT_TRUE(tw::window->Load());
  fw::Grid& grid = *tw::grid;
  backend.changes.clear();
  grid.AppendRow("a");
  grid.AppendRow("b");
  grid.AppendRow("c");
  grid.SetCellText(0, 1, "header");
  grid.SetCellText(2, 0, "b");  // unchanged
  grid.SetCellText(2, 1, "x");
  grid.SetBackColour(fw::CellRange::Rows(1, 99, 0), 0x00ECECEC);
  grid.SetReadOnly({0, 0, 1, 5}, true);
  grid.SetTextColour(fw::CellRange::Cell(3, 1), fw::kDefaultColour);  // unchanged
  grid.DeleteRow(2);
  grid.DeleteDataRows();
  grid.DeleteDataRows();  // nothing left to delete
  EXPECT_EQ(backend.changes, (std::vector<std::string>{
                                 "表格 appended 1-1",
                                 "表格 appended 2-2",
                                 "表格 appended 3-3",
                                 "表格 cells 0-0 1-1",
                                 "表格 cells 2-2 1-1",
                                 "表格 cells 1-3 0-0",
                                 "表格 cells 0-1 0-1",
                                 "表格 removed 2-2",
                                 "表格 removed 1-2",
                             }));
  Reset();
}

}  // namespace
}  // namespace fwtest
