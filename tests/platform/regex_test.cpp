#include "platform/regex.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

struct Span {
  std::size_t offset;
  std::size_t length;
  bool operator==(const Span&) const = default;
};

std::vector<Span> Spans(const std::vector<RegexMatch>& matches) {
  std::vector<Span> spans;
  for (const RegexMatch& m : matches) spans.push_back({m.whole.offset, m.whole.length});
  return spans;
}

std::vector<Span> FindAll(std::string_view pattern, std::string_view subject,
                          RegexOptions options = {}) {
  const auto regex = Regex::Get(pattern, options);
  if (regex == nullptr) {
    ADD_FAILURE() << "pattern does not compile: " << pattern;
    return {};
  }
  bool failed = true;
  std::vector<Span> spans = Spans(regex->FindAll(subject, &failed));
  EXPECT_FALSE(failed);
  return spans;
}

// Classes are byte classes: no byte of 0x80 or more (a GBK lead or trail
// byte) is space, a word character or a digit.
TEST(Regex, ClassesHoldOnlyAsciiBytes) {
  struct Case {
    const char* pattern;
    int (*expected)(int);
  };
  const Case cases[] = {
      {"\\s", [](int c) -> int { return c == ' ' || (c >= '\t' && c <= '\r'); }},
      {"\\w", [](int c) -> int { return c < 0x80 && (std::isalnum(c) || c == '_'); }},
      {"\\d", [](int c) -> int { return c >= '0' && c <= '9'; }},
  };
  for (const Case& c : cases) {
    for (int byte = 0; byte < 256; ++byte) {
      const std::string subject(1, static_cast<char>(byte));
      const bool expected = c.expected(byte) != 0;
      EXPECT_EQ(FindAll(c.pattern, subject).size(), expected ? 1u : 0u)
          << c.pattern << " on byte " << byte;
    }
  }
}

TEST(Regex, IgnoreCaseFoldsAsciiLettersOnly) {
  struct Case {
    const char* pattern;
    std::string subject;
    bool ignoreCase;
    std::size_t matches;
  };
  const Case cases[] = {
      {"level info", "[LEVEL Info]", true, 1},
      {"level info", "[LEVEL Info]", false, 0},
      {"\xC4", "\xE4", true, 0},  // Latin-1 A/a umlaut: not letters here
      {"[a-z]", "\xC1\xE1", true, 0},
      {"\xBC\xBC", "\xBC\xBC", true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(FindAll(c.pattern, c.subject, {.ignoreCase = c.ignoreCase}).size(), c.matches);
  }
}

TEST(Regex, FindAllGivesNonOverlappingMatchesLeftToRight) {
  struct Case {
    const char* name;
    const char* pattern;
    std::string subject;
    std::vector<Span> expected;
  };
  const Case cases[] = {
      {"blank lines between CR LF lines", "\\n\\s*\\r", "a\r\n\r\n \r\nb", {{2, 5}}},
      {"two runs", "\\n\\s*\\r", "a\r\n\r\nb\r\n\t\r\nc", {{2, 2}, {7, 3}}},
      {"LF-only text", "\\n\\s*\\r", "a\n\n \nb\n", {}},
      {"trailing line break", "\\n\\s*\\r", "a\r\n", {}},
      {"empty matches advance one byte", "x*", "axxb", {{0, 0}, {1, 2}, {3, 0}, {4, 0}}},
      {"no overlap", "aa", "aaaaa", {{0, 2}, {2, 2}}},
      {"zero byte in the subject", "b", std::string("a\0b", 3), {{2, 1}}},
      {"empty subject", "a", "", {}},
      {"empty pattern", "", "ab", {{0, 0}, {1, 0}, {2, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindAll(c.pattern, c.subject), c.expected);
  }
}

TEST(Regex, ReportsGroupsAndFirstMatch) {
  const auto regex = Regex::Get("(a)|(b)", {});
  ASSERT_NE(regex, nullptr);
  EXPECT_EQ(regex->groupCount(), 2u);
  EXPECT_EQ(regex->pattern(), "(a)|(b)");

  const std::vector<RegexMatch> first = regex->FindFirst("xba");
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(Spans(first), (std::vector<Span>{{1, 1}}));
  ASSERT_EQ(first[0].groups.size(), 2u);
  EXPECT_FALSE(first[0].groups[0].matched);
  EXPECT_TRUE(first[0].groups[1].matched);
  EXPECT_EQ(first[0].groups[1].offset, 1u);
  EXPECT_EQ(first[0].groups[1].length, 1u);

  EXPECT_TRUE(regex->FindFirst("xyz").empty());
}

TEST(Regex, MultilineAnchorsAtLineFeeds) {
  EXPECT_EQ(FindAll("^b", "a\nb"), (std::vector<Span>{}));
  EXPECT_EQ(FindAll("^b", "a\nb", {.multiline = true}), (std::vector<Span>{{2, 1}}));
  EXPECT_EQ(FindAll("a\\r$", "a\r\nb", {.multiline = true}), (std::vector<Span>{{0, 2}}));
}

TEST(Regex, RefusesInvalidPatterns) {
  for (const char* pattern : {"(", "[a", "a{2,1}", "\\", "(*UTF)a", "(*UCP)\\s"}) {
    EXPECT_EQ(Regex::Get(pattern, {}), nullptr) << pattern;
    EXPECT_EQ(Regex::Get(pattern, {}), nullptr) << pattern;
  }
}

TEST(Regex, ReportsWhenTheEngineGivesUp) {
  const auto regex = Regex::Get("(a+)+$", {});
  ASSERT_NE(regex, nullptr);
  bool failed = false;
  EXPECT_TRUE(regex->FindAll(std::string(40, 'a') + "b", &failed).empty());
  EXPECT_TRUE(failed);
  EXPECT_EQ(regex->FindFirst("aa", &failed).size(), 1u);
  EXPECT_FALSE(failed);
}

TEST(Regex, CompilesEachPatternOnceForAllThreads) {
  const auto regex = Regex::Get("\\n\\s*\\r", {});
  EXPECT_EQ(Regex::Get("\\n\\s*\\r", {}), regex);
  EXPECT_NE(Regex::Get("\\n\\s*\\r", {.ignoreCase = true}), regex);
  EXPECT_NE(Regex::Get("\\n\\s*\\r", {.multiline = true}), regex);

  std::string subject;
  for (int i = 0; i < 500; ++i) subject += "a\r\n \r\n";
  std::vector<std::shared_ptr<const Regex>> seen(8);
  std::vector<std::size_t> counts(8);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < seen.size(); ++t) {
    threads.emplace_back([&, t] {
      seen[t] = Regex::Get("[ ]+\\r", {.multiline = true});
      for (int round = 0; round < 20; ++round) counts[t] += seen[t]->FindAll(subject).size();
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (std::size_t t = 0; t < seen.size(); ++t) {
    EXPECT_EQ(seen[t], seen[0]);
    EXPECT_EQ(counts[t], 20u * 500u);
  }
}

}  // namespace
}  // namespace platform
