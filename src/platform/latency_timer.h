#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::platform {

// How long a USB serial adapter holds received bytes before it passes them on, as its driver
// publishes it.
struct LatencyTimer {
  std::string path;  // the file that sets it
  std::uint32_t ms = 0;
};

// The port's latency timer, where its driver publishes one; nothing on Windows, where the
// driver's own settings page holds it.
std::optional<LatencyTimer> FindLatencyTimer(std::string_view port);

// POSIX only: the same under another system root (sysfs), for tests.
std::optional<LatencyTimer> FindLatencyTimer(std::string_view port, std::string_view sysRoot);

}  // namespace vantrel::platform
