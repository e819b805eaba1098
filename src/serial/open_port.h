#pragma once

#include <string_view>

#include "core/window_display.h"
#include "serial/comm_ctrl.h"

namespace vantrel {

inline constexpr const char* kPortOpenOk = "\u3000ＣＯＭポート初期化 ＯＫ\u3000";
inline constexpr const char* kPortOpenNg = "\u3000ＣＯＭポート初期化 ＮＧ\u3000";

// (Re)opens the port chosen in ComboBoxComPort at the given baud text, 8N1 without flow control.
// A failure is always announced; success only when asked. Callers do not learn the outcome.
void OpenPort(CommCtrl& port, WindowDisplay& display, std::string_view baudText, bool announce);

}  // namespace vantrel
