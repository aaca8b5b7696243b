// Fuzz target over the writers of the script: the level-info and static
// rebuilders, the float patch, the header-field and mastery writers and the
// typed-number reading. The first byte picks a part; model-driven parts
// build a valid script and check the new script byte for byte
// (tests/engine/rebuild_model.h); raw parts feed arbitrary bytes and check
// what must hold for any input.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/blocks.h"
#include "engine/header_fields.h"
#include "engine/mastery.h"
#include "engine/rebuild.h"
#include "engine/script_form.h"
#include "engine/side_writes.h"
#include "engine/static_data.h"
#include "engine/text.h"
#include "engine/typed_number.h"
#include "tests/engine/rebuild_model.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

class ProviderChooser : public rebuild_model::Chooser {
 public:
  explicit ProviderChooser(FuzzedDataProvider& p) : p_(p) {}
  std::uint32_t Below(std::uint32_t n) override {
    return p_.ConsumeIntegralInRange<std::uint32_t>(0, n - 1);
  }

 private:
  FuzzedDataProvider& p_;
};

void CheckModel(const rebuild_model::Outcome& out) {
  if (!out.problem.empty()) {
    std::fprintf(stderr, "%s\n", out.problem.c_str());
    std::abort();
  }
}

// Small texts that reach the interesting paths more often than random bytes.
std::string Piece(FuzzedDataProvider& p) {
  static const char* const kPieces[] = {"[@02]",
                                        "[@04]",
                                        "[@05][level info]",
                                        "[@05][/level info]",
                                        "[level info]",
                                        "[/level info]",
                                        "\t",
                                        "\r\n",
                                        "[@05][static data]",
                                        "[@05][/static data]",
                                        "[static data]",
                                        "[/static data]",
                                        "[pvp]",
                                        "[@05][pvp]",
                                        "[/pvp]",
                                        "[@05][/pvp]",
                                        "[@05][level property]",
                                        "[@05][/level property]",
                                        "[@04]0.00",
                                        "[@04]0.001",
                                        "0.5",
                                        "-7",
                                        "2147483647",
                                        "\xA3\xB1",
                                        "[cool time]",
                                        "[@05][cool time]",
                                        "[growtype maximum level]",
                                        "[@05][growtype maximum level]",
                                        "[second growtype maximum level]",
                                        "[maximum level]",
                                        "[required level]"};
  if (p.ConsumeBool())
    return kPieces[p.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
  return p.ConsumeRandomLengthString(12);
}

std::string RawText(FuzzedDataProvider& p) {
  std::string text;
  const int pieces = p.ConsumeIntegralInRange<int>(0, 40);
  for (int i = 0; i < pieces; ++i) text += Piece(p);
  return text;
}

std::vector<std::string> Cells(FuzzedDataProvider& p, int most) {
  std::vector<std::string> cells;
  const int count = p.ConsumeIntegralInRange<int>(0, most);
  for (int i = 0; i < count; ++i)
    cells.push_back(p.ConsumeBool() ? Piece(p) : std::to_string(p.ConsumeIntegral<std::int16_t>()));
  return cells;
}

// The shifts that a rebuild reports: a span of the old script that no
// change overlaps reads the same at its shifted place in the new one.
void CheckShifts(FuzzedDataProvider& p, std::string_view before, const Rebuilt& r) {
  const int size = static_cast<int>(before.size());
  const TextSpan span{p.ConsumeIntegralInRange<int>(1, size + 1),
                      p.ConsumeIntegralInRange<int>(0, size)};
  const TextSpan after = ShiftedSpan(span, r.shifts);
  if (after.start < 1) return;
  Check(after.length == span.length, "a shifted span keeps its length");
  Check(SpanText(r.text, after) == SpanText(before, span),
        "a span that no change overlaps reads the same after the shifts");
}

// Any script, any recorded place, any inputs: no crash; a refusal leaves
// no text; the shifts say where the text moved; a PT rebuild changes
// nothing outside the recorded place nor its count token (up to and with
// the first TAB or bar of the place); the SP result has the float patch
// applied (a second patch changes nothing).
void RawLevel(FuzzedDataProvider& p) {
  const ScriptForm form = p.ConsumeBool() ? ScriptForm::Sp : ScriptForm::Pt;
  const ModifyMode mode = static_cast<ModifyMode>(p.ConsumeIntegralInRange<int>(0, 3));
  const std::string script = RawText(p);
  LevelTable table;
  table.valuesPerLevel = p.ConsumeIntegralInRange<int>(-2, 5);
  table.levelCount = p.ConsumeIntegralInRange<int>(-1, 6);
  const int size = static_cast<int>(script.size());
  table.block.start = p.ConsumeIntegralInRange<int>(0, size + 2);
  table.block.length = p.ConsumeIntegralInRange<int>(-1, size + 2);
  const int values = p.ConsumeIntegralInRange<int>(0, 30);
  for (int i = 0; i < values; ++i) table.values.push_back(Piece(p));
  LevelChange change{p.ConsumeIntegralInRange<int>(-1, 7), p.ConsumeIntegralInRange<int>(-1, 7),
                     Cells(p, 6), Cells(p, 6)};
  const Rebuilt r = RebuildLevelInfo(script, form, mode, table, change);
  if (!r.Accepted()) {
    Check(r.text.empty(), "a refusal leaves no text");
    return;
  }
  CheckShifts(p, script, r);
  if (form == ScriptForm::Sp) {
    Check(PatchLevelPropertyFloats(r.text) == r.text, "the SP result is patched once");
    return;
  }
  if (r.text == script) return;
  const auto start = static_cast<std::size_t>(table.block.start) - 1;
  const auto end = start + static_cast<std::size_t>(table.block.length);
  Check(r.text.compare(0, start, script, 0, start) == 0, "PT: bytes before the table kept");
  const std::string_view place = std::string_view(script).substr(start, end - start);
  const int tab = FindText(place, "\t");
  const int bar = FindText(place, "|");
  const int separator = tab < 0 ? bar : bar < 0 ? tab : std::min(tab, bar);
  Check(separator > 0, "PT: a table is written only after its count token");
  const auto token = static_cast<std::size_t>(separator);
  Check(r.text.compare(start, token, script, start, token) == 0, "PT: the count token kept");
  const std::size_t tail = script.size() - end;
  Check(r.text.size() >= tail && r.text.compare(r.text.size() - tail, tail, script, end, tail) == 0,
        "PT: bytes after the table kept");
}

void RawStatic(FuzzedDataProvider& p) {
  const std::string script = RawText(p);
  const StaticCopy copy = static_cast<StaticCopy>(p.ConsumeIntegralInRange<int>(0, 2));
  const StaticChange change{RawText(p), Cells(p, 6)};
  const bool sp = p.ConsumeBool();
  // Where the static loader reads the copy, or any place at all.
  TextSpan block = (sp ? CutStaticDataSp(script, copy) : CutStaticDataPt(script, copy)).block;
  if (p.ConsumeBool()) {
    block = {p.ConsumeIntegral<int>(), p.ConsumeIntegral<int>()};
  }
  const Rebuilt r =
      sp ? RebuildStaticDataSp(script, block, change) : RebuildStaticDataPt(script, block, change);
  if (!r.Accepted()) Check(r.text.empty(), "a refused static rebuild leaves no text");
}

void RawPatch(FuzzedDataProvider& p) {
  const std::string text = RawText(p);
  const std::string once = PatchLevelPropertyFloats(text);
  Check(PatchLevelPropertyFloats(once) == once, "the float patch changes nothing a second time");
  Check(once.size() >= text.size(), "the float patch only inserts");
}

// The number `magnitude` as a user types it into a header cell: a sign,
// leading zeros, full-width digits, blanks around it; in a decimal field
// perhaps a fraction with zeros after it. `written` receives the number as
// the writer writes it: plain, and in a decimal field with its point.
// Without further input it is typed as plain digits.
std::string TypedNumberText(FuzzedDataProvider& p, int magnitude, bool decimalField,
                            std::string& written) {
  const bool negative = p.ConsumeBool();
  const bool plus = !negative && p.ConsumeBool();
  const std::string digits =
      std::string(p.ConsumeIntegralInRange<std::size_t>(0, 2), '0') + std::to_string(magnitude);
  std::string fraction;
  if (decimalField && p.ConsumeBool()) {
    fraction = std::to_string(p.ConsumeIntegralInRange<int>(0, 999));
    fraction.append(p.ConsumeIntegralInRange<std::size_t>(0, 2), '0');
  }
  std::string plainFraction = fraction;
  while (!plainFraction.empty() && plainFraction.back() == '0') plainFraction.pop_back();
  const bool zero = magnitude == 0 && plainFraction.empty();
  written = (negative && !zero ? "-" : "") + std::to_string(magnitude);
  if (decimalField) written += "." + (plainFraction.empty() ? std::string("0") : plainFraction);

  const std::string number = (negative ? "-"
                              : plus   ? "+"
                                       : "") +
                             digits + (fraction.empty() ? "" : "." + fraction);
  std::string typed;
  if (p.ConsumeBool()) typed += p.ConsumeBool() ? " " : "\xA1\xA1";
  for (char c : number) {
    // Full-width forms: lead byte 0xA3, the ASCII character + 0x80.
    if (p.ConsumeBool()) {
      typed += '\xA3';
      typed += static_cast<char>(static_cast<unsigned char>(c) + 0x80);
    } else {
      typed += c;
    }
  }
  if (p.ConsumeBool()) typed += " ";
  return typed;
}

// Whether a text holds nothing but blanks: spaces, vertical tabs, form
// feeds and ideographic spaces (GBK A1 A1), two-byte characters stepped
// over whole.
bool OnlyBlanks(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == ' ' || c == '\v' || c == '\f') continue;
    if (c < 0x80 || i + 1 == text.size() || text.substr(i, 2) != "\xA1\xA1") return false;
    ++i;
  }
  return true;
}

