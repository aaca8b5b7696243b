#include "engine/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "engine/regex_object.h"
#include "engine/script_form.h"
#include "platform/gbk.h"

namespace {

using Parts = std::vector<std::string>;

// Two-byte GBK characters whose trail byte is an ASCII character.
const std::string kLeadBracket = "\x81[";                   // trail "["
const std::string kLeadBar = "\x81|";                       // trail "|"
const std::string kLeadLowerA = std::string("\xB0") + 'a';  // trail "a"
const std::string kLeadUpperA = std::string("\xB0") + 'A';  // trail "A"

const std::string kSkill = "\xBC\xBC\xC4\xDC";  // 技能
const std::string kBom = "\xEF\xBB\xBF";        // UTF-8 byte-order mark

// --- search ------------------------------------------------------------------

TEST(FindText, Table) {
  struct Case {
    std::string text, sought;
    int start;
    bool ignoreCase;
    int expected;
  };
  const std::vector<Case> cases = {
      {"abcabc", "bc", 1, false, 2},
      {"abcabc", "bc", 3, false, 5},
      {"abcabc", "bc", 5, false, 5},
      {"abcabc", "bc", 6, false, -1},
      {"abcabc", "bc", 0, false, 2},
      {"abcabc", "bc", -7, false, 2},
      {"abcabc", "bc", 7, false, -1},
      {"abcabc", "bc", INT_MAX, false, -1},
      {"abc", "abcd", 1, false, -1},
      {"abc", "", 1, false, -1},
      {"", "", 1, false, -1},
      {"", "a", 1, false, -1},
      {"xABC", "abc", 1, true, 2},
      {"xABC", "abc", 1, false, -1},
      // "[@02]" never starts on the trail byte of a two-byte character.
      {"\x81[@02]", "[@02]", 1, false, -1},
      {"\x81[@02][@02]", "[@02]", 1, false, 7},
      {kLeadBracket + "[@02]", "[@02]", 1, false, 3},
      {kLeadBar + "|", "|", 1, false, 3},
      {"\x81`", "`", 1, false, -1},
      {"\x81\\", "\\", 1, false, -1},
      {"\x81]", "]", 1, false, -1},
      {"\x81@", "@", 1, false, -1},
      // CR, LF, TAB and digits are never trail bytes: a lead byte before one
      // stands alone, and the line break or value after it is found.
      {"a\x80\r\nb", "\r\n", 1, false, 3},
      {"\x81\nx", "\n", 1, false, 2},
      {"\x81\r\n\x81[", "[", 1, false, -1},
      {"\x81\r\n[", "[", 1, false, 4},
      {"\x81\r\n\x81", "\x81", 2, false, 4},
      {"5\x80\t60", "\t", 1, false, 3},
      {std::string("\xB0") + "1", "1", 1, false, 2},
      // A start on a trail byte moves on to the next character.
      {kLeadBracket + "[", "[", 2, false, 3},
      {kSkill + "a", "a", 2, false, 5},
      // Case is never folded on a trail byte.
      {kLeadLowerA, "a", 1, true, -1},
      {kLeadLowerA, "A", 1, true, -1},
      {kLeadUpperA, kLeadLowerA, 1, true, -1},
      {"x" + kLeadLowerA + "A", kLeadLowerA, 1, true, 2},
      {"x" + kLeadLowerA + "A", "a", 1, true, 4},
      // Occurrences cover whole characters.
      {kSkill, "\xBC", 1, false, -1},
      {kSkill, "\xBC\xBC", 1, false, 1},
      {kSkill, "\xC4\xDC", 1, false, 3},
      {"a\xBC", "\xBC", 1, false, 2},  // a lead byte at the end stands alone
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected);
  }
}

