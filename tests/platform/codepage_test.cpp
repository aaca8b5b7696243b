#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

// Texts that GBK holds exactly: both directions must be lossless.
struct ExactCase {
  const char* name;
  std::string utf8;
  std::string gbk;
};

const std::vector<ExactCase>& ExactCases() {
  static const std::vector<ExactCase> cases = {
      {"ascii", "[@02]12\tx\r\n", "[@02]12\tx\r\n"},
      {"skill", "技能", "\xBC\xBC\xC4\xDC"},
      {"grid header", "技能原数值", "\xBC\xBC\xC4\xDC\xD4\xAD\xCA\xFD\xD6\xB5"},
      {"font", "宋体", "\xCB\xCE\xCC\xE5"},
      {"arena", "决斗场", "\xBE\xF6\xB6\xB7\xB3\xA1"},
      {"full-width punctuation", "不能为空！", "\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1"},
      {"trail byte is '['", "乕@02]", "\x81\x5B@02]"},
      {"euro is the single byte 0x80", "a€b",
       "a\x80"
       "b"},
      {"0xFF is a private-use character", "\xEF\xA3\xB5", "\xFF"},
      {"pinyin e acute", "é", "\xA8\xA6"},
      {"zero byte is kept", std::string("a\0b", 3), std::string("a\0b", 3)},
      {"empty", "", ""},
  };
  return cases;
}

TEST(CodePage, ExactTextsConvertBothWays) {
  for (const ExactCase& c : ExactCases()) {
    SCOPED_TRACE(c.name);
    bool replaced = true;
    EXPECT_EQ(Utf8ToGbk(c.utf8, &replaced), c.gbk);
    EXPECT_FALSE(replaced);
    replaced = true;
    EXPECT_EQ(GbkToUtf8(c.gbk, &replaced), c.utf8);
    EXPECT_FALSE(replaced);
    replaced = true;
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(c.utf8, &replaced)), c.utf8);
    EXPECT_FALSE(replaced);
  }
}

TEST(CodePage, ReplacesWhatItCannotConvert) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string gbk;
  };
  const Case cases[] = {
      {"emoji",
       "a\xF0\x9F\x98\x80"
       "b",
       "a?b"},
      {"byte-order mark is not dropped silently",
       "\xEF\xBB\xBF"
       "a",
       "?a"},
      {"zero-width space", "\xE2\x80\x8B", "?"},
      {"latin letter outside GBK", "\xC3\xB1", "?"},
      {"invalid UTF-8 byte",
       "a\xFF"
       "b",
       "a?b"},
      {"truncated UTF-8 sequence", "\xE6\x8A", "?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool replaced = false;
    EXPECT_EQ(Utf8ToGbk(c.utf8, &replaced), c.gbk);
    EXPECT_TRUE(replaced);
  }
}

TEST(CodePage, InvalidUtf8BecomesReplacementCharacters) {
  struct Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"stray continuation byte",
       "a\x80"
       "b",
       u"a\uFFFDb"},
      {"truncated at the end", "a\xE6\x8A", u"a\uFFFD"},
      {"overlong encoding", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"lead byte before ASCII keeps the ASCII", "\xE6[", u"\uFFFD["},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool replaced = false;
    EXPECT_EQ(Utf8ToUtf16(c.utf8, &replaced), c.utf16);
    EXPECT_TRUE(replaced);
  }
}

TEST(IsValidUtf8, TakesWellFormedUtf8Only) {
  struct Case {
    const char* name;
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"empty", "", true},
      {"ASCII with line breaks and a TAB", "[name]\r\n\t`a`\n", true},
      {"a zero byte", std::string("a\0b", 3), true},
      {"Chinese", "\xE6\x8A\x80\xE8\x83\xBD", true},  // 技能
      {"byte-order mark", "\xEF\xBB\xBF[name]", true},
      {"smallest of each length", "\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80", true},
      {"largest of each length", "\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF", true},
      {"around the surrogates", "\xED\x9F\xBF\xEE\x80\x80", true},  // U+D7FF, U+E000
      {"noncharacter", "\xEF\xBF\xBE", true},                       // U+FFFE
      {"an emoji, which GBK cannot hold", "\xF0\x9F\x99\x82", true},
      // 技能 as GBK saves it.
      {"GBK", "\xBC\xBC\xC4\xDC", false},
      {"GBK with a trail byte that is ASCII", "\x81\x40", false},
      {"continuation byte alone", "a\x80", false},
      {"overlong two bytes", "\xC0\xAF", false},
      {"overlong two bytes, largest", "\xC1\xBF", false},
      {"overlong three bytes", "\xE0\x9F\xBF", false},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", false},
      {"first surrogate", "\xED\xA0\x80", false},
      {"last surrogate", "\xED\xBF\xBF", false},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
      {"lead of U+140000 and more", "\xF5\x80\x80\x80", false},
      {"five-byte form", "\xF8\x88\x80\x80\x80", false},
      {"0xFE and 0xFF", "\xFE\xFF", false},
      {"cut short at the end", "a\xE6\x8A", false},
      {"four-byte cut short at the end", "\xF0\x9F\x99", false},
      {"cut short before ASCII", "\xE6\x8A[", false},
      {"second continuation byte out of range", "\xE6\x8A\xC0", false},
      {"lead byte alone at the end", "[name]\xE6", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.name;
  }
}

