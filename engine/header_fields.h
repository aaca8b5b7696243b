// The nine header fields of a skill script, shown in the parameter grid:
// one grid row per value, its title in column 0 (read-only), its value in
// column 1 (editable).
//
// The HeaderFieldTable below is the one definition of the fields for both
// script forms and for the writers: tags, value counts, row titles, colours
// and the nineteen header-value slots that keep each value exactly as it
// stands in the script, without its marker. The writers rebuild a field's
// old text from the slots, so a slot holds what the loader took from the
// script and nothing else.
//
// [cool time] and [casting time] may occur twice: a first copy and an arena
// copy after the script's [pvp] tag, shown as a second pair of rows titled
// "[决斗场]". A script without [pvp], or without a copy after it, has no
// such pair.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/blocks.h"
#include "engine/colour.h"

// The nineteen header-value slots, in the order of the grid's rows.
enum class HeaderSlot : int {
  RequiredLevel,
  RequiredLevelRange,
  MaximumLevel,
  PurchaseCost,
  ConsumeMp1,
  ConsumeMp2,
  StartCoolTime1,
  StartCoolTime2,
  CoolTime1,
  CoolTime2,
  PvpCoolTime1,
  PvpCoolTime2,
  CastingTime1,
  CastingTime2,
  PvpCastingTime1,
  PvpCastingTime2,
  ConsumeItem,
  ConsumeItemCount1,
  ConsumeItemCount2,
};
inline constexpr int kHeaderSlotCount = 19;
inline constexpr int kHeaderFieldCount = 9;

struct HeaderField {
  std::string_view tag;  // plain tag, "[cool time]"; SP writes "[@05]" before it
  int valueCount;        // 1 to 3
  // Row titles (UTF-8), one per value. The second title of [cool time] and
  // [casting time] is "[通用型]" when the tag occurs once and "[地下城]" when
  // the script holds an arena copy too; the table gives the first.
  std::array<std::string_view, 3> titles;
  std::array<HeaderSlot, 3> slots;
  Colour back;         // background of the field's rows
  Colour text;         // text colour; kColourNotSet: not set
  bool titleCellOnly;  // only the title cell takes the background
  bool hasArenaCopy;   // [cool time], [casting time]
  std::array<HeaderSlot, 2> arenaSlots;
  Colour arenaBack;  // background of the arena pair (text colour as `text`)
};

// The nine fields in the order in which they are read and their rows stand.
std::span<const HeaderField> HeaderFieldTable();

// Second titles of a [cool time] or [casting time] pair.
inline constexpr std::string_view kOnlyCopyTitle = "[通用型]";
inline constexpr std::string_view kDungeonCopyTitle = "[地下城]";
inline constexpr std::string_view kArenaCopyTitle = "[决斗场]";

// The rows that one field (or its arena copy) adds to the grid, all with
// the same colours.
struct HeaderRowGroup {
  std::vector<std::string> titles;  // GBK
  std::vector<std::string> values;  // as stored in the slots
  Colour back = kColourNotSet;
  Colour text = kColourNotSet;
  bool titleCellOnly = false;
};

// Where a script's header fields were read, by field of HeaderFieldTable():
// the first copy from its tag (SP with its "[@05]") through its last value
// line; the arena copy from its tag (with the place of the form's prefix
// before it) up to where its values were cut. Start 0 where the field or
// its arena copy was not found. The writer writes there.
struct HeaderSpans {
  std::array<TextSpan, kHeaderFieldCount> first;
  std::array<TextSpan, kHeaderFieldCount> arena;
  // PT one-value fields: the values of blanks before the field's value on
  // its line, each with its TAB ("\t" of "\t5\t"); empty otherwise. The
  // writer keeps them where they stand.
  std::array<std::string, kHeaderFieldCount> lead;
  friend bool operator==(const HeaderSpans&, const HeaderSpans&) = default;
};

// What a script's header fields give: every slot, the row groups in grid
// order and where each field was read. Slots of a field without rows are
// empty (SP: a field whose value lines fail the test keeps them as read,
// marker included).
struct HeaderFieldLoad {
  std::array<std::string, kHeaderSlotCount> slots;
  std::vector<HeaderRowGroup> groups;
  HeaderSpans spans;
};

// The header fields of a script text in each form; pure.
//
// SP: a field is present when "[@05]" + tag occurs (letter case
// significant); its values are the lines after that tag line, each of which
// must hold "[@02]"; the first "[@02]" of each is removed.
// PT: a field is present when its tag occurs (letter case significant); the
// line after the tag line must hold a TAB; a one-value field takes the
// first value of that line (split at TAB) that holds more than blanks, or
// its first value when none does, so that "20\t  ", "\t5\t" and "30\t40\t"
// show 20, 5 and 30; the others split it at TAB ("|" splits too) and need
// as many parts as values, else their rows show empty values.
// Arena copy (either form, tag counted more than once with letter case
// ignored): the first occurrence of the tag after the [pvp] tag, when that
// is not the first copy itself; SP cut up to the next "[@05]" and needing
// "[@02]", PT cut up to the next "[" and needing a non-empty first value.
HeaderFieldLoad ReadHeaderFieldsSp(std::string_view script);
HeaderFieldLoad ReadHeaderFieldsPt(std::string_view script);
