#include "objfile/supplied_bytes.h"

#include "objfile/program_image.h"
#include "objfile/srecord_writer.h"

namespace vantrel {
namespace {

constexpr std::size_t kBytesPerRecord = 32;

}  // namespace

SuppliedBytes::SuppliedBytes(std::uint32_t romBase)
    : romBase_(romBase), bytes_(kImageSize, 0xFF), owner_(kImageSize, 0) {}

void SuppliedBytes::Put(std::uint32_t address, std::uint8_t byte, std::uint8_t file) {
  const std::uint32_t offset = address - romBase_;
  if (offset >= kImageSize) return;
  const std::uint8_t before = owner_[offset];
  if (before != 0 && before != file && (!overlap_ || address < overlap_->address)) {
    overlap_ = Overlap{address, before, file};
  }
  owner_[offset] = file;
  bytes_[offset] = byte;
}

std::optional<SuppliedBytes::Covered> SuppliedBytes::FirstProgramByte(std::uint32_t address,
                                                                      std::size_t count) const {
  for (std::size_t i = 0; i < count; ++i) {
    const auto at = static_cast<std::uint32_t>(address + i);
    const std::uint32_t offset = at - romBase_;
    if (offset < kImageSize && owner_[offset] != 0 && bytes_[offset] != 0xFF) {
      return Covered{at, bytes_[offset], owner_[offset]};
    }
  }
  return std::nullopt;
}

std::string SuppliedBytes::SRecordText(std::span<const std::uint8_t> patch,
                                       std::uint32_t patchAddress) const {
  const std::size_t patchAt = patchAddress - romBase_;
  std::string out;
  out += kSRecordHeaderLine;
  std::vector<std::uint8_t> run;
  std::size_t runStart = 0;
  for (std::size_t offset = 0; offset <= kImageSize; ++offset) {
    const bool patched = offset - patchAt < patch.size();
    const bool supplied = offset < kImageSize && (patched || owner_[offset] != 0);
    if (supplied && run.empty()) runStart = offset;
    if (supplied) run.push_back(patched ? patch[offset - patchAt] : bytes_[offset]);
    if (!run.empty() && (!supplied || run.size() == kBytesPerRecord)) {
      AppendSRecord(out, '3', static_cast<std::uint32_t>(romBase_ + runStart), run);
      run.clear();
    }
  }
  AppendSRecord(out, '7', 0, {});
  return out;
}

}  // namespace vantrel
