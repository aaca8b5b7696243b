// The writers of a bulk modification as pure functions: whole texts in,
// whole texts out, both forms from one table of cases.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/rebuild.h"
#include "engine/static_data.h"
#include "engine/typed_number.h"
#include "platform/gbk.h"

namespace {

using platform::Gbk;

// ---- Typed numbers -----------------------------------------------------------

struct TypedCase {
  const char* cell;  // UTF-8
  TypedKind kind;
};

TEST(TypedNumber, KindsAfterFoldingAndTrimming) {
  const TypedCase cases[] = {
      {"", TypedKind::Empty},        {"   ", TypedKind::Empty},        {"　", TypedKind::Empty},
      {"15", TypedKind::Integer},    {" -3 ", TypedKind::Integer},     {"+7", TypedKind::Integer},
      {"１５", TypedKind::Integer},  {"－３", TypedKind::Integer},     {"0.29", TypedKind::Decimal},
      {".5", TypedKind::Decimal},    {"5.", TypedKind::Decimal},       {"abc", TypedKind::Invalid},
      {"5a", TypedKind::Invalid},    {"1e3", TypedKind::Invalid},      {"--1", TypedKind::Invalid},
      {".", TypedKind::Invalid},     {"5 5", TypedKind::Invalid},      {"五", TypedKind::Invalid},
      {"5\t", TypedKind::Forbidden}, {"5\r\n6", TypedKind::Forbidden}, {"\n", TypedKind::Forbidden},
  };
  for (const TypedCase& c : cases) {
    EXPECT_EQ(ReadTypedNumber(Gbk(c.cell)).kind, c.kind) << c.cell;
  }
  EXPECT_EQ(AsInt32(ReadTypedNumber(Gbk("－１５")).value), -15);
  EXPECT_EQ(AsInt32(ReadTypedNumber("2147483648").value), std::nullopt);
  EXPECT_EQ(AsInt32(ReadTypedNumber("-2147483648").value), -2147483647 - 1);
}

struct ProductCase {
  const char* stored;
  const char* input;
  std::optional<std::int32_t> whole;
  const char* text;  // "%.13g" of the exact product, "" when out of range
};

TEST(TypedNumber, ExactProducts) {
  const ProductCase cases[] = {
      {"100", "0.29", 29, "29"},
      {"-7", "1.5", -10, "-10.5"},
      {"3", "0.1", 0, "0.3"},
      {"0.1", "3", 0, "0.3"},
      {"abc", "2", 0, "0"},
      {"1.5e2", "2", 300, "300"},
      {"2147483647", "1", 2147483647, "2147483647"},
      {"2147483647", "1.5", std::nullopt, ""},
      {"-2147483648", "1", -2147483647 - 1, "-2147483648"},
      // Written out, never with an exponent, as the scripts hold decimals.
      {"1", "0.00000000000000000001", 0, "0.00000000000000000001"},
      {"5", "0.000001", 0, "0.000005"},
      {"-0.5", "0.00001", 0, "-0.000005"},
      {"1.234567890123456", "0.00001", 0, "0.00001234567890123"},
      {"1", "0.0001", 0, "0.0001"},
      {"2147483647", "0.999999999999", 2147483646, "2147483646.998"},
  };
  for (const ProductCase& c : cases) {
    const Decimal product = Multiply(LeadingDecimal(c.stored), ReadTypedNumber(c.input).value);
    EXPECT_EQ(TruncateToInt32(product), c.whole) << c.stored << " x " << c.input;
    EXPECT_EQ(DecimalToText(product).value_or(""), c.text) << c.stored << " x " << c.input;
  }
}

// ---- Level tables -------------------------------------------------------------

// A value of a table in both forms: "10" is an integer, a text holding "."
// a decimal, a text beginning "`" a string.
std::string Stored(ScriptForm form, const std::string& v) {
  if (form == ScriptForm::Pt) return v;
  if (v.starts_with('`')) return "[@07]" + v.substr(1);
  return (v.find('.') != std::string::npos ? "[@04]" : "[@02]") + v;
}

std::string SpBlock(int perLevel, const std::vector<std::string>& values) {
  std::string block = "[@05][level info]\r\n[@02]" + std::to_string(perLevel);
  for (const std::string& v : values) block += "\r\n" + Stored(ScriptForm::Sp, v);
  return block + "\r\n[@05][/level info]";
}

std::string PtLine(int perLevel, const std::vector<std::string>& values) {
  std::string line = std::to_string(perLevel) + "\t";
  for (const std::string& v : values) line += v + "\t";
  return line;
}

// A script around one level table, and the table as the read records it.
struct Script {
  std::string text;
  LevelTable table;
};

constexpr std::string_view kSpHead = "[@05][name]\r\n[@07]测试\r\n[@05][type]\r\n[@07]active\r\n";
constexpr std::string_view kSpTail = "\r\n[@05][cool time]\r\n[@02]100\r\n[@02]100\r\n";
constexpr std::string_view kPtHead = "[name]\r\n`测试`\t\r\n[type]\r\n`active`\t\r\n";
constexpr std::string_view kPtTail = "\r\n[cool time]\r\n100\t100\t\r\n";

// The script with the table written from `values`; `before` is put in
// front of the shown copy (another copy, say).
std::string ScriptText(ScriptForm form, int perLevel, const std::vector<std::string>& values,
                       std::string_view before = {}, std::string_view tail = {}) {
  if (form == ScriptForm::Sp) {
    return Gbk(kSpHead) + std::string(before) + SpBlock(perLevel, values) +
           std::string(tail.empty() ? kSpTail : tail);
  }
  return Gbk(kPtHead) + std::string(before) + "[level info]\r\n" + PtLine(perLevel, values) +
         "\r\n[/level info]" + std::string(tail.empty() ? kPtTail : tail);
}

Script MakeScript(ScriptForm form, int perLevel, const std::vector<std::string>& values,
                  std::string_view before = {}) {
  Script s;
  s.text = ScriptText(form, perLevel, values, before);
  s.table.valuesPerLevel = perLevel;
  s.table.levelCount = perLevel > 0 ? static_cast<int>(values.size()) / perLevel : 0;
  for (const std::string& v : values) s.table.values.push_back(Stored(form, v));
  const std::string head = Gbk(form == ScriptForm::Sp ? kSpHead : kPtHead) + std::string(before);
  if (form == ScriptForm::Sp) {
    s.table.block = {static_cast<int>(head.size()) + 1,
                     static_cast<int>(SpBlock(perLevel, values).size())};
  } else {
    s.table.block = {static_cast<int>(head.size() + std::string("[level info]\r\n").size()) + 1,
                     static_cast<int>(PtLine(perLevel, values).size())};
  }
  return s;
}

struct LevelCase {
  const char* name;
  ModifyMode mode;
  int low;
  int high;
  std::vector<std::string> inputs;
  std::vector<std::string> bases;
  int perLevel;
  std::vector<std::string> before;
  std::vector<std::string> after;  // empty: refused with `refusal`
  Refusal refusal = Refusal::None;
};

const std::vector<std::string> kThreeLevels = {"10", "20", "11", "21", "12", "22"};
const std::vector<std::string> kFiveLevels = {"10",  "100", "12",  "100", "14",
                                              "100", "16",  "100", "18",  "100"};

std::vector<LevelCase> LevelCases() {
  using M = ModifyMode;
  return {
      // The worked example: range 2..3, an input in row 1 only.
      {"add", M::Add, 2, 3, {"5", ""}, {}, 2, kThreeLevels, {"10", "20", "16", "21", "17", "22"}},
      {"assign",
       M::Assign,
       2,
       3,
       {"30", ""},
       {},
       2,
       kThreeLevels,
       {"10", "20", "30", "21", "30", "22"}},
      {"ratio",
       M::Ratio,
       2,
       3,
       {"1.5", ""},
       {},
       2,
       kThreeLevels,
       {"10", "20", "16", "21", "18", "22"}},
      {"add negative",
       M::Add,
       1,
       3,
       {"", "-25"},
       {},
       2,
       kThreeLevels,
       {"10", "-5", "11", "-4", "12", "-3"}},
      {"add full-width",
       M::Add,
       1,
       1,
       {"１５", ""},
       {},
       2,
       kThreeLevels,
       {"25", "20", "11", "21", "12", "22"}},
      {"assign trims",
       M::Assign,
       3,
       3,
       {" 7 ", "+8"},
       {},
       2,
       kThreeLevels,
       {"10", "20", "11", "21", "7", "8"}},
      {"one level at the top",
       M::Assign,
       3,
       3,
       {"0", ""},
       {},
       2,
       kThreeLevels,
       {"10", "20", "11", "21", "0", "22"}},
      {"range beyond the table",
       M::Assign,
       0,
       999,
       {"1", "2"},
       {},
       2,
       kThreeLevels,
       {"1", "2", "1", "2", "1", "2"}},
      {"ratio exact", M::Ratio, 1, 1, {"0.29", ""}, {}, 1, {"100", "100"}, {"29", "100"}},
      {"ratio toward zero", M::Ratio, 1, 2, {"1.5"}, {}, 1, {"-7", "7"}, {"-10", "10"}},
      {"ratio integer input", M::Ratio, 1, 2, {"3"}, {}, 1, {"-7", "7"}, {"-21", "21"}},
      // Decimal values: only the multiply mode changes them, as decimals;
      // the other modes refuse an input that falls on one in the range.
      {"ratio decimal",
       M::Ratio,
       1,
       2,
       {"3", "2"},
       {},
       2,
       {"0.5", "10", "1.25", "10"},
       {"1.5", "20", "3.75", "20"}},
      {"add beside decimals",
       M::Add,
       1,
       2,
       {"", "2"},
       {},
       2,
       {"0.5", "10", "1.25", "10"},
       {"0.5", "12", "1.25", "12"}},
      {"add on decimals",
       M::Add,
       1,
       2,
       {"3", "2"},
       {},
       2,
       {"0.5", "10", "1.25", "10"},
       {},
       Refusal::DecimalValue},
      {"assign on a decimal at one level of the range",
       M::Assign,
       1,
       2,
       {"3", ""},
       {},
       2,
       {"5", "10", "1.25", "10"},
       {},
       Refusal::DecimalValue},
      {"assign where the decimal lies outside the range",
       M::Assign,
       2,
       2,
       {"3", ""},
       {},
       2,
       {"0.5", "10", "1", "10"},
       {"0.5", "10", "3", "10"}},
      {"increment on decimals",
       M::Increment,
       1,
       2,
       {"", "1"},
       {"5", "10"},
       2,
       {"5", "0.5", "6", "1.25"},
       {},
       Refusal::DecimalValue},
      {"increment from a decimal base",
       M::Increment,
       1,
       2,
       {"", "1"},
       {"5", "0.5"},
       2,
       {"5", "0.5", "6", "1.25"},
       {},
       Refusal::DecimalBase},
      // Strings and links are never changed: an input on one is refused.
      {"assign beside strings", M::Assign, 1, 1, {"", "2"}, {}, 2, {"`x`", "10"}, {"`x`", "2"}},
      {"assign on a string",
       M::Assign,
       1,
       1,
       {"3", "2"},
       {},
       2,
       {"`x`", "10"},
       {},
       Refusal::NotFound},
      {"ratio on a string", M::Ratio, 1, 1, {"2", ""}, {}, 2, {"`x`", "10"}, {}, Refusal::NotFound},
      // Increment: the worked example of a five-level table.
      {"increment 1..5",
       M::Increment,
       1,
       5,
       {"5", ""},
       {"10", "100"},
       2,
       kFiveLevels,
       {"10", "100", "15", "100", "20", "100", "25", "100", "30", "100"}},
      {"increment 3..5",
       M::Increment,
       3,
       5,
       {"5", ""},
       {"10", "100"},
       2,
       kFiveLevels,
       {"10", "100", "12", "100", "15", "100", "20", "100", "25", "100"}},
      {"increment 2..4",
       M::Increment,
       2,
       4,
       {"5", ""},
       {"10", "100"},
       2,
       kFiveLevels,
       {"10", "100", "15", "100", "20", "100", "25", "100", "18", "100"}},
      {"increment 1..1", M::Increment, 1, 1, {"5", ""}, {"10", "100"}, 2, kFiveLevels, kFiveLevels},
      {"increment typed base",
       M::Increment,
       1,
       3,
       {"5", ""},
       {"20", "100"},
       2,
       kFiveLevels,
       {"20", "100", "25", "100", "30", "100", "16", "100", "18", "100"}},
      {"increment falling",
       M::Increment,
       1,
       3,
       {"-3", ""},
       {"10", "100"},
       2,
       kFiveLevels,
       {"10", "100", "7", "100", "4", "100", "16", "100", "18", "100"}},
      // Nothing to change: the text comes back as it was.
      {"empty inputs", M::Add, 1, 3, {"", ""}, {}, 2, kThreeLevels, kThreeLevels},
      {"empty range", M::Add, 30, 40, {"5", "5"}, {}, 2, kThreeLevels, kThreeLevels},
      // Refusals.
      {"letters", M::Add, 1, 3, {"abc", ""}, {}, 2, kThreeLevels, {}, Refusal::NotInteger},
      {"decimal input", M::Assign, 1, 3, {"", "1.5"}, {}, 2, kThreeLevels, {}, Refusal::NotInteger},
      {"multiplier letters",
       M::Ratio,
       1,
       3,
       {"x2", ""},
       {},
       2,
       kThreeLevels,
       {},
       Refusal::NotNumber},
      {"tab in input",
       M::Ratio,
       1,
       3,
       {"2\t", "abc"},
       {},
       2,
       kThreeLevels,
       {},
       Refusal::ForbiddenCharacter},
      {"sum overflows", M::Add, 1, 1, {"1"}, {}, 1, {"2147483647"}, {}, Refusal::OutOfRange},
      {"input overflows", M::Assign, 1, 1, {"2147483648"}, {}, 1, {"1"}, {}, Refusal::OutOfRange},
      {"product overflows",
       M::Ratio,
       1,
       1,
       {"2.5"},
       {},
       1,
       {"1000000000"},
       {},
       Refusal::OutOfRange},
      {"series overflows",
       M::Increment,
       1,
       3,
       {"2000000000"},
       {"1"},
       1,
       {"1", "2", "3"},
       {},
       Refusal::OutOfRange},
      // A stored integer that the mode reads is read whole, never cut to 32 bits.
      {"add to a value beyond 32 bits",
       M::Add,
       1,
       1,
       {"0"},
       {},
       1,
       {"4294967296"},
       {},
       Refusal::OutOfRange},
      {"add to a negative value beyond 32 bits",
       M::Add,
       1,
       1,
       {"0"},
       {},
       1,
       {"-99999999999"},
       {},
       Refusal::OutOfRange},
      {"a sum back in range from a value beyond it",
       M::Add,
       1,
       1,
       {"-5"},
       {},
       1,
       {"2147483652"},
       {},
       Refusal::OutOfRange},
      {"ratio of a value beyond 32 bits",
       M::Ratio,
       1,
       1,
       {"1"},
       {},
       1,
       {"99999999999"},
       {},
       Refusal::OutOfRange},
      {"a base beyond 32 bits",
       M::Increment,
       1,
       2,
       {"1"},
       {"99999999999"},
       1,
       {"99999999999", "5"},
       {},
       Refusal::OutOfRange},
      {"a value beyond 32 bits outside the range",
       M::Add,
       2,
       2,
       {"1"},
       {},
       1,
       {"99999999999", "5"},
       {"99999999999", "6"}},
      {"assign over a value beyond 32 bits", M::Assign, 1, 1, {"5"}, {}, 1, {"99999999999"}, {"5"}},
      {"empty base",
       M::Increment,
       1,
       3,
       {"5", ""},
       {"10", ""},
       2,
       kThreeLevels,
       {},
       Refusal::EmptyBase},
      {"base not a number",
       M::Increment,
       1,
       3,
       {"5", ""},
       {"abc", "20"},
       2,
       kThreeLevels,
       {},
       Refusal::NotInteger},
      {"no table", M::Add, 1, 3, {"5"}, {}, 0, {"1", "2"}, {}, Refusal::NoLevelTable},
      // A count far beyond the values: no whole level, nothing to change.
      {"absurd count", M::Add, 1, 3, {"5"}, {}, 2000000000, {"1", "2"}, {"1", "2"}},
  };
}

class LevelRebuild : public ::testing::TestWithParam<ScriptForm> {};

TEST_P(LevelRebuild, WholeTexts) {
  const ScriptForm form = GetParam();
  for (const LevelCase& c : LevelCases()) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> inputs;
    for (const std::string& i : c.inputs) inputs.push_back(Gbk(i));
    const Script s = MakeScript(form, c.perLevel, c.before);
    const LevelChange change{c.low, c.high, inputs, c.bases};
    const Rebuilt r = RebuildLevelInfo(s.text, form, c.mode, s.table, change);
    if (c.after.empty()) {
      EXPECT_EQ(r.refusal, c.refusal);
      EXPECT_TRUE(r.text.empty());
      continue;
    }
    ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
    EXPECT_EQ(r.text, ScriptText(form, c.perLevel, c.after));
  }
}

