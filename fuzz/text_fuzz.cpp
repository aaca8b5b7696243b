// Fuzz target over the text helpers, the number conversions and the script
// form detection. The input is split into a few small integers, a sought
// text and the text itself; every helper runs and its result is checked
// against invariants that hold for any input.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/regex_object.h"
#include "engine/script_form.h"
#include "engine/text.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// Character boundaries of a GBK text: a byte from 0x81 to 0xFE takes the
// next byte with it when there is one and it can be a trail byte (0x40 or
// more); 0x80 (the euro sign) and 0xFF are characters of one byte, as code
// page 936 reads them.
std::vector<bool> Boundaries(std::string_view text) {
  std::vector<bool> boundary(text.size() + 1, false);
  std::size_t i = 0;
  while (i < text.size()) {
    boundary[i] = true;
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool lead = byte >= 0x81 && byte <= 0xFE;
    i += lead && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x40 ? 2 : 1;
  }
  boundary[text.size()] = true;
  return boundary;
}

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Straightforward search: the first character boundary at or after `start`
// where the sought bytes stand and end on a boundary; ignoring case folds a
// byte only where it starts a character (never a trail byte).
int ReferenceFind(std::string_view text, std::string_view sought, int start, bool ignoreCase,
                  const std::vector<bool>& boundary) {
  if (sought.empty()) return -1;
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  for (std::size_t p = from; p < text.size(); ++p) {
    if (!boundary[p] || p + sought.size() > text.size() || !boundary[p + sought.size()]) continue;
    bool equal = true;
    for (std::size_t k = 0; k < sought.size() && equal; ++k) {
      const bool fold = ignoreCase && boundary[p + k];
      equal = fold ? FoldAscii(text[p + k]) == FoldAscii(sought[k]) : text[p + k] == sought[k];
    }
    if (equal) return static_cast<int>(p + 1);
  }
  return -1;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

void CheckSearch(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  const auto boundary = Boundaries(text);
  const int found = FindText(text, sought, start, ignoreCase);
  if (found != -1) {
    Check(found >= 1 && found >= start, "FindText at or after the start");
    const auto index = static_cast<std::size_t>(found) - 1;
    Check(index + sought.size() <= text.size(), "FindText inside the text");
    Check(boundary[index], "FindText on a character boundary");
    const std::string_view at = text.substr(index, sought.size());
    Check(ignoreCase ? EqualIgnoringAsciiCase(at, sought) : at == sought, "FindText match");
  }
  Check(found == ReferenceFind(text, sought, start, ignoreCase, boundary),
        "FindText first occurrence");
  if (sought.empty()) Check(found == -1, "empty sought text is never found");

  // Counting agrees with repeated searches.
  int count = 0;
  for (int p = FindText(text, sought, 1, ignoreCase); p != -1;
       p = FindText(text, sought, p + static_cast<int>(sought.size()), ignoreCase)) {
    ++count;
  }
  Check(CountOccurrences(text, sought, !ignoreCase) == count, "CountOccurrences");
}

void CheckReplace(std::string_view text, std::string_view sought, std::string_view repl,
                  std::optional<int> count, int start, bool caseSensitive) {
  const std::string out = ReplaceText(text, count, start, caseSensitive, sought, repl);
  Check(ReplaceText(text, count, start, caseSensitive, "", repl) == text, "empty find is identity");
  Check(ReplaceText(text, 0, start, caseSensitive, sought, repl) == text, "count 0 is identity");
  if (caseSensitive) {
    Check(ReplaceText(text, count, start, true, sought, sought) == text, "self replacement");
  }
  // Bytes before the start are copied unchanged.
  const std::size_t keep = start <= 1 ? 0 : std::min(text.size(), std::size_t(start) - 1);
  Check(std::string_view(out).substr(0, keep) == text.substr(0, keep), "prefix kept");
  // Replacing all from the start changes the length by one step per
  // occurrence that CountOccurrences sees.
  if (!count && start <= 1 && !sought.empty()) {
    const auto k = static_cast<long long>(CountOccurrences(text, sought, caseSensitive));
    const auto delta = static_cast<long long>(repl.size()) - static_cast<long long>(sought.size());
    Check(static_cast<long long>(out.size()) == static_cast<long long>(text.size()) + k * delta,
          "ReplaceText length");
  }
}

void CheckSplit(std::string_view text, std::string_view separator) {
  const auto parts = SplitText(text, separator);
  if (text.empty()) {
    Check(parts.empty(), "empty text has no parts");
    return;
  }
  Check(!parts.empty(), "a text has parts");
  if (separator.empty()) {
    Check(parts.size() == 1 && parts[0] == text, "empty separator");
    return;
  }
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += parts[i];
  }
  Check(joined == text || joined + std::string(separator) == text, "SplitText rejoins");
}

