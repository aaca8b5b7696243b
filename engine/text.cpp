#include "engine/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <system_error>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/codepage.h"
#include "platform/gbk.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsLeadByte(unsigned char byte) {
  return platform::IsGbkLeadByte(byte);
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

// A character boundary at or before byte `index`: the byte after the last
// byte below 0x40 before it (such a byte, a line break, a TAB or a digit, is
// neither a lead nor a trail byte, so a character ends with it), else
// `floor`, a boundary the caller knows.
std::size_t BoundaryBefore(std::string_view text, std::size_t index, std::size_t floor) {
  for (std::size_t i = index; i > floor; --i) {
    if (!CanBeTrail(static_cast<unsigned char>(text[i - 1]))) return i;
  }
  return floor;
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
// each check starts from the last byte below 0x40 before the candidate or
// from where the walk stood, whichever is later.
class BoundaryWalk {
 public:
  BoundaryWalk(std::string_view text, std::size_t from) : text_(text), at_(from) {}
  // Whether `index` (never below the previous one asked) starts a character.
  bool IsBoundary(std::size_t index) {
    // A byte below 0x40 is never a trail byte.
    if (index < text_.size() && !CanBeTrail(static_cast<unsigned char>(text_[index]))) return true;
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

// How often a byte stands in a script: digits, brackets, markers, line
// breaks and separators are everywhere; letters stand in tags and keys; a
// space, other punctuation and the bytes of two-byte characters are rare.
int Commonness(unsigned char c) {
  if ((c >= '0' && c <= '9') || c == '[' || c == ']' || c == '@' || c == '\r' || c == '\n' ||
      c == '\t' || c == '.' || c == '-' || c == '|' || c == '`') {
    return 2;
  }
  return IsAsciiLetter(c) ? 1 : 0;
}

// The candidates of a search: the positions of one byte of the sought text
// (its anchor), chosen as rare as may be. Ignoring case, a letter as anchor
// is looked for in both cases, each case's next position kept until it is
// used, so that no stretch of the text is searched twice.
class AnchorSearch {
 public:
  AnchorSearch(std::string_view text, std::string_view sought, bool ignoreCase) : text_(text) {
    int best = 3;
    for (std::size_t k = 0; k < sought.size(); ++k) {
      const int c = Commonness(static_cast<unsigned char>(sought[k]));
      if (c < best) {
        best = c;
        offset_ = k;
      }
    }
    const auto byte = static_cast<unsigned char>(sought[offset_]);
    bytes_[0] = static_cast<char>(ignoreCase ? FoldAscii(byte) : byte);
    bytes_[1] = ignoreCase && IsAsciiLetter(byte) ? static_cast<char>(FoldAscii(byte) - 'a' + 'A')
                                                  : bytes_[0];
  }
  // The first candidate start at or after `start` whose anchor lies before
  // `end`, or npos.
  std::size_t Next(std::size_t start, std::size_t end) {
    std::size_t hit = std::string_view::npos;
    for (int i = 0; i < (bytes_[0] == bytes_[1] ? 1 : 2); ++i) {
      if (!searched_[i] || next_[i] < start + offset_) {
        next_[i] = Find(bytes_[i], start + offset_, end);
        searched_[i] = true;
      }
      hit = std::min(hit, next_[i]);
    }
    return hit == std::string_view::npos ? hit : hit - offset_;
  }

 private:
  std::size_t Find(char byte, std::size_t from, std::size_t end) const {
    if (from >= end) return std::string_view::npos;
    const void* p = std::memchr(text_.data() + from, byte, end - from);
    return p == nullptr ? std::string_view::npos
                        : static_cast<std::size_t>(static_cast<const char*>(p) - text_.data());
  }

  std::string_view text_;
  std::size_t offset_ = 0;
  char bytes_[2] = {};
  // Each case's next position (npos: none left); one below the start is used.
  std::size_t next_[2] = {0, 0};
  bool searched_[2] = {false, false};
};

// Byte index of the first occurrence at or after `from` (a character
// boundary), or npos. The empty text is never found. Candidates come from
// the C library's byte search on a rare byte of the sought text; only a
// candidate is checked for a whole match and for standing on a character
// boundary.
std::size_t FindFrom(std::string_view text, std::string_view sought, std::size_t from,
                     bool ignoreCase) {
  if (sought.empty() || from >= text.size() || sought.size() > text.size() - from) {
    return std::string_view::npos;
  }
  const std::size_t last = text.size() - sought.size();  // the last possible start
  if (text.size() - from <= 64) {
    // A short text (a line, a cell) is walked character by character.
    for (std::size_t i = from; i <= last; i += CharLength(text, i)) {
      if (MatchesAt(text, i, sought, ignoreCase)) return i;
    }
    return std::string_view::npos;
  }
  BoundaryWalk walk(text, from);
  AnchorSearch anchors(text, sought, ignoreCase);
  std::size_t start = from;
  while (start <= last) {
    const std::size_t candidate = anchors.Next(start, text.size());
    if (candidate > last) break;
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
bool IsBlankLineSpace(unsigned char c) {
  // White space as the pattern "\s" of a regular expression without
  // Unicode support knows it.
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The first position i at or after `from` where byte i is `first` and byte
// i + 1 satisfies `second`, or npos. Script lines are short, so that one
// call per line of a byte search would cost more than the search: sixteen
// positions are tested at once where the processor allows.
template <class Second>
std::size_t FindPair(std::string_view text, std::size_t from, char first, Second second) {
  const std::size_t n = text.size();
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i firsts = _mm_set1_epi8(first);
  for (; i + 17 <= n; i += 16) {
    const auto* p = reinterpret_cast<const __m128i*>(text.data() + i);
    const int at = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(p), firsts));
    if (at == 0) continue;
    for (int bits = at; bits != 0; bits &= bits - 1) {
      const std::size_t k =
          i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(bits)));
      if (second(static_cast<unsigned char>(text[k + 1]))) return k;
    }
  }
#endif
  for (; i + 1 < n; ++i) {
    if (text[i] == first && second(static_cast<unsigned char>(text[i + 1]))) return i;
  }
  return std::string_view::npos;
}

// The first CR LF at or after `from`, or npos.
std::size_t FindCrLf(std::string_view text, std::size_t from) {
  return FindPair(text, from, '\r', [](unsigned char c) { return c == '\n'; });
}

// The first LF at or after `from` that a blank-line byte follows, or npos.
std::size_t FindBlankAfterLineFeed(std::string_view text, std::size_t from) {
  return FindPair(text, from, '\n', &IsBlankLineSpace);
}

// The ASCII character that the character of `n` bytes at `i` stands for in
// a number: a full-width ASCII form (0xA3 0xA1..0xFE) its ASCII character,
// the ideographic space (0xA1 0xA1) a space; 0 for any other two-byte
// character.
char FoldedAscii(std::string_view text, std::size_t i, std::size_t n) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (n == 1) return text[i];
  const auto trail = static_cast<unsigned char>(text[i + 1]);
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  if (lead == 0xA1 && trail == 0xA1) return ' ';
  return 0;
}

// Full-width ASCII forms become their ASCII character and the ideographic
// space a space; other characters are copied.
std::string FoldFullWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharLength(text, i);
    const char c = FoldedAscii(text, i, n);
    if (c != 0 || n == 1) {
      out.push_back(c);
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

// The leading integer of a text as the number conversions read it (full
// width folded, white space, one sign, digits up to the first other
// character), kept just beyond the 32-bit range at either end when it lies
// further out, so that it is told apart from every value in range. It
// reads the text character by character, folding as it goes: a value is
// converted for every value of a level table, so no folded copy is made.
std::int64_t LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  std::size_t n = 0;
  char c = 0;
  auto next = [&] {
    i += n;
    n = i < text.size() ? CharLength(text, i) : 0;
    c = n == 0 ? 0 : FoldedAscii(text, i, n);
  };
  next();
  while (n != 0 && IsSpace(c)) next();
  const bool negative = c == '-';
  if (c == '+' || c == '-') next();
  // Accumulated as a negative number, whose range reaches INT32_MIN.
  constexpr std::int64_t kBelow = std::int64_t{std::numeric_limits<std::int32_t>::min()} - 1;
  std::int64_t value = 0;
  for (; n != 0 && IsDigit(c); next()) {
    value = value * 10 - (c - '0');
    if (value < kBelow) value = kBelow;  // saturated; stays below the range
  }
  return negative ? value : -value;
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
  bool separates[256] = {};
  for (char c : separators) separates[static_cast<unsigned char>(c)] = true;
  // A values line of a long level table holds tens of thousands of values:
  // with room for them all the vector never grows (each separator byte
  // makes at most one part).
  std::size_t bound = 1;
  for (char c : separators) {
    bound += static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
  }
  std::vector<std::string> parts;
  parts.reserve(bound);
  const auto* data = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t begin = 0;
  std::size_t i = 0;
  // One character (or a separator) at `i`, which is a boundary.
  auto step = [&] {
    const unsigned char c = data[i];
    if (IsLeadByte(c)) {
      i += i + 1 < n && CanBeTrail(data[i + 1]) ? 2 : 1;  // as CharLength
    } else if (separates[c]) {
      parts.emplace_back(text.substr(begin, i - begin));
      begin = ++i;
    } else {
      ++i;
    }
  };
#if defined(__SSE2__)
  // Sixteen bytes at a time while they hold no byte of 0x80 or more, so no
  // lead byte: then every separator byte among them separates.
  while (i + 16 <= n) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    if (_mm_movemask_epi8(v) != 0) {
      const std::size_t end = i + 16;
      while (i < end) step();
      continue;
    }
    __m128i hit = _mm_setzero_si128();
    for (char c : separators) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(c)));
    for (unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit)); bits != 0;
         bits &= bits - 1) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(bits));
      parts.emplace_back(text.substr(begin, at - begin));
      begin = at + 1;
    }
    i += 16;
  }
