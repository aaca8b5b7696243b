// The static values of a skill: the values of one [static data] block, one
// row of the static grid each.
//
// A script holds one block (the common copy) or more: then the first is the
// dungeon copy and the one inside [pvp] .. [/pvp] the arena copy. The
// cutters find a copy's block and take its values as the static loaders
// keep and show them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/blocks.h"

// Which [static data] block is shown: the only one, the first of two, or
// the one inside [pvp] .. [/pvp].
enum class StaticCopy { Common, Dungeon, Arena };

struct StaticCut {
  // The block was found and holds values; when not, nothing below holds.
  bool found = false;
  // The values as the loader keeps them: SP the body between the tags with
  // its blank lines and every "[@02]" removed, one value per line; PT the
  // values line exactly as the script holds it (its TABs kept).
  std::string text;
  // The grid's rows, one value each: SP one per line of `text`; PT the
  // values line split at its TABs and bars.
  std::vector<std::string> rows;
  // Where the block was read: from its open tag through its close tag, or
  // (PT common and dungeon copy, whose close tag is not looked for) through
  // the end of its values line. The static rebuild writes there.
  TextSpan block;
};

// The common and the dungeon copy are the first block; the arena copy the
// first block after the arena's open tag that also closes before the
// arena's close tag. A block is found only when its open tag comes before
// its close tag (SP); PT takes the common and dungeon values from the line
// after the first open tag (none when that line holds the close tag) and
// the arena values from between the tags.
StaticCut CutStaticDataSp(std::string_view script, StaticCopy copy);
StaticCut CutStaticDataPt(std::string_view script, StaticCopy copy);
