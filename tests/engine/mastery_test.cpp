// The mastery levels of a script: the growtype names of every class key,
// the class key of each class label, the rows of a section and the section
// each form reads.
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/mastery.h"
#include "platform/gbk.h"
#include "tests/engine/utf8.h"

namespace {

using engine_test::Utf8;
using engine_test::Utf8All;
using platform::Gbk;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Strings = std::vector<std::string>;

TEST(GrowtypeTable, EveryClassKeyHasItsNamesInOrder) {
  const std::vector<std::pair<const char*, Strings>> expected = {
      {"鬼剑士", {"未转职", "剑魂", "鬼泣", "狂战士", "阿修罗"}},
      {"格斗家", {"未转职", "气功师", "街霸", "散打", "柔道家"}},
      {"神枪手", {"未转职", "漫游枪手", "枪炮师", "机械师", "弹药专家"}},
      {"女魔法师", {"未转职", "元素师", "召唤师", "魔道学者", "战斗法师"}},
      {"男魔法师", {"未转职", "元素爆破师", "冰结师"}},
      {"圣职者", {"未转职", "圣骑士", "蓝拳圣使", "驱魔师", "复仇者"}},
      {"暗夜使者", {"未转职", "刺客", "死灵术士"}},
      {"黑暗武士", {"黑暗武士"}},
      {"缔造者", {"缔造者"}},
  };
  ASSERT_EQ(GrowtypeTable().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(GrowtypeTable()[i].classKey, expected[i].first);
    EXPECT_THAT(Utf8All(GrowtypeNames(Gbk(expected[i].first))),
                ElementsAreArray(expected[i].second));
  }
  EXPECT_TRUE(GrowtypeNames("").empty());
  EXPECT_TRUE(GrowtypeNames(Gbk("魔法师")).empty());
}

TEST(GrowtypeTable, EachSingleClassLabelNamesAClassKeyAndAGroupNone) {
  const std::vector<std::pair<const char*, const char*>> labels = {
      {"格斗家(男)", "格斗家"},
      {"格斗家(女)", "格斗家"},
      {"格斗家(男/女)", "格斗家"},
      {"神枪手(男)", "神枪手"},
      {"神枪手(女)", "神枪手"},
      {"神枪手(男/女)", "神枪手"},
      {"魔法师(男)", "男魔法师"},
      {"魔法师(女)", "女魔法师"},
      {"鬼剑士", "鬼剑士"},
      {"圣职者", "圣职者"},
      {"暗夜使者", "暗夜使者"},
      {"黑暗武士", "黑暗武士"},
      {"缔造者", "缔造者"},
      {"全职业通用技能", ""},
      {"魔法师(男/女)", ""},
      {"鬼剑士/黑暗武士", ""},
      {"", ""},
      {"未知技能", ""},
  };
  for (const auto& [label, key] : labels) {
    EXPECT_EQ(Utf8(ClassKeyOfLabel(Gbk(label))), key) << label;
  }
}

TEST(MasteryRows, ValuesBeyondTheNamesAreUselessAndAKeyWithoutNamesGivesNothing) {
  const MasterySection growtype{true, false, {"70", "60", "50"}, {}};
  std::vector<std::string> raw;
  auto rows = MasteryRows(growtype, Gbk("黑暗武士"), &raw);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(Utf8(rows[0].title), "黑暗武士");
  EXPECT_FALSE(rows[0].greyValue);
  EXPECT_EQ(Utf8(rows[2].title), "无用数据");
  EXPECT_TRUE(rows[2].greyValue);
  EXPECT_THAT(raw, ElementsAre("70", "60", "50"));
  raw.clear();
  EXPECT_TRUE(MasteryRows(growtype, "", &raw).empty());
  EXPECT_TRUE(raw.empty());  // nothing stored either
}

TEST(MasterySection, EachFormReadsItsSectionAndEmptyValuesKeepTheirPlaces) {
  struct Case {
    const char* what;
    bool sp;
    std::string script;
    bool found, second;
    Strings values;
  };
  const std::vector<Case> cases = {
      {"sp",
       true,
       "[@05][growtype maximum level]\r\n[@02]10\r\n[@02]20\r\n[@05][x]\r\n",
       true,
       false,
       {"10", "20"}},
      {"sp at the end",
       true,
       "[@05][growtype maximum level]\r\n[@02]10\r\n[@02]20\r\n",
       true,
       false,
       {"10", "20"}},
      {"sp bare marker",
       true,
       "[@05][growtype maximum level]\r\n[@02]10\r\n[@02]\r\n[@02]30",
       true,
       false,
       {"10", "", "30"}},
      {"sp blank line",
       true,
       "[@05][growtype maximum level]\r\n[@02]10\r\n\r\n[@02]30\r\n[@05]",
       true,
       false,
       {"10", "30"}},
      {"sp both kinds",
       true,
       "[@05][growtype maximum level]\r\n[@02]1\r\n[@05][second growtype maximum "
       "level]\r\n[@02]0\r\n"
       "[@02]5\r\n",
       true,
       true,
       {"0", "5"}},
      {"sp tag in other letters",
       true,
       "[@05][Growtype Maximum Level]\r\n[@02]10\r\n",
       false,
       false,
       {}},
      {"pt", false, "[growtype maximum level]\r\n0\t20\t30\t\r\n", true, false, {"0", "20", "30"}},
      {"pt empty value",
       false,
       "[growtype maximum level]\r\n10\t\t30\t\r\n",
       true,
       false,
       {"10", "", "30"}},
      {"pt tag on the last line", false, "[growtype maximum level]", true, false, {}},
      // The values follow the tag whose letters passed the test.
      {"pt tag in other letters first",
       false,
       "[explain]\r\n`[GROWTYPE MAXIMUM LEVEL]`\t\r\n9\t9\t\r\n[growtype maximum "
       "level]\r\n10\t\r\n",
       true,
       false,
       {"10"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const MasterySection s = c.sp ? ReadMasterySectionSp(c.script) : ReadMasterySectionPt(c.script);
    EXPECT_EQ(s.found, c.found);
    EXPECT_EQ(s.second, c.second);
    EXPECT_THAT(s.values, ElementsAreArray(c.values));
  }
}

}  // namespace
