// Saving a file so that it is never seen half written: the bytes go to a
// temporary file in the same folder, which is flushed to the disk and then
// renamed over the target. A save that fails at any step, or is
// interrupted, leaves the old file whole and removes the temporary one.
// Where the folder takes no new file, a file that may be written is
// written over in place instead.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The file operations of a save, each as its POSIX call (result, errno).
// Tests install their own to make a save fail part way, as the headless
// backend stands in for the screen.
class FileOps {
 public:
  virtual ~FileOps() = default;
  virtual int Open(const std::string& path, int flags, unsigned mode);
  virtual long Write(int fd, const char* data, std::size_t size);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
};

// Installs `ops` for every later save (nullptr: the real ones) and returns
// the ones it replaces. GUI thread, like every save.
FileOps* SetFileOps(FileOps* ops);

// Replaces the content of the file `path` (as the system names it, see
// files.h) by `bytes`, creating it when it does not exist; a file that
// exists keeps its permissions (and, where allowed, its owner). A symbolic
// link is saved through: the file it leads to (through every further link,
// and created when it is missing) takes the bytes, and the link stays a
// link.
//
// False, with nothing changed, for a path that is empty, holds a zero byte,
// is relative or names a folder or anything but a regular file, for a
// read-only file, for a new file in a folder that is missing or read-only,
// and for any step that fails. A writable file in a folder that takes no
// new file (read-only to the user, or immutable) is written over in place,
// flushed to the disk and truncated to the new size; that save too is true
// only when every step succeeded, but one that fails part way may leave the
// file partly written.
bool ReplaceFileContents(std::string_view path, std::string_view bytes);

}  // namespace platform
