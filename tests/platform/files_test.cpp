// File and folder services on a scratch folder.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_save.h"
#include "platform/gbk.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "se-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    root_ = templ;
  }
  void TearDown() override { fs::remove_all(root_); }
  // A path under the scratch folder, as the system names it.
  std::string Path(std::string_view utf8) const {
    return (root_ / fs::path(std::string(utf8))).string();
  }
  void Touch(std::string_view utf8) const {
    std::ofstream(root_ / fs::path(std::string(utf8))) << "x";
  }
  fs::path root_;
};

TEST_F(Files, WholeFileRoundTripKeepsEveryByteAndTruncates) {
  const std::string bytes("\xEF\xBB\xBFline\r\n\0tail\x80", 16);
  const std::string path = Path("技能.skl");
  ASSERT_TRUE(ReplaceFileContents(path, bytes));
  EXPECT_TRUE(fs::exists(root_ / "技能.skl"));  // stored under its UTF-8 name
  EXPECT_EQ(ReadWholeFile(path), bytes);
  EXPECT_EQ(FileSize(path), 16);
  ASSERT_TRUE(ReplaceFileContents(path, "ab"));
  EXPECT_EQ(ReadWholeFile(path), "ab");
  ASSERT_TRUE(ReplaceFileContents(path, ""));
  EXPECT_EQ(ReadWholeFile(path), "");  // empty, not unreadable
}

TEST_F(Files, FailuresAreReportedNotHidden) {
  EXPECT_FALSE(ReplaceFileContents("", "x"));
  EXPECT_FALSE(ReplaceFileContents(Path("missing/a.txt"), "x"));
  EXPECT_FALSE(ReplaceFileContents(Path(""), "x"));  // the folder itself
  EXPECT_EQ(ReadWholeFile(Path("missing.txt")), std::nullopt);
  EXPECT_EQ(ReadWholeFile(Path("")), std::nullopt);
  EXPECT_EQ(ReadWholeFile(""), std::nullopt);
  EXPECT_EQ(FileSize(Path("missing.txt")), std::nullopt);
  EXPECT_FALSE(PathExists(Path("missing.txt")));
  EXPECT_FALSE(PathExists(""));
}

TEST_F(Files, DirectoryTests) {
  fs::create_directory(root_ / "empty");
  fs::create_directory(root_ / "full");
  fs::create_directory(root_ / "hidden");
  Touch("full/a");
  Touch("hidden/.dot");
  Touch("file");
  struct Case {
    const char* name;
    bool isDir;
    bool isEmpty;
  };
  for (const Case& c :
       {Case{"empty", true, true}, Case{"full", true, false}, Case{"hidden", true, false},
        Case{"file", false, false}, Case{"missing", false, false}}) {
    EXPECT_EQ(IsDirectory(Path(c.name)), c.isDir) << c.name;
    EXPECT_EQ(IsDirectoryEmpty(Path(c.name)), c.isEmpty) << c.name;
  }
  EXPECT_EQ(FileSize(Path("full")), 0);
  EXPECT_TRUE(PathExists(Path("full")));
}

TEST_F(Files, ListsRegularFilesByExtensionInByteOrderWithoutEnteringFolders) {
  Touch("b.skl");
  Touch("B.SKL");  // upper-case extension
  Touch("a.Skl");
  Touch("中文.skl");
  Touch("c.sklx");
  Touch("d.txt");
  Touch("skl");
  Touch("\xF0\x9F\x99\x82.skl");  // no GBK form
  Touch("bad\xFF.skl");           // not UTF-8 at all
  Touch("unreadable.skl");
  fs::permissions(root_ / "unreadable.skl", fs::perms::none);
  ASSERT_EQ(::mkfifo((root_ / "pipe.skl").c_str(), 0600), 0);
  fs::create_directory(root_ / "folder.skl");
  Touch("folder.skl/inner.skl");
  fs::create_symlink(root_ / "b.skl", root_ / "link.skl");
  fs::create_symlink(root_ / "folder.skl", root_ / "folderlink.skl");
  fs::create_symlink(root_ / "nowhere", root_ / "dangling.skl");

  // Listed: regular files after following links, readable or not, by the
  // names the system gives, whether GBK can hold them or not, in byte order.
  const std::vector<std::string> expected = {
      "B.SKL",    "a.Skl",          "b.skl",    "bad\xFF.skl",
      "link.skl", "unreadable.skl", "中文.skl", "\xF0\x9F\x99\x82.skl"};
  EXPECT_EQ(ListFiles(root_.string(), "skl"), expected);
  EXPECT_EQ(ListFiles(root_.string() + "/", "SKL"), expected);

  EXPECT_EQ(ListFiles(root_.string(), "").size(), 11u);  // every regular file
  EXPECT_TRUE(ListFiles(Path("missing"), "skl").empty());
  EXPECT_TRUE(ListFiles("", "skl").empty());
  EXPECT_TRUE(ListFiles(Path("d.txt"), "skl").empty());

  // Folders, not following links.
  EXPECT_EQ(ListFolders(root_.string()), std::vector<std::string>{"folder.skl"});
}

