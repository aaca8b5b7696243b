// The header-field and mastery writers as pure functions over the
// fixtures, both forms: the slots and values come from the loaders' own
// readers, the grid rows as the loaders show them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/header_fields.h"
#include "engine/mastery.h"
#include "engine/side_writes.h"
#include "platform/gbk.h"
#include "tests/engine/fixtures.h"

namespace {

using engine_test::Fixture;
using platform::Gbk;

// `text` with the first values of a section replaced: the first copy of
// `tag`, or the copy after the [pvp] tag.
std::string WithSection(std::string text, ScriptForm form, std::string_view tag, bool arena,
                        const std::vector<std::string>& values) {
  const bool sp = form == ScriptForm::Sp;
  const std::string sought = (sp ? "[@05]" : "") + std::string(tag);
  const std::size_t from = arena ? text.find(sp ? "[@05][pvp]" : "[pvp]") : 0;
  std::size_t line = text.find("\r\n", text.find(sought, from)) + 2;
  if (sp) {
    for (const std::string& v : values) {
      const std::size_t end = text.find("\r\n", line);
      text.replace(line, end - line, "[@02]" + v);
      line += 7 + v.size();
    }
    return text;
  }
  for (const std::string& v : values) {
    const std::size_t end = text.find('\t', line);
    text.replace(line, end - line, v);
    line += v.size() + 1;
  }
  return text;
}

struct HeaderState {
  std::array<std::string, kHeaderSlotCount> slots;
  HeaderSpans spans;
  std::vector<GridRow> rows;
};

HeaderState ReadHeader(const std::string& script, ScriptForm form) {
  const HeaderFieldLoad load = ReadHeaderFields(script, form);
  HeaderState s{load.slots, load.spans, {}};
  for (const HeaderRowGroup& g : load.groups) {
    for (std::size_t i = 0; i < g.titles.size(); ++i) s.rows.push_back({g.titles[i], g.values[i]});
  }
  return s;
}

// Sets the values of the `nth` group of rows whose first row is `title`.
void Edit(std::vector<GridRow>& rows, std::string_view title, int nth,
          const std::vector<std::string>& values) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].title != Gbk(title) || nth-- > 0) continue;
    for (std::size_t i = 0; i < values.size(); ++i) rows[r + i].value = values[i];
    return;
  }
  ADD_FAILURE() << "no rows " << title;
}

struct HeaderEdit {
  const char* title;
  int nth;
  std::vector<std::string> values;
  const char* tag;  // the section that changes; nullptr: none
  bool arena;
};

struct HeaderCase {
  const char* name;
  const char* stem;
  std::vector<HeaderEdit> edits;
};

class HeaderWrite : public ::testing::TestWithParam<ScriptForm> {};

TEST_P(HeaderWrite, ChangesExactlyTheEditedSections) {
  const ScriptForm form = GetParam();
  const HeaderCase cases[] = {
      {"one value", "header_all_fields", {{"学习等级", 0, {"16"}, "[required level]", false}}},
      {"two values", "header_all_fields", {{"MP消耗1", 0, {"40", "5"}, "[consume MP]", false}}},
      {"both copies",
       "both_copies",
       {{"冷却时间", 1, {"11000", "9000"}, "[cool time]", true},
        {"施放时间", 0, {"550", "400"}, "[casting time]", false}}},
      {"arena copy only", "both_copies", {{"施放时间", 1, {"650", "600"}, "[casting time]", true}}},
      // A field after one that grows is still written where it was read.
      {"after a longer value",
       "header_all_fields",
       {{"学习等级", 0, {"150000"}, "[required level]", false},
        {"SP消耗", 0, {"21"}, "[purchase cost]", false}}},
      {"an arena copy after a longer first copy",
       "both_copies",
       {{"冷却时间", 0, {"90000", "7"}, "[cool time]", false},
        {"冷却时间", 1, {"11000", "9000"}, "[cool time]", true}}},
      {"nothing changed", "both_copies", {}},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string script = Fixture(c.stem, form);
    HeaderState s = ReadHeader(script, form);
    std::string expected = script;
    for (const HeaderEdit& e : c.edits) {
      Edit(s.rows, e.title, e.nth, e.values);
      if (e.tag != nullptr) expected = WithSection(expected, form, e.tag, e.arena, e.values);
    }
    const Rebuilt r = RebuildHeaderFields(script, form, s.slots, s.spans, s.rows, 30);
    ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
    EXPECT_EQ(r.text, expected);
  }
}

