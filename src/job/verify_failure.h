#pragma once

#include <string_view>

namespace vantrel {

// What a failed verification saw: only a mismatch means the flash holds a wrong byte.
enum class VerifyFailure {
  None,
  Mismatch,   // a byte read back differs from the program
  Address,    // the classic address echo differs from the address sent
  Header,     // the read answer's code or length differs
  Checksum,   // the read answer does not add up
  Timeout,    // an answer, or the rest of one, did not come in time
  BlockSize,  // the block is too large to be read back
};

// The failure's name in the report and the log.
constexpr std::string_view VerifyFailureName(VerifyFailure f) {
  switch (f) {
    case VerifyFailure::None:
      return "";
    case VerifyFailure::Mismatch:
      return "mismatch";
    case VerifyFailure::Address:
      return "address";
    case VerifyFailure::Header:
      return "header";
    case VerifyFailure::Checksum:
      return "checksum";
    case VerifyFailure::Timeout:
      return "timeout";
    case VerifyFailure::BlockSize:
      return "block-size";
  }
  return "";
}

}  // namespace vantrel
