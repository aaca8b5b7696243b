// Where the loaders say they read each block and field, over every script
// fixture in both forms: each span holds the tag it was read by, and ends
// where what was read ends. The writers write at these places, so a span
// one byte off would write beside the block.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/blocks.h"
#include "engine/header_fields.h"
#include "engine/level_info.h"
#include "engine/mastery.h"
#include "engine/static_data.h"
#include "engine/text.h"
#include "tests/engine/fixtures.h"

namespace {

using engine_test::Fixture;

const char* const kStems[] = {
    "single_level_info_dungeon", "single_level_info_arena",
    "single_level_info_common",  "both_copies",
    "identical_copies",          "no_level_info",
    "static_one_block",          "static_two_blocks",
    "static_arena_missing",      "header_all_fields",
    "header_copies_without_pvp", "header_copy_before_pvp",
    "mastery_all_classes",       "mastery_second_growtype",
    "mastery_section_at_end",    "mastery_empty_value",
    "incomplete_last_level",     "write_static_text",
};

std::string Prefix(ScriptForm form) {
  return form == ScriptForm::Sp ? "[@05]" : "";
}

// What follows a span: a line break or the end of the text.
bool EndsALine(std::string_view text, TextSpan span) {
  const auto end = static_cast<std::size_t>(span.start - 1 + span.length);
  return end == text.size() || text.substr(end).starts_with("\r\n");
}

class Spans : public ::testing::TestWithParam<ScriptForm> {};

TEST_P(Spans, EachHeaderFieldFromItsTagThroughItsValues) {
  const ScriptForm form = GetParam();
  for (const char* stem : kStems) {
    SCOPED_TRACE(stem);
    const std::string script = Fixture(stem, form);
    const HeaderFieldLoad load =
        form == ScriptForm::Sp ? ReadHeaderFieldsSp(script) : ReadHeaderFieldsPt(script);
    for (std::size_t i = 0; i < HeaderFieldTable().size(); ++i) {
      const HeaderField& f = HeaderFieldTable()[i];
      SCOPED_TRACE(f.tag);
      const std::string tag = Prefix(form) + std::string(f.tag);
      const TextSpan first = load.spans.first[i];
      if (first.start == 0) {
        EXPECT_EQ(script.find(tag), std::string::npos);
        continue;
      }
      const std::string text = SpanText(script, first);
      EXPECT_TRUE(text.starts_with(tag + "\r\n")) << text;
      EXPECT_TRUE(EndsALine(script, first));
      // One value line (PT) or one line per value (SP) after the tag line.
      const std::size_t lines = form == ScriptForm::Sp ? f.valueCount : 1;
      EXPECT_EQ(CountOccurrences(text, "\r\n"), static_cast<int>(lines)) << text;
      const TextSpan arena = load.spans.arena[i];
      if (arena.start != 0) {
        EXPECT_TRUE(SpanText(script, arena).starts_with(tag)) << SpanText(script, arena);
        EXPECT_GT(arena.start, first.start);
      }
    }
  }
}

TEST_P(Spans, TheMasterySectionFromItsTagThroughItsValues) {
  const ScriptForm form = GetParam();
  for (const char* stem : kStems) {
    SCOPED_TRACE(stem);
    const std::string script = Fixture(stem, form);
    const MasterySection section =
        form == ScriptForm::Sp ? ReadMasterySectionSp(script) : ReadMasterySectionPt(script);
    if (!section.found) {
      EXPECT_EQ(section.span.start, 0);
      continue;
    }
    const std::string text = SpanText(script, section.span);
    const std::string tag = Prefix(form) + (section.second ? "[second growtype maximum level]"
                                                           : "[growtype maximum level]");
    EXPECT_TRUE(text.starts_with(tag)) << text;
    for (const std::string& value : section.values) {
      EXPECT_NE(text.find(value), std::string::npos) << value;
    }
    // SP: up to the next section's tag; PT: through the values line.
    const std::string_view after = std::string_view(script).substr(
        static_cast<std::size_t>(section.span.start - 1 + section.span.length));
    EXPECT_TRUE(after.empty() || after.starts_with(form == ScriptForm::Sp ? "[@05]" : "\r\n"))
        << after.substr(0, 20);
  }
}

TEST_P(Spans, EachStaticCopyFromItsOpenTag) {
  const ScriptForm form = GetParam();
  const std::string open = Prefix(form) + "[static data]";
  const std::string close = Prefix(form) + "[/static data]";
  for (const char* stem : kStems) {
    SCOPED_TRACE(stem);
    const std::string script = Fixture(stem, form);
    for (StaticCopy copy : {StaticCopy::Common, StaticCopy::Dungeon, StaticCopy::Arena}) {
      SCOPED_TRACE(static_cast<int>(copy));
      const StaticCut cut =
          form == ScriptForm::Sp ? CutStaticDataSp(script, copy) : CutStaticDataPt(script, copy);
      if (!cut.found) continue;
      const std::string text = SpanText(script, cut.block);
      EXPECT_TRUE(text.starts_with(open)) << text;
      // Every copy but the PT first one is read up to its close tag; that
      // one through its values line.
      if (form == ScriptForm::Sp || copy == StaticCopy::Arena) {
        EXPECT_TRUE(text.ends_with(close)) << text;
      } else {
        EXPECT_TRUE(text.ends_with(cut.text)) << text;
      }
      if (copy == StaticCopy::Arena) {
        EXPECT_GT(cut.block.start, static_cast<int>(script.find(Prefix(form) + "[pvp]")));
      }
    }
  }
}

TEST_P(Spans, EachLevelInfoCopyAsTheLevelTableReadsIt) {
  const ScriptForm form = GetParam();
  for (const char* stem : kStems) {
    SCOPED_TRACE(stem);
    const std::string script = Fixture(stem, form);
    for (DataSet set : {DataSet::Dungeon, DataSet::Arena, DataSet::Common}) {
      const auto block =
          form == ScriptForm::Sp ? CutLevelInfoSp(script, set) : CutLevelInfoPt(script, set);
      if (!block) continue;
      const std::string text = SpanText(script, *block);
      if (form == ScriptForm::Sp) {
        EXPECT_TRUE(text.starts_with("[@05][level info]\r\n")) << text;
        EXPECT_TRUE(text.ends_with("[@05][/level info]")) << text;
      } else {
        // The values line alone, between the tag line and the close tag.
        EXPECT_EQ(text.find("\r\n"), std::string::npos) << text;
        EXPECT_EQ(script.substr(static_cast<std::size_t>(block->start) - 3, 2), "\r\n");
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothForms, Spans, ::testing::Values(ScriptForm::Sp, ScriptForm::Pt),
                         [](const auto& param) {
                           return param.param == ScriptForm::Sp ? "Sp" : "Pt";
                         });

TEST(ShiftedSpan, MovesAfterAChangeAndIsGoneWhereOneOverlapsIt) {
  struct Case {
    const char* what;
    TextSpan span;
    std::vector<TextShift> shifts;
    TextSpan after;
  };
  const Case cases[] = {
      {"a change after it", {10, 5}, {{15, 3, 7}}, {10, 5}},
      {"a change before it", {10, 5}, {{2, 3, 7}}, {14, 5}},
      {"a change that ends where it starts", {10, 5}, {{7, 3, 1}}, {8, 5}},
      {"an insertion where it starts", {10, 5}, {{10, 0, 1}}, {11, 5}},
      {"an insertion where it ends", {10, 5}, {{15, 0, 1}}, {10, 5}},
      {"an insertion inside it", {10, 5}, {{12, 0, 1}}, {}},
      {"a change over its start", {10, 5}, {{8, 3, 3}}, {}},
      {"a change over its end", {10, 5}, {{14, 2, 2}}, {}},
      {"a change inside it", {10, 5}, {{11, 2, 4}}, {}},
      {"one change after another", {10, 5}, {{2, 3, 7}, {20, 1, 1}, {1, 0, 2}}, {16, 5}},
      {"nothing read", {0, 0}, {{1, 0, 4}}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TextSpan after = ShiftedSpan(c.span, c.shifts);
    EXPECT_EQ(after.start, c.after.start);
    EXPECT_EQ(after.length, c.after.length);
  }
}

}  // namespace
