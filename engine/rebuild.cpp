#include "engine/rebuild.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <utility>

#include "engine/level_table.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "engine/typed_number.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kIntMarker = "[@02]";
constexpr std::string_view kDecMarker = "[@04]";

// ---- Values and their kinds --------------------------------------------------

enum class ValueKind { Integer, Decimal, Other };

struct StoredValue {
  ValueKind kind = ValueKind::Other;
  std::string_view operand;  // the value without its marker
};

// A level value as the script holds it. SP: the marker at the start of the
// line decides; PT: a token holding "." is a decimal, a string or a link
// (backquote, "<") is neither, anything else is read as an integer.
// Inline: the walk classifies every value of the table.
inline StoredValue ClassifyLevelValue(ScriptForm form, std::string_view stored) {
  if (form == ScriptForm::Sp) {
    if (stored.starts_with(kIntMarker)) return {ValueKind::Integer, stored.substr(5)};
    if (stored.starts_with(kDecMarker)) return {ValueKind::Decimal, stored.substr(5)};
    return {ValueKind::Other, stored};
  }
  if (stored.starts_with('`') || stored.starts_with('<')) return {ValueKind::Other, stored};
  if (stored.find('.') != std::string_view::npos) return {ValueKind::Decimal, stored};
  return {ValueKind::Integer, stored};
}

// A PT decimal must keep its point, or the game would read an integer.
std::string KeepDecimalPoint(std::string text) {
  if (text.find('.') == std::string::npos) text.append(".0");
  return text;
}

// A new value as the script writes it.
std::string Written(ScriptForm form, ValueKind kind, std::string text) {
  if (form == ScriptForm::Sp) {
    return std::string(kind == ValueKind::Decimal ? kDecMarker : kIntMarker) + text;
  }
  return kind == ValueKind::Decimal ? KeepDecimalPoint(std::move(text)) : text;
}

std::optional<std::string> Int32Text(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return IntToText(value);
}

// Refusal of one typed integer cell; Empty passes.
Refusal CheckInteger(const TypedNumber& n) {
  switch (n.kind) {
    case TypedKind::Empty:
      return Refusal::None;
    case TypedKind::Integer:
      return AsInt32(n.value) ? Refusal::None : Refusal::OutOfRange;
    case TypedKind::Forbidden:
      return Refusal::ForbiddenCharacter;
    default:
      return Refusal::NotInteger;
  }
}

Refusal CheckNumber(const TypedNumber& n) {
  switch (n.kind) {
    case TypedKind::Forbidden:
      return Refusal::ForbiddenCharacter;
    case TypedKind::Invalid:
      return Refusal::NotNumber;
    default:
      return Refusal::None;
  }
}

// A TAB, CR or LF anywhere wins over any other refusal: it is reported
// first, whatever cell it is in.
Refusal FirstRefusal(const std::vector<Refusal>& found) {
  Refusal first = Refusal::None;
  for (Refusal r : found) {
    if (r == Refusal::ForbiddenCharacter) return r;
    if (first == Refusal::None) first = r;
  }
  return first;
}

const std::string& Cell(const std::vector<std::string>& cells, int index) {
  static const std::string kEmpty;
  return index >= 0 && index < static_cast<int>(cells.size())
             ? cells[static_cast<std::size_t>(index)]
             : kEmpty;
}

// Replaces `length` bytes at 0-based `at`, with the shift that makes.
Rebuilt Spliced(std::string_view text, std::size_t at, std::size_t length,
                std::string_view replacement) {
  Rebuilt r;
  r.text.reserve(text.size() - length + replacement.size());
  r.text.append(text.substr(0, at));
  r.text.append(replacement);
  r.text.append(text.substr(at + length));
  r.shifts.push_back(
      {static_cast<int>(at) + 1, static_cast<int>(length), static_cast<int>(replacement.size())});
  return r;
}

// An SP text after the level-property float patch, with the shifts of the
// change before it and those of the patch.
Rebuilt Patched(Rebuilt r) {
  r.text = PatchLevelPropertyFloats(r.text, &r.shifts);
  return r;
}

