#include "engine/header_fields.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include "engine/blocks.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "engine/typed_number.h"
#include "platform/gbk.h"

namespace {

using platform::Gbk;
using S = HeaderSlot;

constexpr Colour kGrey = kGreyCellColour;
constexpr Colour kNotSet = kColourNotSet;

// clang-format off
constexpr HeaderField kFields[] = {
    {"[required level]", 1, {"学习等级"}, {S::RequiredLevel}, kGrey, kNotSet, true, false, {}, 0},
    {"[required level range]", 1, {"升级间隔"}, {S::RequiredLevelRange}, kGrey, kNotSet, true, false, {}, 0},
    {"[maximum level]", 1, {"最大等级"}, {S::MaximumLevel}, kGrey, kNotSet, true, false, {}, 0},
    {"[purchase cost]", 1, {"SP消耗"}, {S::PurchaseCost}, kGrey, kNotSet, true, false, {}, 0},
    {"[consume MP]", 2, {"MP消耗1", "MP消耗2"}, {S::ConsumeMp1, S::ConsumeMp2},
     0x00808000u, 0x00FFFFFFu, false, false, {}, 0},
    {"[start cool time]", 2, {"初始冷却", "[决斗场]"}, {S::StartCoolTime1, S::StartCoolTime2},
     0x00FFA8FFu, 0x00000000u, false, false, {}, 0},
    {"[cool time]", 2, {"冷却时间", kOnlyCopyTitle}, {S::CoolTime1, S::CoolTime2},
     0x00FF0000u, kGrey, false, true, {S::PvpCoolTime1, S::PvpCoolTime2}, 0x00FF0090u},
    {"[casting time]", 2, {"施放时间", kOnlyCopyTitle}, {S::CastingTime1, S::CastingTime2},
     0x00C06000u, kGrey, false, true, {S::PvpCastingTime1, S::PvpCastingTime2}, 0x000060C0u},
    {"[consume item]", 3, {"需要物品", "物品个数1", "物品个数2"},
     {S::ConsumeItem, S::ConsumeItemCount1, S::ConsumeItemCount2},
     0x00008000u, 0x00FFFFFFu, false, false, {}, 0},
};
// clang-format on

static_assert(std::size(kFields) == kHeaderFieldCount);

constexpr std::string_view kSpSection = "[@05]";
constexpr std::string_view kSpInt = "[@02]";

std::size_t Index(HeaderSlot slot) {
  return static_cast<std::size_t>(slot);
}

// Collects the slots and rows of one script.
class Reader {
 public:
  explicit Reader(std::string_view script) : script_(script) {}

  HeaderFieldLoad Take() { return std::move(load_); }

  std::string& Slot(HeaderSlot slot) { return load_.slots[Index(slot)]; }

  // The field being read (its index in kFields) and where its copies were
  // read.
  std::size_t field = 0;
  void FirstCopyRead(TextSpan span) { load_.spans.first[field] = span; }
  void ArenaCopyRead(TextSpan span) { load_.spans.arena[field] = span; }
  void Lead(std::string lead) { load_.spans.lead[field] = std::move(lead); }

  // The first copy's rows (or the one field's rows) with the values of its
  // slots; `secondTitle` replaces the table's second title when given.
  void AddRows(const HeaderField& f, std::string_view secondTitle = {}) {
    HeaderRowGroup group;
    for (int i = 0; i < f.valueCount; ++i) {
      const std::string_view title = i == 1 && !secondTitle.empty() ? secondTitle : f.titles[i];
      group.titles.push_back(Gbk(title));
      group.values.push_back(Slot(f.slots[i]));
    }
    group.back = f.back;
    group.text = f.text;
    group.titleCellOnly = f.titleCellOnly;
    load_.groups.push_back(std::move(group));
  }

  void AddArenaRows(const HeaderField& f) {
    HeaderRowGroup group;
    group.titles = {Gbk(f.titles[0]), Gbk(kArenaCopyTitle)};
    group.values = {Slot(f.arenaSlots[0]), Slot(f.arenaSlots[1])};
    group.back = f.arenaBack;
    group.text = f.text;
    load_.groups.push_back(std::move(group));
  }

  // Position of the arena copy of `tag`: its first occurrence after the
  // script's arena tag `pvpTag`, when that is not `firstCopy` itself; -1
  // when the script has no arena tag or no other copy after it.
  int ArenaCopy(std::string_view pvpTag, std::string_view tag, int firstCopy) const {
    const int pvp = FindText(script_, pvpTag);
    if (pvp < 0) return -1;
    const int copy = FindText(script_, tag, pvp + static_cast<int>(pvpTag.size()));
    return copy == firstCopy ? -1 : copy;
  }

  // The text after `tag` at `position` up to the next `end` (empty when
  // there is none), without its outer and blank lines. Records where the
  // arena copy was read: from `prefix` bytes before the tag up to `end`
  // (or through the tag when the text has no `end` after it).
  std::string CopyBody(std::string_view tag, int position, std::string_view end,
                       std::string_view prefix) {
    const int afterTag = position + static_cast<int>(tag.size());
    const int endAt = FindText(script_, end, afterTag, true);
    const int start = position - static_cast<int>(prefix.size());
    ArenaCopyRead(start < 1 ? TextSpan{} : TextSpan{start, (endAt < 0 ? afterTag : endAt) - start});
    std::string body = GetTextBetween(script_, tag, end, position, true);
    return TrimBlankLines(body);
  }

