// Writing the side windows back: the header fields of the parameter grid
// and the mastery levels of the mastery grid.
//
// Each save rebuilds the sections it changes from the values the loaders
// stored and compares them with the script at the very place the loader
// read them (header_fields.h, mastery.h): a section that is not there as
// it was read, a value that is not accepted or a limit that is broken
// refuses the whole save, with nothing written. A field or section whose
// values did not change needs no finding.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/header_fields.h"
#include "engine/rebuild.h"

// A data row of a side window's grid: column 0 and column 1 (GBK).
struct GridRow {
  std::string title;
  std::string value;
};

// The header fields of `script` as the loader of `form` reads them.
HeaderFieldLoad ReadHeaderFields(std::string_view script, ScriptForm form);

// The header fields of `rows` written into `script`: every field, by the
// titles of its rows, where `spans` say the loader read it; the second row
// of [cool time] and [casting time] ("[通用型]", "[地下城]" or "[决斗场]")
// picks the first copy or the arena copy after the [pvp] tag. A value the
// user changed must be a number as the level inputs read it (full-width
// forms folded, blanks trimmed), and is written as the other writers write
// numbers: a 32-bit integer in plain decimal ("+7" as 7, "0030" as 30), or
// a decimal where the stored value is one (PT); else the save is refused as
// NotInteger, NotNumber, OutOfRange or ForbiddenCharacter. A value left as
// read stays as it stands, whatever it holds. A cell left empty (nothing
// but blanks) where the stored value holds more is refused as EmptyValue;
// where the stored value holds nothing either, it keeps it. Every
// "最大等级" must be at least `highestMastery` (none: no limit). The new
// script must read as saved, every field left alone as before (two tags on
// one line share their values), else the save is refused as NotFound.
Rebuilt RebuildHeaderFields(std::string_view script, ScriptForm form,
                            const std::array<std::string, kHeaderSlotCount>& slots,
                            const HeaderSpans& spans, const std::vector<GridRow>& rows,
                            std::optional<int> highestMastery);

// The mastery section written into `script` where the loader read it
// (`section`, MasterySection::span): `values` are the section's values as
// read, `cells` column 1 of the mastery grid. Growtype
// section: cell i is value i. Class-special section: the k-th value above
// 0 takes cell k. An empty cell keeps its value; others are integers, at
// most `maximum` (none: no limit).
Rebuilt RebuildMasteryLevels(std::string_view script, ScriptForm form, TextSpan section,
                             bool secondGrowtype, const std::vector<std::string>& values,
                             const std::vector<std::string>& cells, std::optional<int> maximum);

// What the one save checks against the field of the other, as the script
// holds it: the highest value of its mastery section, every value counted
// whatever row it has (none without a section); the value of its [maximum
// level] as the header loader reads it (none when the field has no row).
std::optional<int> ScriptHighestMastery(std::string_view script, ScriptForm form);
std::optional<int> ScriptMaximumLevel(std::string_view script, ScriptForm form);
