#include "app/skill_files.h"

#include <utility>

#include "engine/text.h"
#include "platform/codepage.h"
#include "platform/gbk.h"

namespace app {

namespace {

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII letters in lower case; the bytes of two-byte characters stay as
// they are, so a trail byte that happens to be a letter never matches
// another character.
std::string Fold(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto c = static_cast<unsigned char>(folded[i]);
    if (platform::IsGbkLeadByte(c)) {
      ++i;  // a lead byte takes the next byte as its trail
    } else {
      folded[i] = AsciiLower(folded[i]);
    }
  }
  return folded;
}

const std::string& UnknownSkill() {
  return platform::Gbk("未知技能");
}

}  // namespace

std::optional<SkillFileText> ReadSkillFile(std::string_view path, std::int64_t limit) {
  const std::optional<std::string> bytes = platform::ReadWholeFile(path, limit);
  if (!bytes) return std::nullopt;
  SkillFileText file;
  std::string_view utf8 = *bytes;
  const std::size_t last = utf8.find_last_not_of('\0');
  utf8 = utf8.substr(0, last == std::string_view::npos ? 0 : last + 1);
  // The conversion would end the text at the zero byte, and a save write
  // the rest of the file away.
  if (utf8.find('\0') != std::string_view::npos) {
    file.notText = true;
    return file;
  }
  if (!platform::IsValidUtf8(utf8)) {
    file.notUtf8 = true;
    return file;
  }
  file.text = platform::WithCrLfLineBreaks(ConvertUtf8ToGbk(utf8, &file.replaced));
  return file;
}

SkillNameIndex::SkillNameIndex(std::vector<std::string> lines) : lines_(std::move(lines)) {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (line.empty() || line.front() != '<' || line.starts_with("<//")) continue;
    const std::size_t close = line.find('>', 1);
    if (close == std::string::npos) continue;
    firstLine_.emplace(Fold(std::string_view(line).substr(1, close - 1)), i);
  }
}

std::optional<std::string> SkillNameIndex::DisplayName(std::string_view key) const {
  const std::string* line = nullptr;
  if (key.find('>') == std::string_view::npos) {
    // The key is what lies between a line's "<" and its first ">".
    if (const auto it = firstLine_.find(Fold(key)); it != firstLine_.end()) {
      line = &lines_[it->second];
    }
  } else {
    // A key holding ">" runs past the first ">" of its line: look at every
    // line.
    std::string bracketed = "<";
    bracketed.append(key).append(">");
    const std::string wanted = Fold(bracketed);
    for (const std::string& candidate : lines_) {
      if (candidate.starts_with("<//")) continue;
      if (candidate.size() >= wanted.size() && Fold(candidate.substr(0, wanted.size())) == wanted) {
        line = &candidate;
        break;
      }
    }
  }
  if (line == nullptr) return std::nullopt;
  std::vector<std::string> parts = SplitText(*line, ">");
  if (parts.size() < 2) return std::nullopt;
  return std::move(parts[1]);
}

std::string SkillDisplayName(std::string_view script, const SkillNameIndex& names) {
  const int nameLine = FindLineIndex(script, "[name]", false);
  if (nameLine == 0) return UnknownSkill();
  const std::vector<std::string> parts = SplitText(GetLine(script, nameLine + 1), "`");
  if (parts.size() < 2) return UnknownSkill();
  const std::string key = ReplaceText(parts[0], 1, 1, false, "<12::", "");
  return names.DisplayName(key).value_or(UnknownSkill());
}

namespace {

// Where the line starting at `from` ends, and where the next line starts
// (line breaks: CR LF, a lone CR, a lone LF); npos when no break follows.
std::pair<std::size_t, std::size_t> LineEnd(std::string_view text, std::size_t from) {
  const std::size_t end = text.find_first_of("\r\n", from);
  if (end == std::string_view::npos) return {end, end};
  const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
  return {end, end + (crLf ? 2 : 1)};
}

// Whether the line holds "[name]", ASCII letters compared without case.
bool HoldsNameTag(std::string_view line) {
  constexpr std::string_view kTag = "[name]";
  for (std::size_t i = 0; i + kTag.size() <= line.size(); ++i) {
    std::size_t k = 0;
    while (k < kTag.size() && AsciiLower(line[i + k]) == kTag[k]) ++k;
    if (k == kTag.size()) return true;
  }
  return false;
}

}  // namespace

std::string SkillFileDisplayName(std::string_view utf8, const SkillNameIndex& names) {
  // The conversion keeps every ASCII byte, so line breaks and the tag stand
  // in the same lines of the UTF-8 bytes as of the GBK text: the lines up
  // to the link are found in the bytes and only they are converted. Should
  // the converted lines not show the tag on the same line, the whole file
  // is converted after all.
  int line = 1;
  for (std::size_t from = 0; from < utf8.size(); ++line) {
    const auto [end, next] = LineEnd(utf8, from);
    if (end == std::string_view::npos) break;
    if (HoldsNameTag(utf8.substr(from, end - from))) {
      const std::size_t linkEnd = LineEnd(utf8, next).second;
      if (linkEnd == std::string_view::npos) break;
      const std::string head =
          platform::WithCrLfLineBreaks(ConvertUtf8ToGbk(utf8.substr(0, linkEnd)));
      if (FindLineIndex(head, "[name]", false) == line) return SkillDisplayName(head, names);
      break;
    }
    from = next;
  }
  return SkillDisplayName(platform::WithCrLfLineBreaks(ConvertUtf8ToGbk(utf8)), names);
}

std::string ReadSkillDisplayName(std::string_view path, const SkillNameIndex& names) {
  const std::optional<std::string> bytes = platform::ReadWholeFile(path);
  return bytes ? SkillFileDisplayName(*bytes, names) : UnknownSkill();
}

bool EnumerateFiles(std::string& folder, std::string_view extension, bool recursive,
                    const FileVisitor& visit) {
  if (extension.starts_with("*.")) extension.remove_prefix(2);
  if (extension == "*") extension = {};
  if (folder.empty() || folder.back() != platform::kPathSeparator) {
    folder += platform::kPathSeparator;
  }
  for (const std::string& name : platform::ListFiles(folder, extension)) {
    if (!visit(name, folder + name)) return false;
  }
  if (recursive) {
    for (const std::string& name : platform::ListFolders(folder)) {
      std::string sub = folder + name;
      if (!EnumerateFiles(sub, extension, true, visit)) return false;
    }
  }
  return true;
}

}  // namespace app
