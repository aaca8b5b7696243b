#include "app/skill_name.h"

#include <optional>
#include <string>

#include "app/units.h"
#include "platform/gbk.h"
#include "resources/embedded.h"

namespace app {

namespace {

using main_window::技能名称标签;
using main_window::职业标签;
using platform::Gbk;

void ShowNameAndClass(const std::optional<std::string>& key) {
  职业标签->SetText("");
  if (!key) {
    技能名称标签->SetText(Gbk("该技能没有名称参数"));
    return;
  }
  LookUpSkillClass(*key);
  bool found = false;
  const std::string name = LookUpSkillName(EmbeddedSkillNameTable(), *key, &found);
  技能名称标签->SetText(found ? name : Gbk("未知技能"));
}

}  // namespace

const ClassKeyLists& EmbeddedClassKeys() {
  static const ClassKeyLists lists{
      EmbeddedClassKeyListFighterMale(), EmbeddedClassKeyListGunnerFemale(),
      EmbeddedClassKeyListSwordman(),    EmbeddedClassKeyListFighterFemale(),
      EmbeddedClassKeyListGunnerMale(),  EmbeddedClassKeyListMageMale(),
      EmbeddedClassKeyListMageFemale(),  EmbeddedClassKeyListDarkKnight(),
      EmbeddedClassKeyListCreator(),     EmbeddedClassKeyListPriest(),
      EmbeddedClassKeyListThief(),
  };
  return lists;
}

void LookUpSkillClass(std::string_view key) {
  职业标签->SetText(SkillClassCaption(key, EmbeddedClassKeys()));
}

void LoadSkillNameSp() {
  ShowNameAndClass(ReadSkillNameKeySp(main_window::编辑框1->TextRef()));
}

void LoadSkillNamePt() {
  ShowNameAndClass(ReadSkillNameKeyPt(main_window::编辑框1->TextRef()));
}

}  // namespace app
