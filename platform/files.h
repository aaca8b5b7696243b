// File and folder services. Paths are given and returned as the operating
// system names them (its bytes, UTF-8 as a rule), so that a folder whose
// name GBK cannot hold (a home folder "jörg", a Korean name) serves as well
// as any: the program's folder, the skill folder and every file listed in
// it keep that form. Only where a path meets the program's text (GBK) is
// it converted: NativePath for a path the user typed or dropped, ShownPath
// for a path shown to the user. An empty name, or one holding a zero byte,
// names nothing (no file system name can hold one), so every function
// treats it as missing. Folder separators are kPathSeparator. Every
// function may run on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr char kPathSeparator = '/';

inline constexpr std::int64_t kNoSizeLimit = -1;

// The system's form of a path held as the program's text (GBK), or nullopt
// for a text that names no file: empty, holding a zero byte, or not clean
// GBK (its converted form would name another file).
std::optional<std::string> NativePath(std::string_view gbk);
// A path as the user is shown it (GBK); what GBK cannot hold is shown as
// "?", so the text may name another file: keep the path itself for using it.
std::string ShownPath(std::string_view native);

// The whole file as bytes, or nullopt when it cannot be read: a missing
// name, anything but a regular file after following links (a folder, a
// named pipe, a device: opening one never waits for a writer and never
// reads an endless stream), no permission, a read error, too little memory
// for it, or more than `limit` bytes when a limit (0 or more) is given.
// Callers that treat an unreadable file as empty use value_or("").
std::optional<std::string> ReadWholeFile(std::string_view path, std::int64_t limit = kNoSizeLimit);

// Whether anything (file or folder) exists under the name.
bool PathExists(std::string_view path);
// The size in bytes (all 64 bits) of an existing file (0 for a folder or a
// special file), or nullopt when nothing exists under the name.
std::optional<std::int64_t> FileSize(std::string_view path);

bool IsDirectory(std::string_view path);
// True when the path is a folder that holds no entry at all (the entries
// "." and ".." do not count); false for a folder with entries, for a file
// and for a missing path.
bool IsDirectoryEmpty(std::string_view path);

// The names (not paths) of the regular files (after following links)
// directly in `folder` whose name ends in "." + extension (ASCII), compared
// without ASCII case, in byte order of their names; folders and special
// files are neither listed nor entered. An empty extension lists every
// regular file. A folder that cannot be read gives an empty list.
std::vector<std::string> ListFiles(std::string_view folder, std::string_view extension);
// The names of the folders directly in `folder`, by the same rules; links
// are not followed here, so a walk down the folders always ends.
std::vector<std::string> ListFolders(std::string_view folder);

// The folder that holds the running executable, without a trailing
// separator.
std::string ExecutableFolder();

}  // namespace platform
