#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace vantrel::testing {

// Builds S-record text for tests: S3 data records and an S7 end record.
class SrecWriter {
 public:
  // Adds one data record (up to 250 bytes).
  SrecWriter& Data(std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
    lines_ += Record('3', address, bytes) + "\n";
    for (std::size_t i = 0; i < bytes.size(); ++i)
      image_[address + static_cast<std::uint32_t>(i)] = bytes[i];
    return *this;
  }
  // Adds `size` pseudo-random bytes from `address` in records of `perRecord` bytes.
  SrecWriter& Fill(std::uint32_t address, std::uint32_t size, std::uint32_t seed = 1,
                   std::uint32_t perRecord = 32) {
    std::uint32_t x = seed * 2654435761u + 1;
    for (std::uint32_t done = 0; done < size;) {
      const std::uint32_t n = std::min(perRecord, size - done);
      std::vector<std::uint8_t> bytes(n);
      for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 16);
      }
      Data(address + done, bytes);
      done += n;
    }
    return *this;
  }
  std::string Text() const { return lines_ + Record('7', 0, {}) + "\n"; }
  // Every byte the records supply, by address.
  const std::map<std::uint32_t, std::uint8_t>& image() const { return image_; }

  static std::string Record(char type, std::uint32_t address,
                            const std::vector<std::uint8_t>& data) {
    const int addressBytes = (type == '1' || type == '9' || type == '0') ? 2
                             : (type == '2' || type == '8')              ? 3
                                                                         : 4;
    std::vector<std::uint8_t> body;
    for (int i = addressBytes - 1; i >= 0; --i)
      body.push_back(static_cast<std::uint8_t>(address >> (8 * i)));
    body.insert(body.end(), data.begin(), data.end());
    const auto count = static_cast<std::uint8_t>(body.size() + 1);
    unsigned sum = count;
    std::string out = "S";
    out += type;
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", count);
    out += hex;
    for (auto b : body) {
      std::snprintf(hex, sizeof hex, "%02X", b);
      out += hex;
      sum += b;
    }
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(~sum & 0xFFu));
    out += hex;
    return out;
  }

 private:
  std::string lines_;
  std::map<std::uint32_t, std::uint8_t> image_;
};

}  // namespace vantrel::testing
