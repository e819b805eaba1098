#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "support/child_process.h"

namespace vantrel::testing {

// A virtual X display for the test program. Xvfb picks a free display number itself and prints
// it once it accepts connections, so tests running side by side never share or race for one.
class Xvfb final : public ::testing::Environment {
 public:
  void SetUp() override {
    server_.emplace(std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0",
                                             "1024x768x24", "-nolisten", "tcp"});
    const auto number = server_->ReadLine(20000);
    ASSERT_TRUE(number && !number->empty())
        << "Xvfb did not start (is it installed?) " << server_->err();
    ::setenv("DISPLAY", (":" + *number).c_str(), 1);
    ::unsetenv("QT_QPA_PLATFORM");
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
