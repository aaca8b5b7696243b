// The script fixtures as the engine's tests read them (GBK, CR LF).
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "engine/rebuild.h"

namespace engine_test {

inline std::string Fixture(std::string_view stem, ScriptForm form) {
  const std::string path = std::string(SE_FIXTURES_DIR) + "/scripts/" + std::string(stem) +
                           (form == ScriptForm::Sp ? ".sp.txt" : ".pt.txt");
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace engine_test
