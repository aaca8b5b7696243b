// A model of the bulk-modification writers for the property test and the
// fuzz target: it builds a random script around one level table (or one
// static block), random inputs, works out on its own what the new script
// must be, byte for byte, and compares that with what the rebuilder gives.
//
// The expectation is computed apart from the code under test: integers in
// 64 bits, products as exact fractions, decimals through the C library's
// strtod and "%.13g". Every byte outside the changed values must stay; a
// refused input must leave no text.
#pragma once

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/rebuild.h"
#include "engine/static_data.h"

namespace rebuild_model {

// The source of every choice: a number below `n` (n >= 1).
class Chooser {
 public:
  virtual ~Chooser() = default;
  virtual std::uint32_t Below(std::uint32_t n) = 0;
  bool OneIn(std::uint32_t n) { return Below(n) == 0; }
  template <class T, std::size_t N>
  const T& Of(const T (&items)[N]) {
    return items[Below(N)];
  }
};

namespace detail {

// Wide enough for every product of the model without overflow.
__extension__ typedef __int128 Wide;

constexpr std::int64_t kMin = -2147483648LL;
constexpr std::int64_t kMax = 2147483647LL;

inline bool InRange(Wide v) {
  return v >= kMin && v <= kMax;
}

inline std::string Int(std::int64_t v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%" PRId64, v);
  return buffer;
}

// A decimal m / 10^s written with s fraction digits ("-1.250").
inline std::string DecimalText(std::int64_t m, int s) {
  const std::int64_t magnitude = m < 0 ? -m : m;
  std::int64_t scale = 1;
  for (int i = 0; i < s; ++i) scale *= 10;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%" PRId64 ".%0*" PRId64, m < 0 ? "-" : "",
                magnitude / scale, s, magnitude % scale);
  return buffer;
}

inline Wide Pow10(int s) {
  Wide p = 1;
  for (int i = 0; i < s; ++i) p *= 10;
  return p;
}

// Truncation toward zero of n / d (d > 0).
inline Wide Truncated(Wide n, Wide d) {
  return n / d;  // C++ division truncates toward zero
}

// The 13 significant digits of "%.13g" of the double nearest to
// n / 10^s, written out without an exponent; a PT decimal keeps a point.
inline std::string DecimalProduct(Wide n, int s, bool pt) {
  const bool negative = n < 0;
  Wide magnitude = negative ? -n : n;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude > 0);
  const std::string exact = digits + "e-" + std::to_string(s);
  double d = std::strtod(exact.c_str(), nullptr);
  if (negative && d != 0.0) d = -d;
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%.13g", d);
  std::string text = buffer;
  if (const std::size_t e = text.find('e'); e != std::string::npos) {
    // As many fraction digits as the mantissa's digits reach: printf
    // rounds the double back to exactly those digits.
    int significant = 0;
    for (std::size_t i = 0; i < e; ++i) significant += text[i] >= '0' && text[i] <= '9';
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::snprintf(buffer, sizeof buffer, "%.*f", std::max(significant - 1 - exponent, 0),
                  std::strtod(text.c_str(), nullptr));
    text = buffer;
  }
  if (pt && text.find('.') == std::string::npos) text += ".0";
  return text;
}

// A typed number as the user might type it: spaces around it, a plus sign,
// full-width digits (GBK A3 B0..B9) or the ideographic space.
inline std::string Decorated(Chooser& choose, const std::string& plain) {
  std::string text;
  for (char c : plain) {
    if (c >= '0' && c <= '9' && choose.OneIn(8)) {
      text.push_back(static_cast<char>(0xA3));
      text.push_back(static_cast<char>(0xB0 + (c - '0')));
    } else {
      text.push_back(c);
    }
  }
  if (text[0] != '-' && choose.OneIn(6)) text.insert(0, "+");
  if (choose.OneIn(6)) text.insert(0, " ");
  if (choose.OneIn(6)) text.append("\xA1\xA1");
  return text;
}

}  // namespace detail

enum class Kind { Integer, Decimal, String };

struct Value {
  Kind kind = Kind::Integer;
  std::int64_t number = 0;  // integer, or decimal mantissa
  int scale = 0;            // decimal: fraction digits
  std::string text;         // as written after the marker (SP) or as the token (PT)
};

