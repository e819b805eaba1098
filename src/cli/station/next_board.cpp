#include "cli/station/next_board.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/clock.h"
#include "platform/interrupt_flag.h"
#include "platform/serial_device.h"

namespace vantrel::cli {
namespace {

// Short enough that no unplugging goes unseen, long enough to cost no CPU time.
constexpr std::uint32_t kLookEveryMs = 150;

}  // namespace

bool ReplugWatch::Look(const std::vector<bool>& present) {
  for (std::size_t i = 0; i < gone_.size() && i < present.size(); ++i) {
    if (!present[i]) gone_[i] = true;
  }
  return std::all_of(gone_.begin(), gone_.end(), [](bool gone) { return gone; }) &&
         std::all_of(present.begin(), present.end(), [](bool there) { return there; });
}

namespace {

// The ports by name, for the line that says what the station waits for.
std::string Named(const std::vector<std::string>& ports) {
  std::string text;
  for (const auto& port : ports) text += (text.empty() ? "" : ", ") + port;
  return text;
}

// what: "the next board on PORTS: unplug and plug in", say.
bool WaitForBoards(const std::vector<std::string>& ports, platform::EnterKey& key,
                   ReplugWatch watch, const std::string& what) {
  key.Discard();
  std::fprintf(stderr, "waiting for %s%s\n", what.c_str(), key.usable() ? ", or press Enter" : "");
  std::fflush(stderr);
  // Only asked whether the port is there: opening it would raise DTR and RTS, and reset a board.
  const std::unique_ptr<platform::SerialDevice> device = platform::MakeSystemSerialDevice();
  std::vector<bool> present(ports.size());
  while (!platform::InterruptRequested()) {
    for (std::size_t i = 0; i < ports.size(); ++i) present[i] = device->Exists(ports[i]);
    if (watch.Look(present)) return true;
    if (key.WaitForPress(kLookEveryMs) == platform::EnterKey::Wait::Pressed) return true;
    if (!key.usable()) platform::SleepMs(kLookEveryMs);
  }
  return false;
}

}  // namespace

bool WaitForNextBoard(const std::vector<std::string>& ports, platform::EnterKey& key) {
  return WaitForBoards(ports, key, ReplugWatch(ports.size()),
                       "the next board on " + Named(ports) + ": unplug and plug in");
}

bool WaitForFirstBoard(const std::vector<std::string>& ports, platform::EnterKey& key) {
  const std::unique_ptr<platform::SerialDevice> device = platform::MakeSystemSerialDevice();
  // A job file names its port only once its job reads it.
  std::vector<std::string> missing;
  for (const auto& port : ports) {
    if (!port.empty() && !device->Exists(port)) missing.push_back(port);
  }
  if (missing.empty()) return true;
  return WaitForBoards(ports, key, ReplugWatch(ports.size(), true),
                       "the first board on " + Named(missing) + ": plug it in");
}

std::optional<std::string> PortNeverThere(const std::vector<std::string>& ports) {
  for (const auto& port : ports) {
    const std::string why = platform::NeverAPort(port);
    if (!why.empty()) return "--port " + port + " can never be a port: " + why;
  }
  return std::nullopt;
}

}  // namespace vantrel::cli
