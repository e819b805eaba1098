#include <filesystem>
#include <fstream>

#include "platform/latency_timer.h"
#include "platform/serial_device.h"
#include "platform/text.h"

namespace vantrel::platform {

namespace fs = std::filesystem;

std::optional<LatencyTimer> FindLatencyTimer(std::string_view port, std::string_view sysRoot) {
  // /dev/serial/by-id/... and other links name the tty only through their target.
  std::error_code ec;
  fs::path device = ResolvePortName(port);
  if (const fs::path real = fs::canonical(device, ec); !ec) device = real;
  const fs::path entry = fs::path(sysRoot) / "class/tty" / device.filename() / "device";
  fs::path dir = fs::canonical(entry, ec);
  if (ec) return std::nullopt;
  // Some drivers keep it on the tty's device, others on the USB interface above it.
  for (int up = 0; up <= 2 && dir.has_relative_path(); ++up, dir = dir.parent_path()) {
    const fs::path file = (up == 0 ? entry : dir) / "latency_timer";
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) continue;
    const auto ms = ParseUnsigned(TrimBlanks(line), 0xFFFFFFFFu);
    if (!ms) return std::nullopt;
    return LatencyTimer{file.string(), static_cast<std::uint32_t>(*ms)};
  }
  return std::nullopt;
}

std::optional<LatencyTimer> FindLatencyTimer(std::string_view port) {
  return FindLatencyTimer(port, "/sys");
}

}  // namespace vantrel::platform
