#include <windows.h>

#include <algorithm>
#include <array>

#include "platform/clock.h"
#include "platform/enter_key.h"

namespace vantrel::platform {
namespace {

HANDLE Input() {
  return ::GetStdHandle(STD_INPUT_HANDLE);
}

// Bytes a pipe holds now; false once its writer has gone.
bool PipeHolds(DWORD& available) {
  available = 0;
  return ::PeekNamedPipe(Input(), nullptr, 0, nullptr, &available, nullptr) != 0;
}

}  // namespace

EnterKey::EnterKey() {
  const HANDLE in = Input();
  DWORD mode = 0;
  if (in == nullptr || in == INVALID_HANDLE_VALUE) return;
  if (::GetFileType(in) == FILE_TYPE_CHAR && ::GetConsoleMode(in, &mode)) {
    kind_ = Kind::Terminal;
  } else if (::GetFileType(in) == FILE_TYPE_PIPE) {
    kind_ = Kind::Pipe;
  }
}

void EnterKey::Discard() {
  if (kind_ == Kind::Terminal) ::FlushConsoleInputBuffer(Input());
  DWORD available = 0;
  while (kind_ == Kind::Pipe && PipeHolds(available) && available > 0) WaitForPress(0);
}

EnterKey::Wait EnterKey::WaitForPress(std::uint32_t timeoutMs) {
  if (kind_ == Kind::None) return Wait::Gone;
  if (kind_ == Kind::Terminal) {
    // Any console event wakes the wait; only a pressed Enter counts.
    if (::WaitForSingleObject(Input(), timeoutMs) != WAIT_OBJECT_0) return Wait::NotYet;
    std::array<INPUT_RECORD, 32> events{};
    DWORD n = 0;
    if (!::ReadConsoleInputW(Input(), events.data(), static_cast<DWORD>(events.size()), &n)) {
      kind_ = Kind::None;
      return Wait::Gone;
    }
    for (DWORD i = 0; i < n; ++i) {
      const INPUT_RECORD& e = events[i];
      if (e.EventType == KEY_EVENT && e.Event.KeyEvent.bKeyDown &&
          e.Event.KeyEvent.wVirtualKeyCode == VK_RETURN) {
        return Wait::Pressed;
      }
    }
    return Wait::NotYet;
  }
  // A pipe cannot be waited on with a time-out: look at it every few milliseconds.
  constexpr std::uint32_t kLookEveryMs = 20;
  std::uint32_t waited = 0;
  DWORD available = 0;
  for (;;) {
    if (!PipeHolds(available)) {
      kind_ = Kind::None;
      return Wait::Gone;
    }
    if (available > 0) break;
    if (waited >= timeoutMs) return Wait::NotYet;
    const std::uint32_t step = std::min(kLookEveryMs, timeoutMs - waited);
    SleepMs(step);
    waited += step;
  }
  std::array<char, 256> bytes{};
  DWORD n = 0;
  const DWORD want = std::min<DWORD>(available, static_cast<DWORD>(bytes.size()));
  if (!::ReadFile(Input(), bytes.data(), want, &n, nullptr) || n == 0) {
    kind_ = Kind::None;
    return Wait::Gone;
  }
  return std::find(bytes.begin(), bytes.begin() + n, '\n') != bytes.begin() + n ? Wait::Pressed
                                                                                : Wait::NotYet;
}

}  // namespace vantrel::platform
