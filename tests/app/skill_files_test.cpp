// Skill files: the display name the skill list shows for a file, the text a
// file puts into the script box, and the walk over a class folder.
#include "app/skill_files.h"

#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/text.h"
#include "platform/codepage.h"
#include "platform/gbk.h"
#include "scratch_folder.h"

namespace app_test {
namespace {

using app::SkillNameIndex;
using platform::Gbk;

// A name table with the lines that matter: a comment that quotes a key
// before that key's own line, a key without text, a description template,
// a line holding "<" alone, a key holding a GBK character whose trail byte
// is a capital letter.
SkillNameIndex TestNames() {
  std::vector<std::string> lines;
  for (const char* line : {
           "<// 旧名 <iron_will_name>不屈斗志", "<", "<name_14910>后跳", "<iron_will_name>钢铁意志",
           "<disactive_status_command>", "<Mixed_Case_Name>大小写",
           "<swift_level_property>速度:<int>%", "<swift_name>疾风>步", "<name_14910>重复的键",
           "<a>b_name>大于号",
           "<丄_name>丄字",   // 丄 is 0x81 0x41: its trail byte reads as "A"
           "<丂A_name>字A",   // 丂 is 0x81 0x40; the "A" after it is a letter of its own
           "<€B_name>欧元B",  // € is the single byte 0x80; the "B" after it is a letter too
       }) {
    lines.push_back(Gbk(line));
  }
  return SkillNameIndex(std::move(lines));
}

struct NameCase {
  const char* label;
  std::string script;  // UTF-8; converted to GBK for the lookup
  const char* name;
};

TEST(SkillDisplayName, TakesTheKeyOfTheLinkAfterTheNameTag) {
  const SkillNameIndex names = TestNames();
  const std::vector<NameCase> cases = {
      {"plain link", "[name]\r\n<12::name_14910`后跳`>\t\r\n", "后跳"},
      {"key in capitals", "[name]\r\n<12::NAME_14910`x`>\t\r\n", "后跳"},
      {"table key in mixed case", "[name]\r\n<12::mixed_case_name`x`>\r\n", "大小写"},
      {"tag in capitals", "[type]\r\n[NAME]\r\n<12::name_14910`x`>\r\n", "后跳"},
      {"tag inside a longer line", "x[name]y\r\n<12::name_14910`x`>\r\n", "后跳"},
      {"first tag counts", "[name]\r\n<12::iron_will_name`x`>\r\n[name]\r\n<12::name_14910`\r\n",
       "钢铁意志"},
      {"a comment quoting the key is not its line", "[name]\r\n<12::iron_will_name`x`>\r\n",
       "钢铁意志"},
      {"first of two lines of a key", "[name]\r\n<12::name_14910`x`>\r\n", "后跳"},
      {"text up to a further >", "[name]\r\n<12::swift_name`x`>\r\n", "疾风"},
      {"key holding >", "[name]\r\n<12::a>b_name`x`>\r\n", "b_name"},
      {"two-byte key", "[name]\r\n<12::丄_name`x`>\r\n", "丄字"},
      {"a trail byte is no letter to fold", "[name]\r\n<12::乤_name`x`>\r\n", "未知技能"},
      {"a letter after a two-byte character folds", "[name]\r\n<12::丂a_name`x`>\r\n", "字A"},
      {"a letter after the euro sign folds", "[name]\r\n<12::€b_name`x`>\r\n", "欧元B"},
      {"no prefix", "[name]\r\nname_14910`x`>\r\n", "后跳"},
      {"prefix removed once", "[name]\r\n<12::<12::name_14910`x`\r\n", "未知技能"},
      {"blank before the prefix", "[name]\r\n <12::name_14910`x`>\r\n", "未知技能"},
      {"blank line before the link", "[name]\r\n\r\n<12::name_14910`x`>\r\n", "未知技能"},
      {"no backquote", "[name]\r\n<12::name_14910>\r\n", "未知技能"},
      {"backquote only at the end", "[name]\r\n<12::name_14910`\r\n", "未知技能"},
      {"no name tag", "[type]\r\n<12::name_14910`x`\r\n", "未知技能"},
      {"name tag on the last line", "[name]", "未知技能"},
      {"key without text", "[name]\r\n<12::disactive_status_command`x`\r\n", "未知技能"},
      {"template key", "[name]\r\n<12::swift_level_property`x`\r\n", "速度:<int"},
      {"key no line holds", "[name]\r\n<12::nothing_name`x`\r\n", "未知技能"},
      {"key of a comment", "[name]\r\n<12::// 旧名 <iron_will_name`x`\r\n", "未知技能"},
      {"empty key", "[name]\r\n<12::`x`\r\n", "未知技能"},
      {"empty script", "", "未知技能"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(platform::GbkToUtf8(app::SkillDisplayName(Gbk(c.script), names)), c.name) << c.label;
  }
}

TEST(SkillDisplayName, OfAFileWithAnyLineEndsOrUnreadable) {
  const SkillNameIndex names = TestNames();
  ScratchFolder folder;
  folder.Write("a.skl", "\xEF\xBB\xBF[name]\r\n<12::name_14910`x`>\r\n");
  folder.Write("lf.skl", "[name]\n<12::name_14910`x`>\t\n[type]\n");
  folder.Write("cr.skl", "[name]\r<12::name_14910`x`>\r");
  for (const char* name : {"a.skl", "lf.skl", "cr.skl"}) {
    EXPECT_EQ(app::ReadSkillDisplayName(folder.Native(name), names), Gbk("后跳")) << name;
  }
  EXPECT_EQ(app::ReadSkillDisplayName(folder.Native("missing.skl"), names), Gbk("未知技能"));
  EXPECT_EQ(app::ReadSkillDisplayName(folder.Native(), names), Gbk("未知技能"));
}

// What the list shows for a file's bytes is what the name of the file's
// whole text would be: random files of the pieces that matter.
TEST(SkillDisplayName, OfTheBytesIsThatOfTheWholeText) {
  const SkillNameIndex names = TestNames();
  const std::vector<std::string> pieces = {
      "[name]",
      "[NAME]",
      "[nam",
      "e]",
      "<12::",
      "name_14910",
      "NAME_14910",
      "iron_will_name",
      "`",
      "x",
      " ",
      "\r\n",
      "\n",
      "\r",
      "\t",
      "€",  // the single-byte 0x80 of GBK
      std::string(1, '\0'),
      "\xEF\xBB\xBF",
      "\xE4\xB8",
      "\xFF",
      "\xF0\x9F\x99\x82",
      "后跳",
      "丄",
  };
  std::uint32_t seed = 12345;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int round = 0; round < 20000; ++round) {
    std::string bytes;
    for (int n = static_cast<int>(next() % 24); n > 0; --n) bytes += pieces[next() % pieces.size()];
    const std::string whole = platform::WithCrLfLineBreaks(ConvertUtf8ToGbk(bytes));
    ASSERT_EQ(app::SkillFileDisplayName(bytes, names), app::SkillDisplayName(whole, names))
        << ::testing::PrintToString(bytes);
  }
  // A euro sign (0x80 in GBK) right before the tag.
  const std::string euro = "€[name]\r\n<12::name_14910`x`\r\n[name]\r\n<12::iron_will_name`x`\r\n";
  EXPECT_EQ(app::SkillFileDisplayName(euro, names),
            app::SkillDisplayName(platform::WithCrLfLineBreaks(ConvertUtf8ToGbk(euro)), names));
}

TEST(SkillFileText, ReadsUtf8AsGbkAndTellsOfReplacedCharacters) {
  ScratchFolder folder;
  folder.Write("plain.skl", "\xEF\xBB\xBF[name]\n技能\n");
  folder.Write("outside.skl", "[name]\r\n\xF0\x9F\x99\x82\r\n");  // no GBK form
  folder.Write("big.skl", std::string(1000, 'x'));

  const auto plain = app::ReadSkillFile(folder.Native("plain.skl"));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->text, Gbk("[name]\r\n技能\r\n"));
  EXPECT_FALSE(plain->replaced);