TEST(PartOfText, MidLeftRightStayInsideTheText) {
  const std::string t = "abcdef";
  struct Case {
    std::string actual, expected;
  };
  const std::vector<Case> cases = {
      {MidText(t, 1, 3), "abc"},
      {MidText(t, 4, 100), "def"},
      {MidText(t, 6, 1), "f"},
      {MidText(t, 7, 1), ""},
      {MidText(t, 0, 3), ""},
      {MidText(t, -1, 3), ""},
      {MidText(t, 2, 0), ""},
      {MidText(t, 2, -4), ""},
      {MidText(t, INT_MAX, INT_MAX), ""},
      {MidText(t, 2, INT_MAX), "bcdef"},
      {MidText("", 1, 1), ""},
      {LeftText(t, 2), "ab"},
      {LeftText(t, 100), "abcdef"},
      {LeftText(t, 0), ""},
      {LeftText(t, -1), ""},
      {RightText(t, 2), "ef"},
      {RightText(t, 100), "abcdef"},
      {RightText(t, 0), ""},
      {RightText(t, INT_MIN), ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(cases[i].actual, cases[i].expected);
  }
}

TEST(SplitText, Table) {
  struct Case {
    std::string text, separator;
    Parts expected;
  };
  const std::vector<Case> cases = {
      {"a|b|c", "|", {"a", "b", "c"}},
      {"a||c", "|", {"a", "", "c"}},
      {"|a", "|", {"", "a"}},
      {"a|", "|", {"a"}},
      {"a||", "|", {"a", ""}},
      {"|", "|", {""}},
      {"", "|", {}},
      {"abc", "|", {"abc"}},
      {"a\r\nb\r\n", "\r\n", {"a", "b"}},
      // A byte of 0x80 (the euro sign of code page 936) before a line break
      // ends its line like any other.
      {"1\x80\r\n2\r\n", "\r\n", {"1\x80", "2"}},
      {"\xB0\r\n\xB0\r\n", "\r\n", {"\xB0", "\xB0"}},
      {"ab", "", {"ab"}},
      // A "|" that is the trail byte of a character does not separate.
      {kLeadBar + "x|y", "|", {kLeadBar + "x", "y"}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(SplitText(cases[i].text, cases[i].separator), cases[i].expected);
  }
}

// The search finds its candidates with the C library and walks character
// boundaries only where it must; it agrees with a plain walk over every
// character on texts full of lead bytes, trail bytes that look like ASCII,
// line breaks and letters of both cases.
std::size_t WalkingFind(std::string_view text, std::string_view sought, std::size_t from,
                        bool ignoreCase) {
  auto length = [&](std::size_t i) -> std::size_t {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool lead = byte >= 0x81 && byte <= 0xFE;
    return lead && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x40 ? 2 : 1;
  };
  auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  std::size_t i = 0;
  while (i < from) i += length(i);
  for (; i < text.size(); i += length(i)) {
    if (sought.size() > text.size() - i) break;
    bool same = true;
    std::size_t k = 0;
    while (same && k < sought.size()) {
      const std::size_t n = length(i + k);
      for (std::size_t b = 0; same && b < n; ++b) {
        if (k + b >= sought.size()) {
          same = false;  // the occurrence would end inside a character
        } else if (n == 1 && ignoreCase) {
          same = fold(text[i + k]) == fold(sought[k]);
        } else {
          same = text[i + k + b] == sought[k + b];
        }
      }
      k += n;
    }
    if (same && !sought.empty()) return i;
  }
  return std::string_view::npos;
}

TEST(FindText, AgreesWithAWalkOverEveryCharacter) {
  const std::string alphabet[] = {"a",    "A",    "b",    "[",    "]",    "@",    "|", "\r", "\n",
                                  "\r\n", "\x80", "\x81", "\xB0", "\xFE", "\xFF", "0", " ",  "\t"};
  std::uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  auto random = [&](std::size_t parts) {
    std::string out;
    for (std::size_t i = 0; i < parts; ++i) out += alphabet[next() % std::size(alphabet)];
    return out;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string text = random(next() % 120);  // short and long texts
    std::string sought = random(1 + next() % 3);
    // Often a piece of the text itself, so that most searches find something.
    if (next() % 2 == 0 && !text.empty()) {
      const std::size_t at = next() % text.size();
      sought = text.substr(at, 1 + next() % 4);
    }
    const bool ignoreCase = next() % 2 == 0;
    const int start = static_cast<int>(next() % (text.size() + 2));
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    const std::size_t want =
        from >= text.size() ? std::string_view::npos : WalkingFind(text, sought, from, ignoreCase);
    const int expected = want == std::string_view::npos ? -1 : static_cast<int>(want) + 1;
    ASSERT_EQ(FindText(text, sought, start, ignoreCase), expected)
        << testing::PrintToString(text) << " " << testing::PrintToString(sought) << " from "
        << start << (ignoreCase ? " ignoring case" : "");
  }
}

// Only 0x81 to 0xFE start a two-byte character, as code page 936 reads its
// bytes: 0x80 (the euro sign) and 0xFF are characters of one byte, so the
// ASCII byte after one is a character of its own, also where it could be a
// trail byte.
TEST(TextHelpers, EuroSignAndFfStandAlone) {
  for (const std::string single : {"\x80", "\xFF"}) {
    SCOPED_TRACE(testing::PrintToString(single));
    EXPECT_EQ(FindText("x" + single + "[level info]", "[level info]"), 3);
    EXPECT_EQ(FindText(single + "A", "a", 1, true), 2);
    EXPECT_EQ(SplitText("5" + single + "|7", "|"), (Parts{"5" + single, "7"}));
    EXPECT_EQ(SplitPtValues("5" + single + "|7\t8\t"), (Parts{"5" + single, "7", "8"}));
    EXPECT_EQ(ReplaceAll(single + "a" + single + "a", "a", "b"), single + "b" + single + "b");
    EXPECT_EQ(CountOccurrences(single + "[@02]" + single + "[@02]", "[@02]"), 2);
    EXPECT_EQ(FindLineIndex("x\r\n" + single + "[level info]", "[level info]"), 2);
    EXPECT_EQ(GetTextBetween(single + "<a>", "<", ">"), "a");
    EXPECT_EQ(RemoveTextBetween("a" + single + "`b@c", "`", "@"), "a" + single + "c");
    // A byte that does start a character still takes its trail.
    EXPECT_EQ(FindText("\xFE[level info]", "[level info]"), -1);
  }
}

// --- lines -------------------------------------------------------------------

TEST(TrimBlankLines, ResultAndTheTrimmedArgument) {
  struct Case {
    std::string input, result, argumentAfter;
  };
  const std::vector<Case> cases = {
      {"\r\na\r\n\r\n \r\nb\r\n", "a\r\nb", "a\r\n\r\n \r\nb"},
      {"\r\n\r\na", "\r\na", "\r\na"},  // only one leading line break goes
      {"a\r\n\r\n\r\n", "a\r\n", "a\r\n\r\n"},
      {"", "", ""},
      {"\r\n", "", ""},
      {"\r\n\r\n", "", ""},
      {"a\r\nb", "a\r\nb", "a\r\nb"},
      {"a\r\n  \t\r\nb", "a\r\nb", "a\r\n  \t\r\nb"},
      {"a\r\n\r\n\r\n\r\nb", "a\r\nb", "a\r\n\r\n\r\n\r\nb"},
      {"  a\r\n\r\n  b", "  a\r\n  b", "  a\r\n\r\n  b"},  // indentation stays
      {"a\r\n  ", "a\r\n  ", "a\r\n  "},                   // no CR after the spaces
      {"a\n\nb", "a\n\nb", "a\n\nb"},                      // LF-only line ends are left alone
      {"a\r\n\v\f\r\nb", "a\r\nb", "a\r\n\v\f\r\nb"},
      {kSkill + "\r\n\r\n" + kSkill, kSkill + "\r\n" + kSkill, kSkill + "\r\n\r\n" + kSkill},
      // A line holding an ideographic space is not blank.
      {"a\r\n\xA1\xA1\r\nb", "a\r\n\xA1\xA1\r\nb", "a\r\n\xA1\xA1\r\nb"},
      {"[@05][static data]\r\n[@02]1\r\n\r\n[@02]2\r\n", "[@05][static data]\r\n[@02]1\r\n[@02]2",
       "[@05][static data]\r\n[@02]1\r\n\r\n[@02]2"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    std::string argument = cases[i].input;
    EXPECT_EQ(TrimBlankLines(argument), cases[i].result);
    EXPECT_EQ(argument, cases[i].argumentAfter);
  }
}

// The blank-line removal gives exactly what the pattern "\n\s*\r" gives
// through the regular-expression object, on texts of line breaks, white
// space of every kind and a few other bytes.
TEST(TrimBlankLines, AgreesWithThePattern) {
  const char alphabet[] = {'\r', '\n', ' ', '\t', '\v', '\f', 'a', '\x85', '\xA0', '\x81'};
  std::uint32_t seed = 777;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const std::size_t length = next() % 80;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[next() % std::size(alphabet)];
    std::string trimmed = text;
    const std::string result = TrimBlankLines(trimmed);
    // The reference: the same trim of one line break at each end, then the
    // pattern.
    std::string argument = text;
    if (argument.starts_with("\r\n")) argument.erase(0, 2);
    if (argument.ends_with("\r\n")) argument.erase(argument.size() - 2);
    RegexObject regex;
    regex.Create("\\n\\s*\\r", argument);
    ASSERT_EQ(result, regex.Replace("")) << testing::PrintToString(text);
    ASSERT_EQ(trimmed, argument) << testing::PrintToString(text);
  }
}

// The line helpers work on the whole text at once; they agree with their
// definitions over the text split at every CR LF, on texts of short lines
// with lone CRs and LFs, lead bytes and the sought text itself.
TEST(LineHelpers, AgreeWithTheTextSplitAtEveryCrLf) {
  const std::string alphabet[] = {"ab", "A",  "\r\n", "\r",       "\n",   "\x81", "\x81\r\n",
                                  "|",  "\t", "x|",   "\r\n\r\n", "\x80", "\xFF"};
  std::uint32_t seed = 4242;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  auto split = [](std::string_view text) {
    Parts lines;
    while (!text.empty()) {
      const std::size_t end = text.find("\r\n");
      lines.emplace_back(text.substr(0, end));
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 2);
    }
    return lines;
  };
  auto join = [](const Parts& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i > 0 ? "\r\n" : "") + lines[i];
    return out;
  };
  for (int round = 0; round < 1500; ++round) {
    std::string text;
    const std::size_t parts = next() % 40;
    for (std::size_t i = 0; i < parts; ++i) text += alphabet[next() % std::size(alphabet)];
    const Parts lines = split(text);
    SCOPED_TRACE(testing::PrintToString(text));
    ASSERT_EQ(SplitLines(text), lines);
    for (int n = 0; n <= static_cast<int>(lines.size()) + 1; ++n) {
      ASSERT_EQ(GetLine(text, n),
                n >= 1 && n <= static_cast<int>(lines.size()) ? lines[n - 1] : "");
      std::string copy = text.find("\r\n") == std::string::npos ? text + "\r\n" : text;
      Parts kept = split(copy);
      if (n >= 1 && n <= static_cast<int>(kept.size())) kept.erase(kept.begin() + (n - 1));
      ASSERT_EQ(DeleteLine(text, n), join(kept)) << "line " << n;
    }
    for (const std::string sought : {"A", "b\r", "|", "\x81", "\r\n", "\n", "x|"}) {
      for (const bool caseSensitive : {false, true}) {
        int expected = 0;
        for (std::size_t i = 0; i < lines.size() && expected == 0; ++i) {
          if (FindText(lines[i], sought, 1, !caseSensitive) > 0) expected = static_cast<int>(i) + 1;
        }
        ASSERT_EQ(FindLineIndex(text, sought, caseSensitive), expected)
            << testing::PrintToString(sought);
      }
    }
    // PT values: split at TABs and at bars that are no trail bytes.
    Parts values;
    std::string value;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (text[i] == '\t' || text[i] == '|') {
        values.push_back(value);
        value.clear();
        continue;
      }
      value += text[i];
      if (byte >= 0x81 && byte <= 0xFE && i + 1 < text.size() &&
          static_cast<unsigned char>(text[i + 1]) >= 0x40) {
        value += text[++i];
      }
    }
    if (!value.empty()) values.push_back(value);
    ASSERT_EQ(SplitTextAtAny(text, "\t|"), values);
  }
}