// Header fields of a random script, some values typed as numbers, emptied
// (or made blank) or edited to anything: a save that goes through keeps the
// script in its form; a value emptied where the script holds more than
// blanks is refused; with numbers every field reads back as saved: a typed
// number as the writer writes numbers (in the form the field holds), a
// value left alone, or emptied where it held nothing but blanks, as it was.
void HeaderFields(FuzzedDataProvider& p) {
  const ScriptForm form = p.ConsumeBool() ? ScriptForm::Sp : ScriptForm::Pt;
  const std::string script = RawText(p);
  const HeaderFieldLoad load = ReadHeaderFields(script, form);
  std::vector<GridRow> rows;
  for (const HeaderRowGroup& g : load.groups) {
    for (std::size_t i = 0; i < g.titles.size(); ++i) rows.push_back({g.titles[i], g.values[i]});
  }
  std::vector<std::string> expected;  // what each row reads back as
  for (const GridRow& row : rows) expected.push_back(row.value);
  std::vector<std::size_t> numbers;  // rows typed as numbers
  std::vector<std::size_t> emptied;  // rows emptied
  bool anything = false;             // a value edited to other text than a number
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!p.ConsumeBool()) continue;
    switch (p.ConsumeIntegralInRange<int>(0, 2)) {
      case 0:
        rows[i].value = std::to_string(p.ConsumeIntegralInRange<int>(0, 99999));
        numbers.push_back(i);
        break;
      case 1:
        rows[i].value.clear();
        emptied.push_back(i);
        break;
      default:
        rows[i].value = p.ConsumeBool() ? Piece(p) : p.ConsumeRandomLengthString(12);
        anything = true;
        break;
    }
  }
  // How the numbers are typed and the emptied values left, from what is
  // left of the input, so that the choices above stay those of older inputs.
  for (const std::size_t i : numbers) {
    const std::string& stored = expected[i];
    const bool decimalField =
        form == ScriptForm::Pt && ReadTypedNumber(stored).kind == TypedKind::Decimal;
    std::string written;
    rows[i].value = TypedNumberText(p, std::stoi(rows[i].value), decimalField, written);
    if (rows[i].value != stored) expected[i] = written;
  }
  bool emptiedValue = false;  // an emptied value that the script holds
  for (const std::size_t i : emptied) {
    if (p.ConsumeBool()) rows[i].value = " \xA1\xA1";
    if (!OnlyBlanks(expected[i])) emptiedValue = true;
  }
  const Rebuilt r = RebuildHeaderFields(script, form, load.slots, load.spans, rows, std::nullopt);
  if (!r.Accepted()) {
    Check(r.text.empty(), "a refused header save leaves no text");
    return;
  }
  Check(!emptiedValue, "an emptied header value that the script holds is refused");
  if (DetectScriptFormat(script) == form) {
    Check(DetectScriptFormat(r.text) == form, "a header save keeps the script's form");
  }
  if (anything) return;
  // Values that hold a tag could carry another field's tag away with them;
  // for every other script each field reads back as saved.
  for (const std::string& slot : load.slots) {
    if (slot.find('[') != std::string::npos) return;
  }
  const HeaderFieldLoad again = ReadHeaderFields(r.text, form);
  Check(again.groups.size() == load.groups.size(), "a header save keeps every field");
  std::size_t row = 0;
  for (const HeaderRowGroup& g : again.groups) {
    for (const std::string& value : g.values) {
      Check(value == expected[row++], "header values read back as saved");
    }
  }
}

