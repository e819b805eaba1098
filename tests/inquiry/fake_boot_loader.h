#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "support/scripted_device.h"

namespace vantrel::testing {

// A response frame with its checksum: code, size (one or two bytes), data, checksum.
inline std::vector<std::uint8_t> Frame(std::uint8_t code, const std::vector<std::uint8_t>& data,
                                       bool twoByteSize = false) {
  std::vector<std::uint8_t> frame{code};
  if (twoByteSize) frame.push_back(static_cast<std::uint8_t>(data.size() >> 8));
  frame.push_back(static_cast<std::uint8_t>(data.size()));
  frame.insert(frame.end(), data.begin(), data.end());
  std::uint8_t sum = 0;
  for (auto b : frame) sum = static_cast<std::uint8_t>(sum + b);
  frame.push_back(static_cast<std::uint8_t>(0x100 - sum));
  return frame;
}

// One device entry of the 0x30 answer: character count, 4-character code, product name.
inline void AddDevice(std::vector<std::uint8_t>& data, const std::string& code,
                      const std::string& name) {
  data.push_back(static_cast<std::uint8_t>(code.size() + name.size()));
  data.insert(data.end(), code.begin(), code.end());
  data.insert(data.end(), name.begin(), name.end());
}

inline void AddU32(std::vector<std::uint8_t>& data, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    data.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Plays the boot loader of an inquiry/selection target: collects each command the host sends
// (bare bytes, or framed 0x10, 0x11, 0x3F) and queues the reply set for its command byte. A
// command without a reply is met with silence.
class FakeBootLoader {
 public:
  FakeBootLoader() {
    std::vector<std::uint8_t> devices{2};
    AddDevice(devices, "A001", "X1");
    AddDevice(devices, "B002", "X2");
    replies[0x20] = Frame(0x30, devices);
    replies[0x10] = {0x06};
    replies[0x21] = Frame(0x31, {2, 0, 1});
    replies[0x11] = {0x06};
    replies[0x22] = Frame(0x32, {2, 2, 4, 8, 1, 0xFE});
    replies[0x23] = Frame(0x33, {1, 0x03, 0xE8, 0x4E, 0x20});
    std::vector<std::uint8_t> bootMat{1};
    AddU32(bootMat, 0x00000000);
    AddU32(bootMat, 0x00001FFF);
    replies[0x24] = Frame(0x34, bootMat);
    std::vector<std::uint8_t> userMat{1};
    AddU32(userMat, 0x00000000);
    AddU32(userMat, 0x0001FFFF);
    replies[0x25] = Frame(0x35, userMat);
    std::vector<std::uint8_t> blocks{2};
    AddU32(blocks, 0x00000000);
    AddU32(blocks, 0x00000FFF);
    AddU32(blocks, 0x00001000);
    AddU32(blocks, 0x00001FFF);
    replies[0x26] = Frame(0x36, blocks, true);
    replies[0x27] = Frame(0x37, {0x00, 0x80});
    replies[0x3F] = {0x06};
    replies[0x06] = {0x06};
    replies[0x40] = {0x06};
    replies[0x42] = {0x06};
    replies[0x43] = {0x06};
  }

  void Attach(ScriptedDevice::State& line) {
    line.responder = [this](std::uint8_t byte, ScriptedDevice::State& s) { OnByte(byte, s); };
  }

  std::map<std::uint8_t, std::vector<std::uint8_t>> replies;
  std::vector<std::vector<std::uint8_t>> commands;  // every complete command, as sent

  std::vector<std::uint8_t> CommandBytes() const {
    std::vector<std::uint8_t> firsts;
    for (const auto& c : commands) firsts.push_back(c.front());
    return firsts;
  }
  const std::vector<std::uint8_t>* Find(std::uint8_t command) const {
    for (const auto& c : commands)
      if (c.front() == command) return &c;
    return nullptr;
  }

 private:
  static bool Framed(std::uint8_t command) {
    return command == 0x10 || command == 0x11 || command == 0x3F;
  }

  void OnByte(std::uint8_t byte, ScriptedDevice::State& s) {
    pending_.push_back(byte);
    if (Framed(pending_[0]) && (pending_.size() < 2 || pending_.size() < pending_[1] + 3u)) return;
    commands.push_back(pending_);
    const auto reply = replies.find(pending_[0]);
    if (reply != replies.end()) s.Feed(reply->second);
    pending_.clear();
  }

  std::vector<std::uint8_t> pending_;
};

}  // namespace vantrel::testing