TEST_P(LevelRebuild, OnlyTheShownCopyChanges) {
  const ScriptForm form = GetParam();
  const bool sp = form == ScriptForm::Sp;
  // An identical copy of the table stands before the shown one.
  const std::string other =
      sp ? SpBlock(2, kThreeLevels) + "\r\n[@05][pvp]\r\n"
         : "[level info]\r\n" + PtLine(2, kThreeLevels) + "\r\n[/level info]\r\n[pvp]\r\n";
  const Script s = MakeScript(form, 2, kThreeLevels, other);
  const Rebuilt r =
      RebuildLevelInfo(s.text, form, ModifyMode::Assign, s.table, {1, 1, {"9", ""}, {}});
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(r.text, ScriptText(form, 2, {"9", "20", "11", "21", "12", "22"}, other));
}

TEST_P(LevelRebuild, ATableWrittenOtherwiseIsNotFound) {
  const ScriptForm form = GetParam();
  Script s = MakeScript(form, 2, kThreeLevels);
  // The recorded place no longer holds the table as it was read: a blank
  // line inside the SP block, a PT line without its last TAB.
  const std::size_t at = static_cast<std::size_t>(s.table.block.start) - 1;
  if (form == ScriptForm::Sp) {
    s.text.insert(at + std::string("[@05][level info]").size(), "\r\n");
    s.table.block.length += 2;
  } else {
    s.text.erase(at + static_cast<std::size_t>(s.table.block.length) - 1, 1);
    s.table.block.length -= 1;
  }
  const LevelChange change{1, 3, {"1", ""}, {}};
  EXPECT_EQ(RebuildLevelInfo(s.text, form, ModifyMode::Add, s.table, change).refusal,
            Refusal::NotFound);
  // With nothing to change, nothing needs to be found.
  const Rebuilt none = RebuildLevelInfo(s.text, form, ModifyMode::Add, s.table, {1, 3, {}, {}});
  ASSERT_TRUE(none.Accepted());
  EXPECT_EQ(none.text, s.text);
}