void CheckLines(std::string_view text, std::string_view sought, int lineNumber,
                bool caseSensitive) {
  const int lines = CountLines(text);
  Check(lines >= 0 && (lines == 0) == text.empty(), "CountLines of empty text");
  Check(GetLine(text, 0).empty() && GetLine(text, -1).empty(), "GetLine below 1");
  Check(GetLine(text, lineNumber).size() <= text.size(), "GetLine inside the text");

  bool crLfOnly = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crLfOnly = false;
  }
  const bool endsWithCrLf = text.ends_with("\r\n");
  const std::string_view withoutLast = endsWithCrLf ? text.substr(0, text.size() - 2) : text;
  if (crLfOnly) {
    std::string joined;
    for (int line = 1; line <= lines; ++line) {
      if (line > 1) joined += "\r\n";
      joined += GetLine(text, line);
    }
    Check(joined == withoutLast, "GetLine over CountLines rebuilds the text");
    Check(GetLine(text, lines + 1).empty(), "GetLine past the last line");
  }

  const int index = FindLineIndex(text, sought, caseSensitive);
  Check(index >= 0 && index <= std::max(lines, 1), "FindLineIndex range");
  if (index > 0) {
    Check(FindText(GetLine(text, index), sought, 1, !caseSensitive) != -1, "FindLineIndex line");
    for (int line = 1; line < index; ++line) {
      Check(FindText(GetLine(text, line), sought, 1, !caseSensitive) == -1, "FindLineIndex first");
    }
  }

  Check(DeleteLine(text, 0) == withoutLast, "DeleteLine of no line");
  const std::string deleted = DeleteLine(text, lineNumber);
  Check(deleted.size() <= text.size() + 2, "DeleteLine size");
}

void CheckCutting(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                  int start, bool ignoreCase) {
  const std::string between = GetTextBetween(text, startMarker, endMarker, start, ignoreCase);
  Check(text.find(between) != std::string_view::npos, "GetTextBetween is part of the text");
  const std::string removed = RemoveTextBetween(text, startMarker, endMarker);
  Check(removed.size() <= text.size(), "RemoveTextBetween shrinks");
  if (FindText(text, startMarker, 1, true) == -1) {
    Check(removed == text, "RemoveTextBetween without start marker");
  }
  const int a = FindText(text, startMarker, 1, true);
  const int b = a == -1 ? -1 : FindText(text, endMarker, a, true);
  if (b != -1) {
    const std::string expected = std::string(text.substr(0, static_cast<std::size_t>(a) - 1)) +
                                 std::string(text.substr(b - 1 + endMarker.size()));
    Check(removed == expected, "RemoveTextBetween removes the span");
  } else {
    Check(removed == text, "RemoveTextBetween without a span");
  }
}

void CheckTrim(std::string_view text) {
  std::string argument(text);
  const std::string result = TrimBlankLines(argument);
  std::string_view expected = text;
  if (expected.starts_with("\r\n")) expected.remove_prefix(2);
  if (expected.ends_with("\r\n")) expected.remove_suffix(2);
  Check(argument == expected, "TrimBlankLines trims its argument");
  Check(result.size() <= argument.size(), "TrimBlankLines shrinks");
  RegexObject regex;
  Check(regex.Create("\\n\\s*\\r", result), "pattern compiles");
  Check(regex.GetMatchCount() == 0, "no blank line is left");
  // The linear removal gives exactly what the pattern gives.
  RegexObject pattern;
  Check(pattern.Create("\\n\\s*\\r", argument), "pattern compiles");
  Check(pattern.Replace("") == result, "TrimBlankLines removes what the pattern removes");
}

