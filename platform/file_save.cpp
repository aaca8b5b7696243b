// Saving by replacement; see file_save.h.
#include "platform/file_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/codepage.h"

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

// Read-only by its permission bits or for this process. The bits count
// also for a process that may write anyway (root), so that a file the
// user marked read-only is never replaced.
bool ReadOnly(const std::string& path, const struct stat& st) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// The temporary file: created beside the target, so that the rename stays
// on one file system, under a name no one else uses.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& path) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = folder + "/." + name + ".saving-" + std::to_string(::getpid()) + "-" +
           std::to_string(++counter);
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

}  // namespace

FileOps* SetFileOps(FileOps* ops) {
  FileOps* previous = g_ops;
  g_ops = ops;
  return previous;
}

bool ReplaceFileContents(std::string_view path, std::string_view bytes) {
  std::string target = GbkToUtf8(path);
  if (target.empty() || target.front() != '/' || target.back() == '/') return false;

  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists) {
    if (!S_ISREG(st.st_mode) || ReadOnly(target, st)) return false;
    // A link is kept: the file it leads to is the one replaced.
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(target.c_str(), nullptr),
                                                     &std::free);
    if (!real) return false;
    target = real.get();
  } else if (errno != ENOENT) {
    return false;
  }

  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == 0 ? std::string("/") : target.substr(0, slash);
  const std::string name = target.substr(slash + 1);
  struct stat folderStat {};
  if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode) ||
      ReadOnly(folder, folderStat))
    return false;

  std::string temporary;
  const int fd = CreateTemporary(slash == 0 ? std::string() : folder, name, temporary);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  if (ok && exists) {
    ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    // Only a privileged process may give the new file to the old owner;
    // for any other the file is the saver's own, as a rewrite would leave it.
    const bool sameOwner = st.st_uid == ::geteuid() && st.st_gid == ::getegid();
    if (ok && !sameOwner && ::fchown(fd, st.st_uid, st.st_gid) != 0) errno = 0;
  }
  ok = ok && Ops().Sync(fd) == 0;
  ok = Ops().Close(fd) == 0 && ok;
  ok = ok && Ops().Rename(temporary, target) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(folder);
  return true;
}

}  // namespace platform
