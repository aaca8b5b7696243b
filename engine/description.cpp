#include "engine/description.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "engine/blocks.h"
#include "engine/script_form.h"
#include "engine/text.h"
#include "platform/gbk.h"

namespace {

using platform::Gbk;

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kPlaceholder = "<int>";
constexpr std::string_view kTemplateLineBreak = "\\n";  // backslash and "n"
constexpr std::string_view kRule = "-----------------------------------------------";
static_assert(kRule.size() == 47);

std::vector<LevelPropertyEntry> EntriesOf(const std::vector<std::string>& lines) {
  std::vector<LevelPropertyEntry> entries;
  for (std::size_t k = 0; k + 3 <= lines.size(); k += 3) {
    entries.push_back({TextToInt(lines[k]), TextToInt(lines[k + 1]), TextToDouble(lines[k + 2])});
  }
  return entries;
}

// The line after `span`'s line (span.start lies on it).
TextSpan NextLine(std::string_view text, TextSpan span) {
  return LineAfter(text, span.start);
}

// Line breaks as the box counts them: CR LF, a lone CR and a lone LF are one
// each.
int LineBreaks(std::string_view text) {
  int breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      ++breaks;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      ++breaks;
    }
  }
  return breaks;
}

PlaceholderValue PlaceholderValueOf(const LevelPropertyEntry& e,
                                    const std::vector<std::string>& column, bool level,
                                    int boxLine) {
  const bool inGrid = e.index >= 0 && static_cast<std::size_t>(e.index) < column.size();
  return {PlaceholderValueText(inGrid ? column[static_cast<std::size_t>(e.index)] : "", e.factor),
          Gbk(level ? "动态|" : "静态|") + IntToText(std::int64_t{e.index} + 1) + "|" +
              IntToText(boxLine)};
}

}  // namespace

LevelProperty ReadLevelPropertySp(std::string_view script) {
  LevelProperty property;
  const int tag = FindText(script, "[@05][level property]", 1, true);
  if (tag < 0) return property;
  // Three lines that the description does not read, then the link.
  TextSpan link{tag, 0};
  for (int i = 0; i < 4; ++i) link = NextLine(script, link);
  property.key = ReplaceFirst(SpanText(script, link), "[@0A]", "");
  const int begin = link.start + link.length;
  const int end = FindText(script, "[@05][/level property]", begin);
  if (end < 0) return property;
  std::string body = MidText(script, begin, end - begin);
  body = TrimBlankLines(body);
  body = ReplaceAll(ReplaceAll(body, "[@02]", ""), "[@04]", "");
  property.entries = EntriesOf(SplitText(body, kCrLf));
  return property;
}

LevelProperty ReadLevelPropertyPt(std::string_view script) {
  LevelProperty property;
  const int tag = FindText(script, "[level property]", 1, true);
  if (tag < 0) return property;
  const TextSpan linkLine = NextLine(script, {tag, 0});
  const std::vector<std::string> fields = SplitPtValues(SpanText(script, linkLine));
  if (fields.empty()) return property;
  // "<12::" + key + backquote + the link's text.
  const std::string link = ReplaceFirst(fields.back(), "<12::", "");
  const int quote = FindText(link, "`");
  property.key = quote > 0 ? LeftText(link, quote - 1) : link;
  property.entries = EntriesOf(SplitPtValues(SpanText(script, NextLine(script, linkLine))));
  return property;
}

std::string DescriptionTemplate(std::string_view table, std::string_view key) {
  if (key.empty()) return {};
  const std::string bracketed = "<" + std::string(key) + ">";
  std::size_t begin = 0;
  while (begin < table.size()) {
    std::size_t end = table.find(kCrLf, begin);
    if (end == std::string_view::npos) end = table.size();
    const std::string_view row = table.substr(begin, end - begin);
    if (FindText(row.substr(0, bracketed.size()), bracketed, 1, true) == 1) {
      return std::string(row.substr(bracketed.size()));
    }
    begin = end + kCrLf.size();
  }
  return {};
}

std::string PlaceholderValueText(std::string_view cell, double factor) {
  if (cell.starts_with("[@02]") || cell.starts_with("[@04]")) cell.remove_prefix(5);
  if (std::fabs(factor) <= 1e-07) factor = 0.001;
  // Adding 0 turns a negative zero into zero, so no "-0" is shown.
  return DoubleToText(TextToDouble(cell) * factor + 0.0);
}

PlaceholderValue GetStaticPlaceholderValue(const std::vector<LevelPropertyEntry>& entries,
                                           std::size_t index, const DescriptionColumns& columns,
                                           int boxLine) {
  return PlaceholderValueOf(entries[index], columns.staticColumn, false, boxLine);
}

PlaceholderValue GetDynamicPlaceholderValue(const std::vector<LevelPropertyEntry>& entries,
                                            std::size_t index, const DescriptionColumns& columns,
                                            int boxLine) {
  return PlaceholderValueOf(entries[index], columns.levelColumn, true, boxLine);
}

SubstitutionResult SubstitutePlaceholders(std::string_view line, std::size_t startIndex,
                                          const std::vector<LevelPropertyEntry>& entries,
                                          const DescriptionColumns& columns, int boxLine) {
  SubstitutionResult r;
  r.index = startIndex;
  int copied = 1;  // 1-based position after the last placeholder replaced
  for (int at = FindText(line, kPlaceholder); at > 0; at = FindText(line, kPlaceholder, copied)) {
    const bool level = entries[r.index].kind < 0;
    PlaceholderValue v = level ? GetDynamicPlaceholderValue(entries, r.index, columns, boxLine)
                               : GetStaticPlaceholderValue(entries, r.index, columns, boxLine);
    ++r.index;
    r.text.append(MidText(line, copied, at - copied));
    r.text.append(v.text);
    r.spans.push_back(std::move(v.span));
    copied = at + static_cast<int>(kPlaceholder.size());
  }
  r.text.append(MidText(line, copied, static_cast<int>(line.size())));
  return r;
}

Description RenderDescription(std::string_view templateText,
                              const std::vector<LevelPropertyEntry>& entries,
                              const std::optional<std::string>& heading,
                              const std::vector<std::string>& staticColumn,
                              const std::vector<std::string>& levelColumn) {
  Description d;
  const std::vector<std::string> lines = SplitText(templateText, kTemplateLineBreak);
  std::size_t total = 0;
  for (const std::string& line : lines) {
    total += static_cast<std::size_t>(CountOccurrences(line, kPlaceholder, true));
  }
  if (total > entries.size()) {
    d.tooManyPlaceholders = true;
    return d;
  }

  int boxLine = 0;  // the box line that the next piece starts on
  auto add = [&](std::string text, Colour colour) {
    boxLine += LineBreaks(text) + 1;
    d.pieces.push_back({std::move(text), colour});
  };
  if (heading) add(*heading + std::string(kCrLf) + std::string(kRule), kPlainTextColour);

  const DescriptionColumns columns{staticColumn, levelColumn};
  std::size_t used = 0;
  for (const std::string& line : lines) {
    if (FindText(line, kPlaceholder) < 0) {
      add(line, kPlainTextColour);
      continue;
    }
    const Colour colour = entries[used].kind < 0 ? kLevelValueColour : kStaticValueColour;
    SubstitutionResult r = SubstitutePlaceholders(line, used, entries, columns, boxLine);
    used = r.index;
    for (std::string& span : r.spans) d.spans.push_back(std::move(span));
    add(std::move(r.text), colour);
  }
  return d;
}