void CheckConversion(std::string_view text) {
  bool replaced = false;
  const std::string gbk = ConvertUtf8ToGbk(text, &replaced);
  Check(gbk.find('\0') == std::string::npos, "converted text holds no zero byte");
  bool back = false;
  const std::string utf8 = ConvertGbkToUtf8(text, &back);
  if (!back && text.find('\0') == std::string_view::npos) {
    Check(ConvertUtf8ToGbk(utf8) == text, "GBK round trip");
  }
}

void CheckNumbers(std::string_view text) {
  const std::int32_t i = TextToInt(text);
  Check(TextToInt(IntToText(i)) == i, "integer round trip");
  const double d = TextToDouble(text);
  Check(std::isfinite(d), "TextToDouble is finite");
  const double again = TextToDouble(DoubleToText(d));
  Check(again == d || std::fabs(again - d) <= std::fabs(d) * 1e-12, "double round trip");
  (void)DoubleToInt(d);
}

void CheckForm(std::string_view text) {
  const std::optional<ScriptForm> form = DetectScriptFormat(text);
  const bool marker = FindText(text, "[@02]") != -1;
  const bool tab = FindText(text, "\t") != -1;
  std::optional<ScriptForm> markedForm;
  if (marker && !tab) markedForm = ScriptForm::Sp;
  if (tab && !marker) markedForm = ScriptForm::Pt;
  Check(form == markedForm, "DetectScriptFormat");
  const auto values = SplitPtValues(text);
  Check(values.size() <= text.size(), "SplitPtValues count");
  // The values lie between the TABs and bars that start a character.
  const auto boundary = Boundaries(text);
  std::vector<std::string> expected;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (boundary[i] && (text[i] == '\t' || text[i] == '|')) {
      expected.emplace_back(text.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  if (begin < text.size()) expected.emplace_back(text.substr(begin));
  Check(values == expected, "SplitPtValues splits at every separator that starts a character");
  for (const std::string_view marker_text : {"[@02]", "[@04]", "[@0A]"}) {
    Check(StripSpMarker(text, marker_text).size() <= text.size(), "StripSpMarker shrinks");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::uint8_t flags = 0;
  int start = 1;
  int count = -1;
  int lineNumber = 1;
  std::string_view sought = "[@02]";
  std::string_view text = input;
  if (size >= 5) {
    flags = data[0];
    start = static_cast<std::int8_t>(data[1]);
    count = static_cast<std::int8_t>(data[2]);
    lineNumber = static_cast<std::int8_t>(data[3]);
    const std::size_t soughtLength = std::min<std::size_t>(data[4] % 9, size - 5);
    sought = input.substr(5, soughtLength);
    text = input.substr(5 + soughtLength);
  }
  const bool ignoreCase = (flags & 1) != 0;
  const bool caseSensitive = (flags & 2) != 0;
  const std::optional<int> replaceCount =
      (flags & 4) != 0 ? std::optional<int>(count) : std::nullopt;
  const std::string_view repl = sought.substr(0, sought.size() / 2);
  const std::string_view endMarker = sought.substr(sought.size() / 2);

  CheckSearch(text, sought, start, ignoreCase);
  CheckReplace(text, sought, repl, replaceCount, start, caseSensitive);
  CheckSplit(text, sought);
  CheckLines(text, sought, lineNumber, caseSensitive);
  CheckCutting(text, repl, endMarker, start, ignoreCase);
  CheckTrim(text);
  CheckConversion(text);
  CheckNumbers(text);
  CheckForm(text);
  for (const std::string& part :
       {MidText(text, start, count), LeftText(text, count), RightText(text, count)}) {
    Check(part.size() <= static_cast<std::size_t>(std::max(count, 0)), "part length");
    Check(text.find(part) != std::string_view::npos, "part of the text");
  }
  return 0;
}
