#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace vantrel::testing {

// Names each test of a parameterised suite after its case's `name`, so that listings, ctest and
// failures say which case it is instead of dumping the case's bytes.
struct CaseName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
    return std::string(info.param.name);
  }
};

// A test name made of a text's ASCII letters and digits, each run of anything else one '_'.
inline std::string Identifier(std::string_view text) {
  std::string name;
  for (const char c : text) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (keep) {
      name += c;
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  if (name.size() > 1 && name.back() == '_') name.pop_back();
  return name.empty() ? "_" : name;
}

// The prefix and the value in upper-case hexadecimal, two digits at least: "Inquiry20".
inline std::string HexName(std::string_view prefix, unsigned value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02X", value);
  return std::string(prefix) + digits;
}

}  // namespace vantrel::testing
