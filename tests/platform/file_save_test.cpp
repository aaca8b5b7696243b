// Saving by replacement on a scratch folder: what is refused, what is kept,
// and a save that fails part way.
#include "platform/file_save.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

class FileSave : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "se-save-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    root_ = templ;
  }
  void TearDown() override {
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(root_);
  }
  std::string Path(const std::string& utf8) const { return (root_ / utf8).string(); }
  void Write(const std::string& utf8, const std::string& bytes) const {
    std::ofstream(root_ / utf8, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& utf8) const {
    std::ifstream in(root_ / utf8, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Every entry of the scratch folder (temporary files would show here).
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(root_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path root_;
};

TEST_F(FileSave, ReplacesTheContentAndKeepsThePermissions) {
  Write("技能.skl", "old old old");
  fs::permissions(root_ / "技能.skl", fs::perms(0640));
  ASSERT_TRUE(ReplaceFileContents(Path("技能.skl"), "new"));
  EXPECT_EQ(Read("技能.skl"), "new");
  EXPECT_EQ(fs::status(root_ / "技能.skl").permissions(), fs::perms(0640));
  EXPECT_EQ(Entries(), std::vector<std::string>{"技能.skl"});
  // A new file, and an empty content.
  ASSERT_TRUE(ReplaceFileContents(Path("new.skl"), ""));
  EXPECT_TRUE(fs::exists(root_ / "new.skl"));
  EXPECT_EQ(fs::file_size(root_ / "new.skl"), 0u);
}

TEST_F(FileSave, ALinkKeepsPointingAtTheReplacedFile) {
  Write("real.skl", "old");
  fs::create_symlink(root_ / "real.skl", root_ / "link.skl");
  ASSERT_TRUE(ReplaceFileContents(Path("link.skl"), "new"));
  EXPECT_TRUE(fs::is_symlink(root_ / "link.skl"));
  EXPECT_EQ(Read("real.skl"), "new");
}

TEST_F(FileSave, RefusesWhatItCannotReplaceAndChangesNothing) {
  Write("locked.skl", "old");
  fs::permissions(root_ / "locked.skl", fs::perms(0444));
  fs::create_directory(root_ / "folder");
  fs::create_directory(root_ / "closed");
  Write("closed/inside.skl", "old");
  fs::permissions(root_ / "closed", fs::perms(0555));
  const std::string refused[] = {
      "",
      "*",
      "relative/skill.skl",
      Path("folder"),
      Path("folder") + "/",
      Path("missing/skill.skl"),
      Path("locked.skl"),
      Path("closed/new.skl"),
      "/dev/null",
      // No name holds a zero byte: the system would take the name only up
      // to it.
      Path("folder/new.skl") + std::string(1, '\0') + "x",
      Path("closed/inside.skl") + std::string(1, '\0'),
  };
  for (const std::string& path : refused) {
    EXPECT_FALSE(ReplaceFileContents(path, "new")) << path;
  }
  EXPECT_EQ(Read("locked.skl"), "old");
  EXPECT_EQ(Read("closed/inside.skl"), "old");
  EXPECT_FALSE(fs::exists(root_ / "closed/new.skl"));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"closed", "folder", "locked.skl"}));
  EXPECT_TRUE(fs::is_empty(root_ / "folder"));
}

TEST_F(FileSave, TheTemporaryNameFitsBesideTheLongestNames) {
  for (std::size_t length : {240u, 250u, 255u}) {
    const std::string name = std::string(length - 4, 'a') + ".skl";
    Write(name, "old");
    ASSERT_TRUE(ReplaceFileContents(Path(name), "new")) << length;
    EXPECT_EQ(Read(name), "new") << length;
    EXPECT_EQ(Entries(), std::vector<std::string>{name}) << length;
    fs::remove(root_ / name);
  }
  // Cut where a character of a UTF-8 name begins.
  const std::string name = "技" + std::string(251, 'a');
  Write(name, "old");
  ASSERT_TRUE(ReplaceFileContents(Path(name), "new"));
  EXPECT_EQ(Entries(), std::vector<std::string>{name});
}

TEST_F(FileSave, ALinkIsSavedThroughToWhereItLeadsAndStaysALink) {
  fs::create_directory(root_ / "real");
  Write("real/a.skl", "old");
  Write("real/b.skl", "old");
  fs::create_symlink("real/a.skl", root_ / "relative.skl");
  fs::create_symlink(root_ / "relative.skl", root_ / "chain.skl");
  fs::create_symlink("b.skl", root_ / "real/sibling.skl");
  fs::create_symlink("real/new.skl", root_ / "dangling.skl");
  struct Case {
    const char* link;
    const char* target;
  };
  for (const Case& c :
       {Case{"relative.skl", "real/a.skl"}, Case{"chain.skl", "real/a.skl"},
        Case{"real/sibling.skl", "real/b.skl"}, Case{"dangling.skl", "real/new.skl"}}) {
    const std::string content = std::string("saved through ") + c.link;
    ASSERT_TRUE(ReplaceFileContents(Path(c.link), content)) << c.link;
    EXPECT_TRUE(fs::is_symlink(root_ / c.link)) << c.link;
    EXPECT_EQ(Read(c.target), content) << c.link;
  }
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"chain.skl", "dangling.skl", "real", "relative.skl"}));
  // A loop leads nowhere.
  fs::create_symlink("loop2.skl", root_ / "loop1.skl");
  fs::create_symlink("loop1.skl", root_ / "loop2.skl");
  EXPECT_FALSE(ReplaceFileContents(Path("loop1.skl"), "new"));
  EXPECT_TRUE(fs::is_symlink(root_ / "loop1.skl"));
}