TEST_P(HeaderWrite, Refusals) {
  const ScriptForm form = GetParam();
  const std::string script = Fixture("header_all_fields", form);  // maximum level 30
  const HeaderState s = ReadHeader(script, form);
  auto refusal = [&](std::string_view title, const std::vector<std::string>& values,
                     std::optional<int> highest, const std::string& text) {
    std::vector<GridRow> rows = s.rows;
    Edit(rows, title, 0, values);
    return RebuildHeaderFields(text, form, s.slots, s.spans, rows, highest).refusal;
  };
  EXPECT_EQ(refusal("最大等级", {"30"}, 30, script), Refusal::None);
  EXPECT_EQ(refusal("最大等级", {"29"}, 30, script), Refusal::MaximumBelowMastery);
  // Without mastery rows there is no limit.
  EXPECT_EQ(refusal("最大等级", {"1"}, std::nullopt, script), Refusal::None);
  // Values are numbers of the field's kind; SP header values are integers.
  EXPECT_EQ(refusal("SP消耗", {"2x"}, 30, script), Refusal::NotInteger);
  EXPECT_EQ(refusal("SP消耗", {"2.5"}, 30, script), Refusal::NotInteger);
  EXPECT_EQ(refusal("MP消耗1", {"40", "[@02]5"}, 30, script), Refusal::NotInteger);
  EXPECT_EQ(refusal("SP消耗", {"2147483648"}, 30, script), Refusal::OutOfRange);
  EXPECT_EQ(refusal("SP消耗", {"-2147483648"}, 30, script), Refusal::None);
  EXPECT_EQ(refusal("SP消耗", {"2\t0"}, 30, script), Refusal::ForbiddenCharacter);
  EXPECT_EQ(refusal("学习等级", {"1\r\n"}, 30, script), Refusal::ForbiddenCharacter);
  // An emptied value would leave its line without it, in any place.
  EXPECT_EQ(refusal("SP消耗", {""}, 30, script), Refusal::EmptyValue);
  EXPECT_EQ(refusal("需要物品", {"3038", "1", ""}, 30, script), Refusal::EmptyValue);
  EXPECT_EQ(refusal("MP消耗1", {"\xA1\xA1 ", "5"}, 30, script), Refusal::EmptyValue);
  // A tag line with a blank after the tag is read, but not written over.
  std::string blank = script;
  const std::string tag = form == ScriptForm::Sp ? "[@05][required level]" : "[required level]";
  blank.insert(blank.find(tag) + tag.size(), " ");
  EXPECT_EQ(refusal("学习等级", {"16"}, 30, blank), Refusal::NotFound);
  EXPECT_EQ(refusal("学习等级", {"15"}, 30, blank), Refusal::None);
}

TEST_P(HeaderWrite, AValueLeftAloneNeedNotBeANumber) {
  // Whatever the script holds stays; only what the user typed is checked.
  const ScriptForm form = GetParam();
  std::string script = Fixture("header_all_fields", form);
  script = WithSection(script, form, "[consume MP]", false, {"22", "x9"});
  HeaderState s = ReadHeader(script, form);
  Edit(s.rows, "MP消耗1", 0, {"23", "x9"});
  const Rebuilt r = RebuildHeaderFields(script, form, s.slots, s.spans, s.rows, std::nullopt);
  ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
  EXPECT_EQ(r.text, WithSection(script, form, "[consume MP]", false, {"23", "x9"}));
}

TEST(HeaderWritePt, ADecimalStaysADecimal) {
  const std::string script = "[casting time]\r\n0.5\t300\t\r\n";
  struct Case {
    std::string typed;
    std::string written;  // empty: refused as `refusal`
    Refusal refusal;
  };
  const Case cases[] = {
      {"0.25", "0.25", Refusal::None},
      {" 1 ", "1.0", Refusal::None},
      {"-.5", "-0.5", Refusal::None},
      // Written as a number, not as typed.
      {"+.50", "0.5", Refusal::None},
      {"0030.250", "30.25", Refusal::None},
      {"007", "7.0", Refusal::None},
      {"-0.0", "0.0", Refusal::None},
      {"1e3", "", Refusal::NotNumber},
      {"3000000000.5", "", Refusal::OutOfRange},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    HeaderState s = ReadHeader(script, ScriptForm::Pt);
    Edit(s.rows, "施放时间", 0, {c.typed});
    const Rebuilt r =
        RebuildHeaderFields(script, ScriptForm::Pt, s.slots, s.spans, s.rows, std::nullopt);
    EXPECT_EQ(r.refusal, c.refusal);
    if (c.refusal == Refusal::None) {
      EXPECT_EQ(r.text, "[casting time]\r\n" + c.written + "\t300\t\r\n");
    }
  }
}