TEST(CountLines, Table) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"", 0},     {"a", 1},   {"a\r\nb", 2}, {"a\r\nb\r\n", 2}, {"\r\n", 1}, {"a\r\n\r\n", 2},
      {"a\nb", 2}, {"a\n", 1}, {"\r\na", 2},  {"a\r", 1},        {kSkill, 1},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    EXPECT_EQ(CountLines(text), expected);
  }
}

TEST(GetLine, Table) {
  struct Case {
    std::string text;
    int line;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"a\r\nb\r\n", 1, "a"},
      {"a\r\nb\r\n", 2, "b"},  // the count of lines gives the line before the last CR LF
      {"a\r\nb\r\n", 3, ""},
      {"a\r\nb", 0, ""},
      {"a\r\nb", -1, ""},
      {"a\r\nb", INT_MIN, ""},
      {"a\r\nb", INT_MAX, ""},
      {"a\r\n\r\nb", 2, ""},
      {"a\r\n\r\nb", 3, "b"},
      {"\r\na", 1, ""},
      {"\r\na", 2, "a"},
      {"a\nb", 1, "a\nb"},  // only CR LF separates lines
      {"", 1, ""},
      {kSkill + "\r\n" + kLeadBracket, 2, kLeadBracket},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(GetLine(c.text, c.line), c.expected);
  }
}