// The script with no value of its table changed: an SP text still passes
// the patch.
Rebuilt Unchanged(std::string_view script, ScriptForm form) {
  Rebuilt r{std::string(script)};
  return form == ScriptForm::Sp ? Patched(std::move(r)) : r;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FindText(a, b, 1, true) == 1;
}

// ---- The level table walk ------------------------------------------------------

// The running state of one walk: the level-1 bases of the increment mode.
class ValueRule {
 public:
  ValueRule(ScriptForm form, ModifyMode mode, const LevelChange& change, int perLevel)
      : form_(form), mode_(mode) {
    if (mode != ModifyMode::Increment) return;
    for (int c = 0; c < perLevel; ++c) {
      const TypedNumber base = ReadTypedNumber(Cell(change.bases, c));
      bases_.push_back(base.kind == TypedKind::Integer ? AsInt32(base.value).value_or(0) : 0);
    }
  }

  // The new text of value `c` (0-based) at `level` for a non-empty input,
  // nullopt when the value stays as stored, or a refusal.
  Refusal Apply(std::string_view stored, const TypedNumber& input, std::string_view rawBase,
                int level, int c, std::optional<std::string>& out) {
    out.reset();
    const StoredValue v = ClassifyLevelValue(form_, stored);
    if (v.kind == ValueKind::Other) return Refusal::NotFound;
    if (v.kind == ValueKind::Decimal) {
      if (mode_ != ModifyMode::Ratio) return Refusal::DecimalValue;
      const auto text = DecimalToText(Multiply(LeadingDecimal(v.operand), input.value));
      if (!text) return Refusal::OutOfRange;
      out = Written(form_, v.kind, *text);
      return Refusal::None;
    }
    // The modes that count from the stored integer read it whole: one
    // beyond 32 bits is refused rather than cut to the range, which would
    // write a number that neither the script nor the user holds.
    const bool readsStored = mode_ == ModifyMode::Add || mode_ == ModifyMode::Ratio;
    const std::optional<std::int32_t> stored32 =
        readsStored ? TextToIntExact(v.operand) : std::optional<std::int32_t>(0);
    if (!stored32) return Refusal::OutOfRange;
    std::optional<std::string> text;
    switch (mode_) {
      case ModifyMode::Add:
        text = Int32Text(std::int64_t{*stored32} + *AsInt32(input.value));
        break;
      case ModifyMode::Assign:
        text = IntToText(*AsInt32(input.value));
        break;
      case ModifyMode::Ratio: {
        const auto whole = TruncateToInt32(Multiply(FromInt(*stored32), input.value));
        if (whole) text = IntToText(*whole);
        break;
      }
      case ModifyMode::Increment: {
        std::int32_t& base = bases_[static_cast<std::size_t>(c)];
        if (level == 1) {
          // The base as the user left it; an untouched base keeps the
          // value exactly as stored.
          if (rawBase == v.operand) return Refusal::None;
          text = IntToText(base);
        } else {
          text = Int32Text(std::int64_t{base} + *AsInt32(input.value));
          if (text) base = TextToInt(*text);
        }
        break;
      }
    }
    if (!text) return Refusal::OutOfRange;
    out = Written(form_, v.kind, std::move(*text));
    return Refusal::None;
  }

 private:
  ScriptForm form_;
  ModifyMode mode_;
  std::vector<std::int32_t> bases_;
};

std::string SpLevelBlock(int perLevel, const std::vector<std::string_view>& values) {
  std::string block = "[@05][level info]\r\n[@02]" + IntToText(perLevel);
  for (std::string_view v : values) {
    block.append(kCrLf);
    block.append(v);
  }
  block.append("\r\n[@05][/level info]");
  return block;
}

// The PT level values, each followed by a TAB, without line feeds.
std::string PtLevelValues(const std::vector<std::string_view>& values) {
  std::string span;
  for (std::string_view v : values) {
    span.append(v);
    span.push_back('\t');
  }
  return ReplaceAll(span, "\n", "");
}

