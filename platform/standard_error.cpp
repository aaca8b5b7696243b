// See standard_error.h. The capture swaps file descriptor 2, so it covers
// every writer in the process, C stdio and raw writes alike.
#include "platform/standard_error.h"

#include <unistd.h>

namespace platform {

StandardErrorCapture::StandardErrorCapture() {
  std::fflush(stderr);
  file_ = std::tmpfile();
  if (file_ == nullptr) return;
  saved_ = ::dup(STDERR_FILENO);
  if (saved_ >= 0 && ::dup2(::fileno(file_), STDERR_FILENO) < 0) {
    ::close(saved_);
    saved_ = -1;
  }
}

StandardErrorCapture::~StandardErrorCapture() {
  End();
}

std::string StandardErrorCapture::End() {
  std::string text;
  if (saved_ >= 0) {
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
    std::rewind(file_);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
      text.append(buffer, n);
  }
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  return text;
}

}  // namespace platform
