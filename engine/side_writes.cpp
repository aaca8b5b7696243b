#include "engine/side_writes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "engine/mastery.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "engine/typed_number.h"
#include "platform/gbk.h"

namespace {

using platform::Gbk;

constexpr std::string_view kSpSection = "[@05]";

std::string_view SectionPrefix(ScriptForm form) {
  return form == ScriptForm::Sp ? kSpSection : std::string_view{};
}

// A section as the loaders read it: SP the tag line and one "[@02]" line
// per value; PT the tag line and the values line, each value followed by a
// TAB, after the `lead` that a one-value line holds before its value. A PT
// mastery section may end its line without the last TAB (its values are
// every part of the line), so its text stops before that TAB and the line
// keeps its own ending; a header field needs every TAB, or a line with too
// few values would pass for one with empty values.
std::string SectionText(ScriptForm form, std::string_view tag,
                        const std::vector<std::string>& values, bool lastTab,
                        std::string_view lead = {}) {
  std::string text = std::string(SectionPrefix(form)) + std::string(tag) + "\r\n";
  if (form == ScriptForm::Pt) text.append(lead);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (form == ScriptForm::Sp) {
      if (i > 0) text.append("\r\n");
      text.append("[@02]");
      text.append(values[i]);
      continue;
    }
    if (i > 0) text.push_back('\t');
    text.append(values[i]);
  }
  if (form == ScriptForm::Pt && lastTab && !values.empty()) text.push_back('\t');
  return text;
}

// Replaces one section whose values change; an unchanged one is left alone.
Rebuilt WriteSection(std::string script, ScriptForm form, std::string_view tag, int at,
                     const std::vector<std::string>& oldValues,
                     const std::vector<std::string>& newValues, bool lastTab,
                     std::string_view lead = {}) {
  if (oldValues == newValues) return {std::move(script)};
  return ReplaceAt(script, at, SectionText(form, tag, oldValues, lastTab, lead),
                   SectionText(form, tag, newValues, lastTab, lead));
}

const HeaderField* FieldTitled(std::string_view title) {
  for (const HeaderField& f : HeaderFieldTable()) {
    if (title == Gbk(f.titles[0])) return &f;
  }
  return nullptr;
}

// One header field (or the arena copy of one) that a save writes.
struct FieldWrite {
  const HeaderField* field;
  std::size_t index;  // in HeaderFieldTable()
  bool arena;
  std::vector<std::string> oldValues;  // as the slots hold them
  std::vector<std::string> cells;      // as the user left them
  std::vector<std::string> newValues;
  HeaderSlot Slot(std::size_t i) const { return arena ? field->arenaSlots[i] : field->slots[i]; }
};

// Whether a stored value holds more than blanks: a value that a cell left
// empty would take away.
bool HoldsValue(std::string_view stored) {
  return ReadTypedNumber(stored).kind != TypedKind::Empty;
}

// A number as a decimal value of the script, exactly as typed but written
// plainly: no sign for zero or a plus, no leading zeros, no trailing zeros
// in the fraction, and always a point with a digit after it, so that the
// game still reads a decimal ("+.50" gives 0.5, "0030" 30.0).
std::string DecimalValueText(const Decimal& d) {
  std::string digits = d.digits;
  const auto scale = static_cast<std::size_t>(d.scale < 0 ? 0 : d.scale);
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  const std::string whole = digits.substr(0, digits.size() - scale);
  std::string fraction = digits.substr(digits.size() - scale);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (fraction.empty()) fraction = "0";
  return (d.negative && !d.digits.empty() ? "-" : "") + whole + "." + fraction;
}

