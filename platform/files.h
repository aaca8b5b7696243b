// File and folder services. Names are the program's text (GBK), as the
// program keeps paths in its edit boxes and lists; they are converted to
// the file system's UTF-8 here and nowhere else. Folder separators are
// kPathSeparator. Every function may run on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr char kPathSeparator = '/';

// The whole file as bytes, or nullopt when it cannot be opened or read (a
// missing file, a folder, no permission). Callers that treat an unreadable
// file as empty use value_or("").
std::optional<std::string> ReadWholeFile(std::string_view path);

// Creates the file or truncates it, writes every byte and closes it.
// False when the name is empty (at once, without touching the file system)
// or any step fails.
bool WriteWholeFile(std::string_view path, std::string_view bytes);

// Whether anything (file or folder) exists under the name.
bool PathExists(std::string_view path);
// The size in bytes of an existing file (0 for a folder), or nullopt when
// nothing exists under the name.
std::optional<std::int64_t> FileSize(std::string_view path);

bool IsDirectory(std::string_view path);
// True when the path is a folder that holds no entry at all (the entries
// "." and ".." do not count); false for a folder with entries, for a file
// and for a missing path.
bool IsDirectoryEmpty(std::string_view path);

// The names (not paths) of the regular files directly in `folder` whose
// name ends in "." + extension, compared without ASCII case, in the order
// the file system lists them (not sorted); sub-folders are neither listed
// nor entered. An empty extension lists every regular file. A folder that
// cannot be read gives an empty list. Names whose UTF-8 form has no GBK
// form are left out (the program could not open them by name).
std::vector<std::string> ListFiles(std::string_view folder, std::string_view extension);

// The folder that holds the running executable, without a trailing
// separator (GBK).
std::string ExecutableFolder();

}  // namespace platform
