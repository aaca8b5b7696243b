// What a script holds, as the read sees it before it shows anything: the
// data sets it offers and how many static blocks it has.
//
// A script keeps its per-level values in [level info] blocks: one block
// offers the data set of the part of the script it stands in, two or more
// offer the dungeon and the arena copy. Its static values stand in
// [static data] blocks, one (the common copy) or two (a dungeon copy and an
// arena copy).
#pragma once

#include <string_view>

// The read-type radios that a script offers.
struct OfferedDataSets {
  bool dungeon = false;
  bool arena = false;
  bool common = false;
};

struct ScriptOutline {
  // "[level info]" in any letter case (the SP tag "[@05][level info]"
  // counts, "[/level info]" never does).
  int levelBlocks = 0;
  // None without level blocks. With one block: the dungeon set when the
  // block lies inside [dungeon] .. [/dungeon], else the arena set when it
  // lies inside [pvp] .. [/pvp] (those tags in any letter case), else the
  // common set; a block whose tag differs in letter case is not placed and
  // offers the common set. With more: dungeon and arena.
  OfferedDataSets offered;
  // "[static data]" in any letter case.
  int staticBlocks = 0;
};

ScriptOutline OutlineScript(std::string_view script);
