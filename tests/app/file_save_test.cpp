// 保存文件按钮 as the user meets it: the script box saved as UTF-8 to the
// path in 路径编辑框, refusals, and the old file kept whole when a save
// fails.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/units.h"
#include "engine/text.h"
#include "platform/codepage.h"
#include "platform/file_save.h"
#include "platform/gbk.h"
#include "tests/app/read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;

namespace fs = std::filesystem;

class SaveFile : public ReadSession {
 protected:
  SaveFile() {
    std::string templ = (fs::temp_directory_path() / "se-savefile-XXXXXX").string();
    EXPECT_NE(::mkdtemp(templ.data()), nullptr);
    root_ = templ;
  }
  ~SaveFile() override {
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(root_);
  }
  std::string Path(const std::string& utf8) const {
    return platform::Utf8ToGbk((root_ / utf8).string());
  }
  std::string Read(const std::string& utf8) const {
    std::ifstream in(root_ / utf8, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // The box holds `script` (GBK) and the path box `path`, as after a pick
  // of a skill in the list, which also enables the button.
  void Prepare(std::string_view script, const std::string& path) {
    EXPECT_TRUE(Paste(script));
    EXPECT_TRUE(h.Type(kMainWindow, "路径编辑框", path));
    main_window::保存文件按钮->Enable();
  }
  fs::path root_;
};

TEST_F(SaveFile, WritesUtf8WithNothingAfterTheText) {
  Run([&] {
    using namespace main_window;
    const std::string script = Gbk("[name]\r\n`崩嶽斩`\t\r\n");
    Prepare(script, Path("技能.skl"));
    bool checked = false;
    h.Then(
        [&] {
          checked = true;
          EXPECT_EQ(Text(保存文件按钮), "√√√");
          EXPECT_TRUE(保存文件按钮->Disabled());
          EXPECT_FALSE(h.Click(kMainWindow, "读取按钮"));
          EXPECT_THAT(h.Log().back(), ::testing::StartsWith("sound"));
        },
        500);
    EXPECT_THAT(Click("保存文件按钮"), ElementsAre());
    EXPECT_TRUE(checked);
    EXPECT_EQ(Read("技能.skl"), "[name]\r\n`崩嶽斩`\t\r\n");  // UTF-8, no BOM, no zero byte
    EXPECT_EQ(ConvertUtf8ToGbk(Read("技能.skl")), script);
    EXPECT_EQ(Text(保存文件按钮), "保存文件");
    EXPECT_FALSE(保存文件按钮->Disabled());
  });
}

// An empty box is never written over a file: not by a save of the box
// emptied by hand, and not after 清空, which leaves the box naming no file,
// so that a script pasted next cannot be saved over the file either.
TEST_F(SaveFile, NothingIsSavedFromAnEmptyOrClearedBox) {
  Run([&] {
    using namespace main_window;
    { std::ofstream(root_ / "skill.skl") << "old"; }
    Prepare("", Path("skill.skl"));
    EXPECT_THAT(Click("保存文件按钮", 1), ElementsAre("脚本框是空的，请先放入技能数据再保存！"));
    EXPECT_EQ(Text(保存文件按钮), "保存文件");
    EXPECT_FALSE(保存文件按钮->Disabled());

    Prepare(Fixture("both_copies", "PT"), Path("skill.skl"));
    g_scriptFilePath = (root_ / "skill.skl").string();  // as a pick leaves it
    EXPECT_TRUE(Click("清空按钮").empty());
    EXPECT_EQ(Text(路径编辑框), "*");
    EXPECT_TRUE(保存文件按钮->Disabled());
    EXPECT_EQ(g_scriptFilePath, "");
    // Another skill pasted, read and released: the release enables the
    // button, and the save has no file to write to.
    PasteAndRead(Fixture("static_one_block", "PT"), 1);
    Click("读取按钮");
    EXPECT_FALSE(保存文件按钮->Disabled());
    EXPECT_THAT(Click("保存文件按钮", 1), ElementsAre("保存失败！"));
    EXPECT_EQ(Read("skill.skl"), "old");
  });
}

TEST_F(SaveFile, RefusedWhileASkillIsHeld) {
  Run([&] {
    { std::ofstream(root_ / "skill.skl") << "old"; }
    Prepare(Fixture("both_copies", "PT"), Path("skill.skl"));
    Click("读取按钮");
    main_window::保存文件按钮->Enable();  // the handler refuses on its own as well
    EXPECT_THAT(Click("保存文件按钮", 1), ElementsAre("技能修改状态下，无法保存！"));
    EXPECT_EQ(Read("skill.skl"), "old");
  });
}

class SaveFileFails : public SaveFile, public ::testing::WithParamInterface<const char*> {};

// A failed save says so and leaves the old file whole.
TEST_P(SaveFileFails, SaysSoAndKeepsTheOldFile) {
  const std::string where = GetParam();
  Run([&] {
    fs::create_directory(root_ / "closed");
    {
      std::ofstream(root_ / "closed/skill.skl") << "old";
      std::ofstream(root_ / "locked.skl") << "old";
    }
    fs::permissions(root_ / "closed", fs::perms(0555));
    fs::permissions(root_ / "locked.skl", fs::perms(0444));
    std::string path = where;
    if (where.starts_with("/")) path = Path(where.substr(1));
    Prepare(Gbk("[name]\r\n"), path);

    // The file service fails half way through the write.
    struct HalfWrite : platform::FileOps {
      long Write(int fd, const char* data, std::size_t size) override {
        if (done) {
          errno = ENOSPC;
          return -1;
        }
        done = true;
        return FileOps::Write(fd, data, size / 2);
      }
      bool done = false;
    } halfWrite;
    platform::FileOps* previous = platform::SetFileOps(&halfWrite);
    EXPECT_THAT(Click("保存文件按钮", 1), ElementsAre("保存失败！"));
    platform::SetFileOps(previous);
    EXPECT_EQ(Read("closed/skill.skl"), "old");
    EXPECT_EQ(Read("locked.skl"), "old");
    // No file was created and no temporary one left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "closed"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
    EXPECT_EQ(Text(main_window::保存文件按钮), "保存文件");
    EXPECT_FALSE(main_window::保存文件按钮->Disabled());
  });
}

// "/x" names x in the scratch folder.
INSTANTIATE_TEST_SUITE_P(Paths, SaveFileFails,
                         ::testing::Values("", "*", "skill.skl", "/closed", "/closed/new.skl",
                                           "/missing/skill.skl", "/locked.skl", "/half.skl"),
                         test_names::Text());

// Where the path box leads: a long name, a link and a file in a folder
// that takes no new file are saved there; a path that names no file, as
// the read would take it, is refused and nothing is written anywhere.
TEST_F(SaveFile, SavesWhereThePathLeadsAndRefusesANameThatNamesNothing) {
  const std::string longName = std::string(236, 'a') + ".skl";
  struct Case {
    const char* label;
    std::string path;
    const char* saved;  // the file that takes the text; nullptr: refused
  };
  std::vector<Case> cases = {
      {"a 240-byte name", Path(longName), longName.c_str()},
      {"a link to a missing file", Path("link.skl"), "real.skl"},
      {"a file in a folder that takes no new file", Path("closed/skill.skl"), "closed/skill.skl"},
      {"a zero byte", Path("old.skl") + std::string(1, '\0') + "x", nullptr},
      {"a lead byte alone", Path("old.skl") + "\x81", nullptr},
  };
  Run([&] {
    fs::create_directory(root_ / "closed");
    {
      std::ofstream(root_ / "closed/skill.skl") << "old";
      std::ofstream(root_ / "old.skl") << "old";
      std::ofstream(root_ / longName) << "old";
    }
    fs::create_symlink("real.skl", root_ / "link.skl");
    fs::permissions(root_ / "closed", fs::perms(0555));
    for (const Case& c : cases) {
      Prepare(Gbk("[name]\r\n技能\r\n"), c.path);
      if (c.saved == nullptr) {
        EXPECT_THAT(Click("保存文件按钮", 1), ElementsAre("保存失败！")) << c.label;
        continue;
      }
      EXPECT_THAT(Click("保存文件按钮"), ElementsAre()) << c.label;
      EXPECT_EQ(Read(c.saved), "[name]\r\n技能\r\n") << c.label;
    }
    EXPECT_TRUE(fs::is_symlink(root_ / "link.skl"));
    EXPECT_EQ(Read("old.skl"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 5);
  });
}

}  // namespace
}  // namespace read_test
