// Regular expressions over byte strings (PCRE2, 8-bit, no UTF and no UCP):
// a byte of 0x80 or more is never a letter, a digit or white space, so a
// pattern such as "\s" touches only ASCII bytes and never splits a GBK
// character's trail byte from its lead. Patterns that ask for UTF or Unicode
// properties with (*UTF) or (*UCP) are refused. ^ and $ see LF as the line
// break.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegexOptions {
  bool ignoreCase = false;  // ASCII letters match either case
  bool multiline = false;   // ^ and $ also match at line breaks
  bool operator==(const RegexOptions&) const = default;
};

struct RegexSpan {
  std::size_t offset = 0;  // 0-based byte offset in the subject
  std::size_t length = 0;
  bool matched = false;  // false for a group that took no part in the match
};

struct RegexMatch {
  RegexSpan whole;
  std::vector<RegexSpan> groups;  // one per capturing group, in order
};

class Regex {
 public:
  // The compiled pattern for these options; the same pattern and options give
  // the same shared object, so a pattern is compiled once per process.
  // Returns null when the pattern does not compile. Safe from any thread; the
  // cache is never emptied, so it is meant for the program's fixed patterns.
  static std::shared_ptr<const Regex> Get(std::string_view pattern, RegexOptions options);

  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  const std::string& pattern() const { return pattern_; }
  std::size_t groupCount() const;

  // Every non-overlapping match, left to right (an empty match advances by
  // one byte). When the engine gives up (for example on its backtracking
  // limit) the matches found before that point are returned and `failed`,
  // when given, is set; otherwise it is cleared.
  std::vector<RegexMatch> FindAll(std::string_view subject, bool* failed = nullptr) const;
  // The first match only, or an empty vector; `failed` as for FindAll.
  std::vector<RegexMatch> FindFirst(std::string_view subject, bool* failed = nullptr) const;

 private:
  struct Code;
  Regex(std::string pattern, std::unique_ptr<Code> code);
  std::string pattern_;
  std::unique_ptr<Code> code_;
};

}  // namespace platform
