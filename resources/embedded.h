// The data tables built into the program.
//
// Each accessor returns the exact bytes of its file under resources/: GBK
// (code page 936) text, CR LF between lines and no line break after the
// last line, no terminating zero in the view. The views stay valid for the
// life of the process. The tables are written by resources/make_tables.py.
#pragma once

#include <span>
#include <string_view>

// The skill-name table: every line begins with "<". A data row is
// "<" + key + ">" + text (a display name, a second name, an explanation or a
// description template whose "<int>" each stand for one value and whose two
// characters backslash and "n" separate its lines); a comment row begins
// "<//"; some lines hold only "<". No key occurs in two rows.
std::string_view EmbeddedSkillNameTable();

// The eleven class key lists: one "<" + key + ">" line per skill of the
// class (the key of the skill's [name] link). A key may stand in several
// lists, and a list may repeat a line.
std::string_view EmbeddedClassKeyListFighterMale();    // 格斗家(男), folder atfighter
std::string_view EmbeddedClassKeyListGunnerFemale();   // 神枪手(女), folder atgunner
std::string_view EmbeddedClassKeyListSwordman();       // 鬼剑士, folder swordman
std::string_view EmbeddedClassKeyListFighterFemale();  // 格斗家(女), folder fighter
std::string_view EmbeddedClassKeyListGunnerMale();     // 神枪手(男), folder gunner
std::string_view EmbeddedClassKeyListMageMale();       // 魔法师(男), folder atmage
std::string_view EmbeddedClassKeyListMageFemale();     // 魔法师(女), folder mage
std::string_view EmbeddedClassKeyListDarkKnight();     // 黑暗武士, folder demonicswordman
std::string_view EmbeddedClassKeyListCreator();        // 缔造者, folder creatormage
std::string_view EmbeddedClassKeyListPriest();         // 圣职者, folder priest
std::string_view EmbeddedClassKeyListThief();          // 暗夜使者, folder thief

// One class key list with its names.
struct EmbeddedClassKeyListEntry {
  std::string_view classNameUtf8;  // the list's class name, UTF-8 ("格斗家(男)")
  std::string_view folder;         // its class folder under skill/ ("atfighter")
  std::string_view keys;           // the list itself, as its accessor returns it
};

// The eleven lists in the order of the accessors above.
std::span<const EmbeddedClassKeyListEntry> EmbeddedClassKeyLists();
