// Saving by replacement; see file_save.h.
#include "platform/file_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <optional>

namespace platform {

int FileOps::Open(const std::string& path, int flags, unsigned mode) {
  return ::open(path.c_str(), flags, static_cast<mode_t>(mode));
}
long FileOps::Write(int fd, const char* data, std::size_t size) {
  return ::write(fd, data, size);
}
int FileOps::Sync(int fd) {
  return ::fsync(fd);
}
int FileOps::Close(int fd) {
  return ::close(fd);
}
int FileOps::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}

namespace {

FileOps& RealOps() {
  static FileOps ops;
  return ops;
}

FileOps* g_ops = nullptr;

FileOps& Ops() {
  return g_ops != nullptr ? *g_ops : RealOps();
}

// The longest name one entry of a folder may have, in bytes, on every file
// system the editor meets.
constexpr std::size_t kNameMax = 255;
// How many links a name may lead through, as the system allows.
constexpr int kMaxLinks = 40;

// Read-only by its permission bits or for this process. The bits count
// also for a process that may write anyway (root), so that a file the
// user marked read-only is never replaced.
bool ReadOnly(const std::string& path, const struct stat& st) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// The folder part of an absolute path ("/" for a name in the root).
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The name that `path` leads to once every symbolic link it names is
// followed, a link to a link as well, a relative target read from the
// link's folder. A link whose target does not exist leads to that target,
// so that a save creates it there and the link stays. nullopt for a loop
// or a link that cannot be read.
std::optional<std::string> FollowLinks(std::string path) {
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return std::nullopt;
    target.resize(static_cast<std::size_t>(n));
    path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
  }
  return std::nullopt;
}

// The start of `name` in at most `size` bytes, not cut inside a UTF-8
// character.
std::string Shortened(const std::string& name, std::size_t size) {
  if (name.size() <= size) return name;
  while (size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80) --size;
  return name.substr(0, size);
}

// The temporary file: created beside the target, so that the rename stays
// on one file system, under a name no one else uses that the folder can
// hold however long the target's name is.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& path) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string suffix =
        ".saving-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    const std::string entry = "." + Shortened(name, kNameMax - 1 - suffix.size()) + suffix;
    path = (folder == "/" ? std::string() : folder) + "/" + entry;
    const int fd = Ops().Open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const long n = Ops().Write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Makes the rename itself durable; a folder that cannot be synced is no
// reason to call the save failed, since the file is in place.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

enum class Outcome { kDone, kFailed, kNoTemporary };

// The bytes into a temporary file beside `target`, which then takes the
// target's place. kNoTemporary when the folder refuses the temporary file
// (its permissions, an immutable folder), with nothing changed.
Outcome ReplaceThroughTemporary(const std::string& target, std::string_view bytes,
                                const struct stat* old) {
  const std::string folder = FolderOf(target);
  std::string temporary;
  const int fd = CreateTemporary(folder, target.substr(target.rfind('/') + 1), temporary);
  if (fd < 0) {
    return errno == EACCES || errno == EPERM ? Outcome::kNoTemporary : Outcome::kFailed;
  }
  bool ok = WriteAll(fd, bytes);
  if (ok && old != nullptr) {
    ok = ::fchmod(fd, old->st_mode & 07777) == 0;
    // Only a privileged process may give the new file to the old owner;
    // for any other the file is the saver's own, as a rewrite would leave it.
    const bool sameOwner = old->st_uid == ::geteuid() && old->st_gid == ::getegid();
    if (ok && !sameOwner && ::fchown(fd, old->st_uid, old->st_gid) != 0) errno = 0;
  }
  ok = ok && Ops().Sync(fd) == 0;
  ok = Ops().Close(fd) == 0 && ok;
  ok = ok && Ops().Rename(temporary, target) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return Outcome::kFailed;
  }
  SyncFolder(folder);
  return Outcome::kDone;
}

// Writes the bytes over the file itself, for a folder in which no
// temporary file can be made. The old content is lost once the first byte
// is written, so every step is checked and on the disk before the save
// counts as done.
bool RewriteInPlace(const std::string& target, std::string_view bytes) {
  const int fd = Ops().Open(target, O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);  // the name may have changed
  ok = ok && WriteAll(fd, bytes);
  ok = ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
  ok = ok && Ops().Sync(fd) == 0;
  ok = Ops().Close(fd) == 0 && ok;
  return ok;
}

}  // namespace

FileOps* SetFileOps(FileOps* ops) {
  FileOps* previous = g_ops;
  g_ops = ops;
  return previous;
}

bool ReplaceFileContents(std::string_view path, std::string_view bytes) {
  // No name holds a zero byte; the system would read the path only up to it.
  if (path.empty() || path.find('\0') != std::string_view::npos || path.front() != '/' ||
      path.back() == '/')
    return false;
  const std::optional<std::string> followed = FollowLinks(std::string(path));
  if (!followed) return false;
  const std::string& target = *followed;

  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && (!S_ISREG(st.st_mode) || ReadOnly(target, st))) return false;
  if (!exists && errno != ENOENT) return false;

  const std::string folder = FolderOf(target);
  struct stat folderStat {};
  if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode)) return false;
  if (ReadOnly(folder, folderStat)) {
    // A new file cannot be made there; a writable file can still be
    // written over.
    return exists && RewriteInPlace(target, bytes);
  }
  switch (ReplaceThroughTemporary(target, bytes, exists ? &st : nullptr)) {
    case Outcome::kDone:
      return true;
    case Outcome::kNoTemporary:
      return exists && RewriteInPlace(target, bytes);
    case Outcome::kFailed:
      break;
  }
  return false;
}

}  // namespace platform
