// The mastery levels of a skill, shown in the mastery grid.
//
// A script holds one of two mastery sections: [growtype maximum level], one
// value per growtype (sub-class) of the owning class, titled with the
// growtype names of the GrowtypeTable; or [second growtype maximum level],
// any number of class-special values, of which each value above 0 gets a
// row titled "职业特殊技". When a script holds both, the class-special one is
// read. The loader keeps every value of the section in order, as cut (the
// mastery writer rebuilds the section from them), and which section it was.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/blocks.h"

// One row of the GrowtypeTable: a class key and its growtype names, each
// followed by "|" (UTF-8).
struct Growtype {
  std::string_view classKey;
  std::string_view names;
};

// The nine class keys in their order of lookup.
std::span<const Growtype> GrowtypeTable();

// The growtype names (GBK) of a class key (GBK); none for a key that no row
// holds (an empty key too).
std::vector<std::string> GrowtypeNames(std::string_view classKey);

// The class key (GBK) of a single-class label (GBK), as the class lookup
// writes it; the empty text for any other label (a class group, an unknown
// or empty label).
std::string ClassKeyOfLabel(std::string_view label);

// A script's mastery section, read without touching any unit.
struct MasterySection {
  bool found = false;   // one of the two tags is present
  bool second = false;  // it is [second growtype maximum level]
  // Every value in section order, marker removed. Empty values keep their
  // places (SP: a bare "[@02]" line; PT: nothing between two TABs), so each
  // value stays under its own growtype; blank lines are no values.
  std::vector<std::string> values;
  // Where the section was read: from its tag (SP with its "[@05]") through
  // its values. The mastery writer writes there.
  TextSpan span;
};

// Whether a script holds "[second growtype maximum level]" (letter case
// significant; the SP tag stands after "[@05]", so one test serves both
// forms). Such a section is read whatever the class.
bool HoldsClassSpecialSection(std::string_view script);

// SP: the lines after "[@05]" + tag up to the next "[@05]", or to the end of
// the text when the section ends the script. PT: the line after the tag's
// line, split at TAB. Tags are found with letter case significant.
MasterySection ReadMasterySectionSp(std::string_view script);
MasterySection ReadMasterySectionPt(std::string_view script);

// One data row of the mastery grid.
struct MasteryRow {
  std::string title;  // GBK
  std::string value;
  bool greyValue = false;  // a "无用数据" row: its value cell is grey too
};

// The rows of a section: class-special, one "职业特殊技" row per value above
// 0; growtype, one row per value titled by the class key's growtype names in
// order, "无用数据" beyond them, and none at all for a key without names.
// `stored` receives the values that the loader keeps (every value, except
// for a growtype section without names, which stores none).
std::vector<MasteryRow> MasteryRows(const MasterySection& section, std::string_view classKey,
                                    std::vector<std::string>* stored);