// The value that a header cell writes in place of `stored`. A cell left as
// it was read keeps the stored text, and so does an empty one (nothing but
// blanks) where the stored value holds nothing either; an empty cell where
// it holds a value is refused, for the line would lose its value. Any other
// cell is read as the level inputs are (full-width forms folded, blanks
// trimmed) and written as the level, static and mastery writers write
// numbers: a 32-bit integer in plain decimal ("+7" gives 7, "0030" 30), or,
// where the stored value is a decimal (PT only: an SP value line is marked
// as an integer), a decimal that keeps its point.
Refusal HeaderValue(ScriptForm form, const std::string& stored, const std::string& cell,
                    std::string& value) {
  value = stored;
  if (cell == stored) return Refusal::None;
  const TypedNumber n = ReadTypedNumber(cell);
  const bool decimal = form == ScriptForm::Pt && ReadTypedNumber(stored).kind == TypedKind::Decimal;
  switch (n.kind) {
    case TypedKind::Empty:
      return HoldsValue(stored) ? Refusal::EmptyValue : Refusal::None;
    case TypedKind::Integer: {
      const std::optional<std::int32_t> integer = AsInt32(n.value);
      if (!integer) return Refusal::OutOfRange;
      value = decimal ? DecimalValueText(n.value) : IntToText(*integer);
      return Refusal::None;
    }
    case TypedKind::Decimal:
      if (!decimal) return Refusal::NotInteger;
      if (!TruncateToInt32(n.value)) return Refusal::OutOfRange;
      value = DecimalValueText(n.value);
      return Refusal::None;
    case TypedKind::Forbidden:
      return Refusal::ForbiddenCharacter;
    case TypedKind::Invalid:
      break;
  }
  return decimal ? Refusal::NotNumber : Refusal::NotInteger;
}

// Whether two reads of the header fields show the same rows, by title.
bool SameRows(const HeaderFieldLoad& a, const HeaderFieldLoad& b) {
  if (a.groups.size() != b.groups.size()) return false;
  for (std::size_t g = 0; g < a.groups.size(); ++g) {
    if (a.groups[g].titles != b.groups[g].titles) return false;
  }
  return true;
}

// The highest of a mastery section's values; none without values.
std::optional<int> HighestMasteryLevel(const std::vector<std::string>& values) {
  std::optional<int> highest;
  for (const std::string& value : values) {
    const int level = TextToInt(value);
    if (!highest || level > *highest) highest = level;
  }
  return highest;
}

}  // namespace

HeaderFieldLoad ReadHeaderFields(std::string_view script, ScriptForm form) {
  return form == ScriptForm::Sp ? ReadHeaderFieldsSp(script) : ReadHeaderFieldsPt(script);
}

Rebuilt RebuildHeaderFields(std::string_view script, ScriptForm form,
                            const std::array<std::string, kHeaderSlotCount>& slots,
                            const HeaderSpans& spans, const std::vector<GridRow>& rows,
                            std::optional<int> highestMastery) {
  // Every field with its rows, by the title of its first row.
  std::vector<FieldWrite> writes;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const HeaderField* f = FieldTitled(rows[r].title);
    if (f == nullptr) continue;
    const auto count = static_cast<std::size_t>(f->valueCount);
    if (r + count > rows.size()) continue;
    bool arena = false;
    if (f->hasArenaCopy) {
      const std::string& second = rows[r + 1].title;
      arena = second == Gbk(kArenaCopyTitle);
      if (!arena && second != Gbk(kOnlyCopyTitle) && second != Gbk(kDungeonCopyTitle)) continue;
    }
    FieldWrite w{f, static_cast<std::size_t>(f - HeaderFieldTable().data()), arena, {}, {}, {}};
    for (std::size_t i = 0; i < count; ++i) {
      w.oldValues.push_back(slots[static_cast<std::size_t>(w.Slot(i))]);
      w.cells.push_back(rows[r + i].value);
    }
    writes.push_back(std::move(w));
  }
  // A TAB or a line break that the user typed would break the script's
  // layout; one that a value held as it was read stays where it stands.
  for (const FieldWrite& w : writes) {
    for (std::size_t i = 0; i < w.cells.size(); ++i) {
      if (w.cells[i] != w.oldValues[i] && HasForbiddenCharacter(w.cells[i]))
        return {{}, Refusal::ForbiddenCharacter};
    }
  }
  // Every value checked before anything is written.
  for (FieldWrite& w : writes) {
    for (std::size_t i = 0; i < w.cells.size(); ++i) {
      std::string value;
      if (const Refusal refusal = HeaderValue(form, w.oldValues[i], w.cells[i], value);
          refusal != Refusal::None)
        return {{}, refusal};
      w.newValues.push_back(std::move(value));
    }
  }
  if (highestMastery) {
    for (const GridRow& row : rows) {
      if (row.title == Gbk("最大等级") && TextToInt(row.value) < *highestMastery)
        return {{}, Refusal::MaximumBelowMastery};
    }
  }
  // Each field is written where the loader read it, which the fields
  // written before it may have moved.
  Rebuilt text{std::string(script)};
  std::vector<TextShift> shifts;
  const HeaderFieldLoad before = ReadHeaderFields(script, form);
  std::array<std::string, kHeaderSlotCount> expected = before.slots;
  for (const FieldWrite& w : writes) {
    const TextSpan read = w.arena ? spans.arena[w.index] : spans.first[w.index];
    const int at = ShiftedSpan(read, shifts).start;
    text = WriteSection(std::move(text.text), form, w.field->tag, at, w.oldValues, w.newValues,
                        true, w.arena ? std::string_view{} : spans.lead[w.index]);
    if (!text.Accepted()) return text;
    shifts.insert(shifts.end(), text.shifts.begin(), text.shifts.end());
    if (w.oldValues != w.newValues) {
      for (std::size_t i = 0; i < w.newValues.size(); ++i)
        expected[static_cast<std::size_t>(w.Slot(i))] = w.newValues[i];
    }
  }
  // The new script must read as saved: every field written with its new
  // values, every other one as it was. Two fields read from one line of
  // values (their tags share a line) would both change when one is
  // written, and a line of another shape than the loader's could read
  // otherwise; nothing is written then.
  const HeaderFieldLoad after = ReadHeaderFields(text.text, form);
  if (after.slots != expected || !SameRows(before, after)) return {{}, Refusal::NotFound};
  text.shifts = std::move(shifts);
  return text;
}

