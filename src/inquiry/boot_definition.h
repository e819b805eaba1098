#pragma once

#include <cstdint>
#include <string>

namespace vantrel {

inline constexpr std::int32_t kMissingInteger = -10000;
inline constexpr const char* kMissingText = "Undefined";

// The BootDef section of an .inf write-control file.
struct BootDefinition {
  std::string DeviceName = kMissingText;
  std::int32_t UserMatRdf = kMissingInteger;
  std::string BaudP = kMissingText;
  std::int32_t ClockFreq = kMissingInteger;
  std::int32_t MatType = kMissingInteger;
  std::int32_t ClockMode = kMissingInteger;
  std::int32_t MulRatioNo = kMissingInteger;
  std::int32_t MulRatio1 = kMissingInteger;
  std::int32_t MulRatio2 = kMissingInteger;
  std::int32_t MulRatio3 = kMissingInteger;
  std::int32_t MulRatio4 = kMissingInteger;
};

}  // namespace vantrel