INSTANTIATE_TEST_SUITE_P(BothForms, LevelRebuild, ::testing::Values(ScriptForm::Sp, ScriptForm::Pt),
                         [](const auto& param) {
                           return param.param == ScriptForm::Sp ? "Sp" : "Pt";
                         });

// The PT table is written from where its count token starts, the token
// kept as it stands: the reader takes its leading number, whatever follows
// it up to the TAB. The values must follow it there, or nothing is written.
TEST(LevelRebuildPt, KeepsTheCountTokenAndWritesTheValuesAfterIt) {
  struct Case {
    std::string line;   // the values line as the script holds it
    std::string after;  // empty: not found
  };
  const Case cases[] = {
      {"3 \t3\t3\t3\t3\t", "3 \t9\t3\t3\t3\t"},
      {"3x\t3\t3\t3\t", "3x\t9\t3\t3\t"},
      {"03\t3\t3\t3\t", "03\t9\t3\t3\t"},
      {" +3\t3\t3\t3\t", " +3\t9\t3\t3\t"},
      {"\xA3\xB3\t3\t3\t3\t", "\xA3\xB3\t9\t3\t3\t"},  // a full-width 3
      {"3|3\t3\t3\t", "3|9\t3\t3\t"},
      {"3\t3|3|3\t", ""},
      {"3\t3\t3\t3", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.line));
    const std::string head = Gbk(kPtHead) + "[level info]\r\n";
    const std::string tail = "\r\n[/level info]" + std::string(kPtTail);
    LevelTable table;
    table.valuesPerLevel = 3;
    table.levelCount = 1;
    table.values = {"3", "3", "3"};
    table.block = {static_cast<int>(head.size()) + 1, static_cast<int>(c.line.size())};
    const Rebuilt r = RebuildLevelInfoAssignPt(head + c.line + tail, table, {1, 1, {"9"}, {}});
    if (c.after.empty()) {
      EXPECT_EQ(r.refusal, Refusal::NotFound);
      continue;
    }
    ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
    EXPECT_EQ(r.text, head + c.after + tail);
  }
}