TEST(GetLine, AgreesWithCountLinesOnCrLfTexts) {
  for (const std::string text :
       {"a", "a\r\nb", "a\r\nb\r\n", "\r\n", "\r\n\r\nx\r\n", "a\r\n\r\n"}) {
    SCOPED_TRACE(testing::PrintToString(text));
    const int n = CountLines(text);
    std::string joined;
    for (int line = 1; line <= n; ++line) joined += (line > 1 ? "\r\n" : "") + GetLine(text, line);
    EXPECT_EQ(joined, text.ends_with("\r\n") ? text.substr(0, text.size() - 2) : text);
    EXPECT_EQ(GetLine(text, n + 1), "");
  }
}

TEST(FindLineIndex, Table) {
  struct Case {
    std::string text, sought;
    bool caseSensitive;
    int expected;
  };
  const std::vector<Case> cases = {
      {"", "a", false, 0},
      {"ab\r\ncd", "cd", false, 2},
      {"ab\r\ncd\r\ncd", "cd", false, 2},
      {"ab\r\ncd", "b\r\nc", false, 0},  // not across a line break
      {"ab\r\nCD", "cd", false, 2},
      {"ab\r\nCD", "cd", true, 0},
      {"ab\r\nCD", "CD", true, 2},
      {"ab\r\ncd", "", false, 0},
      {"ab\r\ncd", "x", false, 0},
      {"\r\n\r\n[name]", "[NAME]", false, 3},
      {kLeadBracket + "a\r\n[a", "[a", false, 2},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(FindLineIndex(c.text, c.sought, c.caseSensitive), c.expected);
  }
}

