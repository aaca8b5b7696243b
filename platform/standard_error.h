// Standard error pointed at a scratch file for a while, so that what is
// written there meanwhile (by this program or by a library it calls) can be
// kept, shown later or dropped.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

class StandardErrorCapture {
 public:
  // From here on standard error goes to the scratch file; when no scratch
  // file can be made it stays as it is and nothing is captured.
  StandardErrorCapture();
  ~StandardErrorCapture();  // ends the capture, dropping what it holds
  StandardErrorCapture(const StandardErrorCapture&) = delete;
  StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

  // Standard error is itself again; returns what was written to it
  // meanwhile (empty after the first call).
  std::string End();

 private:
  std::FILE* file_ = nullptr;
  int saved_ = -1;
};

}  // namespace platform
