#pragma once

#include <cstdint>
#include <string>

#include "core/format.h"

namespace vantrel {

// Status and failure texts that both boot protocols show.
inline constexpr const char* kEraseWaitFormat = "消去完了待ち\u3000%2d/30 [秒]";
// Both protocols give the target this long to erase its flash.
inline constexpr std::int32_t kEraseWaitMs = 30000;

// The erase wait's status line: the whole seconds gone, with remainingMs left of kEraseWaitMs.
inline std::string EraseWaitStatus(std::int32_t remainingMs) {
  return Format(kEraseWaitFormat, (kEraseWaitMs - remainingMs) / 1000);
}
inline constexpr const char* kVerifyingFormat = "ベリファイ中：Address = %06XH";
inline constexpr const char* kVerifyMismatch = "ベリファイ不一致";

}  // namespace vantrel