TEST_P(HeaderWrite, ATypedIntegerIsWrittenAsANumber) {
  // As the level, static and mastery writers write their numbers.
  const ScriptForm form = GetParam();
  const bool sp = form == ScriptForm::Sp;
  const std::string script =
      sp ? "[@05][purchase cost]\r\n[@02]5\r\n" : "[purchase cost]\r\n5\t\r\n";
  struct Case {
    const char* typed;
    const char* written;
  };
  const Case cases[] = {
      {"+7", "7"}, {"0030", "30"}, {"-007", "-7"}, {"-0", "0"}, {"\xA3\xAB\xA3\xB7", "7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    HeaderState s = ReadHeader(script, form);
    Edit(s.rows, "SP消耗", 0, {c.typed});
    const Rebuilt r = RebuildHeaderFields(script, form, s.slots, s.spans, s.rows, std::nullopt);
    ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
    const std::string written = c.written;
    EXPECT_EQ(r.text, sp ? "[@05][purchase cost]\r\n[@02]" + written + "\r\n"
                         : "[purchase cost]\r\n" + written + "\t\r\n");
  }
}

TEST_P(HeaderWrite, AValueNotTypedMayHoldAnything) {
  // A value the script holds as it stands is no input: a TAB, a line break
  // or blanks in it refuse no save of another value.
  const ScriptForm form = GetParam();
  const bool sp = form == ScriptForm::Sp;
  const std::string script =
      sp ? "[@05][consume MP]\r\n[@02]  \r\n[@02]5\r\n[@05][purchase cost]\r\n[@02]5\r\n"
         : "[cool time]\r\n1\t2\t\r\n[pvp]\r\n[cool time]\r\n7\t\r\n3\t[/pvp]\r\n"
           "[consume MP]\r\n  \t5\t\r\n[purchase cost]\r\n5\t\r\n";
  HeaderState s = ReadHeader(script, form);
  if (!sp) {
    // The arena copy's values run over two lines: its second holds a line break.
    ASSERT_EQ(s.slots[static_cast<std::size_t>(HeaderSlot::PvpCoolTime2)], "\r\n3");
  }
  Edit(s.rows, "MP消耗1", 0, {"", "6"});  // blanks emptied: still no value
  Edit(s.rows, "SP消耗", 0, {"7"});
  const Rebuilt r = RebuildHeaderFields(script, form, s.slots, s.spans, s.rows, std::nullopt);
  ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
  std::string expected = script;
  expected.replace(expected.find(sp ? "[@02]5\r\n[@05]" : "  \t5"), sp ? 6 : 4,
                   sp ? "[@02]6" : "  \t6");
  expected.replace(expected.rfind('5'), 1, "7");
  EXPECT_EQ(r.text, expected);
}

TEST(HeaderWritePt, AOneValueLineReadsAndWritesAlike) {
  // The value is the line's first one that holds more than blanks; blank
  // values before it and whatever follows it stay as they stand.
  struct Case {
    const char* line;
    const char* shown;
    const char* written;  // the line with the value typed as 31
  };
  const Case cases[] = {
      {"20\t  ", "20", "31\t  "},   {"\t5\t", "5", "\t31\t"}, {"30\t40\t", "30", "31\t40\t"},
      {"  \t5\t", "5", "  \t31\t"}, {"\t\t", "", "31\t\t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string line = c.line;
    const std::string script = "[maximum level]\r\n" + line + "\r\n[purchase cost]\r\n5\t\r\n";
    HeaderState s = ReadHeader(script, ScriptForm::Pt);
    ASSERT_EQ(s.rows.size(), 2u);
    EXPECT_EQ(s.rows[0].value, c.shown);
    // Another field is written, this one left alone.
    HeaderState other = s;
    Edit(other.rows, "SP消耗", 0, {"6"});
    const Rebuilt r =
        RebuildHeaderFields(script, ScriptForm::Pt, s.slots, s.spans, other.rows, std::nullopt);
    ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
    EXPECT_EQ(r.text, "[maximum level]\r\n" + line + "\r\n[purchase cost]\r\n6\t\r\n");
    // This one written.
    Edit(s.rows, "最大等级", 0, {"31"});
    const Rebuilt w =
        RebuildHeaderFields(script, ScriptForm::Pt, s.slots, s.spans, s.rows, std::nullopt);
    ASSERT_TRUE(w.Accepted()) << static_cast<int>(w.refusal);
    EXPECT_EQ(w.text,
              "[maximum level]\r\n" + std::string(c.written) + "\r\n[purchase cost]\r\n5\t\r\n");
  }
}

TEST_P(HeaderWrite, AnArenaRowNeverLandsInAnotherCopy) {
  const ScriptForm form = GetParam();
  // Two copies of [cool time] and no [pvp]: the loader shows no arena pair;
  // rows that claim one are refused rather than written into a copy.
  const std::string script = Fixture("header_copies_without_pvp", form);
  HeaderState s = ReadHeader(script, form);
  s.rows.push_back({Gbk("冷却时间"), "1"});
  s.rows.push_back({Gbk("[决斗场]"), "2"});
  EXPECT_EQ(RebuildHeaderFields(script, form, s.slots, s.spans, s.rows, std::nullopt).refusal,
            Refusal::NotFound);
}

INSTANTIATE_TEST_SUITE_P(BothForms, HeaderWrite, ::testing::Values(ScriptForm::Sp, ScriptForm::Pt),
                         [](const auto& param) {
                           return param.param == ScriptForm::Sp ? "Sp" : "Pt";
                         });

TEST(HeaderWriteSp, AFieldIsWrittenWhereItWasReadOrNotAtAll) {
  // The first [maximum level] tag stands inside the value line of
  // [required level], so the loader reads 最大等级 from the line after that
  // one. Writing 学习等级 takes that tag away: 最大等级 then has no place
  // left where it was read, and must not land in the copy further on.
  const std::string script =
      "[@05][required level]\r\n[@02]5[@05][maximum level]\r\n[@02]30\r\n"
      "[@05][maximum level]\r\n[@02]30\r\n";
  HeaderState s = ReadHeader(script, ScriptForm::Sp);
  ASSERT_EQ(s.rows.size(), 2u);
  Edit(s.rows, "最大等级", 0, {"31"});
  const Rebuilt alone = RebuildHeaderFields(script, ScriptForm::Sp, s.slots, s.spans, s.rows, {});
  ASSERT_TRUE(alone.Accepted()) << static_cast<int>(alone.refusal);
  EXPECT_EQ(alone.text,
            "[@05][required level]\r\n[@02]5[@05][maximum level]\r\n[@02]31\r\n"
            "[@05][maximum level]\r\n[@02]30\r\n");
  Edit(s.rows, "学习等级", 0, {"6"});
  const Rebuilt both = RebuildHeaderFields(script, ScriptForm::Sp, s.slots, s.spans, s.rows, {});
  EXPECT_EQ(both.refusal, Refusal::NotFound);
  EXPECT_EQ(both.text, "");
}

TEST(HeaderWritePt, ALineWithTooFewValuesIsNotWrittenOver) {
  // One value where two are needed: the rows show empty values, which must
  // not pass for the line's content.
  const std::string script = "[consume MP]\r\n\t\r\n";
  HeaderState s = ReadHeader(script, ScriptForm::Pt);
  ASSERT_EQ(s.rows.size(), 2u);
  Edit(s.rows, "MP消耗1", 0, {"10", ""});
  EXPECT_EQ(
      RebuildHeaderFields(script, ScriptForm::Pt, s.slots, s.spans, s.rows, std::nullopt).refusal,
      Refusal::NotFound);
}

TEST(HeaderFieldsOnOneLine, AFieldLeftAloneNeverChangesWithTheOther) {
  // Two tags on one line: both fields read the values of the next line, so
  // writing one would change the other too; nothing is written.
  struct Case {
    ScriptForm form;
    std::string script;
  };
  const Case cases[] = {
      {ScriptForm::Pt, "[maximum level][required level]\r\n20\t\r\n"},
      {ScriptForm::Sp, "[@05][maximum level][@05][required level]\r\n[@02]20\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    HeaderState s = ReadHeader(c.script, c.form);
    ASSERT_EQ(s.rows.size(), 2u);
    Edit(s.rows, "学习等级", 0, {"5"});
    const Rebuilt r = RebuildHeaderFields(c.script, c.form, s.slots, s.spans, s.rows, std::nullopt);
    EXPECT_EQ(r.refusal, Refusal::NotFound);
    EXPECT_EQ(r.text, "");
  }
}

// ---- Mastery levels ------------------------------------------------------------

struct MasteryCase {
  const char* name;
  const char* stem;
  std::vector<std::string> cells;  // column 1 of 精通表格
  std::optional<int> maximum;
  std::vector<std::string> after;  // every value of the section; empty: refused
  Refusal refusal = Refusal::None;
};

class MasteryWrite : public ::testing::TestWithParam<ScriptForm> {};

TEST_P(MasteryWrite, Table) {
  const ScriptForm form = GetParam();
  const MasteryCase cases[] = {
      {"growtype",
       "header_all_fields",
       {"30", "31", "30", "35", "30"},
       40,
       {"30", "31", "30", "35", "30"}},
      {"equal to the maximum",
       "header_all_fields",
       {"40", "30", "30", "35", "30"},
       40,
       {"40", "30", "30", "35", "30"}},
      {"no maximum row",
       "header_all_fields",
       {"99", "30", "30", "35", "30"},
       std::nullopt,
       {"99", "30", "30", "35", "30"}},
      // The k-th value above 0 takes row k.
      {"class-special", "mastery_second_growtype", {"31", "16"}, 40, {"0", "-1", "31", "16"}},
      {"an empty cell keeps its value",
       "mastery_empty_value",
       {"21", "", "", "20", "20"},
       40,
       {"21", "", "25", "20", "20"}},
      {"full-width digits",
       "header_all_fields",
       {"３２", "30", "30", "35", "30"},
       40,
       {"32", "30", "30", "35", "30"}},
      {"above the maximum",
       "header_all_fields",
       {"41", "30", "30", "35", "30"},
       40,
       {},
       Refusal::MasteryAboveMaximum},
      {"not an integer",
       "header_all_fields",
       {"3.5", "30", "30", "35", "30"},
       40,
       {},
       Refusal::NotInteger},
      {"a TAB",
       "header_all_fields",
       {"30\t", "30", "30", "35", "30"},
       40,
       {},
       Refusal::ForbiddenCharacter},
      {"fewer rows than values", "header_all_fields", {"30", "30"}, 40, {}, Refusal::CountMismatch},
  };
  for (const MasteryCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string script = Fixture(c.stem, form);
    const MasterySection section =
        form == ScriptForm::Sp ? ReadMasterySectionSp(script) : ReadMasterySectionPt(script);
    std::vector<std::string> cells;
    for (const std::string& cell : c.cells) cells.push_back(Gbk(cell));
    const Rebuilt r = RebuildMasteryLevels(script, form, section.span, section.second,
                                           section.values, cells, c.maximum);
    if (c.after.empty()) {
      EXPECT_EQ(r.refusal, c.refusal);
      continue;
    }
    ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
    const char* tag =
        section.second ? "[second growtype maximum level]" : "[growtype maximum level]";
    EXPECT_EQ(r.text, WithSection(script, form, tag, false, c.after));
  }
}

TEST_P(MasteryWrite, ASectionWrittenOtherwiseIsNotFound) {
  const ScriptForm form = GetParam();
  std::string script = Fixture("header_all_fields", form);
  const std::string tag =
      form == ScriptForm::Sp ? "[@05][growtype maximum level]" : "[growtype maximum level]";
  // A blank line after the tag line (SP), a blank after the tag (PT).
  script.insert(script.find(tag) + tag.size(), form == ScriptForm::Sp ? "\r\n" : " ");
  const MasterySection section =
      form == ScriptForm::Sp ? ReadMasterySectionSp(script) : ReadMasterySectionPt(script);
  std::vector<std::string> cells = section.values;
  EXPECT_EQ(RebuildMasteryLevels(script, form, section.span, false, section.values, cells, 40).text,
            script);
  cells[0] = "31";
  EXPECT_EQ(
      RebuildMasteryLevels(script, form, section.span, false, section.values, cells, 40).refusal,
      Refusal::NotFound);
}

INSTANTIATE_TEST_SUITE_P(BothForms, MasteryWrite, ::testing::Values(ScriptForm::Sp, ScriptForm::Pt),
                         [](const auto& param) {
                           return param.param == ScriptForm::Sp ? "Sp" : "Pt";
                         });

}  // namespace
