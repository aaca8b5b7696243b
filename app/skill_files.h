// Skill files on disk: reading one into the script box's text, the display
// name that the skill list shows for it, and the walk over a class folder.
//
// Everything here is free of units and program-wide state, so it may run on
// the class-folder loader threads as well as on the GUI thread. Paths are
// as the system names them (platform/files.h).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/files.h"

namespace app {

// A skill file as text for the script box.
struct SkillFileText {
  std::string text;       // GBK, CR LF line ends
  bool replaced = false;  // characters GBK cannot hold became "?"
  // The file holds a zero byte before its end: it is no text script (UTF-16
  // text, a picture) and must not be opened; `text` is empty.
  bool notText = false;
  // The file is not UTF-8 (a script saved as GBK, say): converted, every
  // character would become "?" and a save would write those over the file.
  // It must not be opened; `text` is empty.
  bool notUtf8 = false;
};

// The whole file, UTF-8 converted to GBK, every line break (a bare LF or a
// lone CR as well) written as CR LF, as the script forms require. Zero
// bytes at the very end are left out (other tools end the text with one);
// any other zero byte makes the file notText, and bytes that are not
// well-formed UTF-8 (platform::IsValidUtf8) make it notUtf8. nullopt when
// the file cannot be read: missing, not a regular file, unreadable, or
// larger than `limit` bytes when a limit is given.
std::optional<SkillFileText> ReadSkillFile(std::string_view path,
                                           std::int64_t limit = platform::kNoSizeLimit);

// The lines of the skill-name table, looked up by the key of a skill's name
// link. A line "<" + key + ">" + text gives its text to the key, the key's
// ASCII letters compared without case; the first such line counts. Comment
// lines ("<//...") and lines holding "<" alone give nothing. Immutable once
// built, so the loader threads share one.
class SkillNameIndex {
 public:
  explicit SkillNameIndex(std::vector<std::string> lines);

  // The display name of `key`: the text of its line up to a further ">"
  // (the line "<key>a<int>b" gives "a<int"); nullopt when no line begins
  // with "<" + key + ">", or when the line ends right after the key.
  std::optional<std::string> DisplayName(std::string_view key) const;

 private:
  std::vector<std::string> lines_;
  std::unordered_map<std::string, std::size_t> firstLine_;  // folded key -> index
};

// The name that the skill list shows for a script (GBK, CR LF): the key of
// the link on the line after the first line holding "[name]" (letter case
// ignored), which is the text before the link's first backquote with the
// first "<12::" (any case) removed, looked up in `names`; "未知技能" (GBK)
// when the script has no such line, the link has no backquote, or the key
// has no name.
std::string SkillDisplayName(std::string_view script, const SkillNameIndex& names);
// The same for the bytes of a skill file (UTF-8, any line ends), with the
// result that SkillDisplayName gives for the file's text as ReadSkillFile
// reads it; only the lines up to the link are converted.
std::string SkillFileDisplayName(std::string_view utf8, const SkillNameIndex& names);
// The same for a file; an unreadable file gives "未知技能".
std::string ReadSkillDisplayName(std::string_view path, const SkillNameIndex& names);

// What EnumerateFiles calls for each file: the file's name and its full
// path (folder, separator, name). Returning false ends the walk there.
using FileVisitor = std::function<bool(const std::string& name, const std::string& path)>;

// Calls `visit` for every regular file directly in `folder` whose name ends
// in "." + extension (ASCII letter case ignored; "*", "*.*" or an empty
// extension take every file, "*.skl" is "skl"), in byte order of the names;
// then, when `recursive`, does the same in each sub-folder in turn, depth
// first (links to folders are not entered). A separator is put after
// `folder` when it has none. Returns false when a visit ended the walk.
bool EnumerateFiles(std::string& folder, std::string_view extension, bool recursive,
                    const FileVisitor& visit);

}  // namespace app