  const auto outside = app::ReadSkillFile(folder.Native("outside.skl"));
  ASSERT_TRUE(outside);
  EXPECT_EQ(outside->text, "[name]\r\n?\r\n");
  EXPECT_TRUE(outside->replaced);

  EXPECT_TRUE(app::ReadSkillFile(folder.Native("big.skl"), 1000));
  EXPECT_FALSE(app::ReadSkillFile(folder.Native("big.skl"), 999));
  EXPECT_FALSE(app::ReadSkillFile(folder.Native("missing.skl")));
}

// Zero bytes: at the very end they are left out, anywhere else they mark
// a file that is no text script (UTF-16 text, a picture).
TEST(SkillFileText, AZeroByteBeforeTheEndIsNoTextScript) {
  struct Case {
    const char* label;
    std::string bytes;
    std::optional<std::string> text;  // nullopt: no text script
  };
  // "[name]" CR LF as a Windows editor saves it in UTF-16, with its mark.
  const std::string utf16("\xFF\xFE[\0n\0a\0m\0e\0]\0\r\0\n\0", 18);
  const std::vector<Case> cases = {
      {"one at the end", std::string("[name]\r\n\0", 9), "[name]\r\n"},
      {"several at the end", std::string("[name]\0\0\0", 9), "[name]"},
      {"nothing but zero bytes", std::string(3, '\0'), ""},
      {"one inside", std::string("[name]\0\r\n", 9), std::nullopt},
      {"one inside and one at the end", std::string("a\0b\0", 4), std::nullopt},
      {"UTF-16", utf16, std::nullopt},
  };
  ScratchFolder folder;
  for (const Case& c : cases) {
    folder.Write("f.skl", c.bytes);
    const std::optional<app::SkillFileText> file = app::ReadSkillFile(folder.Native("f.skl"));
    ASSERT_TRUE(file) << c.label;
    EXPECT_EQ(file->notText, !c.text) << c.label;
    EXPECT_EQ(file->text, c.text.value_or("")) << c.label;
  }
}

// Bytes that are not well-formed UTF-8 (a script saved as GBK) are no file
// to open: converted, every Chinese character would show as "?" and a save
// would write those over the file.
TEST(SkillFileText, BytesThatAreNotUtf8AreNotOpened) {
  struct Case {
    const char* label;
    std::string bytes;
    std::optional<std::string> text;  // GBK; nullopt: not UTF-8
    bool replaced = false;
  };
  const std::vector<Case> cases = {
      {"GBK", Gbk("[name]\r\n技能\r\n"), std::nullopt},
      {"GBK after a byte-order mark", "\xEF\xBB\xBF" + Gbk("技能"), std::nullopt},
      {"one GBK character in UTF-8", "\xE6\x8A\x80" + Gbk("能"), std::nullopt},
      {"cut short at the end", "[name]\r\n\xE6\x8A", std::nullopt},
      {"cut short before the zero bytes at the end", std::string("a\xE6\x8A\0\0", 5), std::nullopt},
      {"overlong", "[name]\xC0\xAF", std::nullopt},
      {"encoded surrogate", "\xED\xA0\x80", std::nullopt},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
      // As today: the mark is left out, what GBK cannot hold becomes "?".
      {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF\xE6\x8A\x80", Gbk("技")},
      {"UTF-8 that GBK cannot hold", "a\xF0\x9F\x99\x82", "a?", true},
  };
  ScratchFolder folder;
  for (const Case& c : cases) {
    folder.Write("f.skl", c.bytes);
    const std::optional<app::SkillFileText> file = app::ReadSkillFile(folder.Native("f.skl"));
    ASSERT_TRUE(file) << c.label;
    EXPECT_FALSE(file->notText) << c.label;
    EXPECT_EQ(file->notUtf8, !c.text) << c.label;
    EXPECT_EQ(file->text, c.text.value_or("")) << c.label;
    EXPECT_EQ(file->replaced, c.replaced) << c.label;
  }
  // A zero byte inside says more than the encoding.
  folder.Write("f.skl", std::string("\xBC\xBC\0\xC4\xDC", 5));
  const std::optional<app::SkillFileText> both = app::ReadSkillFile(folder.Native("f.skl"));
  ASSERT_TRUE(both);
  EXPECT_TRUE(both->notText);
  EXPECT_FALSE(both->notUtf8);
}

TEST(EnumerateFiles, VisitsTheFolderThenItsSubFoldersInByteOrder) {
  ScratchFolder folder;
  for (const char* name :
       {"b.skl", "a.SKL", "c.txt", "sub/d.skl", "sub/deeper/e.skl", "zsub/f.skl"}) {
    folder.Write(name, "x");
  }
  std::filesystem::create_directory_symlink(folder.At("sub"), folder.At("loop"));
  const auto walk = [&](std::string_view extension, bool recursive, int stopAfter = -1) {
    std::vector<std::string> visited;
    std::string start = folder.Native();
    app::EnumerateFiles(start, extension, recursive,
                        [&](const std::string& name, const std::string& path) {
                          EXPECT_EQ(path.substr(path.size() - name.size()), name);
                          visited.push_back(path.substr(folder.Native().size()));
                          return static_cast<int>(visited.size()) != stopAfter;
                        });
    return visited;
  };
  using ::testing::ElementsAre;
  EXPECT_THAT(walk("skl", false), ElementsAre("/a.SKL", "/b.skl"));
  EXPECT_THAT(walk("*.skl", false), ElementsAre("/a.SKL", "/b.skl"));
  EXPECT_THAT(walk("*", false), ElementsAre("/a.SKL", "/b.skl", "/c.txt"));
  EXPECT_THAT(walk("", false), ElementsAre("/a.SKL", "/b.skl", "/c.txt"));
  EXPECT_THAT(walk("skl", true),
              ElementsAre("/a.SKL", "/b.skl", "/sub/d.skl", "/sub/deeper/e.skl", "/zsub/f.skl"));
  EXPECT_THAT(walk("skl", true, 3), ElementsAre("/a.SKL", "/b.skl", "/sub/d.skl"));
}

}  // namespace
}  // namespace app_test
