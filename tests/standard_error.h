// The lines that the process writes to standard error while a capture
// lives: for the tests of what a program may print there.
#pragma once

#include <string>
#include <vector>

#include "platform/standard_error.h"

namespace test_output {

class StandardErrorText {
 public:
  // Ends the capture; the lines written meanwhile, a last one without a
  // line break included.
  std::vector<std::string> Lines() {
    const std::string text = capture_.End();
    std::vector<std::string> lines;
    for (std::size_t from = 0; from < text.size();) {
      const std::size_t end = text.find('\n', from);
      lines.push_back(text.substr(from, end == std::string::npos ? std::string::npos : end - from));
      from = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
  }

 private:
  platform::StandardErrorCapture capture_;
};

}  // namespace test_output
