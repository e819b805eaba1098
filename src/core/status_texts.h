#pragma once

#include <cstdint>
#include <string>

#include "core/format.h"

namespace vantrel {

// Status and failure texts that both boot protocols show.
inline constexpr const char* kEraseWaitFormat = "消去完了待ち\u3000%2d/30 [秒]";
// Both protocols give the target this long to erase its flash.
inline constexpr std::int32_t kEraseWaitMs = 30000;

// The erase wait's whole seconds gone, with remainingMs left of kEraseWaitMs.
inline std::int32_t EraseWaitSeconds(std::int32_t remainingMs) {
  return (kEraseWaitMs - remainingMs) / 1000;
}
inline constexpr const char* kVerifyingFormat = "ベリファイ中：Address = %06XH";
// Both the idle status line and the message of a job started without a user program.
inline constexpr const char* kChooseFileText = "書き込むファイルを設定して下さい";
inline constexpr const char* kVerifyMismatch = "ベリファイ不一致";

}  // namespace vantrel