  bool HoldsMoreThanOnce(std::string_view tag) const { return CountOccurrences(script_, tag) > 1; }

  std::string_view script_;

 private:
  HeaderFieldLoad load_;
};

// --- SP ---------------------------------------------------------------------

// The SP value lines of the field whose tag line holds byte `tagAt`: the
// slots take each line less its first "[@02]" when every line holds one
// (true), else the lines as read (false). `end` receives the position
// after the last of them.
bool ReadSpValues(Reader& r, const HeaderField& f, int tagAt, int& end) {
  bool valid = true;
  int position = tagAt;
  for (int i = 0; i < f.valueCount; ++i) {
    const TextSpan line = LineAfter(r.script_, position);
    position = line.start;
    end = line.start + line.length;
    std::string& slot = r.Slot(f.slots[i]);
    slot = SpanText(r.script_, line);
    if (FindText(slot, kSpInt) < 0) valid = false;
  }
  if (!valid) return false;
  for (int i = 0; i < f.valueCount; ++i) {
    std::string& slot = r.Slot(f.slots[i]);
    slot = ReplaceFirst(slot, kSpInt, "");
  }
  return true;
}

void ReadSpArenaCopy(Reader& r, const HeaderField& f, int firstCopy) {
  const int copy = r.ArenaCopy("[@05][pvp]", f.tag, firstCopy);
  if (copy < 0) return;
  std::string body = r.CopyBody(f.tag, copy, kSpSection, kSpSection);
  if (FindText(body, kSpInt) < 0) return;
  body = ReplaceAll(body, kSpInt, "");
  r.Slot(f.arenaSlots[0]) = GetLine(body, 1);
  r.Slot(f.arenaSlots[1]) = GetLine(body, 2);
  r.AddArenaRows(f);
}

// --- PT ---------------------------------------------------------------------

// The PT values of the field whose tag line holds byte `tagAt`; false when
// the value line holds no TAB (the field then has no rows). `end` receives
// the position after the value line.
bool ReadPtValues(Reader& r, const HeaderField& f, int tagAt, int& end) {
  const TextSpan values = LineAfter(r.script_, tagAt);
  end = values.start + values.length;
  const std::string line = SpanText(r.script_, values);
  if (FindText(line, "\t") < 0) return false;
  if (f.valueCount == 1) {
    // The game reads the line's first value; blank values before it and
    // whatever follows it stay as they stand.
    const std::vector<std::string> parts = SplitText(line, "\t");
    std::string lead;
    for (const std::string& part : parts) {
      if (ReadTypedNumber(part).kind != TypedKind::Empty) {
        r.Slot(f.slots[0]) = part;
        r.Lead(lead);
        return true;
      }
      lead += part + "\t";
    }
    r.Slot(f.slots[0]) = parts.empty() ? std::string() : parts.front();
    return true;
  }
  const std::vector<std::string> parts = SplitPtValues(line);
  if (static_cast<int>(parts.size()) >= f.valueCount) {
    for (int i = 0; i < f.valueCount; ++i) {
      r.Slot(f.slots[i]) = parts[static_cast<std::size_t>(i)];
    }
  }
  return true;
}

void ReadPtArenaCopy(Reader& r, const HeaderField& f, int firstCopy) {
  const int copy = r.ArenaCopy("[pvp]", f.tag, firstCopy);
  if (copy < 0) return;
  const std::vector<std::string> parts = SplitPtValues(r.CopyBody(f.tag, copy, "[", {}));
  if (parts.size() < 2) return;
  r.Slot(f.arenaSlots[0]) = parts[0];
  r.Slot(f.arenaSlots[1]) = parts[1];
  if (!parts[0].empty()) r.AddArenaRows(f);
}

// --- both forms ---------------------------------------------------------------

struct Form {
  std::string_view tagPrefix;  // before the plain tag in the presence test
  bool (*readValues)(Reader&, const HeaderField&, int, int&);
  void (*readArenaCopy)(Reader&, const HeaderField&, int);
};

HeaderFieldLoad ReadHeaderFields(std::string_view script, const Form& form) {
  Reader r(script);
  for (const HeaderField& f : kFields) {
    const std::string sought = std::string(form.tagPrefix) + std::string(f.tag);
    const int present = FindText(script, sought);
    r.field = static_cast<std::size_t>(&f - kFields);
    if (present < 0) continue;
    // The tag line is the line of the occurrence that the presence test
    // found, never another line that holds the tag in other letters.
    const int tagAt = present + static_cast<int>(form.tagPrefix.size());
    const bool twoCopies = f.hasArenaCopy && r.HoldsMoreThanOnce(f.tag);
    int end = tagAt;
    const bool read = form.readValues(r, f, tagAt, end);
    r.FirstCopyRead({present, end - present});
    if (read) {
      r.AddRows(f, !f.hasArenaCopy ? std::string_view{}
                   : twoCopies     ? kDungeonCopyTitle
                                   : kOnlyCopyTitle);
    }
    if (twoCopies) form.readArenaCopy(r, f, tagAt);
  }
  return r.Take();
}

}  // namespace

std::span<const HeaderField> HeaderFieldTable() {
  return kFields;
}

HeaderFieldLoad ReadHeaderFieldsSp(std::string_view script) {
  return ReadHeaderFields(script, {kSpSection, &ReadSpValues, &ReadSpArenaCopy});
}

HeaderFieldLoad ReadHeaderFieldsPt(std::string_view script) {
  return ReadHeaderFields(script, {{}, &ReadPtValues, &ReadPtArenaCopy});
}