Rebuilt RebuildMasteryLevels(std::string_view script, ScriptForm form, TextSpan section,
                             bool secondGrowtype, const std::vector<std::string>& values,
                             const std::vector<std::string>& cells, std::optional<int> maximum) {
  if (const Refusal r = CheckIntegerInputs(cells); r != Refusal::None) return {{}, r};
  if (maximum) {
    for (const std::string& cell : cells) {
      const TypedNumber n = ReadTypedNumber(cell);
      if (n.kind == TypedKind::Integer && *AsInt32(n.value) > *maximum)
        return {{}, Refusal::MasteryAboveMaximum};
    }
  }
  // The value a cell gives: an empty or untouched cell keeps the stored one.
  auto newValue = [](const std::string& stored, const std::string& cell) {
    const TypedNumber n = ReadTypedNumber(cell);
    if (n.kind == TypedKind::Empty || cell == stored) return stored;
    return IntToText(*AsInt32(n.value));
  };
  std::vector<std::string> newValues;
  std::size_t used = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    // Class-special: a row for each value above 0, in order.
    const bool hasRow = !secondGrowtype || TextToInt(values[i]) > 0;
    if (!hasRow) {
      newValues.push_back(values[i]);
      continue;
    }
    if (used == cells.size()) return {{}, Refusal::CountMismatch};
    newValues.push_back(newValue(values[i], cells[used++]));
  }
  if (used != cells.size()) return {{}, Refusal::CountMismatch};
  const std::string_view tag =
      secondGrowtype ? "[second growtype maximum level]" : "[growtype maximum level]";
  return WriteSection(std::string(script), form, tag, section.start, values, newValues, false);
}

std::optional<int> ScriptHighestMastery(std::string_view script, ScriptForm form) {
  const MasterySection section =
      form == ScriptForm::Sp ? ReadMasterySectionSp(script) : ReadMasterySectionPt(script);
  return HighestMasteryLevel(section.values);
}

std::optional<int> ScriptMaximumLevel(std::string_view script, ScriptForm form) {
  const HeaderFieldLoad load = ReadHeaderFields(script, form);
  for (const HeaderRowGroup& g : load.groups) {
    if (g.titles.front() == Gbk("最大等级")) return TextToInt(g.values.front());
  }
  return std::nullopt;
}