TEST(DeleteLine, Table) {
  struct Case {
    std::string text;
    int line;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"a\r\nb\r\nc", 1, "b\r\nc"},
      {"a\r\nb\r\nc", 2, "a\r\nc"},
      {"a\r\nb\r\nc", 3, "a\r\nb"},
      {"a", 1, ""},
      {"a\r\nb\r\n", 0, "a\r\nb"},  // nothing removed, final CR LF dropped
      {"a\r\nb\r\n", 9, "a\r\nb"},
      {"a\r\nb", -1, "a\r\nb"},
      {"a\r\nb", INT_MAX, "a\r\nb"},
      {"a\r\nb\r\n", 2, "a"},
      {"a\r\n\r\nb", 2, "a\r\nb"},
      {"", 1, ""},
      {"", 0, ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    std::string argument = c.text;
    EXPECT_EQ(DeleteLine(argument, c.line), c.expected);
    EXPECT_EQ(argument, c.text);
  }
}

// --- replace, count, cut -------------------------------------------------------

TEST(ReplaceText, OnePair) {
  struct Case {
    std::string text;
    std::optional<int> count;
    int start;
    bool caseSensitive;
    std::string find, repl, expected;
  };
  const std::nullopt_t all = std::nullopt;
  const std::vector<Case> cases = {
      {"a.a.a", all, 1, false, ".", "-", "a-a-a"},
      {"a.a.a", 1, 1, false, ".", "-", "a-a.a"},
      {"a.a.a", 0, 1, false, ".", "-", "a.a.a"},
      {"a.a.a", -3, 1, false, ".", "-", "a.a.a"},
      {"a.a.a", 1, 3, false, ".", "-", "a.a-a"},  // the one before the start stays
      {"a.a.a", all, 3, false, ".", "-", "a.a-a"},
      {"a.a.a", 1, 0, false, ".", "-", "a-a.a"},
      {"a.a.a", 1, -2, false, ".", "-", "a-a.a"},
      {"a.a.a", all, 5, false, "a", "b", "a.a.b"},
      {"a.a.a", all, 6, false, ".", "-", "a.a.a"},  // start beyond the end
      {"a.a.a", all, INT_MAX, false, ".", "-", "a.a.a"},
      {"a.a.a", all, 1, false, "", "-", "a.a.a"},
      {"Abab", all, 1, false, "AB", "x", "xx"},
      {"Abab", all, 1, true, "AB", "x", "Abab"},
      {"Abab", all, 1, true, "ab", "x", "Abx"},
      {"aa", all, 1, false, "a", "aa", "aaaa"},  // the replacement is not scanned again
      {"aaa", all, 1, false, "aa", "b", "ba"},
      {"1\t2\t", all, 1, false, "\t", "|", "1|2|"},
      {"1\t2\t", all, 1, false, "\t", "\r\n", "1\r\n2\r\n"},
      {"a\r\nb\n", all, 1, false, "\n", "", "a\rb"},
      {"[@02]1\r\n[@02]2", all, 1, false, "[@02]", "", "1\r\n2"},
      {"<int>s <int>s", 1, 1, false, "<INT>", "30", "30s <int>s"},
      {"\x81[@02]x[@02]1", all, 1, false, "[@02]", "", "\x81[@02]x1"},
      {kLeadBracket + "[[", all, 2, false, "[", "x", kLeadBracket + "xx"},
      {kLeadLowerA + "a", all, 1, false, "A", "b", kLeadLowerA + "b"},
      {kSkill, all, 1, false, "\xBC", "x", kSkill},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(ReplaceText(c.text, c.count, c.start, c.caseSensitive, c.find, c.repl), c.expected);
  }
}

