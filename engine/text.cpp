#include "engine/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <system_error>

#include "platform/codepage.h"
#include "platform/gbk.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsLeadByte(unsigned char byte) {
  return byte >= 0x80;
}

// Bytes below 0x40 (control characters such as CR, LF and TAB, digits,
// space and most punctuation) are never the trail of a two-byte character.
bool CanBeTrail(unsigned char byte) {
  return byte >= 0x40;
}

// Length in bytes of the character that starts at `i`: two for a lead byte
// followed by a byte that can be its trail, one otherwise. A lead byte at the
// very end, or before a CR, an LF or a TAB, stands alone, so lines end at
// every CR LF and values at every TAB whatever byte comes before them.
std::size_t CharLength(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                 CanBeTrail(static_cast<unsigned char>(text[i + 1]))
             ? 2
             : 1;
}

// A character boundary at or before byte `index`: the byte after the last LF
// before it (an LF is always a character of its own), else `floor`, a
// boundary the caller knows.
std::size_t BoundaryBefore(std::string_view text, std::size_t index, std::size_t floor) {
  if (index <= floor) return floor;
  const void* lf = memrchr(text.data() + floor, '\n', index - floor);
  return lf == nullptr ? floor
                       : static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) + 1;
}

// The first character boundary at or after byte `index`, so that a position
// on a trail byte moves past its character.
std::size_t AlignToCharacter(std::string_view text, std::size_t index) {
  std::size_t i = BoundaryBefore(text, std::min(index, text.size()), 0);
  while (i < index && i < text.size()) i += CharLength(text, i);
  return std::min(i, text.size());
}

unsigned char FoldAscii(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool IsAsciiLetter(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// Whether `sought` occurs at byte `at` of `text`, which is a character
// boundary. Case folding applies only to single-byte characters, never to a
// trail byte. The occurrence must end on a character boundary, so that it
// never takes the lead byte of a character without its trail.
bool MatchesAt(std::string_view text, std::size_t at, std::string_view sought, bool ignoreCase) {
  if (sought.size() > text.size() - at) return false;
  bool trail = false;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    const auto t = static_cast<unsigned char>(text[at + k]);
    const auto s = static_cast<unsigned char>(sought[k]);
    if (ignoreCase && !trail) {
      if (FoldAscii(t) != FoldAscii(s)) return false;
    } else if (t != s) {
      return false;
    }
    trail = !trail && CharLength(text, at + k) == 2;
  }
  // A lead byte as the last matched byte is a broken character unless it
  // stands alone (at the end of the text or before a line break).
  return !trail;
}

// Walks character boundaries forward through a text, from a boundary, so
// that many candidate positions in increasing order are checked in one pass:
// each check starts from the last LF before the candidate or from where the
// walk stood, whichever is later.
class BoundaryWalk {
 public:
  BoundaryWalk(std::string_view text, std::size_t from) : text_(text), at_(from) {}
  // Whether `index` (never below the previous one asked) starts a character.
  bool IsBoundary(std::size_t index) {
    if (index > at_) {
      at_ = BoundaryBefore(text_, index, at_);
      while (at_ < index) at_ += CharLength(text_, at_);
    }
    return at_ == index;
  }

 private:
  std::string_view text_;
  std::size_t at_;
};

// Byte index of the first occurrence at or after `from` (a character
// boundary), or npos. The empty text is never found. Candidates are found
// with the C library's byte search on one byte of the sought text that case
// folding cannot change; only a candidate is checked for a whole match and
// for standing on a character boundary.
std::size_t FindFrom(std::string_view text, std::string_view sought, std::size_t from,
                     bool ignoreCase) {
  if (sought.empty() || from >= text.size() || sought.size() > text.size() - from) {
    return std::string_view::npos;
  }
  // The anchor: the first byte of `sought` that is no ASCII letter, or, when
  // case matters, its first byte. An all-letter text ignoring case is looked
  // for by its first letter in either case.
  std::size_t anchor = 0;
  if (ignoreCase) {
    while (anchor < sought.size() && IsAsciiLetter(static_cast<unsigned char>(sought[anchor]))) {
      ++anchor;
    }
  }
  const bool folded = anchor == sought.size();
  if (folded) anchor = 0;
  const char* data = text.data();
  const std::size_t last = text.size() - sought.size();  // the last possible start
  BoundaryWalk walk(text, from);
  std::size_t start = from;
  while (start <= last) {
    const std::size_t searchFrom = start + anchor;
    const std::size_t searchLength = last + anchor + 1 - searchFrom;
    const char* hit;
    if (folded) {
      const auto c = static_cast<unsigned char>(sought[0]);
      const void* lower = std::memchr(data + searchFrom, FoldAscii(c), searchLength);
      const void* upper = std::memchr(data + searchFrom, FoldAscii(c) - 'a' + 'A', searchLength);
      hit = static_cast<const char*>(lower == nullptr   ? upper
                                     : upper == nullptr ? lower
                                                        : std::min(lower, upper));
    } else {
      hit = static_cast<const char*>(std::memchr(data + searchFrom, sought[anchor], searchLength));
    }
    if (hit == nullptr) break;
    const auto candidate = static_cast<std::size_t>(hit - data) - anchor;
    if (MatchesAt(text, candidate, sought, ignoreCase) && walk.IsBoundary(candidate)) {
      return candidate;
    }
    start = candidate + 1;
  }
  return std::string_view::npos;
}

// Byte index for a 1-based start position; a start below 1 counts as 1.
std::size_t StartIndex(int start) {
  return start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
}

int ToPosition(std::size_t index) {
  return index == std::string_view::npos ? -1 : static_cast<int>(index + 1);
}

// The replace primitive for one pair: from byte `from` on, at most `count`
// non-overlapping occurrences (every one when negative), scanning character
// by character; the inserted replacement is not scanned again.
std::string ReplaceFrom(std::string_view text, std::string_view find, std::string_view repl,
                        std::size_t from, long long count, bool ignoreCase) {
  if (find.empty() || count == 0 || from >= text.size()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t copied = 0;
  std::size_t pos = AlignToCharacter(text, from);
  while (count != 0) {
    const std::size_t found = FindFrom(text, find, pos, ignoreCase);
    if (found == std::string_view::npos) break;
    out.append(text.substr(copied, found - copied));
    out.append(repl);
    copied = pos = found + find.size();
    if (count > 0) --count;
  }
  out.append(text.substr(copied));
  return out;
}

// Lines split at CR LF, byte by byte: CR and LF are never part of a
// two-byte character, so the lines agree with CountLines and with every
// search for a CR LF.
std::vector<std::string_view> LineViews(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = text.find(kCrLf, begin);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(begin));
      break;
    }
    lines.push_back(text.substr(begin, end - begin));
    begin = end + kCrLf.size();
  }
  return lines;
}

