// The skill's display name and class: the key under [name], its row in the
// embedded name table, and the class rules over the class key lists.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/skill_name.h"
#include "app/units.h"
#include "tests/app/read_session.h"

namespace read_test {
namespace {

using namespace app;
using ::testing::ElementsAre;

class SkillNameTest : public ReadSession {};

TEST_F(SkillNameTest, EachClassRuleGivesItsCaptionAndTheFirstRuleThatHoldsWins) {
  struct Case {
    const char* key;
    const char* caption;
  };
  const std::vector<Case> cases = {
      {"iron_will_name", "全职业通用技能"},
      {"gale_step_name", "全职业通用技能"},  // in every list: the triple comes first
      {"throat_lock_name", "格斗家(男/女)"},
      {"precise_shot_name", "神枪手(男/女)"},
      {"mana_surge_name", "魔法师(男/女)"},
      {"earth_rend_name", "鬼剑士/黑暗武士"},
      {"rockbreak_fist_name", "格斗家(男)"},
      {"armor_crush_name", "格斗家(男)"},  // also 鬼剑士, whose rule comes later
      {"dual_parry_name", "格斗家(男)"},   // 格斗家(男) and 神枪手(女): no pair rule
      {"chain_volley_name", "神枪手(女)"},
      {"thunder_ring_name", "魔法师(男)"},
      {"sand_hourglass_name", "缔造者"},
      {"shadow_chain_name", "黑暗武士"},
      {"name_45001", "黑暗武士"},  // also 圣职者, whose rule comes later
      {"swallow_kick_name", "格斗家(女)"},
      {"heavy_barrage_name", "神枪手(男)"},
      {"flame_nova_name", "魔法师(女)"},
      {"holy_verdict_name", "圣职者"},
      {"peak_cleave_name", "鬼剑士"},
      {"lost_oath_name", "鬼剑士"},     // in a list, not in the name table
      {"shade_veil_name", "暗夜使者"},  // a repeated line
      {"PEAK_CLEAVE_NAME", ""},         // keys match with exact case
      {"peak_cleave", ""},              // only whole entries match
      {"", ""},
  };
  EXPECT_EQ(ClassRuleTable().size(), 16u);
  Run([&] {
    for (const Case& c : cases) {
      main_window::职业标签->SetText("x");
      LookUpSkillClass(c.key);
      EXPECT_EQ(Text(main_window::职业标签), c.caption) << c.key;
    }
  });
}

std::string SpScript(const std::string& nameTag, const std::string& key) {
  return nameTag + "\r\n[@09]skillname.str\r\n[@0A]" + key + "\r\n[@05][icon]\r\n[@02]1\r\n";
}

std::string PtScript(const std::string& nameTag, const std::string& link) {
  return nameTag + "\r\n" + link + "\t\r\n[icon]\r\n1\t\r\n";
}

TEST_F(SkillNameTest, TheNameComesOnlyFromTheRowThatBeginsWithTheKey) {
  struct Case {
    std::string script;
    const char* name;
    const char* skillClass;
  };
  const std::vector<Case> cases = {
      {SpScript("[@05][name]", "peak_cleave_name"), "崩嶽斩", "鬼剑士"},
      {PtScript("[name]", "<12::peak_cleave_name`崩嶽斩`>"), "崩嶽斩", "鬼剑士"},
      // A comment row earlier in the table holds "<iron_will_name>".
      {SpScript("[@05][name]", "iron_will_name"), "钢铁意志", "全职业通用技能"},
      {PtScript("[name]", "<12::iron_will_name`x`>"), "钢铁意志", "全职业通用技能"},
      // Templates hold "<int>", but no row begins with it.
      {SpScript("[@05][name]", "int"), "未知技能", ""},
      {SpScript("[@05][name]", "lost_oath_name"), "未知技能", "鬼剑士"},
      {SpScript("[@05][name]", "Peak_Cleave_Name"), "未知技能", ""},
      // A name tag in other letter case is found and its own link is read.
      {SpScript("[@05][NAME]", "thunder_ring_name"), "雷霆之环", "魔法师(男)"},
      {PtScript("[Name]", "<12::thunder_ring_name`x`>"), "雷霆之环", "魔法师(男)"},
      // A PT link without a backquote has no key.
      {PtScript("[name]", "<12::peak_cleave_name"), "未知技能", ""},
      {SpScript("[@05][title]", "peak_cleave_name"), "该技能没有名称参数", ""},
      {PtScript("[title]", "<12::peak_cleave_name`x`>"), "该技能没有名称参数", ""},
  };
  Run([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(Utf8(c.script));
      // Each read holds nothing (no level or static data), so the next one
      // follows at once; no earlier class may survive into it.
      EXPECT_THAT(PasteAndRead(c.script, 2),
                  ElementsAre("该技能没有随等级变化的数据！", "该技能没有静态数据！"));
      EXPECT_EQ(Text(main_window::技能名称标签), c.name);
      EXPECT_EQ(Text(main_window::职业标签), c.skillClass);
    }
  });
}

}  // namespace
}  // namespace read_test
