#pragma once

namespace vantrel {

// Status and failure texts that both boot protocols show.
inline constexpr const char* kEraseWaitFormat = "消去完了待ち\u3000%2d/30 [秒]";
inline constexpr const char* kVerifyingFormat = "ベリファイ中：Address = %06XH";
inline constexpr const char* kVerifyMismatch = "ベリファイ不一致";

}  // namespace vantrel