TEST(LevelRebuildSp, PassesTheFloatPatch) {
  const std::string tail =
      "\r\n[@05][level property]\r\n[@02]0\r\n[@04]0.00\r\n[@05][/level property]\r\n";
  Script s = MakeScript(ScriptForm::Sp, 1, {"5"});
  s.text = ScriptText(ScriptForm::Sp, 1, {"5"}, {}, tail);
  const std::string patched =
      "\r\n[@05][level property]\r\n[@02]0\r\n[@04]0.001\r\n[@05][/level property]\r\n";
  for (const char* input : {"6", ""}) {
    const Rebuilt r = RebuildLevelInfoAssignSp(s.text, s.table, {1, 1, {input}, {}});
    ASSERT_TRUE(r.Accepted());
    EXPECT_EQ(r.text, ScriptText(ScriptForm::Sp, 1, {*input ? input : "5"}, {}, patched));
  }
  // The PT form never passes it.
  Script pt = MakeScript(ScriptForm::Pt, 1, {"5"});
  EXPECT_EQ(RebuildLevelInfoAssignPt(pt.text, pt.table, {1, 1, {}, {}}).text, pt.text);
}

TEST(LevelRebuild, AWholeDecimalProductStaysADecimal) {
  // SP keeps the marker; PT has only the point to tell a decimal.
  const Script sp = MakeScript(ScriptForm::Sp, 1, {"0.5"});
  std::string expected = sp.text;
  expected.replace(expected.find("[@04]0.5"), 8, "[@04]1");
  EXPECT_EQ(RebuildLevelInfoRatioSp(sp.text, sp.table, {1, 1, {"2"}, {}}).text, expected);
  const Script pt = MakeScript(ScriptForm::Pt, 1, {"0.5"});
  EXPECT_EQ(RebuildLevelInfoRatioPt(pt.text, pt.table, {1, 1, {"2"}, {}}).text,
            ScriptText(ScriptForm::Pt, 1, {"1.0"}));
}

