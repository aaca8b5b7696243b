// The skill's description for the level that the level grid shows.
//
// The script's [level property] section names a description template of
// the skill-name table by its link key and lists one LevelPropertyEntry per
// placeholder. The template's lines are separated by the two characters
// backslash and "n"; each "<int>" in them stands for one value, taken in
// reading order from the entries: a negative kind takes row index + 1 of
// the level grid (the shown level), any other kind that row of the static
// grid, column 0 (the value as read), times the entry's factor.
//
// A line is red when its first value is a level value, blue when it is a
// static value, black without values. Above the lines stands a heading
// with the skill name, the level and the data set, and a rule. Every value
// shown is recorded as a PlaceholderSpan ("动态|row|line" or
// "静态|row|line", the line counted from 0 in the box), which the click
// highlighting reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/colour.h"

// One placeholder's source: kind (< 0 level value, else static value), the
// 0-based value index (grid row index + 1) and the factor.
struct LevelPropertyEntry {
  std::int32_t kind = 0;
  std::int32_t index = 0;
  double factor = 0;
};

// What a script's [level property] section gives the description.
struct LevelProperty {
  std::string key;  // empty: no section, no link or an empty key
  std::vector<LevelPropertyEntry> entries;
};

// SP: the link is the fourth line after the line holding
// "[@05][level property]" (letter case ignored), "[@0A]" removed; the
// entries are the lines after it up to "[@05][/level property]", markers
// removed, blank lines dropped, three lines each.
// PT: the link is the last TAB-separated field of the line after the line
// holding "[level property]"; the key lies between "<12::" and the first
// backquote (the whole rest without one); the entries are the values of the
// line after that, three each (an empty value keeps its place).
// Lines that are not numbers read as 0; a last group of fewer than three
// lines is ignored.
LevelProperty ReadLevelPropertySp(std::string_view script);
LevelProperty ReadLevelPropertyPt(std::string_view script);

// The template of `key` in the skill-name table: the text after "<key>" of
// the first row that begins with it (letter case ignored); empty when there
// is no such row or the key is empty.
std::string DescriptionTemplate(std::string_view table, std::string_view key);

// The value text of a placeholder: the cell (a leading "[@02]" or "[@04]"
// skipped) read as a decimal, times `factor` (a factor of at most 1e-07 in
// size counts as 0.001), written with "%.13g".
std::string PlaceholderValueText(std::string_view cell, double factor);

// The value that one placeholder shows and the PlaceholderSpan that
// records it (GBK).
struct PlaceholderValue {
  std::string text;
  std::string span;
};

// Column 0 of the data rows of the static grid and of the level grid
// (element 0 is row 1).
struct DescriptionColumns {
  const std::vector<std::string>& staticColumn;
  const std::vector<std::string>& levelColumn;
};

// The value of entry `index` (0-based) from the static column or from the
// level column, recorded on box line `boxLine`: "静态|" or "动态|" + the
// grid row (index + 1) + "|" + the line. A row outside the column reads as
// an empty cell.
PlaceholderValue GetStaticPlaceholderValue(const std::vector<LevelPropertyEntry>& entries,
                                           std::size_t index, const DescriptionColumns& columns,
                                           int boxLine);
PlaceholderValue GetDynamicPlaceholderValue(const std::vector<LevelPropertyEntry>& entries,
                                            std::size_t index, const DescriptionColumns& columns,
                                            int boxLine);

// A template line with its placeholders replaced: the index of the entry
// after the last one used, the line and the spans of its values.
struct SubstitutionResult {
  std::size_t index = 0;
  std::string text;
  std::vector<std::string> spans;
};

// Replaces every "<int>" of `line`, from left to right, by the value of the
// next entry from `startIndex` on: each takes its value and its span's kind
// from its own entry (GetDynamicPlaceholderValue for a negative kind,
// GetStaticPlaceholderValue for any other). The caller keeps enough
// entries for the line's placeholders.
SubstitutionResult SubstitutePlaceholders(std::string_view line, std::size_t startIndex,
                                          const std::vector<LevelPropertyEntry>& entries,
                                          const DescriptionColumns& columns, int boxLine);

// One piece written into the box: its text (a CR LF follows it) and colour.
struct DescriptionPiece {
  std::string text;
  Colour colour;
};

struct Description {
  // More placeholders than entries: the box shows "描述加载出错！" alone and
  // nothing else below holds.
  bool tooManyPlaceholders = false;
  std::vector<DescriptionPiece> pieces;
  std::vector<std::string> spans;  // PlaceholderSpan texts, GBK
};

// Renders a template with its entries. `heading` (GBK, without the rule)
// is written first when given; `staticColumn` and `levelColumn` hold
// column 0 of the data rows of the static and the level grid (element 0 is
// row 1). Every template line is shown: each placeholder takes its value
// and its span's kind from its own entry, the line's colour comes from its
// first entry, lines without placeholders are black.
Description RenderDescription(std::string_view templateText,
                              const std::vector<LevelPropertyEntry>& entries,
                              const std::optional<std::string>& heading,
                              const std::vector<std::string>& staticColumn,
                              const std::vector<std::string>& levelColumn);