// Puts the new table in the place of the shown copy, which must hold the
// old one.
Rebuilt ReplaceLevelTable(std::string_view script, ScriptForm form, const LevelTable& table,
                          const std::vector<std::string_view>& oldValues,
                          const std::vector<std::string_view>& newValues) {
  const int perLevel = table.valuesPerLevel;
  const TextSpan span = table.block;
  if (span.start < 1 || span.length < 0 ||
      static_cast<std::size_t>(span.start) - 1 + static_cast<std::size_t>(span.length) >
          script.size())
    return {{}, Refusal::NotFound};
  const auto spanStart = static_cast<std::size_t>(span.start) - 1;
  const std::string_view shown = script.substr(spanStart, static_cast<std::size_t>(span.length));
  if (form == ScriptForm::Sp) {
    if (shown != SpLevelBlock(perLevel, oldValues)) return {{}, Refusal::NotFound};
    return Patched(Spliced(script, spanStart, shown.size(), SpLevelBlock(perLevel, newValues)));
  }
  // The values follow the count token where the reader read them; the
  // token stays as it stands ("3 " is read as 3 and written back as "3 ").
  const auto valuesAt = static_cast<std::size_t>(PtCountTokenLength(shown));
  const std::string oldSpan = PtLevelValues(oldValues);
  if (valuesAt == 0 || !SameIgnoringCase(shown.substr(valuesAt, oldSpan.size()), oldSpan))
    return {{}, Refusal::NotFound};
  return Spliced(script, spanStart + valuesAt, oldSpan.size(), PtLevelValues(newValues));
}

}  // namespace

Rebuilt ReplaceAt(std::string_view script, int at, std::string_view oldText,
                  std::string_view newText) {
  if (at < 1 || static_cast<std::size_t>(at) > script.size()) return {{}, Refusal::NotFound};
  const auto from = static_cast<std::size_t>(at) - 1;
  if (!SameIgnoringCase(script.substr(from, oldText.size()), oldText))
    return {{}, Refusal::NotFound};
  return Spliced(script, from, oldText.size(), newText);
}

Refusal CheckLevelInputs(ScriptForm form, ModifyMode mode, const LevelChange& change) {
  std::vector<Refusal> found;
  for (std::size_t c = 0; c < change.inputs.size(); ++c) {
    const TypedNumber input = ReadTypedNumber(change.inputs[c]);
    found.push_back(mode == ModifyMode::Ratio ? CheckNumber(input) : CheckInteger(input));
    // A step that will be used needs an integer base it can count from.
    if (mode == ModifyMode::Increment && input.kind != TypedKind::Empty) {
      const std::string& text = Cell(change.bases, static_cast<int>(c));
      const TypedNumber base = ReadTypedNumber(text);
      if (base.kind == TypedKind::Decimal ||
          (form == ScriptForm::Sp && std::string_view(text).starts_with(kDecMarker))) {
        found.push_back(Refusal::DecimalBase);
      } else {
        found.push_back(base.kind == TypedKind::Empty ? Refusal::None : CheckInteger(base));
      }
    }
  }
  return FirstRefusal(found);
}

Rebuilt RebuildLevelInfo(std::string_view script, ScriptForm form, ModifyMode mode,
                         const LevelTable& table, const LevelChange& change) {
  const int perLevel = table.valuesPerLevel;
  if (perLevel <= 0) return {{}, Refusal::NoLevelTable};
  if (mode == ModifyMode::Increment) {
    // Every value needs its base, also one whose step is empty.
    for (int c = 0; c < perLevel; ++c) {
      if (ReadTypedNumber(Cell(change.bases, c)).kind == TypedKind::Empty)
        return {{}, Refusal::EmptyBase};
    }
  }
  if (const Refusal r = CheckLevelInputs(form, mode, change); r != Refusal::None) return {{}, r};
  const std::int64_t total = std::int64_t{perLevel} * table.levelCount;
  if (table.levelCount < 0 || static_cast<std::int64_t>(table.values.size()) < total)
    return {{}, Refusal::NotFound};
  // A table without one whole level has no value to change (and its count
  // may be any number the script states, so nothing is sized by it).
  if (total == 0) return Unchanged(script, form);

  std::vector<TypedNumber> inputs;
  for (int c = 0; c < perLevel; ++c) inputs.push_back(ReadTypedNumber(Cell(change.inputs, c)));
  ValueRule rule(form, mode, change, perLevel);
  std::vector<std::string_view> oldValues;
  std::vector<std::string_view> newValues;
  std::deque<std::string> changed;  // owns the new texts; never moves them
  oldValues.reserve(static_cast<std::size_t>(total));
  newValues.reserve(static_cast<std::size_t>(total));
  bool anyChange = false;
  std::size_t k = 0;
  for (int level = 1; level <= table.levelCount; ++level) {
    const bool inRange = level >= change.low && level <= change.high;
    for (int c = 0; c < perLevel; ++c, ++k) {
      const std::string_view stored = table.values[k];
      oldValues.push_back(stored);
      const TypedNumber& input = inputs[static_cast<std::size_t>(c)];
      std::optional<std::string> value;
      if (inRange && input.kind != TypedKind::Empty) {
        if (const Refusal r = rule.Apply(stored, input, Cell(change.bases, c), level, c, value);
            r != Refusal::None)
          return {{}, r};
      }
      if (value && *value != stored) {
        changed.push_back(std::move(*value));
        newValues.push_back(changed.back());
        anyChange = true;
      } else {
        newValues.push_back(stored);
      }
    }
  }
  if (!anyChange) {
    // Nothing to write: the table need not be found.
    return Unchanged(script, form);
  }
  return ReplaceLevelTable(script, form, table, oldValues, newValues);
}