// ---- Float patch ----------------------------------------------------------------

struct PatchCase {
  const char* name;
  std::string text;
  std::string expected;
};

TEST(PatchLevelPropertyFloats, Table) {
  const std::string open = "[@05][level property]\r\n";
  const std::string close = "[@05][/level property]";
  const PatchCase cases[] = {
      {"two lines", open + "[@04]0.00\r\n[@04]0.00\r\n" + close,
       open + "[@04]0.001\r\n[@04]0.001\r\n" + close},
      {"outside the section", "[@04]0.00\r\n" + open + close + "\r\n[@04]0.00",
       "[@04]0.00\r\n" + open + close + "\r\n[@04]0.00"},
      {"a patched value behind blocks", open + "[@04]0.00\r\n" + close + "\r\n[@04]0.001",
       open + "[@04]0.00\r\n" + close + "\r\n[@04]0.001"},
      {"a patched value before does not", "[@04]0.001\r\n" + open + "[@04]0.00\r\n" + close,
       "[@04]0.001\r\n" + open + "[@04]0.001\r\n" + close},
      {"other decimals", open + "[@04]0.50\r\n[@04]1.00\r\n" + close,
       open + "[@04]0.50\r\n[@04]1.00\r\n" + close},
      {"not a whole value", open + "[@04]0.005\r\n[@04]0.00\r\n" + close,
       open + "[@04]0.005\r\n[@04]0.001\r\n" + close},
      {"close before open", close + "\r\n[@04]0.00\r\n" + open, close + "\r\n[@04]0.00\r\n" + open},
      {"no section", "[@04]0.00", "[@04]0.00"},
  };
  for (const PatchCase& c : cases) {
    EXPECT_EQ(PatchLevelPropertyFloats(c.text), c.expected) << c.name;
    EXPECT_EQ(PatchLevelPropertyFloats(c.expected), c.expected) << c.name << ", second run";
  }
}

