#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/serial_device.h"

namespace vantrel::testing {

// A serial device whose far end is the test: it records every byte written and hands out the
// bytes the test queued. An optional responder sees each written byte and may queue answers.
class ScriptedDevice final : public platform::SerialDevice {
 public:
  struct State {
    std::vector<std::uint8_t> written;
    std::deque<std::uint8_t> incoming;
    std::function<void(std::uint8_t, State&)> responder;
    bool open = false;
    bool failOpen = false;
    bool failConfigure = false;
    bool lineLost = false;
    bool dtr = false;
    bool rts = false;
    int opens = 0;
    int closes = 0;
    platform::LineSettings settings{};
    std::uint32_t writeMultiplierMs = 0;
    std::uint32_t writeConstantMs = 0;
    std::string portName;

    void Feed(std::initializer_list<std::uint8_t> bytes) { incoming.insert(incoming.end(), bytes); }
    void Feed(std::span<const std::uint8_t> bytes) {
      incoming.insert(incoming.end(), bytes.begin(), bytes.end());
    }
  };

  // The state outlives the device, which CommCtrl owns.
  explicit ScriptedDevice(State& state) : s_(state) {}

  bool Open(std::string_view portName) override {
    if (s_.failOpen || s_.open) return false;
    s_.open = true;
    s_.lineLost = false;
    s_.portName = portName;
    ++s_.opens;
    return true;
  }
  bool IsOpen() const override { return s_.open; }
  bool Configure(const platform::LineSettings& settings) override {
    s_.settings = settings;
    return !s_.failConfigure;
  }
  bool SetWriteTimeout(std::uint32_t multiplierMs, std::uint32_t constantMs) override {
    s_.writeMultiplierMs = multiplierMs;
    s_.writeConstantMs = constantMs;
    return true;
  }
  bool SetDtr(bool on) override {
    s_.dtr = on;
    return true;
  }
  bool SetRts(bool on) override {
    s_.rts = on;
    return true;
  }
  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    if (!s_.open) return 0;
    for (auto b : bytes) {
      s_.written.push_back(b);
      if (s_.responder) s_.responder(b, s_);
    }
    return bytes.size();
  }
  std::size_t Read(std::span<std::uint8_t> buffer) override {
    if (!s_.open) return 0;
    std::size_t n = 0;
    while (n < buffer.size() && !s_.incoming.empty()) {
      buffer[n++] = s_.incoming.front();
      s_.incoming.pop_front();
    }
    return n;
  }
  void Close() override {
    s_.open = false;
    ++s_.closes;
  }
  bool LineLost() const override { return s_.lineLost; }
  bool Exists(std::string_view) const override { return true; }

 private:
  State& s_;
};

}  // namespace vantrel::testing
