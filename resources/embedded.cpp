#include "resources/embedded.h"

#include <array>

std::span<const EmbeddedClassKeyListEntry> EmbeddedClassKeyLists() {
  static const std::array<EmbeddedClassKeyListEntry, 11> kLists = {{
      {"格斗家(男)", "atfighter", EmbeddedClassKeyListFighterMale()},
      {"神枪手(女)", "atgunner", EmbeddedClassKeyListGunnerFemale()},
      {"鬼剑士", "swordman", EmbeddedClassKeyListSwordman()},
      {"格斗家(女)", "fighter", EmbeddedClassKeyListFighterFemale()},
      {"神枪手(男)", "gunner", EmbeddedClassKeyListGunnerMale()},
      {"魔法师(男)", "atmage", EmbeddedClassKeyListMageMale()},
      {"魔法师(女)", "mage", EmbeddedClassKeyListMageFemale()},
      {"黑暗武士", "demonicswordman", EmbeddedClassKeyListDarkKnight()},
      {"缔造者", "creatormage", EmbeddedClassKeyListCreator()},
      {"圣职者", "priest", EmbeddedClassKeyListPriest()},
      {"暗夜使者", "thief", EmbeddedClassKeyListThief()},
  }};
  return kLists;
}