// ---- Static data ----------------------------------------------------------------

struct StaticScript {
  std::string text;
  std::string loaded;  // what the static loader keeps of the shown block
};

std::string SpStatic(const std::vector<std::string>& values) {
  std::string block = "[@05][static data]";
  for (const std::string& v : values) block += "\r\n" + Stored(ScriptForm::Sp, v);
  return block + "\r\n[@05][/static data]";
}

std::string PtStatic(const std::vector<std::string>& values) {
  std::string line;
  for (const std::string& v : values) line += v + "\t";
  return "[static data]\r\n" + line + "\r\n[/static data]";
}

// A script with a first static block and one inside [pvp].
std::string StaticText(ScriptForm form, const std::vector<std::string>& first,
                       const std::vector<std::string>& arena) {
  if (form == ScriptForm::Sp) {
    return Gbk(kSpHead) + SpStatic(first) + "\r\n[@05][pvp]\r\n" + SpStatic(arena) +
           "\r\n[@05][/pvp]\r\n";
  }
  return Gbk(kPtHead) + PtStatic(first) + "\r\n[pvp]\r\n" + PtStatic(arena) + "\r\n[/pvp]\r\n";
}

std::string Loaded(ScriptForm form, const std::vector<std::string>& values) {
  std::string out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (form == ScriptForm::Sp) {
      if (i > 0) out += "\r\n";
      const std::string line = Stored(ScriptForm::Sp, values[i]);
      out += line.starts_with("[@02]") ? line.substr(5) : line;
    } else {
      out += values[i] + "\t";
    }
  }
  return out;
}