#define SE_LEVEL_REBUILDER(name, form, mode)                                                  \
  Rebuilt name(std::string_view script, const LevelTable& table, const LevelChange& change) { \
    return RebuildLevelInfo(script, form, mode, table, change);                               \
  }
SE_LEVEL_REBUILDER(RebuildLevelInfoAddSp, ScriptForm::Sp, ModifyMode::Add)
SE_LEVEL_REBUILDER(RebuildLevelInfoAddPt, ScriptForm::Pt, ModifyMode::Add)
SE_LEVEL_REBUILDER(RebuildLevelInfoAssignSp, ScriptForm::Sp, ModifyMode::Assign)
SE_LEVEL_REBUILDER(RebuildLevelInfoAssignPt, ScriptForm::Pt, ModifyMode::Assign)
SE_LEVEL_REBUILDER(RebuildLevelInfoIncrementSp, ScriptForm::Sp, ModifyMode::Increment)
SE_LEVEL_REBUILDER(RebuildLevelInfoIncrementPt, ScriptForm::Pt, ModifyMode::Increment)
SE_LEVEL_REBUILDER(RebuildLevelInfoRatioSp, ScriptForm::Sp, ModifyMode::Ratio)
SE_LEVEL_REBUILDER(RebuildLevelInfoRatioPt, ScriptForm::Pt, ModifyMode::Ratio)
#undef SE_LEVEL_REBUILDER

std::string PatchLevelPropertyFloats(std::string_view text, std::vector<TextShift>* shifts) {
  constexpr std::string_view kOpen = "[@05][level property]";
  constexpr std::string_view kClose = "[@05][/level property]";
  constexpr std::string_view kZero = "[@04]0.00";
  const int open = FindText(text, kOpen);
  const int close = FindText(text, kClose);
  if (open < 1 || close < 1 || close < open) return std::string(text);
  if (FindText(text, "[@04]0.001", open) > 0) return std::string(text);
  const auto end = static_cast<std::size_t>(close) - 1 + kClose.size();  // 0-based, exclusive
  std::string out;
  out.reserve(text.size() + 16);
  std::size_t copied = 0;
  for (int at = FindText(text, kZero, open); at > 0; at = FindText(text, kZero, at + 1)) {
    const auto from = static_cast<std::size_t>(at) - 1;
    const std::size_t after = from + kZero.size();
    if (after > end) break;
    // Only the whole value 0.00: a line break or the end must follow.
    if (after < text.size() && text[after] != '\r' && text[after] != '\n') continue;
    out.append(text.substr(copied, after - copied));
    // The byte goes where the text so far ends, before the bytes still to come.
    if (shifts) shifts->push_back({static_cast<int>(out.size()) + 1, 0, 1});
    out.push_back('1');
    copied = after;
  }
  out.append(text.substr(copied));
  return out;
}

// ---- Static data ----------------------------------------------------------------

