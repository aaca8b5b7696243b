#include "platform/regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <utility>

namespace platform {

struct Regex::Code {
  explicit Code(pcre2_code* compiled) : code(compiled) {}
  ~Code() { pcre2_code_free(code); }
  Code(const Code&) = delete;
  Code& operator=(const Code&) = delete;
  pcre2_code* const code;
};

namespace {

// Byte-oriented matching: UTF and Unicode properties are refused even when
// the pattern asks for them with (*UTF) or (*UCP), so bytes of 0x80 and above
// never count as letters, digits or space and letter case is folded for ASCII
// only. Line breaks for ^ and $ are LF whatever the library was built with.
pcre2_code* CompilePattern(std::string_view pattern, RegexOptions options) {
  uint32_t flags = PCRE2_NEVER_UTF | PCRE2_NEVER_UCP;
  if (options.ignoreCase) flags |= PCRE2_CASELESS;
  if (options.multiline) flags |= PCRE2_MULTILINE;

  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  if (context == nullptr) return nullptr;
  pcre2_set_newline(context, PCRE2_NEWLINE_LF);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  const char* bytes = pattern.empty() ? "" : pattern.data();
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(bytes), pattern.size(), flags,
                                   &error, &errorOffset, context);
  pcre2_compile_context_free(context);
  return code;
}

// Span i of the output vector of a match that returned `rc`.
RegexSpan SpanOf(const PCRE2_SIZE* ovector, int rc, std::size_t i) {
  RegexSpan span;
  const PCRE2_SIZE begin = ovector[2 * i];
  const PCRE2_SIZE end = ovector[2 * i + 1];
  if (i < static_cast<std::size_t>(rc) && begin != PCRE2_UNSET && end >= begin) {
    span.offset = begin;
    span.length = end - begin;
    span.matched = true;
  }
  return span;
}

// At most `limit` non-overlapping matches of `code` in `subject`, left to
// right. Match data belongs to this call, so any number of threads may search
// with the same compiled pattern.
std::vector<RegexMatch> Find(const pcre2_code* code, std::string_view subject, bool* failed,
                             std::size_t limit) {
  std::vector<RegexMatch> matches;
  bool gaveUp = false;
  uint32_t groups = 0;
  pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups);
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  if (data == nullptr) {
    gaveUp = true;
  } else {
    const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.empty() ? "" : subject.data());
    std::size_t offset = 0;
    while (matches.size() < limit && offset <= subject.size()) {
      const int rc = pcre2_match(code, bytes, subject.size(), offset, 0, data, nullptr);
      if (rc == PCRE2_ERROR_NOMATCH) break;
      if (rc < 0) {  // backtracking or depth limit, out of memory
        gaveUp = true;
        break;
      }
      const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
      RegexMatch& match = matches.emplace_back();
      match.whole = SpanOf(ovector, rc, 0);
      for (std::size_t i = 1; i <= groups; ++i) match.groups.push_back(SpanOf(ovector, rc, i));
      // The next search starts where this match ended; after an empty match
      // it starts one byte further, so the scan always moves on.
      const std::size_t begin = ovector[0];
      const std::size_t end = ovector[1];
      offset = std::max(end > begin ? end : begin + 1, offset + 1);
    }
    pcre2_match_data_free(data);
  }
  if (failed != nullptr) *failed = gaveUp;
  return matches;
}

}  // namespace

std::shared_ptr<const Regex> Regex::Get(std::string_view pattern, RegexOptions options) {
  // Keyed by the options and the pattern bytes. A pattern that does not
  // compile is remembered as null, so it too is compiled only once. The cache
  // lives for the whole process: the program uses a fixed set of patterns.
  static std::mutex* const mutex = new std::mutex;
  static auto* const cache = new std::map<std::string, std::shared_ptr<const Regex>>;

  std::string key(
      1, static_cast<char>('0' + (options.ignoreCase ? 1 : 0) + (options.multiline ? 2 : 0)));
  key.append(pattern);

  const std::lock_guard<std::mutex> lock(*mutex);
  auto it = cache->find(key);
  if (it != cache->end()) return it->second;
  std::shared_ptr<const Regex> regex;
  if (pcre2_code* code = CompilePattern(pattern, options))
    regex.reset(new Regex(std::string(pattern), std::make_unique<Code>(code)));
  cache->emplace(std::move(key), regex);
  return regex;
}

Regex::Regex(std::string pattern, std::unique_ptr<Code> code)
    : pattern_(std::move(pattern)), code_(std::move(code)) {}

Regex::~Regex() = default;

std::size_t Regex::groupCount() const {
  uint32_t count = 0;
  pcre2_pattern_info(code_->code, PCRE2_INFO_CAPTURECOUNT, &count);
  return count;
}

std::vector<RegexMatch> Regex::FindAll(std::string_view subject, bool* failed) const {
  return Find(code_->code, subject, failed, std::numeric_limits<std::size_t>::max());
}

std::vector<RegexMatch> Regex::FindFirst(std::string_view subject, bool* failed) const {
  return Find(code_->code, subject, failed, 1);
}

}  // namespace platform