// Where the static loader reads `copy` of `text`, which the static rebuild
// writes.
TextSpan Block(std::string_view text, ScriptForm form, StaticCopy copy) {
  return (form == ScriptForm::Sp ? CutStaticDataSp(text, copy) : CutStaticDataPt(text, copy)).block;
}

struct StaticCase {
  const char* name;
  StaticCopy copy;
  std::vector<std::string> first;
  std::vector<std::string> arena;
  std::vector<std::string> inputs;
  std::vector<std::string> firstAfter;  // empty: refused with `refusal`
  std::vector<std::string> arenaAfter;
  Refusal refusal = Refusal::None;
};

class StaticRebuild : public ::testing::TestWithParam<ScriptForm> {};

TEST_P(StaticRebuild, WholeTexts) {
  const ScriptForm form = GetParam();
  const std::vector<std::string> a = {"30", "5"};
  const std::vector<std::string> b = {"20", "3"};
  const StaticCase cases[] = {
      {"dungeon", StaticCopy::Dungeon, a, b, {"35", ""}, {"35", "5"}, b},
      {"common", StaticCopy::Common, a, b, {"", "-1"}, {"30", "-1"}, b},
      {"arena", StaticCopy::Arena, a, b, {"７", "4"}, a, {"7", "4"}},
      {"arena, identical copies", StaticCopy::Arena, a, a, {"1", ""}, a, {"1", "5"}},
      {"dungeon, identical copies", StaticCopy::Dungeon, a, a, {"1", ""}, {"1", "5"}, a},
      {"empty inputs", StaticCopy::Dungeon, a, b, {"", ""}, a, b},
      {"not an integer", StaticCopy::Dungeon, a, b, {"1.5", ""}, {}, {}, Refusal::NotInteger},
      {"line break", StaticCopy::Dungeon, a, b, {"1\n", ""}, {}, {}, Refusal::ForbiddenCharacter},
      {"too few rows", StaticCopy::Arena, a, b, {"1"}, {}, {}, Refusal::CountMismatch},
      {"too few rows, nothing typed", StaticCopy::Arena, a, b, {""}, a, b},
      // A value that is not a number takes no input.
      {"beside a string", StaticCopy::Common, {"30", "`x`"}, b, {"1", ""}, {"1", "`x`"}, b},
      {"on a string", StaticCopy::Common, {"30", "`x`"}, b, {"", "1"}, {}, {}, Refusal::NotFound},
  };
  for (const StaticCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = StaticText(form, c.first, c.arena);
    std::vector<std::string> inputs;
    for (const std::string& i : c.inputs) inputs.push_back(Gbk(i));
    const StaticChange change{Loaded(form, c.copy == StaticCopy::Arena ? c.arena : c.first),
                              inputs};
    const TextSpan block = Block(text, form, c.copy);
    const Rebuilt r = form == ScriptForm::Sp ? RebuildStaticDataSp(text, block, change)
                                             : RebuildStaticDataPt(text, block, change);
    if (c.firstAfter.empty()) {
      EXPECT_EQ(r.refusal, c.refusal);
      continue;
    }
    ASSERT_TRUE(r.Accepted()) << static_cast<int>(r.refusal);
    EXPECT_EQ(r.text, StaticText(form, c.firstAfter, c.arenaAfter));
  }
}