bool IsBlankLineSpace(char c) {
  // White space as the pattern "\s" of a regular expression without
  // Unicode support knows it.
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string JoinLines(const std::vector<std::string_view>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out.append(kCrLf);
    out.append(lines[i]);
  }
  return out;
}

// Full-width ASCII forms (0xA3 0xA1..0xFE) become their ASCII character and
// the ideographic space (0xA1 0xA1) a space; other characters are copied.
std::string FoldFullWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharLength(text, i);
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = n == 2 ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out.push_back(static_cast<char>(trail - 0x80));
    } else if (lead == 0xA1 && trail == 0xA1) {
      out.push_back(' ');
    } else {
      out.append(text.substr(i, n));
    }
    i += n;
  }
  return out;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view text, std::size_t i) {
  while (i < text.size() && IsSpace(text[i])) ++i;
  return i;
}

}  // namespace

// --- primitives ------------------------------------------------------------

int FindText(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  const std::size_t from = StartIndex(start);
  if (from >= text.size()) return -1;
  return ToPosition(FindFrom(text, sought, AlignToCharacter(text, from), ignoreCase));
}

std::string MidText(std::string_view text, int start, int count) {
  if (start < 1 || count <= 0) return {};
  const std::size_t from = static_cast<std::size_t>(start) - 1;
  if (from >= text.size()) return {};
  return std::string(text.substr(from, static_cast<std::size_t>(count)));
}

std::string LeftText(std::string_view text, int count) {
  if (count <= 0) return {};
  return std::string(text.substr(0, static_cast<std::size_t>(count)));
}

std::string RightText(std::string_view text, int count) {
  if (count <= 0) return {};
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(count));
  return std::string(text.substr(text.size() - n));
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
  if (separator == kCrLf) return SplitLines(text);
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  if (separator.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = FindFrom(text, separator, begin, false);
    if (end == std::string_view::npos) {
      parts.emplace_back(text.substr(begin));
      break;
    }
    parts.emplace_back(text.substr(begin, end - begin));
    begin = end + separator.size();
  }
  return parts;
}

