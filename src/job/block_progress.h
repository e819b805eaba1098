#pragma once

#include <cstdint>

namespace vantrel {

// Shared by block writing, verification and the progress bar.
struct BlockProgress {
  std::uint32_t BlocksDone = 0;
  std::uint32_t BlocksTotal = 0;
};

}  // namespace vantrel