inline Value RandomValue(Chooser& choose, Kind kind) {
  using namespace detail;
  Value v;
  v.kind = kind;
  if (kind == Kind::String) {
    v.text = "`s" + Int(choose.Below(100)) + "`";
    return v;
  }
  if (kind == Kind::Decimal) {
    v.scale = 1 + static_cast<int>(choose.Below(3));
    // Now and then a tiny one, whose products reach below 0.0001.
    v.number = choose.OneIn(4) ? static_cast<std::int64_t>(choose.Below(21)) - 10
                               : static_cast<std::int64_t>(choose.Below(200000)) - 100000;
    v.text = DecimalText(v.number, v.scale);
    return v;
  }
  // Now and then one beyond 32 bits, as a script may hold it.
  const std::int64_t interesting[] = {
      0,        1,        -1,       7,        100,          640,           kMax,          kMin,
      kMax - 5, kMin + 5, kMax + 1, kMin - 1, 4294967296LL, 99999999999LL, -99999999999LL};
  v.number = choose.OneIn(3) ? choose.Of(interesting)
                             : static_cast<std::int64_t>(choose.Below(20001)) - 10000;
  v.text = Int(v.number);
  return v;
}

// The text a value stands as in the script.
inline std::string Stored(ScriptForm form, const Value& v) {
  if (form == ScriptForm::Pt) return v.text;
  switch (v.kind) {
    case Kind::Integer:
      return "[@02]" + v.text;
    case Kind::Decimal:
      return "[@04]" + v.text;
    case Kind::String:
      return "[@07]" + v.text.substr(1, v.text.size() - 2);
  }
  return {};
}

struct Outcome {
  std::string problem;  // empty when the rebuilder did what the model says
};

// ---- Level tables ----------------------------------------------------------------

inline std::string SpBlock(int perLevel, const std::vector<std::string>& stored) {
  std::string block = "[@05][level info]\r\n[@02]" + detail::Int(perLevel);
  for (const std::string& s : stored) block += "\r\n" + s;
  return block + "\r\n[@05][/level info]";
}

// `countToken`: the count as the line holds it, with the separator after it.
inline std::string PtLine(const std::string& countToken, const std::vector<std::string>& stored) {
  std::string line = countToken;
  for (const std::string& s : stored) line += s + "\t";
  return line;
}

// The count token of a PT line, written as scripts may hold it: whatever
// follows the number up to the separator belongs to it, and the reader
// takes its leading number, so a write keeps it as it stands.
inline std::string PtCountToken(Chooser& choose, int perLevel) {
  const std::string n = detail::Int(perLevel);
  const std::string fullWidth = std::string("\xA3") + static_cast<char>(0xB0 + perLevel);
  const std::string tokens[] = {n + "\t",         n + "\t",       n + "\t",       n + " \t",
                                "0" + n + "\t",   "+" + n + "\t", " " + n + "\t", n + "x\t",
                                fullWidth + "\t", n + "|"};
  return choose.Of(tokens);
}