void Mastery(FuzzedDataProvider& p) {
  const ScriptForm form = p.ConsumeBool() ? ScriptForm::Sp : ScriptForm::Pt;
  const std::string script = RawText(p);
  const MasterySection section =
      form == ScriptForm::Sp ? ReadMasterySectionSp(script) : ReadMasterySectionPt(script);
  std::vector<std::string> cells;
  std::vector<std::string> want = section.values;
  for (std::string& value : want) {
    if (section.second && TextToInt(value) <= 0) continue;
    std::string cell = value;
    if (p.ConsumeBool()) cell = value = std::to_string(p.ConsumeIntegralInRange<int>(1, 99));
    cells.push_back(cell);
  }
  const Rebuilt r = RebuildMasteryLevels(script, form, section.span, section.second, section.values,
                                         cells, std::nullopt);
  if (!r.Accepted()) {
    Check(r.text.empty(), "a refused mastery save leaves no text");
    return;
  }
  const MasterySection again =
      form == ScriptForm::Sp ? ReadMasterySectionSp(r.text) : ReadMasterySectionPt(r.text);
  Check(again.values == want, "mastery levels read back as saved");
}

void Numbers(FuzzedDataProvider& p) {
  const std::string a = p.ConsumeRandomLengthString(40);
  const std::string b = p.ConsumeRandomLengthString(40);
  const TypedNumber n = ReadTypedNumber(a);
  const Decimal product = Multiply(LeadingDecimal(b), n.value);
  const auto whole = TruncateToInt32(product);
  const auto text = DecimalToText(product);
  Check(whole.has_value() == text.has_value(), "a product in range has a text");
  if (text) Check(text->find_first_of("eE") == std::string::npos, "a product has no exponent");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider p(data, size);
  ProviderChooser choose(p);
  switch (p.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:
    case 1:
      CheckModel(rebuild_model::CheckLevelRebuild(choose));
      break;
    case 2:
      CheckModel(rebuild_model::CheckStaticRebuild(choose));
      break;
    case 3:
      RawLevel(p);
      break;
    case 4:
      RawStatic(p);
      break;
    case 5:
      RawPatch(p);
      HeaderFields(p);
      break;
    case 6:
      Mastery(p);
      break;
    default:
      Numbers(p);
      break;
  }
  return 0;
}
