// The simulated target's device description (vantrel-target --device FILE): a refusal names the
// file; an accepted one holds a flash of a size the target can keep.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "simulator/device_description.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel::simulator;
  std::string error;
  const auto d = ParseDeviceDescription(std::string_view(reinterpret_cast<const char*>(data), size),
                                        "fuzz.dev", &error);
  if (!d) {
    if (!error.starts_with("fuzz.dev")) __builtin_trap();
    return 0;
  }
  const std::uint32_t user = d->UserMatSpan().size;
  if (d->devices.empty() || user == 0 || user > kMaxMatSpan) __builtin_trap();
  if (d->UserBootMatSpan().size > kMaxMatSpan) __builtin_trap();
  return 0;
}