// One random level-table modification and its check.
inline Outcome CheckLevelRebuild(Chooser& choose) {
  using namespace detail;
  const ScriptForm form = choose.OneIn(2) ? ScriptForm::Sp : ScriptForm::Pt;
  const bool sp = form == ScriptForm::Sp;
  const ModifyMode modes[] = {ModifyMode::Add, ModifyMode::Assign, ModifyMode::Increment,
                              ModifyMode::Ratio};
  const ModifyMode mode = choose.Of(modes);
  const int perLevel = 1 + static_cast<int>(choose.Below(4));
  const int levels = static_cast<int>(choose.Below(6));

  // One kind per value index, mostly integers.
  std::vector<Kind> kinds;
  for (int c = 0; c < perLevel; ++c) {
    const std::uint32_t k = choose.Below(10);
    kinds.push_back(k < 7 ? Kind::Integer : k < 9 ? Kind::Decimal : Kind::String);
  }
  std::vector<Value> values;
  std::vector<std::string> stored;
  for (int l = 0; l < levels; ++l) {
    for (int c = 0; c < perLevel; ++c) {
      values.push_back(RandomValue(choose, kinds[static_cast<std::size_t>(c)]));
      stored.push_back(Stored(form, values.back()));
    }
  }

  // The script: a head, maybe an identical copy of the table before the
  // shown one, the shown table, a tail that the SP float patch may touch.
  const std::string countToken = sp ? std::string() : PtCountToken(choose, perLevel);
  const std::string block = sp ? SpBlock(perLevel, stored) : PtLine(countToken, stored);
  std::string prefix = sp ? "[@05][name]\r\n[@07]\xB2\xE2\xCA\xD4\r\n[@05][type]\r\n[@07]a\r\n"
                          : "[name]\r\n`\xB2\xE2\xCA\xD4`\t\r\n[type]\r\n`a`\t\r\n";
  if (choose.OneIn(2)) {
    prefix += sp ? block + "\r\n[@05][pvp]\r\n"
                 : "[level info]\r\n" + block + "\r\n[/level info]\r\n[pvp]\r\n";
  }
  if (!sp) prefix += "[level info]\r\n";
  const bool property = choose.OneIn(2);
  std::string suffix = sp ? "\r\n" : "\r\n[/level info]\r\n";
  std::string patchedSuffix = suffix;
  if (property) {
    const std::string body = sp ? "[@05][level property]\r\n[@02]0\r\n[@04]0.00\r\n[@04]0.005\r\n"
                                  "[@05][/level property]\r\n"
                                : "[level property]\r\n0\t0.00\t0.005\t\r\n[/level property]\r\n";
    suffix += body;
    patchedSuffix += sp ? "[@05][level property]\r\n[@02]0\r\n[@04]0.001\r\n[@04]0.005\r\n"
                          "[@05][/level property]\r\n"
                        : body;
  }
  const std::string script = prefix + block + suffix;

  LevelTable table;
  table.valuesPerLevel = perLevel;
  table.levelCount = levels;
  table.values = stored;
  table.block = {static_cast<int>(prefix.size()) + 1, static_cast<int>(block.size())};

  // The inputs: empty, or numbers the mode takes, typed in various ways.
  LevelChange change;
  change.low = static_cast<int>(choose.Below(static_cast<std::uint32_t>(levels + 3))) - 1;
  change.high = change.low + static_cast<int>(choose.Below(static_cast<std::uint32_t>(levels + 3)));
  struct Typed {
    bool empty = true;
    Wide numerator = 0;  // the value is numerator / 10^scale
    int scale = 0;
  };
  std::vector<Typed> typed(static_cast<std::size_t>(perLevel));
  for (int c = 0; c < perLevel; ++c) {
    Typed& t = typed[static_cast<std::size_t>(c)];
    if (choose.OneIn(3)) {
      change.inputs.emplace_back();
      continue;
    }
    t.empty = false;
    if (mode == ModifyMode::Ratio) {
      t.scale = static_cast<int>(choose.Below(4));
      t.numerator = choose.OneIn(4) ? static_cast<std::int64_t>(choose.Below(21)) - 10
                                    : static_cast<std::int64_t>(choose.Below(40001)) - 20000;
      const std::string plain = t.scale == 0
                                    ? Int(static_cast<std::int64_t>(t.numerator))
                                    : DecimalText(static_cast<std::int64_t>(t.numerator), t.scale);
      change.inputs.push_back(Decorated(choose, plain));
    } else {
      const std::int64_t interesting[] = {0, 1, -3, 5, 100, kMax, kMin, 2000000000};
      const std::int64_t n = choose.OneIn(3) ? choose.Of(interesting)
                                             : static_cast<std::int64_t>(choose.Below(2001)) - 1000;
      t.numerator = n;
      change.inputs.push_back(Decorated(choose, Int(n)));
    }
  }
  // Now and then one input the mode does not take.
  std::vector<Refusal> inputRefusals(static_cast<std::size_t>(perLevel), Refusal::None);
  if (choose.OneIn(8)) {
    const std::size_t c = choose.Below(static_cast<std::uint32_t>(perLevel));
    const char* bad[] = {"abc", "1\t", "2\r\n", "1e3", "--1"};
    const char* text = mode == ModifyMode::Ratio ? choose.Of(bad) : "1.5";
    change.inputs[c] = text;
    typed[c].empty = false;
    const bool forbidden = std::string_view(text).find_first_of("\t\r\n") != std::string_view::npos;
    inputRefusals[c] = forbidden                   ? Refusal::ForbiddenCharacter
                       : mode == ModifyMode::Ratio ? Refusal::NotNumber
                                                   : Refusal::NotInteger;
  }
  // Increment: the level-1 bases, as shown (a decimal too) or typed over.
  std::vector<std::int64_t> bases(static_cast<std::size_t>(perLevel), 0);
  std::vector<bool> decimalBase(static_cast<std::size_t>(perLevel), false);
  bool emptyBase = false;
  if (mode == ModifyMode::Increment) {
    for (int c = 0; c < perLevel; ++c) {
      const auto i = static_cast<std::size_t>(c);
      if (levels > 0 && kinds[i] == Kind::Integer && choose.OneIn(2)) {
        bases[i] = values[i].number;
        change.bases.push_back(values[i].text);
      } else if (levels > 0 && kinds[i] == Kind::Decimal && choose.OneIn(2)) {
        decimalBase[i] = true;
        change.bases.push_back(sp ? Stored(form, values[i]) : values[i].text);
      } else {
        bases[i] = static_cast<std::int64_t>(choose.Below(2001)) - 1000;
        change.bases.push_back(Int(bases[i]));
      }
    }
    if (choose.OneIn(10)) {
      change.bases[choose.Below(static_cast<std::uint32_t>(perLevel))].clear();
      emptyBase = true;
    }
  }
  // The checks before the walk: an empty base, then value by value its
  // input and the base that a non-empty step counts from; a TAB, CR or LF
  // anywhere comes first.
  std::optional<Refusal> refusal;
  if (emptyBase) {
    refusal = Refusal::EmptyBase;
  } else {
    for (int c = 0; c < perLevel; ++c) {
      const auto i = static_cast<std::size_t>(c);
      std::vector<Refusal> found = {inputRefusals[i]};
      if (mode == ModifyMode::Increment && !typed[i].empty && decimalBase[i])
        found.push_back(Refusal::DecimalBase);
      if (mode == ModifyMode::Increment && !typed[i].empty && !decimalBase[i] && !InRange(bases[i]))
        found.push_back(Refusal::OutOfRange);
      for (Refusal r : found) {
        if (r == Refusal::ForbiddenCharacter) refusal = r;
        if (r != Refusal::None && !refusal) refusal = r;
      }
      if (refusal == Refusal::ForbiddenCharacter) break;
    }
  }

  // What the model expects.
  std::vector<std::string> expected = stored;
  bool changed = false;
  if (!refusal) {
    std::size_t k = 0;
    for (int level = 1; level <= levels && !refusal; ++level) {
      const bool inRange = level >= change.low && level <= change.high;
      for (int c = 0; c < perLevel; ++c, ++k) {
        const Typed& t = typed[static_cast<std::size_t>(c)];
        const Value& v = values[k];
        if (!inRange || t.empty) continue;
        // An input on a string, or outside the multiply mode on a decimal,
        // refuses the whole modification.
        if (v.kind == Kind::String) {
          refusal = Refusal::NotFound;
          break;
        }
        if (v.kind == Kind::Decimal) {
          if (mode != ModifyMode::Ratio) {
            refusal = Refusal::DecimalValue;
            break;
          }
          const Wide n = static_cast<Wide>(v.number) * t.numerator;
          if (!InRange(Truncated(n, Pow10(v.scale + t.scale)))) {
            refusal = Refusal::OutOfRange;
            break;
          }
          const std::string text = DecimalProduct(n, v.scale + t.scale, !sp);
          expected[k] = sp ? "[@04]" + text : text;
          continue;
        }
        // 增加 and 倍率 count from the stored integer, read whole.
        if ((mode == ModifyMode::Add || mode == ModifyMode::Ratio) && !InRange(v.number)) {
          refusal = Refusal::OutOfRange;
          break;
        }
        Wide result = 0;
        bool keep = false;
        switch (mode) {
          case ModifyMode::Add:
            result = static_cast<Wide>(v.number) + t.numerator;
            break;
          case ModifyMode::Assign:
            result = t.numerator;
            break;
          case ModifyMode::Ratio:
            result = Truncated(static_cast<Wide>(v.number) * t.numerator, Pow10(t.scale));
            break;
          case ModifyMode::Increment: {
            std::int64_t& base = bases[static_cast<std::size_t>(c)];
            if (level == 1) {
              keep = change.bases[static_cast<std::size_t>(c)] == v.text;
              result = base;
            } else {
              result = static_cast<Wide>(base) + t.numerator;
              if (InRange(result)) base = static_cast<std::int64_t>(result);
            }
            break;
          }
        }
        if (!InRange(result)) {
          refusal = Refusal::OutOfRange;
          break;
        }
        if (!keep) {
          const std::string text = Int(static_cast<std::int64_t>(result));
          expected[k] = sp ? "[@02]" + text : text;
        }
      }
    }
    for (std::size_t i = 0; i < expected.size(); ++i) changed |= expected[i] != stored[i];
  }

  const Rebuilt r = RebuildLevelInfo(script, form, mode, table, change);
  Outcome out;
  if (refusal) {
    if (r.refusal != *refusal || !r.text.empty()) {
      out.problem = "expected refusal " + std::to_string(static_cast<int>(*refusal)) + ", got " +
                    std::to_string(static_cast<int>(r.refusal));
    }
    return out;
  }
  if (!r.Accepted()) {
    out.problem = "refused " + std::to_string(static_cast<int>(r.refusal)) + " for\n" + script;
    return out;
  }
  const std::string newBlock = sp ? SpBlock(perLevel, expected) : PtLine(countToken, expected);
  const std::string want = prefix + (changed ? newBlock : block) + (sp ? patchedSuffix : suffix);
  if (r.text != want) out.problem = "script\n" + script + "\nbecame\n" + r.text + "\nnot\n" + want;
  return out;
}

