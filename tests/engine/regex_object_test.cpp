#include "engine/regex_object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gbk.h"

namespace {

constexpr const char* kBlankLines = "\\n\\s*\\r";

TEST(RegexObject, BlankLinePatternRemovesBlankLines) {
  struct Case {
    std::string subject, result;
  };
  const std::vector<Case> cases = {
      {"a\r\n\r\nb", "a\r\nb"},
      {"a\r\n  \t\r\nb", "a\r\nb"},
      {"a\r\n\r\n\r\nb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"a\r\n  ", "a\r\n  "},  // no CR after the trailing spaces
      {"a\r\n\v\f\r\nb", "a\r\nb"},
      // Bytes of two-byte characters are never white space.
      {"a\r\n\x85\xA0\r\nb", "a\r\n\x85\xA0\r\nb"},
      {"a\r\n\xA1\xA1\r\nb", "a\r\n\xA1\xA1\r\nb"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    RegexObject regex;
    EXPECT_TRUE(regex.Create(kBlankLines, cases[i].subject));
    EXPECT_EQ(regex.Replace(""), cases[i].result);
    // Replace leaves the object as it was.
    EXPECT_EQ(regex.Replace(""), cases[i].result);
  }
}

TEST(RegexObject, NoMatchStillSucceeds) {
  RegexObject regex;
  EXPECT_TRUE(regex.Create(kBlankLines, "a\r\nb"));
  EXPECT_EQ(regex.GetMatchCount(), 0);
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
}

TEST(RegexObject, PatternIsEmptyUntilCreate) {
  RegexObject regex;
  EXPECT_EQ(regex.GetPattern(), "");
  regex.EmptyMethod();
  regex.Create("a+", "aaa");
  EXPECT_EQ(regex.GetPattern(), "a+");
}

TEST(RegexObject, InvalidPatternFailsSilently) {
  RegexObject regex;
  ASSERT_TRUE(regex.Create("b", "abc"));
  EXPECT_FALSE(regex.Create("(", "abc"));
  EXPECT_EQ(regex.Replace("x"), "");
  EXPECT_EQ(regex.GetMatchCount(), 0);
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
  int position = 7;
  EXPECT_EQ(regex.GetMatchText(1, &position), "");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(regex.GetPattern(), "(");
}

TEST(RegexObject, TranslatedQuotes) {
  const std::string& quote = platform::Gbk("#引号");
  const std::string pattern = quote + "abc" + quote;
  RegexObject regex;
  ASSERT_TRUE(regex.Create(pattern, "x\"abc\"y", false, true, true, true));
  EXPECT_EQ(regex.GetPattern(), "\"abc\"");
  int position = -1;
  EXPECT_EQ(regex.GetMatchText(1, &position), "\"abc\"");
  EXPECT_EQ(position, 1);

  ASSERT_TRUE(regex.Create(pattern, "x\"abc\"y"));
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

TEST(RegexObject, Options) {
  RegexObject regex;
  regex.Create("ab", "xAB");
  EXPECT_EQ(regex.GetMatchCount(), 1);  // case ignored by default
  regex.Create("ab", "xAB", true);
  EXPECT_EQ(regex.GetMatchCount(), 0);

  regex.Create("^b", "a\nb");
  EXPECT_EQ(regex.GetMatchCount(), 1);  // multiline by default
  regex.Create("^b", "a\nb", false, false);
  EXPECT_EQ(regex.GetMatchCount(), 0);

  regex.Create("a", "aaa", false, true, false);
  EXPECT_EQ(regex.GetMatchCount(), 1);
  EXPECT_EQ(regex.Replace("b"), "baa");
  regex.Create("a", "aaa");
  EXPECT_EQ(regex.Replace("b"), "bbb");
}

TEST(RegexObject, ReplacementTokens) {
  RegexObject regex;
  ASSERT_TRUE(regex.Create("(a)(b)?", "a-ab"));
  EXPECT_EQ(regex.Replace("[$1|$2|$&|$$|$3|$x|$0]"), "[a||a|$|$3|$x|$0]-[a|b|ab|$|$3|$x|$0]");
  EXPECT_EQ(regex.Replace("$"), "$-$");
  EXPECT_EQ(regex.Replace(""), "-");
}

TEST(RegexObject, MatchesAndGroupsWithByteOffsets) {
  RegexObject regex;
  // Two GBK characters (four bytes) come before the first match.
  ASSERT_TRUE(regex.Create("b(\\d)(x)?", std::string("\xBC\xBC\xC4\xDC") + "b1 b2"));
  EXPECT_EQ(regex.GetMatchCount(), 2);
  EXPECT_EQ(regex.GetSubMatchCount(), 2);

  struct Case {
    std::string text;
    int position;
  };
  int position = 0;
  const std::vector<std::pair<Case, Case>> cases = {
      {{regex.GetMatchText(1, &position), position}, {"b1", 4}},
      {{regex.GetMatchText(2, &position), position}, {"b2", 7}},
      {{regex.GetMatchText(0, &position), position}, {"", -1}},
      {{regex.GetMatchText(3, &position), position}, {"", -1}},
      {{regex.GetSubMatchText(1, 1, &position), position}, {"1", 5}},
      {{regex.GetSubMatchText(2, 1, &position), position}, {"2", 8}},
      {{regex.GetSubMatchText(1, 2, &position), position}, {"", -1}},  // took no part
      {{regex.GetSubMatchText(1, 3, &position), position}, {"", -1}},
      {{regex.GetSubMatchText(3, 1, &position), position}, {"", -1}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(cases[i].first.text, cases[i].second.text);
    EXPECT_EQ(cases[i].first.position, cases[i].second.position);
  }
  EXPECT_EQ(regex.GetMatchText(2), "b2");
}

}  // namespace
