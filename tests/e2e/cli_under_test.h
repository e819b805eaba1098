#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace vantrel::testing {

// How the end-to-end tests start vantrel-cli: the Linux program, or (test_e2e_wine)
// vantrel-cli.exe of the Windows build under Wine, given Windows paths and a COM port of the
// project's own Wine prefix that is mapped onto the simulated target's pseudo-terminal.
#ifdef VANTREL_E2E_WINE
inline constexpr bool kUnderWine = true;
#else
inline constexpr bool kUnderWine = false;
#endif

inline std::vector<std::string> CliCommand(const std::vector<std::string>& args) {
  std::vector<std::string> argv;
#ifdef VANTREL_E2E_WINE
  argv = {std::string(VANTREL_SOURCE_DIR) + "/scripts/wine-run",
          std::string(VANTREL_WINDOWS_BIN_DIR) + "/vantrel-cli.exe"};
#else
  argv = {std::string(VANTREL_BIN_DIR) + "/vantrel-cli"};
#endif
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

// A Linux path as vantrel-cli names it: under Wine on drive Z:, which is the root folder.
inline std::string CliPath(const std::string& path) {
  if (!kUnderWine) return path;
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

// The port name vantrel-cli opens to reach a pseudo-terminal. Under Wine a free COMn link in the
// prefix's dosdevices folder, made atomically so that tests running side by side never share one.
class CliPort {
 public:
  explicit CliPort(const std::string& pty) {
    if (!kUnderWine) {
      name_ = pty;
      return;
    }
    const std::string devices = WinePrefix() + "/dosdevices";
    if (!std::filesystem::exists(devices)) {
      // The first Wine program makes the prefix.
      ChildProcess prime(
          {std::string(VANTREL_SOURCE_DIR) + "/scripts/wine-run", "cmd", "/c", "exit"});
      prime.Wait(120000);
    }
    for (int n = 10; n < kMissingPort && name_.empty(); ++n) {
      const std::string link = devices + "/com" + std::to_string(n);
      if (::symlink(pty.c_str(), link.c_str()) == 0) {
        link_ = link;
        name_ = "COM" + std::to_string(n);
      }
    }
  }
  ~CliPort() {
    if (!link_.empty()) ::unlink(link_.c_str());
  }
  CliPort(const CliPort&) = delete;
  CliPort& operator=(const CliPort&) = delete;

  const std::string& name() const { return name_; }

  // A port name that names nothing: under Wine a COM port no test maps.
  static std::string Missing(const std::string& folder) {
    return kUnderWine ? "COM" + std::to_string(kMissingPort) : folder + "/no-such-port";
  }

 private:
  static constexpr int kMissingPort = 99;

  static std::string WinePrefix() {
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix ? prefix : std::string(VANTREL_SOURCE_DIR) + "/build-windows/wineprefix";
  }

  std::string name_;
  std::string link_;
};

// What vantrel-cli printed, with Windows line ends made plain.
inline std::string CliText(std::string text) {
  std::string::size_type at = 0;
  while ((at = text.find("\r\n", at)) != std::string::npos) text.erase(at, 1);
  return text;
}

}  // namespace vantrel::testing
