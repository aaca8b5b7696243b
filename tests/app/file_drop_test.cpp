// Dropping files on the script box: one PT skill file of at most 99
// kilobytes is opened and read at once; everything else is refused and
// changes nothing.
#include "app/file_drop.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/units.h"
#include "framework/types.h"
#include "platform/codepage.h"
#include "platform/gbk.h"
#include "read_session.h"
#include "scratch_folder.h"

namespace app_test {
namespace {

using namespace app;
using platform::Gbk;
using read_test::Fixture;
using read_test::Utf8;
using ::testing::ElementsAre;

// A PT script as a file holds it (UTF-8), padded with blanks on a last
// line of its own to exactly `size` bytes.
std::string PtFileOfSize(std::size_t size) {
  std::string bytes = platform::GbkToUtf8(Fixture("both_copies", "PT")) + "\r\n";
  EXPECT_LE(bytes.size(), size);
  bytes.resize(size, ' ');
  return bytes;
}

class FileDropTest : public read_test::ReadSession {
 protected:
  ScratchFolder folder;
};

TEST_F(FileDropTest, OnlyOnePtFileOfAtMost99KilobytesIsOpened) {
  folder.Write("max.skl", PtFileOfSize(101'376));
  folder.Write("over.skl", PtFileOfSize(101'377));
  folder.Write("sp.skl", platform::GbkToUtf8(Fixture("both_copies", "SP")));
  folder.Write("empty.skl", "");
  // A PT script with a zero byte inside, and one as UTF-16 with its mark.
  folder.Write("zero.skl", platform::GbkToUtf8(Fixture("both_copies", "PT")) + '\0' + "\r\n");
  folder.Write("utf16.skl", std::string("\xFF\xFE[\0n\0a\0m\0e\0]\0\t\0", 16));
  // The PT and SP scripts saved as GBK, and a UTF-8 one cut short in the
  // middle of its last character.
  folder.Write("gbk.skl", Fixture("both_copies", "PT"));
  folder.Write("gbk-sp.skl", Fixture("both_copies", "SP") + Gbk("`技能`\r\n"));
  folder.Write("cut.skl", platform::GbkToUtf8(Fixture("both_copies", "PT")) + "\xE6\x8A");
  folder.Folder("folder.skl");
  ASSERT_EQ(::mkfifo(folder.At("pipe.skl").c_str(), 0600), 0);  // an open would wait for a writer
  const bool sparse = [&] {
    std::error_code error;
    folder.Write("huge.skl", "");
    std::filesystem::resize_file(folder.At("huge.skl"), (std::uintmax_t{1} << 32) + 3, error);
    return !error;  // its low 32 bits say 3 bytes
  }();

  struct Case {
    const char* label;
    std::vector<std::string> paths;
    const char* message;  // nullptr: opened and read
  };
  const char* kNotASkillFile = "只能拖入PVFTool解压的技能文件！";
  const char* kNoText = "该文件不是文本技能脚本，请换一个技能文件！";
  const char* kNotUtf8 = "该文件不是UTF-8技能文件，请另存为UTF-8！";
  std::vector<Case> cases = {
      {"99 kilobytes", {folder.Gbk("max.skl")}, nullptr},
      {"one byte more", {folder.Gbk("over.skl")}, kNotASkillFile},
      {"SP form", {folder.Gbk("sp.skl")}, kNotASkillFile},
      {"empty", {folder.Gbk("empty.skl")}, kNotASkillFile},
      {"a zero byte inside", {folder.Gbk("zero.skl")}, kNoText},
      {"UTF-16", {folder.Gbk("utf16.skl")}, kNoText},
      {"GBK", {folder.Gbk("gbk.skl")}, kNotUtf8},
      {"SP form in GBK", {folder.Gbk("gbk-sp.skl")}, kNotUtf8},
      {"UTF-8 cut short", {folder.Gbk("cut.skl")}, kNotUtf8},
      {"missing", {folder.Gbk("missing.skl")}, kNotASkillFile},
      {"a folder", {folder.Gbk("folder.skl")}, kNotASkillFile},
      {"a named pipe", {folder.Gbk("pipe.skl")}, kNotASkillFile},
      {"an endless device", {"/dev/zero"}, kNotASkillFile},
      {"a name outside GBK", {std::string(fw::kPathOutsideGbk)}, kNotASkillFile},
      {"two files", {folder.Gbk("max.skl"), folder.Gbk("max.skl")}, "只能拖入一个技能文件！"},
  };
  if (sparse) cases.push_back({"4 GiB and 3 bytes", {folder.Gbk("huge.skl")}, kNotASkillFile});

  Run([&] {
    using namespace main_window;
    for (const Case& c : cases) {
      编辑框1->SetText("the user's text");
      if (c.message != nullptr) {
        EXPECT_THAT(Drop(c.paths, 1), ElementsAre(c.message)) << c.label;
        EXPECT_EQ(编辑框1->Text(), "the user's text") << c.label;
        EXPECT_EQ(Utf8(路径编辑框->Text()), "*") << c.label;
        EXPECT_TRUE(保存文件按钮->Disabled()) << c.label;
        EXPECT_EQ(g_droppedFilePath, "") << c.label;
        EXPECT_EQ(g_scriptFilePath, "") << c.label;
        continue;
      }
      // Opened over the text in the box, after the question about it.
      EXPECT_THAT(Drop(c.paths, 1), ElementsAre("技能数据的修改尚未保存，确定放弃修改吗？"))
          << c.label;
      EXPECT_EQ(Utf8(读取按钮->Text()), "释放数据") << c.label;  // read at once
      EXPECT_EQ(g_droppedFilePath, c.paths.front());
      EXPECT_EQ(路径编辑框->Text(), c.paths.front());
      Click("读取按钮");  // release, for the next case
      EXPECT_EQ(编辑框1->Text(), platform::Utf8ToGbk(PtFileOfSize(101'376)));
      EXPECT_FALSE(保存文件按钮->Disabled());
      路径编辑框->SetText("*");
      保存文件按钮->Disable();
      g_droppedFilePath.clear();
      g_scriptFilePath.clear();
    }
  });
}

TEST_F(FileDropTest, ADropWhileASkillIsHeldIsRefusedBeforeThePathIsLookedAt) {
  Run([&] {
    PasteAndRead(Fixture("both_copies", "PT"));
    EXPECT_THAT(Drop({"/no/such/file.skl", "/another"}, 1),
                ElementsAre("请修改完成后再拖放文件！"));
    EXPECT_EQ(Utf8(main_window::路径编辑框->Text()), "*");
  });
}

TEST_F(FileDropTest, BareLfLineEndsBecomeCrLfAndReadAsTheSameScript) {
  std::string lf = platform::GbkToUtf8(Fixture("both_copies", "PT"));
  for (std::size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) {
    lf.erase(at, 1);
  }
  folder.Write("lf.skl", lf);
  Run([&] {
    EXPECT_THAT(Drop({folder.Gbk("lf.skl")}, 0), ElementsAre());
    EXPECT_EQ(main_window::编辑框1->Text(), Fixture("both_copies", "PT"));
    EXPECT_EQ(Utf8(main_window::读取按钮->Text()), "释放数据");
  });
}

TEST_F(FileDropTest, CharactersGbkCannotHoldAreWarnedOfBeforeTheRead) {
  folder.Write("odd.skl", "\xF0\x9F\x99\x82" + platform::GbkToUtf8(Fixture("both_copies", "PT")));
  Run([&] {
    EXPECT_THAT(Drop({folder.Gbk("odd.skl")}, 1),
                ElementsAre("文件中有GBK无法表示的字符，已显示为?，"));
    EXPECT_EQ(main_window::编辑框1->Text(), "?" + Fixture("both_copies", "PT"));
  });
}

TEST(GetFileSizeKb, RoundsTheWholeSizeUp) {
  ScratchFolder folder;
  struct Case {
    std::size_t bytes;
    std::int64_t kb;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{1024, 1}, Case{1025, 2}, Case{101'376, 99},
                        Case{101'377, 100}}) {
    folder.Write("f", std::string(c.bytes, 'x'));
    EXPECT_EQ(GetFileSizeKb(folder.Gbk("f")), c.kb) << c.bytes;
  }
  EXPECT_EQ(GetFileSizeKb(folder.Gbk("missing")), -1);
  EXPECT_EQ(GetFileSizeKb(std::string(fw::kPathOutsideGbk)), -1);
}

}  // namespace
}  // namespace app_test
