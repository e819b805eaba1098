#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vantrel::cli {

// SHA-256, fed in pieces.
class Sha256 {
 public:
  Sha256();
  void Update(std::span<const std::uint8_t> bytes);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();

 private:
  void Compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t totalBytes_ = 0;
};

// The digest of a file's bytes; nothing when it cannot be read.
std::optional<std::string> FileSha256(const std::string& path);

}  // namespace vantrel::cli