std::vector<std::string> SplitTextAtAny(std::string_view text, std::string_view separators) {
  std::vector<std::string> parts;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    if (separators.find(text[i]) != std::string_view::npos) {
      parts.emplace_back(text.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  if (begin < text.size()) parts.emplace_back(text.substr(begin));
  return parts;
}

// --- helpers ---------------------------------------------------------------

std::string TrimBlankLines(std::string& text) {
  if (text.starts_with(kCrLf)) text.erase(0, kCrLf.size());
  if (text.ends_with(kCrLf)) text.erase(text.size() - kCrLf.size());
  // Every match of the pattern "\n\s*\r" is removed: a match starts at an
  // LF, takes the longest run of white space after it up to the last CR in
  // that run, and that CR; removing it leaves one CR LF where a run of
  // blank lines stood. A run without a CR holds no match at all, for none of
  // its LFs is followed by a CR within it, so each byte is looked at twice
  // at most, where the pattern would try every LF of the run again.
  const std::string_view in = text;
  std::string out;
  out.reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    const std::size_t lf = in.find('\n', i);
    if (lf == std::string_view::npos) break;
    std::size_t end = lf + 1;
    std::size_t lastCr = std::string_view::npos;
    for (; end < in.size() && IsBlankLineSpace(in[end]); ++end) {
      if (in[end] == '\r') lastCr = end;
    }
    if (lastCr == std::string_view::npos) {
      out.append(in.substr(i, end - i));
    } else {
      out.append(in.substr(i, lf - i));
      end = lastCr + 1;
    }
    i = end;
  }
  out.append(in.substr(std::min(i, in.size())));
  return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
  const std::vector<std::string_view> views = LineViews(text);
  return {views.begin(), views.end()};
}

int CountLines(std::string_view text) {
  if (text.empty()) return 0;
  const auto feeds = std::count(text.begin(), text.end(), '\n');
  return static_cast<int>(feeds + (text.back() != '\n' ? 1 : 0));
}

std::string GetLine(std::string_view text, int lineNumber) {
  if (lineNumber < 1) return {};
  std::size_t begin = 0;
  for (int line = 1; line < lineNumber; ++line) {
    const std::size_t end = text.find(kCrLf, begin);
    if (end == std::string_view::npos) return {};
    begin = end + kCrLf.size();
  }
  if (begin >= text.size()) return {};
  return std::string(text.substr(begin, text.find(kCrLf, begin) - begin));
}

int FindLineIndex(std::string_view text, std::string_view sought, bool caseSensitive) {
  if (sought.empty()) return 0;
  const auto lines = LineViews(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (FindFrom(lines[i], sought, 0, !caseSensitive) != std::string_view::npos) {
      return static_cast<int>(i + 1);
    }
  }
  return 0;
}

std::string ReplaceText(std::string_view text, std::optional<int> count, int start,
                        bool caseSensitive, std::string_view find1, std::string_view repl1,
                        std::string_view find2, std::string_view repl2, std::string_view find3,
                        std::string_view repl3, std::string_view find4, std::string_view repl4,
                        std::string_view find5, std::string_view repl5) {
  const long long limit = count ? std::max(*count, 0) : -1;
  const std::size_t from = StartIndex(start);
  const std::string_view pairs[5][2] = {
      {find1, repl1}, {find2, repl2}, {find3, repl3}, {find4, repl4}, {find5, repl5}};
  std::string result(text);
  for (const auto& pair : pairs) {
    if (pair[0].empty()) continue;
    result = ReplaceFrom(result, pair[0], pair[1], from, limit, !caseSensitive);
  }
  return result;
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view repl) {
  return ReplaceText(text, std::nullopt, 1, false, find, repl);
}

std::string ReplaceFirst(std::string_view text, std::string_view find, std::string_view repl,
                         int start) {
  return ReplaceText(text, 1, start, false, find, repl);
}

int CountOccurrences(std::string_view text, std::string_view sought, bool caseSensitive) {
  if (text.empty() || sought.empty()) return 0;
  int count = 0;
  std::size_t pos = 0;
  while ((pos = FindFrom(text, sought, pos, !caseSensitive)) != std::string_view::npos) {
    ++count;
    pos += sought.size();
  }
  return count;
}

std::string GetTextBetween(std::string_view text, std::string_view startMarker,
                           std::string_view endMarker, int start, bool ignoreCase) {
  const std::string& quoteName = platform::Gbk("#引号");
  const std::string startText = ReplaceText(startMarker, std::nullopt, 1, true, quoteName, "\"");
  const std::string endText = ReplaceText(endMarker, std::nullopt, 1, true, quoteName, "\"");
  const int found = FindText(text, startText, start, ignoreCase);
  if (found < 0) return {};
  const std::size_t p = static_cast<std::size_t>(found) - 1 + startText.size();
  const std::size_t end = FindFrom(text, endText, p, ignoreCase);
  if (end == std::string_view::npos) return {};
  return std::string(text.substr(p, end - p));
}

std::string RemoveTextBetween(std::string_view text, std::string_view startMarker,
                              std::string_view endMarker) {
  const std::size_t a = FindFrom(text, startMarker, 0, true);
  if (a == std::string_view::npos) return std::string(text);
  // The end marker is looked for from the start marker's own position on.
  const std::size_t b = FindFrom(text, endMarker, a, true);
  // Without an end marker there is no span to remove.
  if (b == std::string_view::npos) return std::string(text);
  std::string out(text.substr(0, a));
  out.append(text.substr(b + endMarker.size()));
  return out;
}

std::string DeleteLine(std::string_view text, int lineNumber) {
  std::string copy(text);
  if (copy.find(kCrLf) == std::string::npos) copy.append(kCrLf);
  auto lines = LineViews(copy);
  if (lineNumber >= 1 && static_cast<std::size_t>(lineNumber) <= lines.size()) {
    lines.erase(lines.begin() + (lineNumber - 1));
  }
  return JoinLines(lines);
}

std::string ConvertUtf8ToGbk(std::string_view utf8, bool* replaced) {
  if (replaced) *replaced = false;
  // A byte-order mark would otherwise turn into a default character at the
  // head of the script and be written back by the next save.
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (utf8.starts_with(kBom)) utf8.remove_prefix(kBom.size());
  // The first zero byte ends the text; what follows it is never converted,
  // so it cannot report a replacement either.
  utf8 = utf8.substr(0, utf8.find('\0'));
  if (utf8.empty()) return {};
  return platform::Utf8ToGbk(utf8, replaced);
}

std::string ConvertGbkToUtf8(std::string_view gbk, bool* replaced) {
  if (replaced) *replaced = false;
  if (gbk.empty()) return {};
  return platform::GbkToUtf8(gbk, replaced);
}

// --- numbers ---------------------------------------------------------------

std::int32_t TextToInt(std::string_view text) {
  const std::string folded = FoldFullWidth(text);
  std::size_t i = SkipSpace(folded, 0);
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
    negative = folded[i] == '-';
    ++i;
  }
  // Accumulated as a negative number, whose range reaches INT32_MIN.
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; i < folded.size() && IsDigit(folded[i]); ++i) {
    value = value * 10 - (folded[i] - '0');
    if (value < kMin) value = kMin - 1;  // saturated; stays below the range
  }
  if (negative) return static_cast<std::int32_t>(std::max(value, kMin));
  return static_cast<std::int32_t>(std::min(-value, kMax));
}

