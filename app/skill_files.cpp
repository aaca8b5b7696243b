#include "app/skill_files.h"

#include <utility>

#include "engine/text.h"
#include "platform/gbk.h"

namespace app {

namespace {

// ASCII letters in lower case; the bytes of two-byte characters stay as
// they are, so a trail byte that happens to be a letter never matches
// another character.
std::string Fold(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto c = static_cast<unsigned char>(folded[i]);
    if (c >= 0x80) {
      ++i;  // a lead byte takes the next byte as its trail
    } else if (c >= 'A' && c <= 'Z') {
      folded[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return folded;
}

const std::string& UnknownSkill() {
  return platform::Gbk("未知技能");
}

}  // namespace

std::string WithCrLfLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<SkillFileText> ReadSkillFile(std::string_view path, std::int64_t limit) {
  const std::optional<std::string> bytes = platform::ReadWholeFile(path, limit);
  if (!bytes) return std::nullopt;
  SkillFileText file;
  file.text = WithCrLfLineEnds(ConvertUtf8ToGbk(*bytes, &file.replaced));
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
    const std::string wanted = Fold("<" + std::string(key) + ">");
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

std::string ReadSkillDisplayName(std::string_view path, const SkillNameIndex& names) {
  const std::optional<SkillFileText> file = ReadSkillFile(path);
  return file ? SkillDisplayName(file->text, names) : UnknownSkill();
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
