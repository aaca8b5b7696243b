// A scratch folder for tests that read files: made fresh under the system's
// temporary folder and removed with everything in it afterwards. Paths are
// given and returned as UTF-8; Native() gives a path as the system names
// it, Gbk() as the program's text holds it (a dropped or typed path).
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace app_test {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string templ = (std::filesystem::temp_directory_path() / "se-app-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) ADD_FAILURE() << "no scratch folder";
    root_ = templ;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path At(std::string_view relative) const {
    return root_ / std::filesystem::path(std::string(relative));
  }
  std::string Native(std::string_view relative = {}) const {
    return (relative.empty() ? root_ : At(relative)).string();
  }
  std::string Gbk(std::string_view relative = {}) const {
    return platform::Utf8ToGbk(Native(relative));
  }
  // Writes `bytes` to the file, making its folders first.
  void Write(std::string_view relative, std::string_view bytes) const {
    const std::filesystem::path path = At(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  void Folder(std::string_view relative) const {
    std::filesystem::create_directories(At(relative));
  }

 private:
  std::filesystem::path root_;
};

// A skill file of the PT form, UTF-8 with CR LF line ends, whose name link
// holds `key`.
inline std::string PtSkillFile(std::string_view key,
                               std::string_view rest = "[level info]\r\n1\t5\t\r\n") {
  return "[name]\r\n<12::" + std::string(key) + "`名称`>\t\r\n[type]\r\n`active`\t\r\n" +
         std::string(rest);
}

}  // namespace app_test
