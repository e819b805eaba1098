#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

// The bytes the program files supply to the ROM window, and which file supplied each. A byte
// outside the window is dropped, as the job's loader drops it.
class SuppliedBytes {
 public:
  explicit SuppliedBytes(std::uint32_t romBase);

  // A byte of file number `file` (1 to 255). A file may supply a byte again; another file may not.
  void Put(std::uint32_t address, std::uint8_t byte, std::uint8_t file);

  // The lowest address two files both supply.
  struct Overlap {
    std::uint32_t address = 0;
    std::uint8_t first = 0;  // the files, in the order they supplied it
    std::uint8_t second = 0;
  };
  const std::optional<Overlap>& overlap() const { return overlap_; }

  // S-records of every byte supplied, `patch` over them from `patchAddress` on: an S0 header,
  // S3 data records and an S7 end record. The patch must lie in the window.
  std::string SRecordText(std::span<const std::uint8_t> patch = {},
                          std::uint32_t patchAddress = 0) const;

  // The first of `count` bytes from `address` that a file supplies as anything but 0xFF, the
  // erased value a program may leave as room; with the number of its file.
  struct Covered {
    std::uint32_t address = 0;
    std::uint8_t byte = 0;
    std::uint8_t file = 0;
  };
  std::optional<Covered> FirstProgramByte(std::uint32_t address, std::size_t count) const;

  std::uint32_t romBase() const { return romBase_; }

 private:
  std::uint32_t romBase_;
  std::vector<std::uint8_t> bytes_;
  std::vector<std::uint8_t> owner_;  // 0: supplied by no file
  std::optional<Overlap> overlap_;
};

}  // namespace vantrel