double TextToDouble(std::string_view text) {
  const std::string folded = FoldFullWidth(text);
  std::size_t i = SkipSpace(folded, 0);
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
    negative = folded[i] == '-';
    ++i;
  }
  // Delimit the number here: digits, an optional fraction and an optional
  // exponent. from_chars then never sees a sign, "inf", "nan" or hex.
  const std::size_t begin = i;
  std::size_t intDigits = 0;
  std::size_t intSignificant = 0;  // integer digits from the first non-zero one
  for (; i < folded.size() && IsDigit(folded[i]); ++i) {
    ++intDigits;
    if (intSignificant > 0 || folded[i] != '0') ++intSignificant;
  }
  std::size_t fracDigits = 0;
  std::size_t fracLeadingZeros = 0;  // zeros of the fraction before its first other digit
  if (i < folded.size() && folded[i] == '.') {
    std::size_t j = i + 1;
    for (; j < folded.size() && IsDigit(folded[j]); ++j) {
      if (folded[j] == '0' && fracLeadingZeros == fracDigits) ++fracLeadingZeros;
      ++fracDigits;
    }
    if (intDigits + fracDigits > 0) i = j;
  }
  if (intDigits + fracDigits == 0) return 0.0;
  long long exponent = 0;
  if (i < folded.size() && (folded[i] == 'e' || folded[i] == 'E')) {
    std::size_t j = i + 1;
    bool expNegative = false;
    if (j < folded.size() && (folded[j] == '+' || folded[j] == '-')) {
      expNegative = folded[j] == '-';
      ++j;
    }
    if (j < folded.size() && IsDigit(folded[j])) {
      for (; j < folded.size() && IsDigit(folded[j]); ++j) {
        exponent = std::min(exponent * 10 + (folded[j] - '0'), 1'000'000'000LL);
      }
      if (expNegative) exponent = -exponent;
      i = j;
    }
  }
  double value = 0.0;
  const char* first = folded.data() + begin;
  const char* last = folded.data() + i;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Decimal magnitude of the number decides between overflow and
    // underflow: beyond the range saturates, below it is zero.
    const long long magnitude = intSignificant > 0
                                    ? static_cast<long long>(intSignificant) + exponent
                                    : exponent - static_cast<long long>(fracLeadingZeros);
    value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
  } else if (ec != std::errc() || ptr != last) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::int32_t DoubleToInt(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

std::string IntToText(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string DoubleToText(double value) {
  // Long enough for "%.13g" of any double: sign, 13 digits, point, exponent.
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
  return std::string(buffer, result.ptr);
}