TEST_F(Files, OnlyRegularFilesAreReadAndNeverWaitOrRunAway) {
  ASSERT_EQ(::mkfifo((root_ / "pipe").c_str(), 0600), 0);  // no writer: an open would wait
  fs::create_directory(root_ / "folder");
  Touch("file");
  fs::create_symlink(root_ / "file", root_ / "link");
  fs::create_symlink(root_ / "pipe", root_ / "pipelink");
  struct Case {
    std::string path;
    bool readable;
  };
  for (const Case& c :
       {Case{Path("pipe"), false}, Case{Path("pipelink"), false}, Case{Path("folder"), false},
        Case{"/dev/zero", false}, Case{"/dev/null", false}, Case{Path("file"), true},
        Case{Path("link"), true}}) {
    EXPECT_EQ(ReadWholeFile(c.path).has_value(), c.readable) << c.path;
  }
  EXPECT_EQ(FileSize(Path("pipe")), 0);
  EXPECT_EQ(FileSize("/dev/zero"), 0);
}

TEST_F(Files, ALimitRefusesWhatIsLarger) {
  const std::string path = Path("data");
  ASSERT_TRUE(ReplaceFileContents(path, std::string(100, 'x')));
  EXPECT_EQ(ReadWholeFile(path, 100), std::string(100, 'x'));
  EXPECT_EQ(ReadWholeFile(path, 99), std::nullopt);
  EXPECT_EQ(ReadWholeFile(path, 0), std::nullopt);
  ASSERT_TRUE(ReplaceFileContents(path, ""));
  EXPECT_EQ(ReadWholeFile(path, 0), "");
}

TEST_F(Files, SizesUseAllSixtyFourBits) {
  // A sparse file takes no room on the disk.
  const fs::path big = root_ / "big";
  std::ofstream(big).close();
  constexpr std::uintmax_t kSize = (std::uintmax_t{1} << 32) + 3;
  std::error_code error;
  fs::resize_file(big, kSize, error);
  if (error) GTEST_SKIP() << "no sparse files here: " << error.message();
  EXPECT_EQ(FileSize(Path("big")), static_cast<std::int64_t>(kSize));
  EXPECT_EQ(ReadWholeFile(Path("big"), 101376), std::nullopt);
}

TEST_F(Files, NamesThatNameNothing) {
  Touch("a");
  const std::string withZero = Path("a") + std::string(1, '\0') + "b";
  EXPECT_FALSE(PathExists(withZero));  // not the file "a"
  EXPECT_EQ(FileSize(withZero), std::nullopt);
  EXPECT_EQ(ReadWholeFile(withZero), std::nullopt);
  EXPECT_FALSE(ReplaceFileContents(withZero, "x"));
}

// A path of the program's text meets the files only through NativePath,
// which refuses every text that would name another file than it says.
TEST(NativePath, IsTheSystemsFormOfACleanGbkText) {
  EXPECT_EQ(NativePath(Gbk("/tmp/技能.skl")), "/tmp/技能.skl");
  EXPECT_EQ(NativePath("*"), "*");
  for (const std::string& nothing :
       {std::string(), std::string("/tmp/a\0b", 8), std::string("/tmp/a\x81")}) {
    EXPECT_EQ(NativePath(nothing), std::nullopt) << ::testing::PrintToString(nothing);
  }
  // Shown to the user, what GBK cannot hold becomes "?".
  EXPECT_EQ(ShownPath("/home/j\xC3\xB6rg/技能.skl"), Gbk("/home/j?rg/技能.skl"));
}

TEST(ExecutableFolder, IsTheFolderOfThisTestWithoutTrailingSeparator) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), kPathSeparator);
  EXPECT_TRUE(IsDirectory(folder));
  EXPECT_TRUE(PathExists(folder + kPathSeparator + "platform_services_tests"));
}

}  // namespace
}  // namespace platform
