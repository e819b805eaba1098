#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace vantrel::testing {

// A clock the test moves by hand.
class FakeClock final : public platform::Clock {
 public:
  explicit FakeClock(std::uint32_t start = 0) : now_(start) {}
  std::uint32_t NowMs() override { return now_; }
  void Sleep(std::uint32_t ms) override { now_ += ms; }
  void Advance(std::uint32_t ms) { now_ += ms; }
  void Set(std::uint32_t ms) { now_ = ms; }

 private:
  std::uint32_t now_;
};

}  // namespace vantrel::testing
