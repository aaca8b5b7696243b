// Files services; see files.h. POSIX calls on the names as given.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>

#include "platform/codepage.h"

namespace platform {

namespace {

// Whether a path may name a file at all.
bool Names(std::string_view path) {
  return !path.empty() && path.find('\0') == std::string_view::npos;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

bool StatOf(std::string_view path, struct stat& st) {
  return Names(path) && ::stat(std::string(path).c_str(), &st) == 0;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (AsciiLower(tail[i]) != AsciiLower(suffix[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> NativePath(std::string_view gbk) {
  if (gbk.empty() || gbk.find('\0') != std::string_view::npos) return std::nullopt;
  bool replaced = false;
  std::string utf8 = GbkToUtf8(gbk, &replaced);
  if (replaced) return std::nullopt;
  return utf8;
}

std::string ShownPath(std::string_view native) {
  return Utf8ToGbk(native);
}

std::optional<std::string> ReadWholeFile(std::string_view path, std::int64_t limit) {
  if (!Names(path)) return std::nullopt;
  const std::string native(path);
  // Only regular files: a named pipe would wait for a writer and a device
  // may never end. The name is looked at before it is opened (opening some
  // devices acts on them) and the opened file again (the name may have
  // changed in between); the open never waits.
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  Fd fd(::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return std::nullopt;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const bool limited = limit >= 0;
  if (limited && st.st_size > limit) return std::nullopt;
  try {
    std::string bytes;
    if (st.st_size > 0 &&
        static_cast<std::uint64_t>(st.st_size) < std::numeric_limits<std::size_t>::max()) {
      bytes.reserve(static_cast<std::size_t>(st.st_size));
    }
    // Read to the end rather than trusting the size: the file may grow or
    // shrink while it is read.
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      bytes.append(buffer, static_cast<std::size_t>(n));
      if (limited && bytes.size() > static_cast<std::uint64_t>(limit)) return std::nullopt;
    }
    return bytes;
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // larger than the memory the process can have
  } catch (const std::length_error&) {
    return std::nullopt;  // larger than a text can be
  }
}

bool PathExists(std::string_view path) {
  struct stat st {};
  return StatOf(path, st);
}

std::optional<std::int64_t> FileSize(std::string_view path) {
  struct stat st {};
  if (!StatOf(path, st)) return std::nullopt;
  return S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
}

bool IsDirectory(std::string_view path) {
  struct stat st {};
  return StatOf(path, st) && S_ISDIR(st.st_mode);
}

bool IsDirectoryEmpty(std::string_view path) {
  if (!IsDirectory(path)) return false;
  Dir dir(::opendir(std::string(path).c_str()));
  if (!dir) return false;
  while (const dirent* e = ::readdir(dir.get())) {
    const std::string_view name = e->d_name;
    if (name != "." && name != "..") return false;
  }
  return true;
}

namespace {

enum class EntryKind { File, Folder };

// The entries of one kind directly in `folder`, as the system names them,
// in byte order. Files are found after following links; folders are not.
std::vector<std::string> ListEntries(std::string_view folder, EntryKind kind,
                                     std::string_view extension) {
  std::vector<std::string> names;
  if (!Names(folder)) return names;
  const std::string native(folder);
  Dir dir(::opendir(native.c_str()));
  if (!dir) return names;
  std::string suffix;
  if (!extension.empty()) suffix.append(".").append(extension);
  while (const dirent* e = ::readdir(dir.get())) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!suffix.empty() && !EndsWithNoCase(name, suffix)) continue;
    bool wanted = false;
    if (kind == EntryKind::File) {
      wanted = e->d_type == DT_REG;
      if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
        // The entry type is not known (some file systems) or it is a link:
        // ask for what the name leads to.
        struct stat st {};
        const std::string full = native + kPathSeparator + std::string(name);
        wanted = ::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode);
      }
    } else {
      wanted = e->d_type == DT_DIR;
      if (e->d_type == DT_UNKNOWN) {
        struct stat st {};
        const std::string full = native + kPathSeparator + std::string(name);
        wanted = ::lstat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      }
    }
    if (wanted) names.emplace_back(name);
  }
  // The file system's own order depends on how the folder was filled; the
  // lists the user sees should not.
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> ListFiles(std::string_view folder, std::string_view extension) {
  return ListEntries(folder, EntryKind::File, extension);
}

std::vector<std::string> ListFolders(std::string_view folder) {
  return ListEntries(folder, EntryKind::Folder, {});
}

std::string ExecutableFolder() {
  std::string path(PATH_MAX, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0) return ".";
  path.resize(static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  path.resize(slash == 0 ? 1 : slash);
  return path;
}

}  // namespace platform
