#pragma once

#include <string_view>

#include "core/job_events.h"
#include "serial/comm_ctrl.h"

namespace vantrel {

inline constexpr const char* kPortOpenOk = "\u3000ＣＯＭポート初期化 ＯＫ\u3000";
inline constexpr const char* kPortOpenNg = "\u3000ＣＯＭポート初期化 ＮＧ\u3000";

// (Re)opens the named port at the given baud text, 8N1 without flow control. A failure is always
// reported; success only when asked. Callers do not learn the outcome.
void OpenPort(CommCtrl& port, JobEvents& events, std::string_view portName,
              std::string_view baudText, bool announce);

}  // namespace vantrel