TEST(ReplaceText, PairsRunInOrderEachWithTheSameCountAndStart) {
  // Each pair works on the output of the one before; an empty pair in the
  // middle changes nothing.
  EXPECT_EQ(
      ReplaceText("abc", std::nullopt, 1, false, "a", "b", "b", "c", "c", "d", "", "x", "d", "e"),
      "eee");
  EXPECT_EQ(ReplaceText("aaa", 1, 1, false, "a", "b", "b", "c"), "caa");
  EXPECT_EQ(ReplaceText("xaxb", std::nullopt, 3, false, "a", "1", "b", "2"), "xax2");
}

TEST(ReplaceText, ShorthandsIgnoreCase) {
  EXPECT_EQ(ReplaceAll("[@0a]k[@0A]", "[@0A]", ""), "k");
  EXPECT_EQ(ReplaceFirst("old old OLD", "OLD", "new"), "new old OLD");
  EXPECT_EQ(ReplaceFirst("[pvp]x[pvp]x", "x", "y", 7), "[pvp]x[pvp]y");
}

TEST(CountOccurrences, Table) {
  struct Case {
    std::string text, sought;
    bool caseSensitive;
    int expected;
  };
  const std::vector<Case> cases = {
      {"no placeholders", "<int>", false, 0},
      {"", "<int>", false, 0},
      {"abc", "", false, 0},
      {"aaa", "aa", false, 1},
      {"aaaa", "aa", false, 2},
      {"a<int>b<INT>", "<int>", false, 2},
      {"a<int>b<INT>", "<int>", true, 1},
      {"[@05][level info]\r\n[@02]1\r\n[@05][/level info]", "[level info]", false, 1},
      {kLeadBracket + "a]", "[a]", false, 0},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(CountOccurrences(c.text, c.sought, c.caseSensitive), c.expected);
  }
}

