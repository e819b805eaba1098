#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <numeric>
#include <string_view>
#include <vector>

#include "simulator/inquiry_boot_loader.h"

namespace vantrel::simulator::testing {

using Bytes = std::vector<std::uint8_t>;

// The target's line as the test sees it: what was sent, at which rate.
class RecordingLine final : public Line {
 public:
  using Line::Send;
  void Send(std::uint8_t byte) override {
    sent.push_back(byte);
    sentBaud.push_back(baud);
  }
  std::uint32_t ListeningBaud() const override { return baud; }
  void SetListeningBaud(std::uint32_t b) override {
    baud = b;
    baudChanges.push_back(b);
  }
  void HangUp() override { hungUp = true; }

  Bytes Take() {
    Bytes out;
    out.swap(sent);
    sentBaud.clear();
    return out;
  }

  Bytes sent;
  std::vector<std::uint32_t> sentBaud;
  std::vector<std::uint32_t> baudChanges;
  std::uint32_t baud = 9600;
  bool hungUp = false;
};

inline std::uint8_t Checksum(const Bytes& bytes) {
  return static_cast<std::uint8_t>(0x100 - std::accumulate(bytes.begin(), bytes.end(), 0u));
}

inline Bytes WithChecksum(Bytes bytes) {
  bytes.push_back(Checksum(bytes));
  return bytes;
}

inline Bytes Frame(std::uint8_t command, const Bytes& data) {
  Bytes f{command, static_cast<std::uint8_t>(data.size())};
  f.insert(f.end(), data.begin(), data.end());
  return WithChecksum(f);
}

inline Bytes Big(std::uint32_t value, int bytes) {
  Bytes out;
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return out;
}

inline Bytes ProgramFrame(std::uint32_t address, const Bytes& data) {
  Bytes f{0x50};
  for (auto b : Big(address, 4)) f.push_back(b);
  f.insert(f.end(), data.begin(), data.end());
  return WithChecksum(f);
}

inline Bytes ReadFrame(std::uint8_t area, std::uint32_t address, std::uint32_t length) {
  Bytes data{area};
  for (auto b : Big(address, 4)) data.push_back(b);
  for (auto b : Big(length, 4)) data.push_back(b);
  return Frame(0x52, data);
}

inline Bytes Code(std::string_view code) {
  return Bytes(code.begin(), code.end());
}

inline const Bytes kEndOfProgramming{0x50, 0xFF, 0xFF, 0xFF, 0xFF, 0xB4};
// 115200 bit/s, clock 2000, ratios 4 and 2: what the sample's host definitions send.
inline const Bytes kBitRate115200 = Frame(0x3F, {0x04, 0x80, 0x07, 0xD0, 0x02, 0x04, 0x02});

// A loader over the sample description (or the test's own), fed one byte per millisecond.
class InquiryLoaderTest : public ::testing::Test {
 protected:
  void Make() { loader = std::make_unique<InquiryBootLoader>(config, flash); }
  InquiryBootLoader& L() {
    if (!loader) Make();
    return *loader;
  }
  void Feed(const Bytes& bytes) {
    for (auto b : bytes) {
      now += 1000;
      L().OnByte(b, now, line);
    }
  }
  void Wait(std::uint64_t us) {
    now += us;
    L().Advance(now, line);
  }
  // Device, clock mode and 115200 bit/s selected and confirmed.
  void Select() {
    Feed(Frame(0x10, Code("VT01")));
    Feed(Frame(0x11, {0x00}));
    Feed(kBitRate115200);
    Wait(5000);
    Feed({0x06});
    ASSERT_EQ(line.Take(), (Bytes{0x06, 0x06, 0x06, 0x06}));
  }
  // Selected, erased and the user mat chosen.
  void Programming() {
    Select();
    Feed({0x40});
    Wait(std::uint64_t{config.eraseMs} * 1000);
    Feed({0x43});
    ASSERT_EQ(line.Take(), (Bytes{0x06, 0x06}));
  }

  InquiryConfig config;
  Flash flash{0, 0x40000};
  RecordingLine line;
  std::uint64_t now = 0;
  std::unique_ptr<InquiryBootLoader> loader;
};

}  // namespace vantrel::simulator::testing