// File operations that fail at one chosen step; a write fails after half
// of the bytes have gone into the temporary file.
class Failing : public FileOps {
 public:
  enum Step { kOpen, kWrite, kSync, kClose, kRename };
  explicit Failing(Step step) : step_(step) {}
  int Open(const std::string& path, int flags, unsigned mode) override {
    return Fail(kOpen) ? -1 : FileOps::Open(path, flags, mode);
  }
  long Write(int fd, const char* data, std::size_t size) override {
    if (step_ != kWrite) return FileOps::Write(fd, data, size);
    if (!halfWritten_) {
      halfWritten_ = true;
      return FileOps::Write(fd, data, size / 2);
    }
    errno = ENOSPC;
    return -1;
  }
  int Sync(int fd) override { return Fail(kSync) ? -1 : FileOps::Sync(fd); }
  int Close(int fd) override {
    const int r = FileOps::Close(fd);
    return Fail(kClose) ? -1 : r;
  }
  int Rename(const std::string& from, const std::string& to) override {
    return Fail(kRename) ? -1 : FileOps::Rename(from, to);
  }

 private:
  bool Fail(Step step) {
    if (step != step_) return false;
    errno = EIO;
    return true;
  }
  Step step_;
  bool halfWritten_ = false;
};

// Creating a new name in the folder is refused as in a folder that only
// looks writable (an immutable one); everything else goes through.
class NoNewNames : public FileOps {
 public:
  int Open(const std::string& path, int flags, unsigned mode) override {
    if ((flags & O_CREAT) != 0) {
      errno = EPERM;
      return -1;
    }
    return FileOps::Open(path, flags, mode);
  }
};

// A folder the user cannot write to takes no temporary file: a file there
// that may be written is written over in place. Its permission bits make
// the folder read-only also for root, so this holds for every user.
TEST_F(FileSave, AWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
  fs::create_directory(root_ / "closed");
  Write("closed/skill.skl", "the old and longer content");
  Write("closed/locked.skl", "old");
  fs::permissions(root_ / "closed/skill.skl", fs::perms(0640));
  fs::permissions(root_ / "closed/locked.skl", fs::perms(0444));
  fs::permissions(root_ / "closed", fs::perms(0555));
  ASSERT_TRUE(ReplaceFileContents(Path("closed/skill.skl"), "new"));
  EXPECT_EQ(Read("closed/skill.skl"), "new");
  EXPECT_EQ(fs::status(root_ / "closed/skill.skl").permissions(), fs::perms(0640));
  EXPECT_FALSE(ReplaceFileContents(Path("closed/locked.skl"), "new"));
  EXPECT_EQ(Read("closed/locked.skl"), "old");
  fs::permissions(root_ / "closed", fs::perms(0755));

  NoNewNames ops;
  FileOps* previous = SetFileOps(&ops);
  Write("skill.skl", "old");
  EXPECT_TRUE(ReplaceFileContents(Path("skill.skl"), "new in place"));
  EXPECT_FALSE(ReplaceFileContents(Path("new.skl"), "new"));
  SetFileOps(previous);
  EXPECT_EQ(Read("skill.skl"), "new in place");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"closed", "skill.skl"}));
  std::vector<std::string> inside;
  for (const auto& e : fs::directory_iterator(root_ / "closed"))
    inside.push_back(e.path().filename());
  std::sort(inside.begin(), inside.end());
  EXPECT_EQ(inside, (std::vector<std::string>{"locked.skl", "skill.skl"}));
}

TEST_F(FileSave, AFailureAtAnyStepLeavesTheOldFileWhole) {
  for (Failing::Step step :
       {Failing::kOpen, Failing::kWrite, Failing::kSync, Failing::kClose, Failing::kRename}) {
    Write("skill.skl", "the old content");
    Failing ops(step);
    FileOps* previous = SetFileOps(&ops);
    EXPECT_FALSE(ReplaceFileContents(Path("skill.skl"), "a new and longer content"))
        << "step " << step;
    SetFileOps(previous);
    EXPECT_EQ(Read("skill.skl"), "the old content") << "step " << step;
    EXPECT_EQ(Entries(), std::vector<std::string>{"skill.skl"}) << "step " << step;
  }
}

// Written in place, a failure at any step is reported: the file may be
// damaged, but the save never says it is done.
TEST_F(FileSave, AFailureWhileWritingInPlaceIsReported) {
  fs::create_directory(root_ / "closed");
  for (Failing::Step step : {Failing::kOpen, Failing::kWrite, Failing::kSync, Failing::kClose}) {
    fs::permissions(root_ / "closed", fs::perms(0755));
    Write("closed/skill.skl", "the old content");
    fs::permissions(root_ / "closed", fs::perms(0555));
    Failing ops(step);
    FileOps* previous = SetFileOps(&ops);
    EXPECT_FALSE(ReplaceFileContents(Path("closed/skill.skl"), "a new and longer content"))
        << "step " << step;
    SetFileOps(previous);
  }
}

}  // namespace
}  // namespace platform