// ---- Static blocks -----------------------------------------------------------------

// One random static-block modification and its check: identical blocks
// before and inside [pvp], the shown copy chosen at random.
inline Outcome CheckStaticRebuild(Chooser& choose) {
  using namespace detail;
  const ScriptForm form = choose.OneIn(2) ? ScriptForm::Sp : ScriptForm::Pt;
  const bool sp = form == ScriptForm::Sp;
  const int count = static_cast<int>(choose.Below(5));
  std::vector<Value> values;
  std::vector<std::string> stored;
  std::string loaded;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t k = choose.Below(8);
    values.push_back(RandomValue(choose, k < 2   ? Kind::Decimal
                                         : k < 3 ? Kind::String
                                                 : Kind::Integer));
    stored.push_back(Stored(form, values.back()));
    if (sp) {
      if (i > 0) loaded += "\r\n";
      loaded += values.back().kind == Kind::Integer ? values.back().text : stored.back();
    } else {
      loaded += stored.back() + "\t";
    }
  }
  auto blockOf = [&](const std::vector<std::string>& s) {
    std::string b = sp ? "[@05][static data]" : "[static data]\r\n";
    for (const std::string& v : s) b += sp ? "\r\n" + v : v + "\t";
    return b + (sp ? "\r\n[@05][/static data]" : "\r\n[/static data]");
  };
  const StaticCopy copies[] = {StaticCopy::Common, StaticCopy::Dungeon, StaticCopy::Arena};
  const StaticCopy copy = choose.Of(copies);
  StaticChange change{loaded, {}};
  std::vector<std::string> expected = stored;
  std::optional<Refusal> refusal;
  for (int i = 0; i < count; ++i) {
    if (choose.OneIn(2)) {
      change.inputs.emplace_back();
      continue;
    }
    const std::int64_t n = static_cast<std::int64_t>(choose.Below(2001)) - 1000;
    change.inputs.push_back(Decorated(choose, Int(n)));
    const Value& v = values[static_cast<std::size_t>(i)];
    // A string takes no input.
    if (v.kind == Kind::String && !refusal) refusal = Refusal::NotFound;
    expected[static_cast<std::size_t>(i)] =
        sp ? (v.kind == Kind::Decimal ? "[@04]" : "[@02]") + Int(n)
           : (v.kind == Kind::Decimal ? Int(n) + ".0" : Int(n));
  }
  // A typed input that is not an integer is refused before anything else.
  if (count > 0 && choose.OneIn(8)) {
    change.inputs[choose.Below(static_cast<std::uint32_t>(count))] = "0.5";
    refusal = Refusal::NotInteger;
  }
  const std::string head = sp ? "[@05][type]\r\n[@07]a\r\n" : "[type]\r\n`a`\t\r\n";
  const std::string pvpOpen = sp ? "\r\n[@05][pvp]\r\n" : "\r\n[pvp]\r\n";
  const std::string pvpClose = sp ? "\r\n[@05][/pvp]\r\n" : "\r\n[/pvp]\r\n";
  const std::string old = blockOf(stored);
  const std::string script = head + old + pvpOpen + old + pvpClose;
  // The block where the static loader reads the copy.
  const TextSpan block = (sp ? CutStaticDataSp(script, copy) : CutStaticDataPt(script, copy)).block;
  const Rebuilt r =
      sp ? RebuildStaticDataSp(script, block, change) : RebuildStaticDataPt(script, block, change);
  Outcome out;
  if (refusal) {
    if (r.refusal != *refusal || !r.text.empty()) out.problem = "static: expected a refusal";
    return out;
  }
  const std::string now = blockOf(expected);
  const std::string want = copy == StaticCopy::Arena ? head + old + pvpOpen + now + pvpClose
                                                     : head + now + pvpOpen + old + pvpClose;
  if (!r.Accepted() || r.text != want) {
    out.problem = "static script\n" + script + "\nbecame\n" + r.text + "\nnot\n" + want;
  }
  return out;
}

}  // namespace rebuild_model