TEST(GetTextBetween, Table) {
  const std::string& quote = platform::Gbk("#引号");
  struct Case {
    std::string text, startMarker, endMarker;
    int start;
    bool ignoreCase;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"[cool time]\r\n[@02]5\r\n[@05]", "[cool time]", "[@05]", 1, true, "\r\n[@02]5\r\n"},
      {"[COOL TIME]\r\n1\t[", "[cool time]", "[", 1, true, "\r\n1\t"},
      {"[COOL TIME]\r\n1\t[", "[cool time]", "[", 1, false, ""},
      {"abc", "x", "c", 1, false, ""},
      {"abc", "a", "x", 1, false, ""},
      {"ab", "a", "b", 1, false, ""},  // end marker right after the start marker
      {"a1ba2b", "a", "b", 3, false, "2"},
      {"a1b", "a", "b", 0, false, "1"},
      {"a1b", "a", "b", 4, false, ""},
      {"x\"v\"y", quote, quote, 1, false, "v"},
      {"<a href=\"k\">", "href=" + quote, quote + ">", 1, false, "k"},
      {"abc", "", "c", 1, false, ""},
      {"abc", "a", "", 1, false, ""},
      {kLeadBracket + "a]b]", "[", "]", 1, false, ""},
      {"[" + kLeadBracket + "]", "[", "]", 1, false, kLeadBracket},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(GetTextBetween(c.text, c.startMarker, c.endMarker, c.start, c.ignoreCase),
              c.expected);
  }
}

TEST(RemoveTextBetween, Table) {
  struct Case {
    std::string text, startMarker, endMarker, expected;
  };
  const std::vector<Case> cases = {
      {"name`rest@", "`", "@", "name"},  {"name`rest@tail", "`", "@", "nametail"},
      {"a`b`c@d", "`", "@", "ad"},       {"abc", "`", "@", "abc"},
      {"a`bc", "`", "@", "a`bc"},  // no end marker: nothing to remove
      {"aXbYc", "x", "y", "ac"},         {"abc", "", "c", "abc"},
      {"\x81`a`b@", "`", "@", "\x81`a"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(RemoveTextBetween(c.text, c.startMarker, c.endMarker), c.expected);
  }
}

// --- code pages -----------------------------------------------------------------

TEST(ConvertUtf8ToGbk, Table) {
  struct Case {
    std::string utf8, gbk;
    bool replaced;
  };
  const std::vector<Case> cases = {
      {"", "", false},
      {"技能", kSkill, false},
      {kBom + "技能", kSkill, false},  // the byte-order mark is dropped
      {"\xEF\xBB\xBF", "", false},
      {"a" + kBom + "b", "a?b", true},  // only a leading mark is dropped
      {std::string("a\0b", 3), "a", false},
      {std::string("a\0\xF0\x9F\x98\x80", 6), "a", false},  // nothing after the zero byte counts
      {"[@02]1\r\n\t", "[@02]1\r\n\t", false},
      {"a€b", std::string("a\x80") + "b", false},  // the euro sign is the single byte 0x80
      {"a😀b", "a?b", true},                        // an emoji GBK cannot hold
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    bool replaced = !c.replaced;
    EXPECT_EQ(ConvertUtf8ToGbk(c.utf8, &replaced), c.gbk);
    EXPECT_EQ(replaced, c.replaced);
    EXPECT_EQ(ConvertUtf8ToGbk(c.utf8), c.gbk);
  }
}

TEST(ConvertUtf8ToGbk, InvalidUtf8IsReported) {
  bool replaced = false;
  const std::string gbk = ConvertUtf8ToGbk(std::string("a\xFF") + "b", &replaced);
  EXPECT_TRUE(replaced);
  EXPECT_TRUE(gbk.starts_with("a") && gbk.ends_with("b")) << gbk;
}

TEST(ConvertGbkToUtf8, Table) {
  bool replaced = true;
  EXPECT_EQ(ConvertGbkToUtf8("", &replaced), "");
  EXPECT_FALSE(replaced);
  EXPECT_EQ(ConvertGbkToUtf8(kSkill + "\r\n", &replaced), "技能\r\n");
  EXPECT_FALSE(replaced);
  EXPECT_EQ(ConvertGbkToUtf8("\x81[@02]").size(), 3u + 4u);  // no terminator added
}

TEST(Conversion, EveryGbkCharacterRoundTrips) {
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
      bool replaced = true;
      const std::string utf8 = ConvertGbkToUtf8(gbk, &replaced);
      if (replaced) continue;
      ++mapped;
      bool back = true;
      ASSERT_EQ(ConvertUtf8ToGbk(utf8, &back), gbk) << std::hex << lead << " " << trail;
      ASSERT_FALSE(back);
    }
  }
  // Code page 936 assigns 21,886 characters and maps its user-defined areas.
  EXPECT_GE(mapped, 21886);
}

}  // namespace
