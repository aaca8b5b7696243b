// Files services; see files.h. POSIX calls on the UTF-8 form of the names.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <utility>

#include "platform/codepage.h"

namespace platform {

namespace {

std::string Native(std::string_view gbk) {
  return GbkToUtf8(gbk);
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
  // Closes now and reports whether the close succeeded (a write may only
  // fail there, on some file systems).
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

bool StatOf(std::string_view gbk, struct stat& st) {
  return !gbk.empty() && ::stat(Native(gbk).c_str(), &st) == 0;
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

std::optional<std::string> ReadWholeFile(std::string_view path) {
  if (path.empty()) return std::nullopt;
  Fd fd(::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
  std::string bytes;
  if (S_ISREG(st.st_mode) && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
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
  }
  return bytes;
}

bool WriteWholeFile(std::string_view path, std::string_view bytes) {
  if (path.empty()) return false;
  Fd fd(::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.get() < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return fd.Close();
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
  Dir dir(::opendir(Native(path).c_str()));
  if (!dir) return false;
  while (const dirent* e = ::readdir(dir.get())) {
    const std::string_view name = e->d_name;
    if (name != "." && name != "..") return false;
  }
  return true;
}

std::vector<std::string> ListFiles(std::string_view folder, std::string_view extension) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  const std::string native = Native(folder);
  Dir dir(::opendir(native.c_str()));
  if (!dir) return names;
  const std::string suffix = extension.empty() ? std::string() : "." + Native(extension);
  while (const dirent* e = ::readdir(dir.get())) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!suffix.empty() && !EndsWithNoCase(name, suffix)) continue;
    bool regular = e->d_type == DT_REG;
    if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      // The entry type is not known (some file systems) or it is a link:
      // ask for what the name leads to.
      struct stat st {};
      const std::string full = native + kPathSeparator + std::string(name);
      regular = ::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    if (!regular) continue;
    bool replaced = false;
    std::string gbk = Utf8ToGbk(name, &replaced);
    if (!replaced) names.push_back(std::move(gbk));
  }
  return names;
}

std::string ExecutableFolder() {
  std::string path(PATH_MAX, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0) return ".";
  path.resize(static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  path.resize(slash == 0 ? 1 : slash);
  return Utf8ToGbk(path);
}

}  // namespace platform
