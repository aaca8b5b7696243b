#include "engine/regex_object.h"

#include <algorithm>
#include <optional>

#include "engine/text.h"
#include "platform/gbk.h"

RegexObject::RegexObject() {
  InitializeCom();
}

RegexObject::~RegexObject() {
  Release();
  subject_.clear();
  UninitializeCom();
}

void RegexObject::Release() {
  regex_.reset();
  matches_.clear();
}

bool RegexObject::Create(std::string_view pattern, std::string_view subject, bool caseSensitive,
                         bool multiline, bool global, bool translateQuotes) {
  Release();
  created_ = true;
  pattern_ = translateQuotes
                 ? ReplaceText(pattern, std::nullopt, 1, true, platform::Gbk("#引号"), "\"")
                 : std::string(pattern);
  subject_ = std::string(subject);
  platform::RegexOptions options;
  options.ignoreCase = !caseSensitive;
  options.multiline = multiline;
  regex_ = platform::Regex::Get(pattern_, options);
  if (!regex_) return false;
  matches_ = global ? regex_->FindAll(subject_) : regex_->FindFirst(subject_);
  return true;
}

std::string RegexObject::GetPattern() const {
  return created_ ? pattern_ : std::string();
}

namespace {

std::string_view SpanText(std::string_view subject, const platform::RegexSpan& span) {
  if (!span.matched || span.offset > subject.size()) return {};
  return subject.substr(span.offset, span.length);
}

// Expands "$&", "$1".."$9" and "$$" of a replacement for one match.
void AppendReplacement(std::string& out, std::string_view replacement, std::string_view subject,
                       const platform::RegexMatch& match) {
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const char c = replacement[i];
    if (c != '$' || i + 1 == replacement.size()) {
      out.push_back(c);
      continue;
    }
    const char next = replacement[i + 1];
    if (next == '$') {
      out.push_back('$');
      ++i;
    } else if (next == '&') {
      out.append(SpanText(subject, match.whole));
      ++i;
    } else if (next >= '1' && next <= '9' &&
               static_cast<std::size_t>(next - '0') <= match.groups.size()) {
      out.append(SpanText(subject, match.groups[static_cast<std::size_t>(next - '1')]));
      ++i;
    } else {
      out.push_back(c);
    }
  }
}

}  // namespace

std::string RegexObject::Replace(std::string_view replacement) const {
  if (!regex_) return {};
  std::string out;
  out.reserve(subject_.size());
  std::size_t copied = 0;
  for (const auto& match : matches_) {
    if (match.whole.offset < copied || match.whole.offset > subject_.size()) continue;
    out.append(subject_, copied, match.whole.offset - copied);
    AppendReplacement(out, replacement, subject_, match);
    copied = std::min(subject_.size(), match.whole.offset + match.whole.length);
  }
  out.append(subject_, copied);
  return out;
}

int RegexObject::GetMatchCount() const {
  return static_cast<int>(matches_.size());
}

std::string RegexObject::GetMatchText(int index1, int* position) const {
  if (position) *position = -1;
  if (index1 < 1 || static_cast<std::size_t>(index1) > matches_.size()) return {};
  const auto& span = matches_[static_cast<std::size_t>(index1) - 1].whole;
  if (position) *position = static_cast<int>(span.offset);
  return std::string(SpanText(subject_, span));
}

std::string RegexObject::GetSubMatchText(int match1, int sub1, int* position) const {
  if (position) *position = -1;
  if (match1 < 1 || static_cast<std::size_t>(match1) > matches_.size()) return {};
  const auto& groups = matches_[static_cast<std::size_t>(match1) - 1].groups;
  if (sub1 < 1 || static_cast<std::size_t>(sub1) > groups.size()) return {};
  const auto& span = groups[static_cast<std::size_t>(sub1) - 1];
  if (!span.matched) return {};
  if (position) *position = static_cast<int>(span.offset);
  return std::string(SpanText(subject_, span));
}

int RegexObject::GetSubMatchCount() const {
  return matches_.empty() ? 0 : static_cast<int>(matches_.front().groups.size());
}
