// Engine texts are GBK; expectations read better in UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"

namespace engine_test {

inline std::string Utf8(std::string_view gbk) {
  return platform::GbkToUtf8(gbk);
}

inline std::vector<std::string> Utf8All(const std::vector<std::string>& gbk) {
  std::vector<std::string> out;
  for (const std::string& s : gbk) out.push_back(Utf8(s));
  return out;
}

}  // namespace engine_test