TEST_P(StaticRebuild, ABlockWrittenOtherwiseIsNotFound) {
  const ScriptForm form = GetParam();
  std::string text = StaticText(form, {"30", "5"}, {"20", "3"});
  // A blank line inside the first block.
  const std::string open = form == ScriptForm::Sp ? "[@05][static data]" : "[static data]";
  text.insert(text.find(open) + open.size(), "\r\n");
  const StaticChange change{Loaded(form, {"30", "5"}), {"1", ""}};
  const TextSpan block = Block(text, form, StaticCopy::Dungeon);
  const Rebuilt r = form == ScriptForm::Sp ? RebuildStaticDataSp(text, block, change)
                                           : RebuildStaticDataPt(text, block, change);
  EXPECT_EQ(r.refusal, Refusal::NotFound);
}

INSTANTIATE_TEST_SUITE_P(BothForms, StaticRebuild,
                         ::testing::Values(ScriptForm::Sp, ScriptForm::Pt), [](const auto& param) {
                           return param.param == ScriptForm::Sp ? "Sp" : "Pt";
                         });

TEST(StaticRebuildPt, KeepsTheLineEnding) {
  // A values line without its last TAB stays without it.
  const std::string text = "[static data]\r\n30\t5\r\n[/static data]\r\n";
  const Rebuilt r = RebuildStaticDataPt(text, Block(text, ScriptForm::Pt, StaticCopy::Common),
                                        {"30\t5", {"", "6"}});
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(r.text, "[static data]\r\n30\t6\r\n[/static data]\r\n");
}

TEST(StaticRebuildPt, CountsTheRowsOnlyForAnInput) {
  // The grid splits the values at TAB and "|": three rows for two values.
  const std::string text = "[static data]\r\n30\t`a|b`\t\r\n[/static data]\r\n";
  const TextSpan block = Block(text, ScriptForm::Pt, StaticCopy::Common);
  const Rebuilt none = RebuildStaticDataPt(text, block, {"30\t`a|b`\t", {"", "", " "}});
  ASSERT_TRUE(none.Accepted());
  EXPECT_EQ(none.text, text);
  EXPECT_EQ(RebuildStaticDataPt(text, block, {"30\t`a|b`\t", {"1", "", ""}}).refusal,
            Refusal::CountMismatch);
}

TEST(StaticRebuildSp, AValueOfAnotherMarkerTakesNoInput) {
  const std::string text = "[@05][static data]\r\n[@02]30\r\n[@0A]key\r\n[@05][/static data]";
  EXPECT_EQ(RebuildStaticDataSp(text, Block(text, ScriptForm::Sp, StaticCopy::Common),
                                {"30\r\n[@0A]key", {"", "7"}})
                .refusal,
            Refusal::NotFound);
}

TEST(StaticRebuild, DecimalValuesKeepTheirKind) {
  const std::string spText = "[@05][static data]\r\n[@04]1.5\r\n[@02]5\r\n[@05][/static data]";
  const Rebuilt sp = RebuildStaticDataSp(spText, Block(spText, ScriptForm::Sp, StaticCopy::Common),
                                         {"[@04]1.5\r\n5", {"2", "6"}});
  ASSERT_TRUE(sp.Accepted());
  EXPECT_EQ(sp.text, "[@05][static data]\r\n[@04]2\r\n[@02]6\r\n[@05][/static data]");
  const std::string ptText = "[static data]\r\n1.5\t5\t\r\n[/static data]";
  const Rebuilt pt = RebuildStaticDataPt(ptText, Block(ptText, ScriptForm::Pt, StaticCopy::Common),
                                         {"1.5\t5\t", {"2", "6"}});
  ASSERT_TRUE(pt.Accepted());
  EXPECT_EQ(pt.text, "[static data]\r\n2.0\t6\t\r\n[/static data]");
}

TEST(StaticRebuildSp, ReadsOnlyTheBlocksRows) {
  const std::string text = "[@05][static data]\r\n[@02]1\r\n[@05][/static data]";
  const Rebuilt r =
      RebuildStaticDataSp(text, Block(text, ScriptForm::Sp, StaticCopy::Common), {"1", {"2", "3"}});
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(r.text, "[@05][static data]\r\n[@02]2\r\n[@05][/static data]");
}

TEST(StaticRebuildSp, EmptyBlockHasNothingToWrite) {
  const std::string text = "[@05][static data]\r\n[@02]\r\n[@05][/static data]\r\n";
  const Rebuilt r =
      RebuildStaticDataSp(text, Block(text, ScriptForm::Sp, StaticCopy::Common), {"", {}});
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(r.text, text);
}

}  // namespace