#endif
  while (i < n) step();
  if (begin < n) parts.emplace_back(text.substr(begin));
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
  std::size_t copied = 0;  // bytes of `in` up to here are in `out` or removed
  std::size_t i = 0;
  // A match needs white space right after its LF: only such an LF is tried.
  for (std::size_t lf; (lf = FindBlankAfterLineFeed(in, i)) != std::string_view::npos;) {
    std::size_t end = lf + 1;
    std::size_t lastCr = std::string_view::npos;
    for (; end < in.size() && IsBlankLineSpace(static_cast<unsigned char>(in[end])); ++end) {
      if (in[end] == '\r') lastCr = end;
    }
    if (lastCr == std::string_view::npos) {
      i = end;
      continue;
    }
    if (out.empty()) out.reserve(in.size());
    out.append(in.substr(copied, lf - copied));
    copied = i = lastCr + 1;
  }
  if (copied == 0) return text;
  out.append(in.substr(copied));
  return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(CountLines(text)));  // at least as many
  for (std::size_t begin = 0; begin < text.size();) {
    const std::size_t end = std::min(FindCrLf(text, begin), text.size());
    lines.emplace_back(text.substr(begin, end - begin));
    begin = end + kCrLf.size();
  }
  return lines;
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
  // An occurrence in the whole text is one in its line when it neither
  // begins inside a CR LF nor reaches into the CR LF that ends its line: a
  // line starts on a character boundary and no character runs into a CR LF,
  // so the line's own search finds the same occurrence.
  std::size_t from = 0;
  for (std::size_t at;
       (at = FindFrom(text, sought, from, !caseSensitive)) != std::string_view::npos;
       from = AlignToCharacter(text, at + 1)) {
    if (at > 0 && text[at - 1] == '\r' && text[at] == '\n') continue;
    const std::size_t lineEnd = FindCrLf(text, at);
    if (lineEnd != std::string_view::npos && at + sought.size() > lineEnd) continue;
    int line = 1;
    for (std::size_t crlf = FindCrLf(text, 0); crlf != std::string_view::npos && crlf < at;
         crlf = FindCrLf(text, crlf + kCrLf.size())) {
      ++line;
    }
    return line;
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
  // A text without a line break counts as one line with its break. The
  // lines joined by CR LF are the text without its final CR LF.
  std::string_view joined = text;
  if (FindCrLf(text, 0) != std::string_view::npos && joined.ends_with(kCrLf)) {
    joined.remove_suffix(kCrLf.size());
  }
  if (lineNumber < 1) return std::string(joined);
  std::size_t start = 0;
  for (int line = 1; line < lineNumber; ++line) {
    const std::size_t crlf = FindCrLf(joined, start);
    if (crlf == std::string_view::npos) return std::string(joined);
    start = crlf + kCrLf.size();
  }
  const std::size_t end = FindCrLf(joined, start);
  if (end != std::string_view::npos) {
    std::string out(joined.substr(0, start));
    out.append(joined.substr(end + kCrLf.size()));
    return out;
  }
  return std::string(joined.substr(0, start == 0 ? 0 : start - kCrLf.size()));
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
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(LeadingInteger(text), kMin, kMax));
}

std::optional<std::int32_t> TextToIntExact(std::string_view text) {
  const std::int64_t value = LeadingInteger(text);
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
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