// The converter replaces exactly what is not well-formed: every lead byte
// with every second byte, alone, with one more continuation byte and with
// two more agrees with it.
TEST(IsValidUtf8, AgreesWithTheConverter) {
  int disagreements = 0;
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      std::string bytes = {static_cast<char>(first), static_cast<char>(second)};
      for (int more = 0; more < 3; ++more, bytes += '\xBF') {
        bool replaced = false;
        Utf8ToUtf16(bytes, &replaced);
        if (IsValidUtf8(bytes) == replaced && ++disagreements < 10) {
          ADD_FAILURE() << std::hex << first << ' ' << second << " + " << more;
        }
      }
    }
  }
  EXPECT_EQ(disagreements, 0);
}

TEST(CodePage, InvalidUtf16AndGbkAreReplaced) {
  bool replaced = false;
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                        "b",
                        &replaced),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_TRUE(replaced);
  replaced = false;
  EXPECT_EQ(Utf16ToGbk(u"\xDC00x", &replaced), "?x");
  EXPECT_TRUE(replaced);

  // A lead byte without its trail byte, at the end or before an ASCII byte
  // that cannot be a trail: the ASCII byte survives.
  replaced = false;
  EXPECT_EQ(GbkToUtf16("a\xBC", &replaced), u"a\uFFFD");
  EXPECT_TRUE(replaced);
  replaced = false;
  EXPECT_EQ(GbkToUtf16("\x81"
                       "0",
                       &replaced),
            u"\uFFFD"
            "0");
  EXPECT_TRUE(replaced);

  // The flag describes the latest call only.
  replaced = true;
  EXPECT_EQ(GbkToUtf16("ok", &replaced), u"ok");
  EXPECT_FALSE(replaced);
}

// Every two-byte GBK character must survive GBK -> UTF-16 -> UTF-8 -> UTF-16
// -> GBK, one at a time and all together in one long text.
TEST(CodePage, EveryTwoByteCharacterRoundTrips) {
  std::string all;
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string gbk = {static_cast<char>(lead), static_cast<char>(trail)};
      all += gbk;
      ++characters;
      bool lost = false;
      const std::u16string utf16 = GbkToUtf16(gbk, &lost);
      ASSERT_FALSE(lost) << std::hex << lead << ' ' << trail;
      ASSERT_EQ(utf16.size(), 1u) << std::hex << lead << ' ' << trail;
      const std::u16string again = Utf8ToUtf16(Utf16ToUtf8(utf16));
      ASSERT_EQ(Utf16ToGbk(again, &lost), gbk) << std::hex << lead << ' ' << trail;
      ASSERT_FALSE(lost);
    }
  }
  EXPECT_EQ(characters, 23940);

  bool lost = true;
  const std::u16string utf16 = GbkToUtf16(all, &lost);
  EXPECT_FALSE(lost);
  EXPECT_EQ(utf16.size(), static_cast<std::size_t>(characters));
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(all), &lost), all);
  EXPECT_FALSE(lost);
}

// Each thread has its own converters: concurrent conversions, lossless and
// lossy mixed, give the same results and flags as on one thread.
TEST(CodePage, ConvertsOnManyThreadsAtOnce) {
  std::string longGbk;
  for (int i = 0; i < 2000; ++i) longGbk += "\xBC\xBC\xC4\xDC[@02]" + std::to_string(i) + "\r\n";
  const std::string longUtf8 = GbkToUtf8(longGbk);

  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int round = 0; round < 50; ++round) {
        for (const ExactCase& c : ExactCases()) {
          bool replaced = true;
          if (Utf8ToGbk(c.utf8, &replaced) != c.gbk || replaced) ++failures;
          if (GbkToUtf8(c.gbk, &replaced) != c.utf8 || replaced) ++failures;
          if (Utf8ToGbk("\xF0\x9F\x98\x80", &replaced) != "?" || !replaced) ++failures;
        }
        if (Utf8ToGbk(longUtf8) != longGbk) ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

TEST(LineBreaks, EveryBreakBecomesCrLf) {
  struct Case {
    std::string in;
    std::string out;
  };
  for (const Case& c : std::vector<Case>{
           {"", ""},
           {"a\r\nb\r\n", "a\r\nb\r\n"},
           {"a\nb\n", "a\r\nb\r\n"},
           {"a\rb\r", "a\r\nb\r\n"},
           {"a\r\r\nb\n\n", "a\r\n\r\nb\r\n\r\n"},
           {"\n", "\r\n"},
           {"\x81\x0A", "\x81\r\n"},  // LF is never the trail of a character
       }) {
    EXPECT_EQ(WithCrLfLineBreaks(c.in), c.out) << c.in;
  }
}

}  // namespace
}  // namespace platform
