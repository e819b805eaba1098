#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/child_process.h"

namespace vantrel::testing {

// A virtual X display for the test program, on a display number no one else uses.
class Xvfb final : public ::testing::Environment {
 public:
  void SetUp() override {
    for (int n = 100 + ::getpid() % 400, tries = 0; tries < 20; ++n, ++tries) {
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      if (std::filesystem::exists(socket) ||
          std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock"))
        continue;
      server_.emplace(std::vector<std::string>{"/usr/bin/Xvfb", ":" + std::to_string(n), "-screen",
                                               "0", "1024x768x24", "-nolisten", "tcp"});
      for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i) ::usleep(20000);
      // Another test may have taken the number at the same moment: then ours has ended.
      if (std::filesystem::exists(socket) && !server_->Wait(200).has_value()) {
        ::setenv("DISPLAY", (":" + std::to_string(n)).c_str(), 1);
        ::unsetenv("QT_QPA_PLATFORM");
        return;
      }
      server_.reset();
    }
    FAIL() << "Xvfb did not start (is it installed?)";
  }
  void TearDown() override {
    if (!server_) return;
    server_->Signal(SIGTERM);  // lets it remove its lock and socket
    server_->Wait(3000);
    server_.reset();
  }

 private:
  std::optional<ChildProcess> server_;
};

}  // namespace vantrel::testing