namespace {

// The new text of a static value for a typed integer; nullopt when there
// is no input, or when the value is not a number (SP a marker other than
// "[@02]" and "[@04]", PT a string or a link), which takes none.
std::optional<std::string> NewStaticValue(ScriptForm form, std::string_view value,
                                          const TypedNumber& input) {
  if (input.kind != TypedKind::Integer) return std::nullopt;
  const std::string number = IntToText(*AsInt32(input.value));
  if (form == ScriptForm::Sp) {
    // The loader removed "[@02]"; any other marker is still on the value.
    if (!value.starts_with("[@")) return std::string(kIntMarker) + number;
    if (value.starts_with(kDecMarker)) return std::string(kDecMarker) + number;
    return std::nullopt;
  }
  const StoredValue v = ClassifyLevelValue(form, value);
  if (v.kind == ValueKind::Other) return std::nullopt;
  return Written(form, v.kind, number);
}

// The value as its line stands in an SP block.
std::string SpStaticLine(std::string_view value) {
  return value.starts_with("[@") ? std::string(value)
                                 : std::string(kIntMarker) + std::string(value);
}

// Whether any static input holds more than blanks.
bool AnyInput(const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs) {
    if (ReadTypedNumber(input).kind != TypedKind::Empty) return true;
  }
  return false;
}

Rebuilt ReplaceStaticBlock(std::string_view script, TextSpan block, const std::string& oldBlock,
                           const std::string& newBlock) {
  if (oldBlock == newBlock) return {std::string(script)};
  return ReplaceAt(script, block.start, oldBlock, newBlock);
}

}  // namespace

Refusal CheckIntegerInputs(const std::vector<std::string>& inputs) {
  std::vector<Refusal> found;
  for (const std::string& input : inputs) found.push_back(CheckInteger(ReadTypedNumber(input)));
  return FirstRefusal(found);
}

Rebuilt RebuildStaticDataSp(std::string_view script, TextSpan block, const StaticChange& change) {
  if (const Refusal r = CheckIntegerInputs(change.inputs); r != Refusal::None) return {{}, r};
  if (!AnyInput(change.inputs)) return {std::string(script)};
  const std::vector<std::string> values = SplitText(change.loaded, kCrLf);
  if (change.inputs.size() < values.size()) return {{}, Refusal::CountMismatch};
  std::string oldBlock = "[@05][static data]";
  std::string newBlock = oldBlock;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string line = SpStaticLine(values[i]);
    const TypedNumber input = ReadTypedNumber(change.inputs[i]);
    const auto value = NewStaticValue(ScriptForm::Sp, values[i], input);
    if (input.kind != TypedKind::Empty && !value) return {{}, Refusal::NotFound};
    oldBlock.append(kCrLf).append(line);
    newBlock.append(kCrLf).append(value.value_or(line));
  }
  oldBlock.append("\r\n[@05][/static data]");
  newBlock.append("\r\n[@05][/static data]");
  return ReplaceStaticBlock(script, block, oldBlock, newBlock);
}

Rebuilt RebuildStaticDataPt(std::string_view script, TextSpan block, const StaticChange& change) {
  if (const Refusal r = CheckIntegerInputs(change.inputs); r != Refusal::None) return {{}, r};
  if (!AnyInput(change.inputs)) return {std::string(script)};
  const std::string line = ReplaceAll(change.loaded, "\n", "");
  // The grid shows the values split at TAB and "|"; they must be the
  // line's TAB-separated values one for one.
  std::vector<std::string> tokens = SplitText(line, "\t");
  if (change.inputs.size() != tokens.size() || SplitPtValues(change.loaded).size() != tokens.size())
    return {{}, Refusal::CountMismatch};
  std::string newLine;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (i > 0) newLine.push_back('\t');
    const TypedNumber input = ReadTypedNumber(change.inputs[i]);
    const auto value = NewStaticValue(ScriptForm::Pt, tokens[i], input);
    if (input.kind != TypedKind::Empty && !value) return {{}, Refusal::NotFound};
    newLine.append(value.value_or(tokens[i]));
  }
  if (line.ends_with('\t')) newLine.push_back('\t');
  return ReplaceStaticBlock(script, block, "[static data]\r\n" + line + "\r\n[/static data]",
                            "[static data]\r\n" + newLine + "\r\n[/static data]");
}
