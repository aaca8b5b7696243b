// A headless session of the whole program whose `skill` folder is a scratch
// folder that the test fills, with the skill-list window at hand.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/skill_list_window.h"
#include "app/units.h"
#include "engine/text.h"
#include "read_session.h"
#include "resources/embedded.h"
#include "scratch_folder.h"

namespace app_test {

// Skills of the embedded name table: keys of display names and the names
// (UTF-8), taken from the table itself so that the tests follow it.
inline std::vector<std::pair<std::string, std::string>> NamedKeys(std::size_t count) {
  std::vector<std::pair<std::string, std::string>> keys;
  for (const std::string& line : SplitText(EmbeddedSkillNameTable(), "\r\n")) {
    const std::size_t close = line.find('>');
    if (line.size() < 2 || line[0] != '<' || line.starts_with("<//") || close == std::string::npos)
      continue;
    const std::string key = line.substr(1, close - 1);
    const std::string text = line.substr(close + 1);
    if (!key.ends_with("_name") || text.empty() || text.find('>') != std::string::npos) continue;
    keys.emplace_back(key, platform::GbkToUtf8(text));
    if (keys.size() == count) break;
  }
  EXPECT_EQ(keys.size(), count) << "the name table holds fewer skill names";
  return keys;
}

class SkillListSession : public read_test::ReadSession {
 protected:
  SkillListSession() { h.SetProgramFolder(folder.Native()); }

  // The items of a class's combo box, UTF-8.
  static std::vector<std::string> Items(int classIndex) {
    const fw::Combo& combo = *app::ClassLists()[static_cast<std::size_t>(classIndex)].combo;
    std::vector<std::string> items;
    for (int k = 0; k < combo.Count(); ++k) items.push_back(Utf8(combo.ItemText(k)));
    return items;
  }
  // The path list of a class, each path relative to the scratch folder.
  std::vector<std::string> Paths(int classIndex) const {
    std::vector<std::string> paths;
    for (const std::string& p : *app::ClassFolders()[static_cast<std::size_t>(classIndex)].paths) {
      paths.push_back(p.substr(folder.Native().size() + 1));
    }
    return paths;
  }

  ScratchFolder folder;
};

}  // namespace app_test
