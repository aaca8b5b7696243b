// A regular expression bound to one subject text: the pattern, the text and
// the matches of the pattern in it, with the replacement of every match.
//
// Failures are silent: when the pattern does not compile, Create returns
// false, Replace gives the empty text, the counts are 0 and the texts empty.
// Indices are 1-based; positions are 0-based byte offsets into the subject.
// Matching runs over bytes (see platform/regex.h), so "\s" never touches a
// byte of a two-byte character.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regex.h"

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&) = default;
  RegexObject& operator=(const RegexObject&) = default;

  // Compiles `pattern` (ASCII letter case ignored unless caseSensitive; "^"
  // and "$" match at line breaks when multiline; every match when global,
  // else the first only; each "#引号" of the pattern read as a double quote
  // when translateQuotes) and finds its matches in `subject`. Returns true
  // when the pattern compiled, even when it matches nothing.
  bool Create(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
              bool multiline = true, bool global = true, bool translateQuotes = false);

  // Does nothing; kept so the operations stay complete.
  void EmptyMethod() {}

  // The pattern as given to the last Create (quotes translated); empty
  // before the first Create.
  std::string GetPattern() const;

  // The subject with the matches replaced by `replacement`, in which "$&"
  // stands for the whole match, "$1".."$9" for a group (empty when the group
  // took no part; literal when the pattern has fewer groups) and "$$" for
  // "$"; every other character is literal. The object is not changed.
  std::string Replace(std::string_view replacement) const;

  int GetMatchCount() const;
  // Text of match `index1`; `position` receives its byte offset. An index
  // outside the matches gives the empty text and position -1.
  std::string GetMatchText(int index1, int* position = nullptr) const;
  // Text of group `sub1` of match `match1`; a group that took no part, or
  // an index outside the matches or groups, gives the empty text and -1.
  std::string GetSubMatchText(int match1, int sub1, int* position = nullptr) const;
  // Number of groups of the first match; 0 when nothing matched.
  int GetSubMatchCount() const;

  // The regular-expression engine needs no per-thread set-up; these keep the
  // object's life cycle explicit and do nothing.
  void InitializeCom() {}
  void UninitializeCom() {}

 private:
  void Release();

  std::shared_ptr<const platform::Regex> regex_;
  std::vector<platform::RegexMatch> matches_;
  std::string subject_;
  std::string pattern_;
  bool created_ = false;  // Create has run at least once
};
