// Readable names for the cases of value-parameterised tests, so that test
// lists and ctest show what a case is instead of the bytes of its value.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace test_names {

// A text as a test name: letters and digits stay, line breaks and TABs are
// spelt out, any other byte becomes "_" or its hex value ("x80"); the empty
// text is "Empty".
inline std::string Escaped(std::string_view text) {
  if (text.empty()) return "Empty";
  std::string name;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
      name.push_back(c);
    } else if (c == '\r') {
      name += "Cr";
    } else if (c == '\n') {
      name += "Lf";
    } else if (c == '\t') {
      name += "Tab";
    } else if (b >= 0x80) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "x%02X", b);
      name += hex;
    } else {
      name.push_back('_');
    }
  }
  return name;
}

// For a text parameter, such as the form "SP" or "PT" of a script.
struct Text {
  template <class T>
  std::string operator()(const ::testing::TestParamInfo<T>& info) const {
    return Escaped(info.param);
  }
};

// For a case with a `name` member.
struct Named {
  template <class T>
  std::string operator()(const ::testing::TestParamInfo<T>& info) const {
    return info.param.name;
  }
};

}  // namespace test_names
